#include "edb/state.h"

#include <set>

#include "edb/bytes.h"
#include "edb/format.h"
#include "edb/record.h"

namespace edb {
namespace {

using namespace format;

bool read_number(bytes::Reader& r, const State& s, std::int64_t& n) {
  std::uint64_t v = 0;
  if (!r.varint(v) || v < 1 || v > static_cast<std::uint64_t>(s.count())) return false;
  n = static_cast<std::int64_t>(v);
  return true;
}

bool apply_schema(State& s, bytes::Reader& r) {
  std::uint64_t n = 0;
  if (!r.varint(n) || n < 1 || n > kMaxFields) return false;
  std::set<std::string_view> seen;
  for (std::uint64_t i = 0; i < n; ++i) {
    std::uint8_t kind = 0;
    std::string_view name;
    if (!r.byte(kind) ||
        (kind != static_cast<std::uint8_t>(Kind::text) &&
         kind != static_cast<std::uint8_t>(Kind::integer)) ||
        !r.text(name) || name.empty() || !seen.insert(name).second)
      return false;
    s.fields.push_back({std::string(name), static_cast<Kind>(kind)});
  }
  return r.done();
}

bool apply_add(State& s, bytes::Reader& r) {
  std::string_view blob;
  if (!record::take(r, s.fields, blob) || !r.done()) return false;
  s.records.emplace_back(blob);
  s.marks.push_back(0);
  s.live += blob.size();
  return true;
}

bool apply_modify(State& s, bytes::Reader& r) {
  std::int64_t n = 0;
  std::uint64_t k = 0;
  if (!read_number(r, s, n) || !r.varint(k) || k > s.fields.size()) return false;
  std::string& blob = s.records[static_cast<std::size_t>(n - 1)];
  std::vector<Value> values;
  if (!record::decode(blob, s.fields, values)) return false;
  std::uint64_t last = 0;
  for (std::uint64_t i = 0; i < k; ++i) {
    std::uint64_t pos = 0;
    if (!r.varint(pos) || pos <= last || pos > s.fields.size()) return false;
    if (!record::get_value(r, s.fields[pos - 1].kind, values[pos - 1])) return false;
    last = pos;
  }
  if (!r.done()) return false;
  s.live -= blob.size();
  blob = record::encode(values);
  s.live += blob.size();
  return true;
}

bool apply_mark(State& s, bytes::Reader& r) {
  std::int64_t n = 0;
  if (!read_number(r, s, n) || !r.done()) return false;
  s.marks[static_cast<std::size_t>(n - 1)] = 1;
  return true;
}

void apply_purge(State& s) {
  std::size_t kept = 0;
  for (std::size_t i = 0; i < s.records.size(); ++i) {
    if (s.marks[i]) {
      s.live -= s.records[i].size();
      continue;
    }
    if (kept != i) s.records[kept] = std::move(s.records[i]);
    s.marks[kept] = 0;
    ++kept;
  }
  s.records.resize(kept);
  s.marks.resize(kept);
}

bool apply_records(State& s, bytes::Reader& r) {
  std::uint64_t count = 0;
  // Each record takes at least one byte per field besides its mark.
  if (s.frames != 1 || !r.varint(count) || count > r.left()) return false;
  s.records.reserve(static_cast<std::size_t>(count));
  s.marks.reserve(static_cast<std::size_t>(count));
  for (std::uint64_t i = 0; i < count; ++i) {
    std::uint8_t mark = 0;
    std::string_view blob;
    if (!r.byte(mark) || mark > 1 || !record::take(r, s.fields, blob)) return false;
    s.records.emplace_back(blob);
    s.marks.push_back(mark);
    s.live += blob.size();
  }
  return r.done();
}

}  // namespace

Error State::apply(std::string_view text) {
  bytes::Reader r(text);
  std::uint8_t type = 0;
  if (!r.byte(type)) return Error::damaged;
  if ((frames == 0) != (type == kSchema)) return Error::damaged;
  bool ok = false;
  switch (type) {
    case kSchema:
      ok = apply_schema(*this, r);
      break;
    case kAdd:
      ok = apply_add(*this, r);
      break;
    case kModify:
      ok = apply_modify(*this, r);
      break;
    case kDelete:
      ok = apply_mark(*this, r);
      break;
    case kPurge:
      ok = r.done();
      if (ok) apply_purge(*this);
      break;
    case kRecords:
      ok = apply_records(*this, r);
      break;
    default:
      ok = false;
  }
  if (!ok) return Error::damaged;
  ++frames;
  return Error::ok;
}

namespace plain {

std::string schema(const std::vector<FieldDef>& fields) {
  std::string out(1, static_cast<char>(kSchema));
  bytes::put_varint(out, fields.size());
  for (const FieldDef& f : fields) {
    out.push_back(static_cast<char>(f.kind));
    bytes::put_text(out, f.name);
  }
  return out;
}

std::string add(const std::string& rec) {
  std::string out(1, static_cast<char>(kAdd));
  out += rec;
  return out;
}

std::string modify(std::int64_t n, const std::vector<std::pair<std::size_t, Value>>& changes) {
  std::string out(1, static_cast<char>(kModify));
  bytes::put_varint(out, static_cast<std::uint64_t>(n));
  bytes::put_varint(out, changes.size());
  for (const auto& [pos, value] : changes) {
    bytes::put_varint(out, pos);
    record::put_value(out, value);
  }
  return out;
}

std::string mark(std::int64_t n) {
  std::string out(1, static_cast<char>(kDelete));
  bytes::put_varint(out, static_cast<std::uint64_t>(n));
  return out;
}

std::string purge() { return std::string(1, static_cast<char>(kPurge)); }

std::string records(const State& s) {
  std::string out(1, static_cast<char>(kRecords));
  out.reserve(1 + 10 + s.live + 2 * s.records.size());
  bytes::put_varint(out, s.records.size());
  for (std::size_t i = 0; i < s.records.size(); ++i) {
    out.push_back(static_cast<char>(s.marks[i]));
    out += s.records[i];
  }
  return out;
}

}  // namespace plain

}  // namespace edb
