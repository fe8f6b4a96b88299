// Small helpers for tests that look at store files: their bytes, and what an
// open store holds, as comparable lines.
#pragma once

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "edb/database.h"

namespace edbtest {

inline std::string read_bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void write_bytes(const std::string& path, const std::string& data) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(data.data(), static_cast<std::streamsize>(data.size()));
}

// One line per record: "*" for a mark, then the values separated by "|".
inline std::vector<std::string> content(const edb::Database& db) {
  std::vector<std::string> out;
  for (std::int64_t n = 1; n <= db.record_count(); ++n) {
    std::string line = db.marked(n) ? "*" : "";
    for (std::size_t i = 1; i <= db.fields().size(); ++i) {
      edb::Value v;
      db.read_at(n, i, v);
      if (i > 1) line += '|';
      if (const auto* s = std::get_if<std::string>(&v))
        line += *s;
      else
        line += '#', line += std::to_string(std::get<std::int64_t>(v));
    }
    out.push_back(line);
  }
  return out;
}

inline std::vector<std::string> content_of(const std::string& path,
                                           const std::optional<std::string>& password) {
  edb::Database db;
  if (db.open(path, password) != edb::Error::ok) return {"<refused>"};
  return content(db);
}

inline edb::Values texts(std::initializer_list<const char*> list) {
  edb::Values v;
  for (const char* s : list) v.emplace_back(edb::Value(std::string(s)));
  return v;
}

}  // namespace edbtest
