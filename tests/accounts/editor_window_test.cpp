// The account editor: add, modify, the URL hint, the URL label and the ways
// the store can say no, driven as whole runs of the program.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "scenario.h"
#include "ui/fatal_report.h"

namespace accounts_test {
namespace {

using namespace sc;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Not;

constexpr char kHint[] = "请输入以http://开头的网址";
constexpr char kUrl[] = "编辑框_网址";

Account full(std::string tag) {
  return {"user" + tag, "pw" + tag, "site" + tag, "www.s" + tag + ".com", tag + "@mail", "q1" + tag,
          "q2" + tag,   "q3" + tag, "note" + tag};
}

std::vector<Account> three() { return {full("1"), full("2"), full("3")}; }

size_t count(const std::vector<std::string>& lines, const std::string& line) {
  return std::count(lines.begin(), lines.end(), line);
}

Account boxes(ScriptedToolkit& ui) {
  auto t = [&](const char* box) { return ui.text("editor", box); };
  return {t("编辑框_账号"),  t("编辑框_密码"),  t("编辑框_网站"),
          t(kUrl),           t("编辑框_邮箱"),  t("编辑框_密保1"),
          t("编辑框_密保2"), t("编辑框_密保3"), t("编辑框_备注")};
}

const std::string kSaved = R"(box "保存成功" "信息：" 0)";
const std::string kModified = R"(box "修改成功" "信息：" 0)";
const std::string kConfirm = R"(box "是否修改当前记录" "信息：" 1)";
const std::string kFailed = R"(box "失败" "信息：" 64)";
const std::string kIncomplete = R"(box "请输入账号、密码" "信息：" 64)";

TEST(AddMode, SavingTwiceMakesTwoRecordsEachFollowedByARefresh) {
  Scenario s({});
  const Account a = full("A");
  std::vector<Row> rows;
  s.run(login() + std::vector{click("按钮_添加")} + fill(a) +
        std::vector{click("按钮"), answer_ok(), click("按钮"), answer_ok(),
                    probe([&](ScriptedToolkit& ui) { rows = list_rows(ui); }), click("按钮_添加1"),
                    click("按钮_退出")});
  EXPECT_EQ(count(s.transcript(), kSaved), 2u);
  EXPECT_EQ(s.stored(), (std::vector{a, a}));
  EXPECT_THAT(rows,
              ElementsAre(Row{2, "siteA", "userA", "noteA"}, Row{3, "siteA", "userA", "noteA"}));
}

TEST(AddMode, OpensWithTheFocusOnTheAccountAndTabsThroughEveryBox) {
  Scenario s({});
  std::vector<Action> script = login() + std::vector{click("按钮_添加")};
  for (int i = 0; i < 11; ++i) script.push_back(press_tab());
  script.insert(script.end(), {press_shift_tab(), press_esc(), press_esc()});
  s.run(script);
  const std::vector<std::string> seen = s.after_list_shown();
  std::vector<std::string> focus;
  std::copy_if(seen.begin(), seen.end(), std::back_inserter(focus),
               [](const std::string& l) { return l.starts_with("focus editor."); });
  EXPECT_THAT(
      focus, ElementsAre("focus editor.编辑框_账号", "focus editor.编辑框_密码",
                         "focus editor.编辑框_网站", "focus editor.编辑框_网址",
                         "focus editor.编辑框_邮箱", "focus editor.编辑框_密保1",
                         "focus editor.编辑框_密保2", "focus editor.编辑框_密保3",
                         "focus editor.编辑框_备注", "focus editor.按钮", "focus editor.按钮_添加1",
                         "focus editor.编辑框_账号", "focus editor.按钮_添加1"));
}

struct IncompleteCase {
  const char* name;
  std::string account, password;
  friend void PrintTo(const IncompleteCase& c, std::ostream* os) { *os << c.name; }
};

class IncompleteAccount : public ::testing::TestWithParam<IncompleteCase> {};

TEST_P(IncompleteAccount, IsRefusedInAddModeAndNothingIsStored) {
  Scenario s({});
  Account a = full("A");
  a.account = GetParam().account;
  a.password = GetParam().password;
  s.run(login() + std::vector{click("按钮_添加")} + fill(a) +
        std::vector{click("按钮"), answer_ok(), press_esc(), click("按钮_退出")});
  EXPECT_EQ(count(s.transcript(), kIncomplete), 1u);
  EXPECT_THAT(s.transcript(), Not(Contains(kSaved)));
  EXPECT_THAT(s.stored(), IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(Boxes, IncompleteAccount,
                         ::testing::Values(IncompleteCase{"no_account", "", "pw"},
                                           IncompleteCase{"no_password", "user", ""},
                                           IncompleteCase{"neither", "", ""}),
                         [](const auto& info) { return std::string{info.param.name}; });

TEST(AddMode, BlanksAreContentAndAreStoredAsTyped) {
  Scenario s({});
  Account a = full("A");
  a.account = " ";
  a.password = "  pw ";
  s.run(login() + std::vector{click("按钮_添加")} + fill(a) +
        std::vector{click("按钮"), answer_ok(), press_esc(), click("按钮_退出")});
  EXPECT_EQ(s.stored(), std::vector{a});
}

TEST(ModifyMode, ShowsAllNineFieldsOfTheRowDoubleClicked) {
  Scenario s(three());
  Account shown;
  s.run(login() + std::vector{double_click_row(kList, 1),
                              probe([&](ScriptedToolkit& ui) { shown = boxes(ui); }), press_esc(),
                              click("按钮_退出")});
  EXPECT_EQ(shown, three()[1]);
  EXPECT_EQ(count(s.transcript(), R"(show editor "")"), 1u);
}

TEST(ModifyMode, AFieldThatIsNotATextEndsTheProgramBeforeTheEditorShows) {
  Scenario s(three(), "邮箱");
  EXPECT_EQ(s.run(login() + std::vector{double_click_row(kList, 2)}), ui::kFatalExitCode);
  EXPECT_THAT(
      s.after_list_shown(),
      Contains(
          R"(fatal "运行时出错!\r\n\r\n错误代码：5\r\n\r\n错误信息：数据或数组类型不匹配\r\n")"));
  EXPECT_THAT(s.transcript(), Not(Contains(R"(show editor "")")));
}

// Two modifies in the same editor, each confirmed or declined. The refresh
// after the first leaves the store on the last record; the second must still
// write the account the editor shows.
struct ModifyCase {
  const char* name;
  bool first_ok, second_ok;
  std::string note_after;
  size_t successes;
  friend void PrintTo(const ModifyCase& c, std::ostream* os) { *os << c.name; }
};

class ModifyTwice : public ::testing::TestWithParam<ModifyCase> {};

TEST_P(ModifyTwice, WritesOnlyTheAccountShownAndRefreshesEachTime) {
  const ModifyCase& c = GetParam();
  Scenario s(three());
  std::vector<std::int64_t> current_after;
  const Action note_current =
      probe([&](ScriptedToolkit&) { current_after.push_back(s.current_record()); });
  auto modify_to = [&](std::string note, bool ok) {
    std::vector<Action> steps{clear("编辑框_备注"), type("编辑框_备注", note), click("按钮")};
    if (ok)
      steps.insert(steps.end(), {answer_ok(), answer_ok()});  // the question, then 修改成功
    else
      steps.push_back(answer_cancel());
    steps.push_back(note_current);
    return steps;
  };
  s.run(login() + std::vector{double_click_row(kList, 0)} + modify_to("first", c.first_ok) +
        modify_to("second", c.second_ok) + std::vector{press_esc(), click("按钮_退出")});
  std::vector<Account> expected = three();
  expected[0].note = c.note_after;
  EXPECT_EQ(s.stored(), expected);
  EXPECT_EQ(count(s.transcript(), kConfirm), 2u);
  EXPECT_EQ(count(s.transcript(), kModified), c.successes);
  EXPECT_THAT(current_after, ElementsAre(4, 4));
  EXPECT_EQ(s.stored_login_password(), kMasterPassword);
}

INSTANTIATE_TEST_SUITE_P(Answers, ModifyTwice,
                         ::testing::Values(ModifyCase{"ok_ok", true, true, "second", 2},
                                           ModifyCase{"ok_cancel", true, false, "first", 1},
                                           ModifyCase{"cancel_ok", false, true, "second", 1},
                                           ModifyCase{"cancel_cancel", false, false, "note1", 0}),
                         [](const auto& info) { return std::string{info.param.name}; });

TEST(ModifyMode, AnEmptyStoredPasswordMustBeTypedBeforeTheModify) {
  Account no_password = full("1");
  no_password.password = "";
  Scenario s({no_password});
  s.run(login() + std::vector{double_click_row(kList, 0), click("按钮"), answer_ok(),
                              type("编辑框_密码", "new"), click("按钮"), answer_ok(), answer_ok(),
                              press_esc(), click("按钮_退出")});
  EXPECT_EQ(count(s.transcript(), kIncomplete), 1u);
  EXPECT_EQ(count(s.transcript(), kConfirm), 1u);
  no_password.password = "new";
  EXPECT_EQ(s.stored(), std::vector{no_password});
}

TEST(UrlHint, IsGreyAndTwelvePointAndIsNotSavedAsTheAddress) {
  Scenario s({});
  std::string text;
  std::uint32_t colour = 1;
  int points = 0;
  Account a = full("A");
  a.url = "";
  s.run(login() + std::vector{click("按钮_添加"), probe([&](ScriptedToolkit& ui) {
                                text = ui.text("editor", kUrl);
                                colour = ui.text_color("editor", kUrl);
                                points = ui.point_size("editor", kUrl);
                              })} +
        fill(a) + std::vector{click("按钮"), answer_ok(), press_esc(), click("按钮_退出")});
  EXPECT_EQ(text, kHint);
  EXPECT_EQ(colour, 8421504u);
  EXPECT_EQ(points, 12);
  EXPECT_EQ(s.stored(), std::vector{a});
}

TEST(UrlHint, GoesOnFirstFocusLeavingBlackTwelvePointText) {
  Scenario s({});
  std::string text = "x";
  std::uint32_t colour = 1;
  int points = 0;
  s.run(login() + std::vector{click("按钮_添加"), press_tab(), press_tab(), press_tab(),
                              probe([&](ScriptedToolkit& ui) {
                                text = ui.text("editor", kUrl);
                                colour = ui.text_color("editor", kUrl);
                                points = ui.point_size("editor", kUrl);
                              }),
                              press_esc(), click("按钮_退出")});
  EXPECT_EQ(text, "");
  EXPECT_EQ(colour, 0u);
  EXPECT_EQ(points, 12);
}

// Coming back to the URL box, or tabbing through it in modify mode, must not
// erase an address.
TEST(UrlHint, OnlyTheHintIsClearedOnFocus) {
  Scenario s({full("1")});
  s.run(login() + std::vector{click("按钮_添加")} + fill(full("2")) +
        std::vector{type(kUrl, "/more"), click("按钮"), answer_ok(), press_esc(),
                    double_click_row(kList, 0), press_tab(), press_tab(), press_tab(), press_tab(),
                    click("按钮"), answer_ok(), answer_ok(), press_esc(), click("按钮_退出")});
  Account added = full("2");
  added.url += "/more";
  EXPECT_EQ(s.stored(), (std::vector{full("1"), added}));
}

TEST(UrlLabel, HandsTheTypedAddressToTheShellButNeverTheHint) {
  Scenario s({});
  s.run(login() + std::vector{click("按钮_添加"), double_click("透明标签_网址"),
                              type(kUrl, "www.example.com"), double_click("透明标签_网址"),
                              clear(kUrl), double_click("透明标签_网址"), press_esc(),
                              click("按钮_退出")});
  std::vector<std::string> shell;
  for (const std::string& l : s.transcript())
    if (l.starts_with("shell")) shell.push_back(l);
  EXPECT_THAT(shell, ElementsAre(R"(shell "http://www.example.com")"));
}

TEST(UrlLabel, OpensTheStoredAddressInModifyMode) {
  Account a = full("1");
  a.url = "https://example.org/login";
  Scenario s({a});
  s.run(login() + std::vector{double_click_row(kList, 0), double_click("透明标签_网址"),
                              press_esc(), click("按钮_退出")});
  EXPECT_THAT(s.transcript(), Contains(R"(shell "https://example.org/login")"));
}

TEST(UrlBox, EnterStartsANewLineThatIsSavedWithTheAddress) {
  Scenario s({});
  Account a = full("A");
  a.url = "";
  std::string url;
  s.run(login() + std::vector{click("按钮_添加")} + fill(a) +
        std::vector{type(kUrl, "www.a.com"), press_enter(), type(kUrl, "b"),
                    probe([&](ScriptedToolkit& ui) { url = ui.text("editor", kUrl); }),
                    click("按钮"), answer_ok(), press_esc(), click("按钮_退出")});
  ASSERT_EQ(s.stored().size(), 1u);
  EXPECT_EQ(s.stored()[0].url, url);
  EXPECT_NE(url.find('\n'), std::string::npos) << url;
  EXPECT_TRUE(url.starts_with("www.a.com") && url.ends_with("b")) << url;
}

TEST(Editor, EnterInASingleLineBoxClicksNothing) {
  Scenario s({});
  s.run(login() + std::vector{click("按钮_添加")} + fill(full("A")) +
        std::vector{type("编辑框_备注", ""), press_enter(), press_esc(), click("按钮_退出")});
  EXPECT_THAT(s.transcript(), Not(Contains(kSaved)));
  EXPECT_THAT(s.stored(), IsEmpty());
}

struct LeaveCase {
  const char* name;
  Action leave;
  friend void PrintTo(const LeaveCase& c, std::ostream* os) { *os << c.name; }
};

class LeavingTheEditor : public ::testing::TestWithParam<LeaveCase> {};

TEST_P(LeavingTheEditor, DropsWhatWasTypedAndReturnsToTheList) {
  Scenario s({full("1")});
  s.run(login() + std::vector{double_click_row(kList, 0), clear("编辑框_备注"),
                              type("编辑框_备注", "typed"), GetParam().leave, click("按钮_退出")});
  EXPECT_EQ(count(s.transcript(), "gone editor"), 1u);
  EXPECT_EQ(s.after_list_shown().back(), "exit 0");
  EXPECT_EQ(s.stored(), std::vector{full("1")});
}

INSTANTIATE_TEST_SUITE_P(Ways, LeavingTheEditor,
                         ::testing::Values(LeaveCase{"exit_button", click("按钮_添加1")},
                                           LeaveCase{"close_box", close_window()},
                                           LeaveCase{"esc", press_esc()}),
                         [](const auto& info) { return std::string{info.param.name}; });

TEST(RefusingStore, AFailedSaveSaysSoAndAddsNothing) {
  Scenario s({full("1")});
  s.run_refusing_writes(login() + std::vector{click("按钮_添加")} + fill(full("2")) +
                        std::vector{click("按钮"), answer_ok(), press_esc(), click("按钮_退出")});
  EXPECT_EQ(count(s.transcript(), kFailed), 1u);
  EXPECT_THAT(s.transcript(), Not(Contains(kSaved)));
  EXPECT_EQ(s.stored(), std::vector{full("1")});
}

TEST(RefusingStore, AFailedModifyIsNotReportedAsSuccessAndTheListIsRebuilt) {
  Scenario s({full("1"), full("2")});
  std::int64_t current = 0;
  s.run_refusing_writes(
      login() + std::vector{double_click_row(kList, 0), clear("编辑框_备注"),
                            type("编辑框_备注", "x"), click("按钮"), answer_ok(), answer_ok(),
                            probe([&](ScriptedToolkit&) { current = s.current_record(); }),
                            press_esc(), click("按钮_退出")});
  EXPECT_EQ(count(s.transcript(), kFailed), 1u);
  EXPECT_THAT(s.transcript(), Not(Contains(kModified)));
  EXPECT_EQ(current, 3);
  EXPECT_EQ(s.stored(), (std::vector{full("1"), full("2")}));
}

}  // namespace
}  // namespace accounts_test
