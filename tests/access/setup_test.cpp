// The password setup window: two equal, non-empty texts, or it stays open.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "edb/fault_io.h"
#include "scenario.h"

namespace {

using namespace scenario;
using namespace ui::scripted;
using ::testing::ElementsAre;

class Setup : public ::testing::Test {
 protected:
  ProgramFolder folder_;
};

struct Refusal {
  const char* name;
  const char* first;
  const char* second;
  const char* box;
};

class InvalidSetup : public Setup, public ::testing::WithParamInterface<Refusal> {};

TEST_P(InvalidSetup, KeepsTheWindowAndBothTextsAndStoresNothing) {
  install_store();
  const std::string first = GetParam().first;
  const std::string second = GetParam().second;
  Outcome run = start_program(story(set_up(first, second),
                                    inspect("the window stays as it was",
                                            [&](ScriptedToolkit& ui) {
                                              EXPECT_EQ(ui.text("setup", "编辑框_密码1"), first);
                                              EXPECT_EQ(ui.text("setup", "编辑框_密码2"), second);
                                              EXPECT_FALSE(ui.is_open("login"));
                                            }),
                                    press_esc()));
  EXPECT_THAT(run.seen(), ElementsAre("skin 2", "show setup \"设置密码\"", GetParam().box,
                                      "answer ok", "exit 0"));
  EXPECT_TRUE(records().empty());
}

INSTANTIATE_TEST_SUITE_P(
    FailureTable, InvalidSetup,
    ::testing::Values(
        Refusal{"BothEmpty", "", "", "box \"请输入密码\" \"信息：\" 0"},
        Refusal{"OnlySecond", "", "x", "box \"两次密码不一样\" \"重新输入\" 16"},
        Refusal{"OnlyFirst", "x", "", "box \"两次密码不一样\" \"重新输入\" 16"},
        Refusal{"TrailingBlankInSecond", "pass", "pass ", "box \"两次密码不一样\" \"重新输入\" 16"},
        Refusal{"OtherCase", "Pass", "pass", "box \"两次密码不一样\" \"重新输入\" 16"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Setup, APasswordOfBlanksIsAPassword) {
  install_store();
  Outcome run = start_program(story(set_up("  ", "  "), log_in("  "), log_in("  "), press_esc()));
  EXPECT_EQ(login_password(), "  ");
  EXPECT_THAT(run.seen(), ::testing::Contains("show list \"帐号管理\""));
}

// A store that refuses the write: "失败", the window stays, nothing changed;
// closing it then ends the program as before any setup.
class SetupWriteRefused : public Setup, public ::testing::WithParamInterface<bool> {};

TEST_P(SetupWriteRefused, SaysSoAndKeepsTheWindowOpen) {
  const bool record_one_exists = GetParam();
  install_store();
  if (record_one_exists) add_records({master(""), account("站", "名", "")});
  const std::optional<std::string> before = file_bytes();
  edb::FaultIo refusing(edb::system_io());
  refusing.fail_writes_from(1);

  Outcome run = start_program(story(set_up("pw", "pw"),
                                    inspect("the window stays with both texts",
                                            [](ScriptedToolkit& ui) {
                                              EXPECT_EQ(ui.text("setup", "编辑框_密码1"), "pw");
                                              EXPECT_EQ(ui.text("setup", "编辑框_密码2"), "pw");
                                              EXPECT_FALSE(ui.is_open("login"));
                                            }),
                                    press_esc()),
                              refusing);

  EXPECT_THAT(run.seen(), ElementsAre("skin 2", "show setup \"设置密码\"",
                                      "box \"失败\" \"信息：\" 64", "answer ok", "exit 0"));
  EXPECT_EQ(file_bytes(), before);
}

INSTANTIATE_TEST_SUITE_P(EmptyStoreOrRecordOne, SetupWriteRefused, ::testing::Bool());

TEST_F(Setup, ClosingItEndsTheProgram) {
  for (Action close : {press_esc(), close_window()}) {
    install_store();
    Outcome run =
        start_program(story(type("编辑框_密码1", "pw"), type("编辑框_密码2", "pw"), close));
    EXPECT_EQ(run.code, 0);
    EXPECT_THAT(run.seen(), ElementsAre("skin 2", "show setup \"设置密码\"", "exit 0"));
    EXPECT_TRUE(records().empty());
    std::filesystem::remove(std::string(store::kFileName));
  }
}

TEST_F(Setup, TabGoesFirstBoxSecondBoxButtonAndAround) {
  install_store();
  Outcome run =
      start_program({press_tab(), press_tab(), press_tab(), press_shift_tab(), press_esc()});
  std::vector<std::string> focus;
  for (const std::string& l : run.transcript) {
    if (l.starts_with("focus ")) focus.push_back(l);
  }
  EXPECT_THAT(focus,
              ElementsAre("focus setup.编辑框_密码1", "focus setup.编辑框_密码2",
                          "focus setup.按钮1", "focus setup.编辑框_密码1", "focus setup.按钮1"));
}

}  // namespace
