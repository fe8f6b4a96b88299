// The first run: the setup, a login on top of it, a second login, the list.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "scenario.h"

namespace {

using namespace scenario;
using namespace ui::scripted;
using ::testing::ElementsAre;

class FirstRun : public ::testing::Test {
 protected:
  ProgramFolder folder_;
};

TEST_F(FirstRun, SetupThenTwoLoginsThenTheList) {
  install_store();
  Outcome run = start_program(story(set_up("甲乙 pass", "甲乙 pass"),
                                    inspect("the first login lies on the setup window",
                                            [](ScriptedToolkit& ui) {
                                              EXPECT_TRUE(ui.is_open("setup"));
                                              EXPECT_FALSE(ui.is_enabled("setup"));
                                              EXPECT_FALSE(ui.is_visible("list"));
                                            }),
                                    log_in("甲乙 pass"),
                                    inspect("a new login window, the list still hidden",
                                            [](ScriptedToolkit& ui) {
                                              EXPECT_EQ(ui.text("login", "编辑框1"), "");
                                              EXPECT_FALSE(ui.is_visible("list"));
                                            }),
                                    log_in("甲乙 pass"), expect_accounts({}), press_esc()));

  EXPECT_EQ(run.code, 0);
  EXPECT_THAT(run.seen(),
              ElementsAre("skin 2", "show setup \"设置密码\"",
                          "box \"成功设置密码\" \"设置成功，请牢记\" 64", "answer ok",
                          "show login \"登录\"", "box \"欢迎使用\" \"信息：\" 64", "answer ok",
                          "gone login", "show login \"登录\"", "box \"欢迎使用\" \"信息：\" 64",
                          "answer ok", "gone login", "gone setup", "show list \"帐号管理\"",
                          "gone list", "exit 0"));
  // Record 1 holds the password and nothing else.
  EXPECT_THAT(records(), ElementsAre(ElementsAre("", "", "", "", "", "", "", "", "", "甲乙 pass")));
}

// Record 1 exists with an empty password: the setup writes into it, the
// accounts stay as they are, and each is listed once although the list was
// rebuilt by both logins.
TEST_F(FirstRun, WithAccountsRecordOneTakesThePasswordAndEachAccountIsListedOnce) {
  install_store();
  add_records({master(""), account("站一", "甲", "注"), account("站二", "乙", "")});
  std::vector<std::vector<std::string>> expected = records();
  expected[0].back() = "pw";

  Outcome run = start_program(story(
      set_up("pw", "pw"), log_in("pw"), expect_accounts({{"站一", "甲", "注"}, {"站二", "乙", ""}}),
      log_in("pw"),  // the first login left the store on record 3
      expect_accounts({{"站一", "甲", "注"}, {"站二", "乙", ""}}), press_esc()));

  EXPECT_EQ(run.code, 0);
  EXPECT_EQ(records(), expected);
}

// Closing either login of a first run ends the program; the password that
// the setup stored stays, and the next start asks for it.
struct ClosedLogin {
  const char* name;
  Script before_closing;
  Action close;
};

class FirstRunLoginClosed : public FirstRun, public ::testing::WithParamInterface<ClosedLogin> {};

TEST_P(FirstRunLoginClosed, EndsTheProgramAndKeepsThePassword) {
  install_store();
  Outcome first = start_program(story(set_up("pw", "pw"), GetParam().before_closing,
                                      type("编辑框1", "pw"), GetParam().close));
  EXPECT_EQ(first.code, 0);
  EXPECT_EQ(first.seen().back(), "exit 0");
  EXPECT_THAT(first.seen(), ::testing::Not(::testing::Contains("show list \"帐号管理\"")));
  EXPECT_EQ(login_password(), "pw");

  Outcome next = start_program(story(log_in("pw"), press_esc()));
  EXPECT_THAT(next.seen(), ElementsAre("skin 2", "show login \"登录\"",
                                       "box \"欢迎使用\" \"信息：\" 64", "answer ok", "gone login",
                                       "show list \"帐号管理\"", "gone list", "exit 0"));
}

INSTANTIATE_TEST_SUITE_P(EitherLogin, FirstRunLoginClosed,
                         ::testing::Values(ClosedLogin{"FirstByEsc", {}, press_esc()},
                                           ClosedLogin{"FirstByCloseBox", {}, close_window()},
                                           ClosedLogin{"SecondByEsc", log_in("pw"), press_esc()},
                                           ClosedLogin{"SecondByCloseBox", log_in("pw"),
                                                       close_window()}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(FirstRun, AWrongPasswordAtEitherLoginKeepsThatLoginOpen) {
  install_store();
  Outcome run =
      start_program(story(set_up("pw", "pw"), log_in("PW"), clear("编辑框1"), log_in("pw"),
                          log_in("pw "), clear("编辑框1"), log_in("pw"), press_esc()));
  EXPECT_EQ(run.code, 0);
  EXPECT_THAT(run.seen(),
              ElementsAre("skin 2", "show setup \"设置密码\"",
                          "box \"成功设置密码\" \"设置成功，请牢记\" 64", "answer ok",
                          "show login \"登录\"", "box \"密码错误\" \"重新输入\" 16", "answer ok",
                          "box \"欢迎使用\" \"信息：\" 64", "answer ok", "gone login",
                          "show login \"登录\"", "box \"密码错误\" \"重新输入\" 16", "answer ok",
                          "box \"欢迎使用\" \"信息：\" 64", "answer ok", "gone login", "gone setup",
                          "show list \"帐号管理\"", "gone list", "exit 0"));
}

}  // namespace
