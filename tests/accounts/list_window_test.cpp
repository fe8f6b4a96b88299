// The account list: its refresh, Delete, Exit, the hot spot and what happens
// without a selected row, driven as whole runs of the program.
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

std::vector<Account> three() {
  return {account("甲站", "alice", "一"), account("乙站", "bob", "二"),
          account("丙站", "carol", "三")};
}

const std::string kFatalCode5 =
    R"(fatal "运行时出错!\r\n\r\n错误代码：5\r\n\r\n错误信息：数据或数组类型不匹配\r\n")";

size_t count(const std::vector<std::string>& lines, const std::string& line) {
  return std::count(lines.begin(), lines.end(), line);
}

TEST(ListRefresh, OnlyTheMasterRecordGivesAnEmptyListOnRecordOne) {
  Scenario s({});
  std::vector<Row> rows{{0, "x", "x", "x"}};
  EXPECT_EQ(s.run(login() + std::vector{probe([&](ScriptedToolkit& ui) { rows = list_rows(ui); }),
                                        press_esc()}),
            0);
  EXPECT_THAT(rows, IsEmpty());
  EXPECT_EQ(s.current_record(), 1);
}

TEST(ListRefresh, RecordsOneToFourGiveThreeRowsAndLeaveTheStoreOnFour) {
  Scenario s(three());
  std::vector<Row> rows;
  std::int64_t current = 0;
  s.run(login() + std::vector{probe([&](ScriptedToolkit& ui) {
                                rows = list_rows(ui);
                                current = s.current_record();
                              }),
                              press_esc()});
  EXPECT_THAT(rows, ElementsAre(Row{2, "甲站", "alice", "一"}, Row{3, "乙站", "bob", "二"},
                                Row{4, "丙站", "carol", "三"}));
  EXPECT_EQ(current, 4);
}

TEST(ListRefresh, AnEmptyNoteIsAnEmptyCellOfARowThatIsThere) {
  Scenario s({account("甲站", "alice", ""), account("", "", "")});
  std::vector<Row> rows;
  s.run(login() +
        std::vector{probe([&](ScriptedToolkit& ui) { rows = list_rows(ui); }), press_esc()});
  EXPECT_THAT(rows, ElementsAre(Row{2, "甲站", "alice", ""}, Row{3, "", "", ""}));
}

TEST(ListRefresh, AFieldThatIsNotATextEndsTheProgramBeforeTheListShows) {
  Scenario s(three(), "备注");
  EXPECT_EQ(s.run(login()), ui::kFatalExitCode);
  EXPECT_THAT(s.transcript(), Contains(kFatalCode5));
  EXPECT_THAT(s.after_list_shown(), IsEmpty());
}

TEST(ListWindow, OpensWithTheListFocusedAndTabsThroughTheButtons) {
  Scenario s(three());
  s.run(login() + std::vector{press_tab(), press_tab(), press_tab(), press_tab(), press_shift_tab(),
                              press_esc()});
  EXPECT_THAT(s.after_list_shown(),
              ElementsAre("focus list.超级列表框1", "focus list.按钮_添加", "focus list.按钮_退出",
                          "focus list.按钮_删除", "focus list.超级列表框1", "focus list.按钮_删除",
                          "gone list", "exit 0"));
}

TEST(ListWindow, ExitEndsWithCodeZeroAndTouchesNothing) {
  Scenario s(three());
  EXPECT_EQ(s.run(login() + std::vector{click("按钮_退出")}), 0);
  EXPECT_EQ(s.after_list_shown().back(), "exit 0");
  EXPECT_EQ(s.stored(), three());
}

TEST(ListWindow, TheCloseBoxEndsTheProgram) {
  Scenario s(three());
  EXPECT_EQ(s.run(login() + std::vector{close_window()}), 0);
  EXPECT_THAT(s.after_list_shown(), ElementsAre("focus list.超级列表框1", "gone list", "exit 0"));
}

struct DeleteCase {
  const char* name;
  Action answer;
  std::vector<Row> rows_after;
  std::vector<Account> stored_after;
  friend void PrintTo(const DeleteCase& c, std::ostream* os) { *os << c.name; }
};

class DeleteSecondOfThree : public ::testing::TestWithParam<DeleteCase> {};

TEST_P(DeleteSecondOfThree, RebuildsTheListWithTheNumbersTheStoreNowHas) {
  const DeleteCase& c = GetParam();
  Scenario s(three());
  std::vector<Row> rows;
  std::int64_t current = 0;
  s.run(login() + std::vector{select_row(kList, 1), click("按钮_删除"), c.answer,
                              probe([&](ScriptedToolkit& ui) {
                                rows = list_rows(ui);
                                current = s.current_record();
                              }),
                              click("按钮_退出")});
  EXPECT_EQ(count(s.transcript(), R"(box "是否删除当前记录" "信息：" 1)"), 1u);
  EXPECT_EQ(rows, c.rows_after);
  EXPECT_EQ(current, static_cast<std::int64_t>(c.rows_after.size()) + 1);
  EXPECT_EQ(s.stored(), c.stored_after);
  EXPECT_EQ(s.stored_login_password(), kMasterPassword);
}

INSTANTIATE_TEST_SUITE_P(Answers, DeleteSecondOfThree,
                         ::testing::Values(DeleteCase{"ok",
                                                      answer_ok(),
                                                      {{2, "甲站", "alice", "一"},
                                                       {3, "丙站", "carol", "三"}},
                                                      {three()[0], three()[2]}},
                                           DeleteCase{"cancel",
                                                      answer_cancel(),
                                                      {{2, "甲站", "alice", "一"},
                                                       {3, "乙站", "bob", "二"},
                                                       {4, "丙站", "carol", "三"}},
                                                      three()}),
                         [](const auto& info) { return std::string{info.param.name}; });

TEST(ListWindow, DeleteAfterARenumberingTakesTheRowsNewNumber) {
  Scenario s(three());
  s.run(login() + std::vector{select_row(kList, 0), click("按钮_删除"), answer_ok(),
                              select_row(kList, 1), click("按钮_删除"), answer_ok(),
                              click("按钮_退出")});
  EXPECT_EQ(s.stored(), std::vector{three()[1]});
}

// Right after a refresh no row is selected; neither command may then reach
// the master record, which a row value of 0 would select.
TEST(ListWindow, WithoutASelectedRowDeleteAndDoubleClickDoNothing) {
  Scenario s(three());
  s.run(login() + std::vector{click("按钮_删除"), double_click(kList), select_row(kList, 2),
                              click("按钮_删除"), answer_cancel(), click("按钮_删除"),
                              double_click(kList), click("按钮_退出")});
  EXPECT_EQ(count(s.transcript(), R"(box "是否删除当前记录" "信息：" 1)"), 1u);
  EXPECT_EQ(count(s.transcript(), R"(show editor "")"), 0u);
  EXPECT_EQ(s.stored(), three());
  EXPECT_EQ(s.stored_login_password(), kMasterPassword);
}

TEST(HotSpot, EveryFourthDoubleClickOpensThePasswordChangeOnTheMasterRecord) {
  Scenario s(three());
  std::vector<std::int64_t> current_when_shown;
  const Action note_current =
      probe([&](ScriptedToolkit&) { current_when_shown.push_back(s.current_record()); });
  std::vector<Action> script = login();
  for (int i = 1; i <= 8; ++i) {
    script.push_back(double_click("透明标签1"));
    if (i % 4 == 0) script.insert(script.end(), {note_current, close_window()});
    if (i == 2) script.insert(script.end(), {click("按钮_添加"), close_window()});
  }
  script.push_back(click("按钮_退出"));
  s.run(script);
  EXPECT_EQ(count(s.transcript(), R"(show change "修改登录密码")"), 2u);
  EXPECT_THAT(current_when_shown, ElementsAre(1, 1));
}

}  // namespace
}  // namespace accounts_test
