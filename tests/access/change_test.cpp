// The password change window, reached by four double-clicks on the strip
// above the list.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "edb/fault_io.h"
#include "scenario.h"

namespace {

using namespace scenario;
using namespace ui::scripted;
using ::testing::ElementsAre;

class Change : public ::testing::Test {
 protected:
  ProgramFolder folder_;

  void SetUp() override {
    install_store();
    add_records({master("old"), account("站一", "甲", "注"), account("站二", "乙", "")});
    before_ = records();
  }

  // The list is up after the login; what follows happens in the change window.
  Outcome change_then_quit(Script in_change_window) {
    return start_program(
        story(log_in("old"), hot_spot_four_times(), std::move(in_change_window), press_esc()));
  }

  std::vector<std::vector<std::string>> before_;
};

Action expect_boxes(std::string old_password, std::string fresh, std::string repeated) {
  return inspect("the boxes hold", [=](ScriptedToolkit& ui) {
    EXPECT_TRUE(ui.is_open("change"));
    EXPECT_EQ(ui.text("change", "编辑框_原始密码"), old_password);
    EXPECT_EQ(ui.text("change", "编辑框_输入密码"), fresh);
    EXPECT_EQ(ui.text("change", "编辑框_重复输入"), repeated);
  });
}

std::vector<std::string> from_change_window(const Outcome& run) {
  std::vector<std::string> seen = run.seen();
  auto at = std::find(seen.begin(), seen.end(), "show change \"修改登录密码\"");
  return {at, seen.end()};
}

TEST_F(Change, AWrongOldPasswordEmptiesOnlyThatBox) {
  Outcome run = change_then_quit(
      story(change_password("Old", "new", "new"), expect_boxes("", "new", "new"), press_esc()));
  EXPECT_THAT(from_change_window(run),
              ElementsAre("show change \"修改登录密码\"", "box \"原密码输入不正确\" \"信息：\" 64",
                          "answer ok", "gone change", "gone list", "exit 0"));
  EXPECT_EQ(records(), before_);
}

TEST_F(Change, DifferentNewPasswordsKeepAllThreeBoxes) {
  Outcome run = change_then_quit(story(change_password("old", "new", "new "),
                                       expect_boxes("old", "new", "new "), press_esc()));
  EXPECT_THAT(from_change_window(run),
              ElementsAre("show change \"修改登录密码\"", "box \"新密码输入不相同\" \"信息：\" 64",
                          "answer ok", "gone change", "gone list", "exit 0"));
  EXPECT_EQ(records(), before_);
}

TEST_F(Change, TheRightOldPasswordAndTwoEqualNewOnesStoreTheNewOne) {
  Outcome run = change_then_quit(change_password("old", "新的 pw", "新的 pw"));
  EXPECT_THAT(from_change_window(run),
              ElementsAre("show change \"修改登录密码\"", "box \"密码修改成功\" \"信息：\" 64",
                          "answer ok", "gone change", "gone list", "exit 0"));
  // Only 登录密码 of record 1 changed, although the login's list refresh had
  // left the store on the last account.
  std::vector<std::vector<std::string>> expected = before_;
  expected[0].back() = "新的 pw";
  EXPECT_EQ(records(), expected);

  Outcome next =
      start_program(story(log_in("old"), clear("编辑框1"), log_in("新的 pw"), press_esc()));
  EXPECT_THAT(next.seen(),
              ElementsAre("skin 2", "show login \"登录\"", "box \"密码错误\" \"重新输入\" 16",
                          "answer ok", "box \"欢迎使用\" \"信息：\" 64", "answer ok", "gone login",
                          "show list \"帐号管理\"", "gone list", "exit 0"));
}

TEST_F(Change, TheSameWindowTriesAgainAfterAMistake) {
  Outcome run = change_then_quit(story(
      change_password("x", "a", "b"), type("编辑框_原始密码", "old"), click("按钮1"), answer_ok(),
      clear("编辑框_重复输入"), type("编辑框_重复输入", "a"), click("按钮1"), answer_ok()));
  EXPECT_THAT(from_change_window(run),
              ElementsAre("show change \"修改登录密码\"", "box \"原密码输入不正确\" \"信息：\" 64",
                          "answer ok", "box \"新密码输入不相同\" \"信息：\" 64", "answer ok",
                          "box \"密码修改成功\" \"信息：\" 64", "answer ok", "gone change",
                          "gone list", "exit 0"));
  EXPECT_EQ(login_password(), "a");
}

// Leaving the window, however and whenever, stores nothing and returns to the list.
class ChangeLeft : public Change, public ::testing::WithParamInterface<Script> {};

TEST_P(ChangeLeft, LeavesThePasswordAsItWas) {
  Outcome run =
      change_then_quit(story(GetParam(), inspect("back at the list", [](ScriptedToolkit& ui) {
                               EXPECT_FALSE(ui.is_open("change"));
                               EXPECT_TRUE(ui.is_enabled("list"));
                             })));
  EXPECT_EQ(run.seen().end()[-3], "gone change");
  EXPECT_EQ(records(), before_);
}

INSTANTIATE_TEST_SUITE_P(
    AnyWay, ChangeLeft,
    ::testing::Values(Script{press_esc()}, Script{close_window()},
                      story(type("编辑框_原始密码", "old"), type("编辑框_输入密码", "n"),
                            type("编辑框_重复输入", "n"), press_esc()),
                      story(change_password("old", "n", "m"), close_window())));

TEST_F(Change, AStoreThatRefusesTheWriteSaysSoAndKeepsTheWindow) {
  edb::FaultIo refusing(edb::system_io());
  refusing.fail_writes_from(1);
  Outcome run = start_program(
      story(log_in("old"), hot_spot_four_times(), change_password("old", "new", "new"),
            expect_boxes("old", "new", "new"), press_esc(), press_esc()),
      refusing);
  EXPECT_THAT(from_change_window(run),
              ElementsAre("show change \"修改登录密码\"", "box \"失败\" \"信息：\" 64", "answer ok",
                          "gone change", "gone list", "exit 0"));
  EXPECT_EQ(records(), before_);
}

TEST_F(Change, TabGoesOldRepeatNewButton) {
  Outcome run = change_then_quit({press_tab(), press_tab(), press_tab(), press_tab(), press_esc()});
  std::vector<std::string> focus;
  for (const std::string& l : run.transcript) {
    if (l.starts_with("focus change.")) focus.push_back(l);
  }
  EXPECT_THAT(focus, ElementsAre("focus change.编辑框_原始密码", "focus change.编辑框_重复输入",
                                 "focus change.编辑框_输入密码", "focus change.按钮1",
                                 "focus change.编辑框_原始密码"));
}

// An empty new password is accepted; with accounts in the store the next start
// is a first run again, both of its logins take the new password, and no
// empty account appears.
TEST_F(Change, AnEmptyNewPasswordLeadsToASetupThatKeepsTheAccounts) {
  Outcome emptied = change_then_quit(change_password("old", "", ""));
  EXPECT_THAT(emptied.seen(), ::testing::Contains("box \"密码修改成功\" \"信息：\" 64"));
  EXPECT_EQ(login_password(), "");

  Outcome setup = start_program(story(set_up("新", "新"), log_in("新"), log_in("新"),
                                      expect_accounts({{"站一", "甲", "注"}, {"站二", "乙", ""}}),
                                      press_esc()));
  EXPECT_EQ(setup.code, 0);
  EXPECT_THAT(setup.seen(), ::testing::Contains("gone setup"));
  std::vector<std::vector<std::string>> expected = before_;
  expected[0].back() = "新";
  EXPECT_EQ(records(), expected);

  Outcome later = start_program(story(log_in("新"), press_esc()));
  EXPECT_THAT(later.seen(), ElementsAre("skin 2", "show login \"登录\"",
                                        "box \"欢迎使用\" \"信息：\" 64", "answer ok", "gone login",
                                        "show list \"帐号管理\"", "gone list", "exit 0"));
}

}  // namespace
