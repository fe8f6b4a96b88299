// libFuzzer target for the store reader: any bytes given as a store file must
// be refused or opened cleanly, and a store that opens must take a change and
// read back the same after reopening.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "edb/bytes.h"
#include "edb/database.h"
#include "edb/memory_io.h"
#include "edb/state.h"

namespace {

const std::optional<std::string> kPassword = std::string("pw");

// Keeps the key derivation short: a header asking for many iterations would
// only make the fuzzer slow, not find more.
void cap_iterations(std::string& file) {
  if (file.size() < 64) return;
  auto* p = reinterpret_cast<std::uint8_t*>(file.data());
  std::uint32_t iterations = edb::bytes::get_u32(p + 12);
  if (iterations <= 8) return;
  edb::bytes::put_u32(p + 12, iterations % 8 + 1);
  edb::bytes::put_u32(p + 60, edb::bytes::crc32(p, 60));
}

std::string snapshot(const edb::Database& db) {
  std::string s;
  for (std::int64_t n = 1; n <= db.record_count(); ++n) {
    s += db.marked(n) ? '*' : ' ';
    for (std::size_t i = 1; i <= db.fields().size(); ++i) {
      edb::Value v;
      db.read_at(n, i, v);
      if (const auto* t = std::get_if<std::string>(&v))
        edb::bytes::put_text(s, *t);
      else
        edb::bytes::put_int(s, std::get<std::int64_t>(v));
    }
  }
  return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  edb::MemoryIo io;
  auto file = std::make_shared<std::string>(reinterpret_cast<const char*>(data), size);
  cap_iterations(*file);
  io.contents("s.edb") = file;

  edb::Database db(io);
  if (db.open("s.edb", kPassword) != edb::Error::ok) return 0;
  for (const auto& f : db.fields()) {
    edb::Value v;
    if (db.read(f.name, v) != edb::Error::ok) __builtin_trap();
  }
  db.go_to(db.record_count());
  db.delete_current();
  if (db.add({}) != edb::Error::ok) __builtin_trap();
  std::string before = snapshot(db);

  edb::Database again(io);
  if (again.open("s.edb", kPassword) != edb::Error::ok) __builtin_trap();
  if (snapshot(again) != before) __builtin_trap();
  return 0;
}
