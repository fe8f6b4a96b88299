// Fault injection at every I/O call of every change: whatever call fails or
// "crashes", the file opens to the state before or after the change, an
// acknowledged change is there, and a failed one leaves the engine as it was
// (I7, I8, I9 of edb/format.h).
#include <gtest/gtest.h>

#include <functional>

#include "edb/database.h"
#include "edb/fault_io.h"
#include "edb/temp_dir.h"
#include "store_files.h"

namespace {

using edb::Database;
using edb::Error;
using edbtest::content;
using edbtest::content_of;

const std::optional<std::string> kPw = std::string("pw");

struct Op {
  const char* name;
  std::function<Error(Database&)> run;
  bool compact = false;  // compaction after every change
  std::int64_t at = 2;   // the current record when it runs
};

const Op kOps[] = {
    {"add",
     [](Database& db) {
       return db.add(edbtest::texts({"new", "n"}));
     }},
    {"modify", [](Database& db) { return db.modify_current(edbtest::texts({"changed"})); }},
    {"delete", [](Database& db) { return db.delete_current(); }, false, 3},
    {"purge", [](Database& db) { return db.purge(); }},
    {"add, compacting",
     [](Database& db) {
       return db.add(edbtest::texts({"new", "n"}));
     },
     true},
    {"purge, compacting", [](Database& db) { return db.purge(); }, true},
};

enum class Mode { crash, fail_writes };

class FaultTest : public ::testing::TestWithParam<Op> {
 protected:
  void SetUp() override {
    path = dir.file("s.edb");
    edb::CreateOptions o{{{"a", edb::Kind::text}, {"b", edb::Kind::text}}, kPw, 1};
    ASSERT_EQ(Database::create(edb::system_io(), path, o), Error::ok);
    Database db;
    ASSERT_EQ(db.open(path, kPw), Error::ok);
    for (const char* s : {"r1", "r2", "r3"}) ASSERT_EQ(db.add(edbtest::texts({s, s})), Error::ok);
    db.go_to(2);
    ASSERT_EQ(db.delete_current(), Error::ok);
    base = edbtest::read_bytes(path);
    before = content(db);
  }

  // Opens the base file, positioned for the change.
  void start(Database& db) {
    edbtest::write_bytes(path, base);
    ASSERT_EQ(db.open(path, kPw), Error::ok);
    if (GetParam().compact) db.set_compaction(1, 1);
    db.go_to(GetParam().at);
  }

  edbtest::TempDir dir;
  std::string path, base;
  std::vector<std::string> before;
};

TEST_P(FaultTest, EveryCallCanFail) {
  const Op& op = GetParam();
  std::vector<std::string> after;
  std::int64_t calls = 0;
  {
    edb::FaultIo io(edb::system_io());
    Database db(io);
    start(db);
    std::int64_t opened = io.calls();
    ASSERT_EQ(op.run(db), Error::ok);
    calls = io.calls() - opened;
    after = content(db);
    ASSERT_EQ(content_of(path, kPw), after);
  }
  ASSERT_GT(calls, 2);
  ASSERT_NE(before, after);

  for (Mode mode : {Mode::crash, Mode::fail_writes}) {
    for (std::int64_t k = 1; k <= calls; ++k) {
      SCOPED_TRACE(::testing::Message() << op.name << (mode == Mode::crash ? " crash" : " fail")
                                        << " at call " << k << " of " << calls);
      edb::FaultIo io(edb::system_io());
      Database db(io);
      start(db);
      if (mode == Mode::crash)
        io.crash_at(io.calls() + k);
      else
        io.fail_writes_from(io.calls() + k);
      Error e = op.run(db);
      auto in_file = content_of(path, kPw);
      ASSERT_TRUE(in_file == before || in_file == after) << "a third state";
      if (e == Error::ok) {
        ASSERT_EQ(in_file, after) << "an acknowledged change is lost";
      } else {
        ASSERT_EQ(content(db), before) << "a failed change shows";
      }
      if (mode == Mode::crash) continue;

      // Once the disk works again the engine catches up with the file.
      io.heal();
      ASSERT_EQ(db.add(edbtest::texts({"later"})), Error::ok);
      ASSERT_EQ(content_of(path, kPw), content(db));
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Changes, FaultTest, ::testing::ValuesIn(kOps), [](const auto& info) {
  std::string n;
  for (char c : std::string(info.param.name))
    if (std::isalnum(static_cast<unsigned char>(c))) n += c;
  return n;
});

}  // namespace
