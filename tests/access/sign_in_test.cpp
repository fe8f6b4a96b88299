// From the program's start to the first sight of the list, and every way the
// program ends on the way.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>

#include "app/start.h"
#include "scenario.h"
#include "ui/fatal_report.h"

namespace {

using namespace scenario;
using namespace ui::scripted;
using ::testing::ElementsAre;

class SignIn : public ::testing::Test {
 protected:
  ProgramFolder folder_;
};

// The store cannot be opened: only the message box, then an end with 0.
struct OpenFailure {
  const char* name;
  void (*prepare)();
};

class StoreThatDoesNotOpen : public SignIn, public ::testing::WithParamInterface<OpenFailure> {};

TEST_P(StoreThatDoesNotOpen, ShowsOnlyTheMessageAndTouchesNothing) {
  GetParam().prepare();
  const std::optional<std::string> before = file_bytes();

  Outcome run = start_program({answer_ok()});

  EXPECT_EQ(run.code, 0);
  EXPECT_THAT(run.transcript,
              ElementsAre("skin 2", "box \"数据库打开失败\" \"信息：\" 16", "answer ok", "exit 0"));
  EXPECT_EQ(file_bytes(), before);  // a missing store stays missing
}

void write_file(const std::string& bytes) {
  std::ofstream(std::string(store::kFileName), std::ios::binary) << bytes;
}

INSTANTIATE_TEST_SUITE_P(
    OpenFailures, StoreThatDoesNotOpen,
    ::testing::Values(
        OpenFailure{"MissingFile", [] {}},
        OpenFailure{"AnotherPassword", [] { install_store(installed_fields(), "30460826042"); }},
        OpenFailure{"NoPassword", [] { install_store(installed_fields(), std::nullopt); }},
        OpenFailure{"NotAStore", [] { write_file("账号,密码\r\nalice,secret\r\n"); }},
        OpenFailure{"EmptyFile", [] { write_file(""); }},
        OpenFailure{"DamagedFile",
                    [] {
                      install_store();
                      add_records({master("pw"), account("站", "名", "注")});
                      std::string bytes = *file_bytes();
                      bytes[bytes.size() / 2] ^= 0x5A;
                      write_file(bytes);
                    }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SignIn, AStoreWithoutRecordsIsAFirstRun) {
  install_store();
  Outcome run = start_program({press_esc()});
  EXPECT_THAT(run.seen(), ElementsAre("skin 2", "show setup \"设置密码\"", "exit 0"));
  EXPECT_EQ(run.code, 0);
  EXPECT_TRUE(records().empty());
}

TEST_F(SignIn, AnEmptyLoginPasswordBesideAccountsIsAFirstRun) {
  install_store();
  add_records({master(""), account("站", "名", "")});
  Outcome run = start_program({press_esc()});
  EXPECT_THAT(run.seen(), ElementsAre("skin 2", "show setup \"设置密码\"", "exit 0"));
}

TEST_F(SignIn, ALoginPasswordOfBlanksIsSetAndAsksForTheLogin) {
  install_store();
  add_records({master("   ")});
  Outcome run = start_program({press_esc()});
  EXPECT_THAT(run.seen(), ElementsAre("skin 2", "show login \"登录\"", "exit 0"));
}

TEST_F(SignIn, ALaterStartLogsInAndShowsTheFilledList) {
  install_store();
  add_records({master("pw"), account("站一", "甲", "注一"), account("站二", "乙", "")});
  Outcome run = start_program(story(
      inspect("the list stays hidden during the login",
              [](ScriptedToolkit& ui) {
                EXPECT_TRUE(ui.is_open("list"));
                EXPECT_FALSE(ui.is_visible("list"));
                EXPECT_EQ(ui.focused(), "login.编辑框1");
              }),
      log_in("pw"), expect_accounts({{"站一", "甲", "注一"}, {"站二", "乙", ""}}), press_esc()));
  EXPECT_THAT(run.seen(), ElementsAre("skin 2", "show login \"登录\"",
                                      "box \"欢迎使用\" \"信息：\" 64", "answer ok", "gone login",
                                      "show list \"帐号管理\"", "gone list", "exit 0"));
  EXPECT_EQ(run.code, 0);
}

// The program's own start: the store it opens is zhsj.edb of the current folder.
TEST_F(SignIn, TheStartRoutineOpensTheStoreOfTheCurrentFolder) {
  install_store();
  add_records({master("pw"), account("站", "名", "")});
  ScriptedToolkit ui(story(log_in("pw"), expect_accounts({{"站", "名", ""}}), press_esc()));
  EXPECT_EQ(ui.run_program([](ui::Toolkit& tk) { return app::start(tk); }), 0);
  EXPECT_EQ(ui.transcript().back(), "exit 0");
}

// The login password field that holds no text, or is missing: the fatal report
// before any window shows.
TEST_F(SignIn, ALoginPasswordThatIsNotATextEndsWithTheFatalReport) {
  std::vector<edb::FieldDef> fields = installed_fields();
  fields.back().kind = edb::Kind::integer;
  install_store(fields, std::string(store::kAccessPassword));
  {
    edb::Database db;
    ASSERT_EQ(db.open(std::string(store::kFileName), std::string(store::kAccessPassword)),
              edb::Error::ok);
    edb::Values master_record(store::kLoginPasswordPosition);
    master_record.back() = std::int64_t{123456};
    ASSERT_EQ(db.add(master_record), edb::Error::ok);
  }
  const std::optional<std::string> before = file_bytes();

  Outcome run = start_program({});

  EXPECT_EQ(run.code, ui::kFatalExitCode);
  EXPECT_THAT(run.transcript, ElementsAre("skin 2",
                                          "fatal \"运行时出错!\\r\\n\\r\\n错误代码：5\\r\\n\\r\\n"
                                          "错误信息：数据或数组类型不匹配\\r\\n\"",
                                          "exit 1"));
  EXPECT_EQ(file_bytes(), before);
}

TEST_F(SignIn, AStoreWithoutTheLoginPasswordFieldEndsWithTheFatalReport) {
  std::vector<edb::FieldDef> fields = installed_fields();
  fields.pop_back();
  install_store(fields, std::string(store::kAccessPassword));

  Outcome run = start_program({});

  EXPECT_EQ(run.code, ui::kFatalExitCode);
  EXPECT_THAT(
      run.transcript,
      ElementsAre("skin 2", "fatal \"运行时出错!\\r\\n\\r\\n错误信息：指定字段不存在\\r\\n\"",
                  "exit 1"));
}

// Running: the two ends the list window offers, both with 0 and no store change.
struct RunningEnd {
  const char* name;
  Action how;
  const char* last_seen;
};

class EndWhileRunning : public SignIn, public ::testing::WithParamInterface<RunningEnd> {};

TEST_P(EndWhileRunning, EndsWithZeroAndLeavesTheStoreAsItWas) {
  install_store();
  add_records({master("pw"), account("站", "名", "")});
  const std::optional<std::string> before = file_bytes();
  Outcome run = start_program(story(log_in("pw"), GetParam().how));
  EXPECT_EQ(run.code, 0);
  EXPECT_EQ(run.seen().end()[-2], GetParam().last_seen);
  EXPECT_EQ(run.seen().back(), "exit 0");
  EXPECT_EQ(file_bytes(), before);
}

INSTANTIATE_TEST_SUITE_P(Running, EndWhileRunning,
                         ::testing::Values(RunningEnd{"ExitButton", click("按钮_退出"),
                                                      "show list \"帐号管理\""},
                                           RunningEnd{"Esc", press_esc(), "gone list"},
                                           RunningEnd{"CloseBox", close_window(), "gone list"}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
