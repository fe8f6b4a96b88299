// Records in memory and in frames: one value per field, in field order, each
// encoded as its field's kind says (format.h). A record is kept as its
// encoded bytes, which is compact and is what frames carry anyway.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "edb/bytes.h"
#include "edb/database.h"

namespace edb::record {

Value empty_value(Kind kind);
bool fits(const Value& v, Kind kind);
void put_value(std::string& out, const Value& v);
bool get_value(bytes::Reader& r, Kind kind, Value& out);

std::string encode(const std::vector<Value>& values);
// Decodes every field; false when the bytes do not match the fields.
bool decode(std::string_view blob, const std::vector<FieldDef>& fields, std::vector<Value>& out);
// Reads one record from `r` and returns its bytes in `blob`.
bool take(bytes::Reader& r, const std::vector<FieldDef>& fields, std::string_view& blob);
// The value at `index` of a record known to be well formed.
Value field(std::string_view blob, const std::vector<FieldDef>& fields, std::size_t index);

}  // namespace edb::record
