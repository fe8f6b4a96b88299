// edbtool as fixtures and the installer use it: exit codes, the empty store
// it makes, and the JSON Lines of dump.
#include <gtest/gtest.h>

#include "child_process.h"
#include "edb/bytes.h"
#include "edb/database.h"
#include "edb/temp_dir.h"
#include "store/store.h"
#include "store_files.h"

namespace {

struct ToolRun {
  int code;
  std::vector<std::string> out;
};

ToolRun edbtool(const std::vector<std::string>& args) {
  edbtest::ChildProcess p(EDBTOOL, args);
  ToolRun r{-1, {}};
  std::string line;
  while (p.read_line(line)) r.out.push_back(line);
  r.code = p.wait();
  return r;
}

TEST(Edbtool, CreateMakesTheInstalledEmptyStore) {
  edbtest::TempDir dir;
  std::string path = dir.file("zhsj.edb");
  ASSERT_EQ(edbtool({"create", path}).code, 0);

  edb::Database db;
  ASSERT_EQ(db.open(path, std::string(store::kAccessPassword)), edb::Error::ok);
  EXPECT_EQ(db.record_count(), 0);
  ASSERT_EQ(db.fields().size(), store::kFields.size());
  for (std::size_t i = 0; i < store::kFields.size(); ++i) {
    EXPECT_EQ(db.fields()[i].name, store::kFields[i]);
    EXPECT_EQ(db.fields()[i].kind, edb::Kind::text);
  }
  std::string bytes = edbtest::read_bytes(path);
  EXPECT_EQ(edb::bytes::get_u32(reinterpret_cast<const std::uint8_t*>(bytes.data() + 12)),
            store::kInstalledIterations);

  ToolRun check = edbtool({"check", path});
  EXPECT_EQ(check.code, 0);
  EXPECT_EQ(check.out, std::vector<std::string>{"ok"});
  ToolRun dump = edbtool({"dump", path});
  EXPECT_EQ(dump.code, 0);
  EXPECT_TRUE(dump.out.empty());

  // Never overwrites.
  EXPECT_EQ(edbtool({"create", path}).code, 1);
  EXPECT_EQ(edbtest::read_bytes(path), bytes);
}

TEST(Edbtool, FixtureOptions) {
  edbtest::TempDir dir;
  std::string path = dir.file("odd.edb");
  ASSERT_EQ(edbtool({"create", path, "--no-password", "--fields", "网站:text,n:integer",
                     "--iterations", "1"})
                .code,
            0);
  edb::Database db;
  ASSERT_EQ(db.open(path, std::nullopt), edb::Error::ok);
  ASSERT_EQ(db.fields().size(), 2u);
  EXPECT_EQ(db.fields()[0].name, "网站");
  EXPECT_EQ(db.fields()[1].kind, edb::Kind::integer);
  EXPECT_EQ(edbtool({"check", path, "--no-password"}).code, 0);
  EXPECT_EQ(edbtool({"check", path}).code, 1);  // the access password is refused

  std::string other = dir.file("other.edb");
  ASSERT_EQ(edbtool({"create", other, "--password", "秘密", "--iterations", "2"}).code, 0);
  EXPECT_EQ(edbtool({"check", other, "--password", "秘密"}).code, 0);
  EXPECT_EQ(edbtool({"check", other}).code, 1);
}

TEST(Edbtool, DumpPrintsOneObjectPerRecord) {
  edbtest::TempDir dir;
  std::string path = dir.file("d.edb");
  ASSERT_EQ(edbtool({"create", path, "--fields", "名:text,n:integer", "--iterations", "1"}).code,
            0);
  edb::Database db;
  ASSERT_EQ(db.open(path, std::string(store::kAccessPassword)), edb::Error::ok);
  ASSERT_EQ(db.add({edb::Value(std::string("a\"b\\c\n")), edb::Value(std::int64_t{-5})}),
            edb::Error::ok);
  ASSERT_EQ(db.add({edb::Value(std::string("中文"))}), edb::Error::ok);
  ASSERT_EQ(db.delete_current(), edb::Error::ok);

  ToolRun dump = edbtool({"dump", path});
  EXPECT_EQ(dump.code, 0);
  EXPECT_EQ(dump.out, (std::vector<std::string>{
                          R"({"record":1,"deleted":false,"fields":{"名":"a\"b\\c\n","n":-5}})",
                          R"({"record":2,"deleted":true,"fields":{"名":"中文","n":0}})",
                      }));
}

TEST(Edbtool, FailuresExitNonzero) {
  edbtest::TempDir dir;
  std::string path = dir.file("s.edb");
  ASSERT_EQ(edbtool({"create", path, "--iterations", "1"}).code, 0);
  std::string bytes = edbtest::read_bytes(path);
  bytes[bytes.size() - 1] = static_cast<char>(bytes.back() ^ 1);
  std::string damaged = dir.file("damaged.edb");
  edbtest::write_bytes(damaged, bytes);
  std::string text = dir.file("text.edb");
  edbtest::write_bytes(text, "not a store");
  struct Case {
    std::vector<std::string> args;
    int code;
  } cases[] = {
      {{"check", damaged}, 1},
      {{"dump", damaged}, 1},
      {{"check", text}, 1},
      {{"check", dir.file("absent.edb")}, 1},
      {{"check", path, "--password", "wrong"}, 1},
      {{"check", path, "--no-password"}, 1},
      {{"frobnicate", path}, 2},
      {{"check"}, 2},
      {{"create", dir.file("x.edb"), "--fields", "a:float"}, 2},
      {{"create", dir.file("x.edb"), "--iterations", "0"}, 2},
      {{"check", path, "--password"}, 2},
  };
  for (const Case& c : cases) EXPECT_EQ(edbtool(c.args).code, c.code) << c.args[0];
  EXPECT_EQ(edbtool({"check", damaged}).out, std::vector<std::string>{});
}

}  // namespace
