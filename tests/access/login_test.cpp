// The login window: only the stored password, byte for byte, lets the user in.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "scenario.h"

namespace {

using namespace scenario;
using namespace ui::scripted;
using ::testing::ElementsAre;

class Login : public ::testing::Test {
 protected:
  ProgramFolder folder_;
};

struct Attempt {
  const char* name;
  const char* stored;
  const char* wrong;
};

class WrongPassword : public Login, public ::testing::WithParamInterface<Attempt> {};

TEST_P(WrongPassword, IsRefusedKeptInTheBoxAndTheRightOneStillWorks) {
  install_store();
  add_records({master(GetParam().stored)});
  const std::string wrong = GetParam().wrong;
  Outcome run = start_program(story(log_in(wrong),
                                    inspect("the window stays with what was typed",
                                            [wrong](ScriptedToolkit& ui) {
                                              EXPECT_TRUE(ui.is_open("login"));
                                              EXPECT_EQ(ui.text("login", "编辑框1"), wrong);
                                              EXPECT_FALSE(ui.is_visible("list"));
                                            }),
                                    clear("编辑框1"), log_in(GetParam().stored), press_esc()));
  EXPECT_THAT(run.seen(),
              ElementsAre("skin 2", "show login \"登录\"", "box \"密码错误\" \"重新输入\" 16",
                          "answer ok", "box \"欢迎使用\" \"信息：\" 64", "answer ok", "gone login",
                          "show list \"帐号管理\"", "gone list", "exit 0"));
}

INSTANTIATE_TEST_SUITE_P(
    BlanksAndCase, WrongPassword,
    ::testing::Values(Attempt{"OtherCase", "Secret", "secret"},
                      Attempt{"AllCaps", "Secret", "SECRET"},
                      Attempt{"TrailingBlank", "Secret", "Secret "},
                      Attempt{"LeadingBlank", "Secret", " Secret"},
                      Attempt{"Prefix", "Secret", "Secre"}, Attempt{"Longer", "Secret", "Secrets"},
                      Attempt{"Empty", "Secret", ""}, Attempt{"FewerBlanks", "   ", "  "},
                      Attempt{"MoreBlanks", "   ", "    "}, Attempt{"NoBlanks", "   ", ""},
                      Attempt{"FullWidthDigit", "密码1", "密码１"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Login, AttemptsAreUnlimited) {
  install_store();
  add_records({master("pw")});
  Script script;
  for (int i = 0; i < 20; ++i) append(script, story(log_in("nope"), clear("编辑框1")));
  append(script, story(log_in("pw"), press_esc()));
  Outcome run = start_program(std::move(script));
  EXPECT_EQ(
      std::count(run.transcript.begin(), run.transcript.end(), "box \"密码错误\" \"重新输入\" 16"),
      20);
  EXPECT_THAT(run.seen(), ::testing::Contains("show list \"帐号管理\""));
}

TEST_F(Login, EnterInThePasswordBoxDoesNothing) {
  install_store();
  add_records({master("pw")});
  Outcome run = start_program({type("编辑框1", "pw"), press_enter(),
                               inspect("no check ran",
                                       [](ScriptedToolkit& ui) {
                                         EXPECT_EQ(ui.text("login", "编辑框1"), "pw");
                                         EXPECT_TRUE(ui.is_open("login"));
                                       }),
                               press_esc()});
  EXPECT_THAT(run.seen(), ElementsAre("skin 2", "show login \"登录\"", "exit 0"));
}

// Closing the login window without the right password ends the program at
// once, with 0, and writes nothing.
class LoginClosed : public Login, public ::testing::WithParamInterface<Script> {};

TEST_P(LoginClosed, EndsWithZeroAndLeavesTheStoreUnchanged) {
  install_store();
  add_records({master("pw"), account("站", "名", "")});
  const std::optional<std::string> before = file_bytes();
  Outcome run = start_program(GetParam());
  EXPECT_EQ(run.code, 0);
  EXPECT_EQ(run.seen().back(), "exit 0");
  EXPECT_THAT(run.seen(), ::testing::Not(::testing::Contains("show list \"帐号管理\"")));
  EXPECT_EQ(file_bytes(), before);
}

INSTANTIATE_TEST_SUITE_P(AnyWay, LoginClosed,
                         ::testing::Values(Script{press_esc()}, Script{close_window()},
                                           story(type("编辑框1", "p"), press_esc()),
                                           story(log_in("wrong"), close_window())));

TEST_F(Login, TabMovesBetweenTheBoxAndTheButton) {
  install_store();
  add_records({master("pw")});
  Outcome run = start_program({press_tab(), press_tab(), press_shift_tab(), press_esc()});
  std::vector<std::string> focus;
  for (const std::string& l : run.transcript) {
    if (l.starts_with("focus ")) focus.push_back(l);
  }
  EXPECT_THAT(focus, ElementsAre("focus login.编辑框1", "focus login.按钮1", "focus login.编辑框1",
                                 "focus login.按钮1"));
}

}  // namespace
