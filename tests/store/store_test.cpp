// The account store as the windows use it: positions, clamping, the empty
// store, marks that stay until the purge, renumbering, and the read helper's
// fatal reports.
#include "store/store.h"

#include <gtest/gtest.h>

#include "edb/database.h"
#include "edb/fault_io.h"
#include "edb/temp_dir.h"

namespace {

using store::Store;
using store::Values;

// Built by appending: GCC 12 warns falsely (-Wrestrict) on "a" + std::string.
std::string numbered(const char* prefix, int n) {
  std::string s = prefix;
  s += std::to_string(n);
  return s;
}

std::vector<edb::FieldDef> account_fields() {
  std::vector<edb::FieldDef> f;
  for (auto name : store::kFields) f.push_back({std::string(name), edb::Kind::text});
  return f;
}

class StoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path = dir.file("zhsj.edb");
    edb::CreateOptions o{account_fields(), std::string(store::kAccessPassword), 1};
    ASSERT_EQ(edb::Database::create(edb::system_io(), path, o), edb::Error::ok);
    ASSERT_TRUE(s.open(path, store::kAccessPassword));
  }

  std::string read(std::string_view field) {
    store::TextRead r = s.read_text(field);
    EXPECT_FALSE(r.fatal) << field;
    return r.text;
  }

  // Adds records whose 账号 is "a1", "a2", ...
  void add_accounts(int n) {
    for (int i = 1; i <= n; ++i) ASSERT_TRUE(s.add_record({numbered("a", i)}));
  }

  std::vector<std::string> accounts() {
    std::vector<std::string> out;
    for (std::int64_t n = 1; n <= s.record_count(); ++n) {
      s.go_to(n);
      out.push_back(read("账号"));
    }
    return out;
  }

  edbtest::TempDir dir;
  std::string path;
  Store s;
};

TEST_F(StoreTest, EmptyStore) {
  EXPECT_EQ(s.record_count(), 0);
  EXPECT_TRUE(s.go_to(1));
  EXPECT_EQ(s.current_record(), 1);
  for (auto name : store::kFields) EXPECT_EQ(read(name), "") << name;
  EXPECT_FALSE(s.modify_current({"x"}));
  EXPECT_FALSE(s.delete_current());
  EXPECT_TRUE(s.purge_deleted());
  EXPECT_EQ(s.current_record(), 1);
  EXPECT_EQ(s.record_count(), 0);
}

TEST_F(StoreTest, MasterRecordOnEmptyStore) {
  Values v(10);
  v[9] = "pw";
  ASSERT_TRUE(s.add_record(v));
  EXPECT_EQ(s.record_count(), 1);
  EXPECT_EQ(s.current_record(), 1);
  for (int i = 0; i < 9; ++i) EXPECT_EQ(read(store::kFields[i]), "");
  EXPECT_EQ(read("登录密码"), "pw");
}

TEST_F(StoreTest, GoToClamps) {
  add_accounts(5);
  struct Case {
    std::int64_t to, expect;
  } cases[] = {{0, 1}, {-1, 1},   {1, 1},         {3, 3},        {5, 5},
               {6, 5}, {1000, 5}, {INT64_MIN, 1}, {INT64_MAX, 5}};
  for (auto c : cases) {
    EXPECT_TRUE(s.go_to(c.to));
    EXPECT_EQ(s.current_record(), c.expect) << c.to;
  }
}

TEST_F(StoreTest, AddAppendsAndBecomesCurrent) {
  add_accounts(3);
  ASSERT_TRUE(s.add_record({"acct", "pass", "site"}));
  EXPECT_EQ(s.record_count(), 4);
  EXPECT_EQ(s.current_record(), 4);
  EXPECT_EQ(read("网站"), "site");
  EXPECT_EQ(read("登录密码"), "");
  EXPECT_EQ(read("备注"), "");
}

TEST_F(StoreTest, ModifyKeepsWhatIsLeftOut) {
  Values all;
  for (int i = 0; i < 10; ++i) all.push_back(numbered("v", i + 1));
  ASSERT_TRUE(s.add_record(all));

  Values only_login(10);
  only_login[9] = "new";
  ASSERT_TRUE(s.modify_current(only_login));
  for (int i = 0; i < 9; ++i) EXPECT_EQ(read(store::kFields[i]), numbered("v", i + 1));
  EXPECT_EQ(read("登录密码"), "new");

  Values nine;
  for (int i = 0; i < 9; ++i) nine.push_back(numbered("n", i + 1));
  ASSERT_TRUE(s.modify_current(nine));
  for (int i = 0; i < 9; ++i) EXPECT_EQ(read(store::kFields[i]), numbered("n", i + 1));
  EXPECT_EQ(read("登录密码"), "new");
  EXPECT_EQ(s.current_record(), 1);
}

TEST_F(StoreTest, MarkedRecordCountsAndReadsUntilPurge) {
  add_accounts(5);
  s.go_to(3);
  ASSERT_TRUE(s.delete_current());
  EXPECT_EQ(s.record_count(), 5);
  EXPECT_EQ(s.current_record(), 3);
  EXPECT_EQ(read("账号"), "a3");
  ASSERT_TRUE(s.purge_deleted());
  EXPECT_EQ(s.current_record(), 1);
  EXPECT_EQ(accounts(), (std::vector<std::string>{"a1", "a2", "a4", "a5"}));
}

TEST_F(StoreTest, PurgeWithoutMarksChangesNothingButThePosition) {
  add_accounts(3);
  ASSERT_TRUE(s.purge_deleted());
  EXPECT_EQ(s.current_record(), 1);
  EXPECT_EQ(accounts(), (std::vector<std::string>{"a1", "a2", "a3"}));
}

TEST_F(StoreTest, ChangesAreInTheFileWhenTheyReturn) {
  add_accounts(4);
  s.go_to(2);
  ASSERT_TRUE(s.modify_current({"changed"}));
  s.go_to(4);
  ASSERT_TRUE(s.delete_current());
  ASSERT_TRUE(s.purge_deleted());

  Store again;
  ASSERT_TRUE(again.open(path, store::kAccessPassword));
  EXPECT_EQ(again.current_record(), 1);
  std::vector<std::string> got;
  for (std::int64_t n = 1; n <= again.record_count(); ++n) {
    again.go_to(n);
    got.push_back(again.read_text("账号").text);
  }
  EXPECT_EQ(got, (std::vector<std::string>{"a1", "changed", "a3"}));
}

TEST_F(StoreTest, EmptyLoginPasswordThenSetupAppends) {
  Values v(10);
  v[9] = "";
  ASSERT_TRUE(s.add_record(v));
  add_accounts(2);
  s.go_to(1);
  EXPECT_EQ(read("登录密码"), "");
  v[9] = "again";
  ASSERT_TRUE(s.add_record(v));
  EXPECT_EQ(s.current_record(), 4);
  EXPECT_EQ(read("登录密码"), "again");
  EXPECT_EQ(read("账号"), "");
}

TEST_F(StoreTest, TooManyValuesAreRefused) {
  Values v(11, std::string("x"));
  EXPECT_FALSE(s.add_record(v));
  EXPECT_EQ(s.record_count(), 0);
}

TEST(StoreRead, FatalReports) {
  edbtest::TempDir dir;
  std::string path = dir.file("odd.edb");
  edb::CreateOptions o{
      {{"网站", edb::Kind::text}, {"账号", edb::Kind::integer}}, std::string("pw"), 1};
  ASSERT_EQ(edb::Database::create(edb::system_io(), path, o), edb::Error::ok);
  Store s;
  ASSERT_TRUE(s.open(path, "pw"));

  store::TextRead text = s.read_text("网站");
  EXPECT_FALSE(text.fatal);

  store::TextRead number = s.read_text("账号");
  ASSERT_TRUE(number.fatal);
  EXPECT_EQ(number.fatal->code, 5);
  EXPECT_EQ(number.fatal->message, "数据或数组类型不匹配");

  store::TextRead missing = s.read_text("备注");
  ASSERT_TRUE(missing.fatal);
  EXPECT_FALSE(missing.fatal->code);
  EXPECT_EQ(missing.fatal->message, "指定字段不存在");

  // Names compare byte by byte: no trimming, no case folding.
  EXPECT_TRUE(s.read_text("网站 ").fatal);
}

TEST(StoreOpen, Refusals) {
  edbtest::TempDir dir;
  std::string made = dir.file("made.edb"), bare = dir.file("bare.edb");
  edb::CreateOptions o{account_fields(), std::string(store::kAccessPassword), 1};
  ASSERT_EQ(edb::Database::create(edb::system_io(), made, o), edb::Error::ok);
  o.password.reset();
  ASSERT_EQ(edb::Database::create(edb::system_io(), bare, o), edb::Error::ok);

  Store s;
  EXPECT_FALSE(s.open(made, "30460826042"));
  EXPECT_FALSE(s.open(bare, store::kAccessPassword));
  EXPECT_FALSE(s.open(dir.file("absent.edb"), store::kAccessPassword));
  EXPECT_FALSE(std::filesystem::exists(dir.file("absent.edb")));
  // A refused open leaves the store closed.
  EXPECT_FALSE(s.go_to(1));
  EXPECT_FALSE(s.add_record({"x"}));
}

TEST(StoreFaults, FailedWritesReportFalseAndChangeNothing) {
  edbtest::TempDir dir;
  std::string path = dir.file("zhsj.edb");
  edb::CreateOptions o{account_fields(), std::string(store::kAccessPassword), 1};
  ASSERT_EQ(edb::Database::create(edb::system_io(), path, o), edb::Error::ok);

  edb::FaultIo io(edb::system_io());
  Store s(io);
  ASSERT_TRUE(s.open(path, store::kAccessPassword));
  ASSERT_TRUE(s.add_record({"kept"}));
  io.fail_writes_now();
  EXPECT_FALSE(s.add_record({"lost"}));
  EXPECT_FALSE(s.modify_current({"lost"}));
  EXPECT_EQ(s.record_count(), 1);
  EXPECT_EQ(s.read_text("账号").text, "kept");

  Store again;
  ASSERT_TRUE(again.open(path, store::kAccessPassword));
  EXPECT_EQ(again.record_count(), 1);
  EXPECT_EQ(again.read_text("账号").text, "kept");
}

}  // namespace
