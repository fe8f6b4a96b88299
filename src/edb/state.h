// The records as the journal's frames make them, and the plain texts of the
// frames that change them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "edb/database.h"

namespace edb {

struct State {
  std::vector<FieldDef> fields;
  std::vector<std::string> records;  // encoded (record.h)
  std::vector<std::uint8_t> marks;   // 1 = deletion mark
  std::uint64_t frames = 0;          // frames applied
  std::uint64_t live = 0;            // bytes of the encoded records

  std::int64_t count() const { return static_cast<std::int64_t>(records.size()); }
  // Applies one frame's plain text; damaged when it breaks I5 or I6.
  Error apply(std::string_view plain);
};

namespace plain {

std::string schema(const std::vector<FieldDef>& fields);
std::string add(const std::string& record);
// `changes`: (position, value) with positions 1..n, strictly increasing.
std::string modify(std::int64_t record, const std::vector<std::pair<std::size_t, Value>>& changes);
std::string mark(std::int64_t record);
std::string purge();
std::string records(const State& s);

}  // namespace plain

}  // namespace edb
