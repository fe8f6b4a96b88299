// Writes the store that the cross-build test reads: each build makes one
// (data/native.edb, data/windows.edb) and both builds open both.
#include <cstdio>
#include <string>

#include "edb/database.h"

namespace {

// Must match what cross_build_test.cpp expects.
bool fill(edb::Database& db) {
  using edb::Value;
  auto text = [](const char* s) { return std::optional<Value>(Value(std::string(s))); };
  auto number = [](std::int64_t n) { return std::optional<Value>(Value(n)); };
  return db.add({text("pw-master"), number(1)}) == edb::Error::ok &&
         db.add({text("邮箱 example@例子.cn"), number(-42)}) == edb::Error::ok &&
         db.add({text("to be removed"), number(3)}) == edb::Error::ok &&
         db.delete_current() == edb::Error::ok && db.purge() == edb::Error::ok &&
         db.add({text("line\r\nbreak"), number(INT64_MAX)}) == edb::Error::ok && db.go_to(2) &&
         db.modify_current({std::nullopt, number(7)}) == edb::Error::ok &&
         db.add({text("marked")}) == edb::Error::ok && db.delete_current() == edb::Error::ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: edb_fixture FILE\n");
    return 2;
  }
  edb::CreateOptions o{
      {{"文本", edb::Kind::text}, {"数", edb::Kind::integer}}, std::string("30460826041"), 1000};
  edb::Database db;
  if (edb::Database::create(edb::system_io(), argv[1], o) != edb::Error::ok ||
      db.open(argv[1], o.password) != edb::Error::ok || !fill(db)) {
    std::fprintf(stderr, "edb_fixture: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
