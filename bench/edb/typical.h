// Stores of "typical" accounts for the benchmarks: ten fields of the lengths
// a real password book has (about 180 bytes of text per record).
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "edb/database.h"
#include "edb/memory_io.h"
#include "store/store.h"

namespace edbbench {

inline std::vector<std::string> typical_record(std::int64_t n) {
  std::string k = std::to_string(n);
  return {"user" + k + "@example.com",
          "Xy7#pQ2!mN9z",
          "示例网站 " + k,
          "https://www.example" + k + ".com/login",
          "user" + k + "@mail.example.com",
          "我的小学",
          "母亲的名字",
          "第一只宠物",
          "注册于 2020 年，常用账号 " + k,
          ""};
}

inline std::uint64_t text_bytes(const std::vector<std::string>& r) {
  std::uint64_t n = 0;
  for (const auto& s : r) n += s.size();
  return n;
}

inline edb::Values values_of(const std::vector<std::string>& r) {
  edb::Values v;
  for (const auto& s : r) v.emplace_back(edb::Value(s));
  return v;
}

inline std::vector<edb::FieldDef> account_fields() {
  std::vector<edb::FieldDef> f;
  for (auto name : store::kFields) f.push_back({std::string(name), edb::Kind::text});
  return f;
}

// Writes a store of `count` typical records at `path`, one add frame each
// (a journal never compacted), without a flush per record.
inline void make_store(const std::string& path, std::int64_t count) {
  edb::MemoryIo mem;
  edb::CreateOptions o{account_fields(), std::string(store::kAccessPassword),
                       store::kInstalledIterations};
  edb::Database::create(mem, "s", o);
  edb::Database db(mem);
  db.open("s", o.password);
  db.set_compaction(UINT64_MAX, 1);
  for (std::int64_t n = 1; n <= count; ++n) db.add(values_of(typical_record(n)));
  std::filesystem::remove(path);
  edb::IoStatus st;
  auto f = edb::system_io().create(path, st);
  const std::string& bytes = *mem.contents("s");
  f->write_at(0, bytes.data(), bytes.size());
  f->flush();
}

}  // namespace edbbench
