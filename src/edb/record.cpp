#include "edb/record.h"

namespace edb::record {

Value empty_value(Kind kind) {
  if (kind == Kind::integer) return std::int64_t{0};
  return std::string();
}

bool fits(const Value& v, Kind kind) {
  return kind == Kind::integer ? std::holds_alternative<std::int64_t>(v)
                               : std::holds_alternative<std::string>(v);
}

void put_value(std::string& out, const Value& v) {
  if (const auto* s = std::get_if<std::string>(&v)) {
    bytes::put_text(out, *s);
    return;
  }
  bytes::put_int(out, std::get<std::int64_t>(v));
}

bool get_value(bytes::Reader& r, Kind kind, Value& out) {
  if (kind == Kind::integer) {
    std::int64_t i = 0;
    if (!r.integer(i)) return false;
    out = i;
    return true;
  }
  std::string_view s;
  if (!r.text(s)) return false;
  out = std::string(s);
  return true;
}

std::string encode(const std::vector<Value>& values) {
  std::string out;
  for (const Value& v : values) put_value(out, v);
  return out;
}

bool decode(std::string_view blob, const std::vector<FieldDef>& fields, std::vector<Value>& out) {
  bytes::Reader r(blob);
  out.clear();
  out.reserve(fields.size());
  for (const FieldDef& f : fields) {
    Value v;
    if (!get_value(r, f.kind, v)) return false;
    out.push_back(std::move(v));
  }
  return r.done();
}

bool take(bytes::Reader& r, const std::vector<FieldDef>& fields, std::string_view& blob) {
  const char* start = r.at();
  for (const FieldDef& f : fields) {
    if (f.kind == Kind::integer) {
      std::int64_t i = 0;
      if (!r.integer(i)) return false;
    } else {
      std::string_view s;
      if (!r.text(s)) return false;
    }
  }
  blob = std::string_view(start, static_cast<std::size_t>(r.at() - start));
  return true;
}

Value field(std::string_view blob, const std::vector<FieldDef>& fields, std::size_t index) {
  bytes::Reader r(blob);
  for (std::size_t i = 0; i < index; ++i) {
    if (fields[i].kind == Kind::integer) {
      std::int64_t skip = 0;
      r.integer(skip);
    } else {
      std::string_view skip;
      r.text(skip);
    }
  }
  Value v = empty_value(fields[index].kind);
  get_value(r, fields[index].kind, v);
  return v;
}

}  // namespace edb::record
