#include "ui/scripted/scripted_toolkit.h"

#include <gmock/gmock.h>
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ui/fatal_report.h"

namespace {

using namespace ui::scripted;
using ::testing::ElementsAre;
using ui::Kind;

// A small window with a box, a multi-line box, a button and a label.
ui::Window form(std::string id, std::vector<std::string>& events) {
  ui::Window w{
      .id = id,
      .caption = "窗口 " + id,
      .width = 300,
      .height = 200,
      .controls = {{"edit", Kind::edit, 10, 10, 100, 20, ""},
                   {"memo", Kind::edit, 10, 40, 100, 60, "", 0, ui::kMultiline},
                   {"ok", Kind::button, 10, 110, 60, 30, "OK"},
                   {"label", Kind::transparent_label, 10, 150, 60, 20, "热点"}},
      .tab_order = {"edit", "memo", "ok"},
      .focus = "edit",
      .created = [&events, id] { events.push_back(id + " created"); },
      .will_be_destroyed = [&events, id] { events.push_back(id + " will be destroyed"); },
      .bindings = {},
  };
  for (std::string c : {"edit", "memo"}) {
    w.bindings.push_back({c, ui::Event::got_focus,
                          [&events, id, c] { events.push_back(id + " " + c + " got focus"); }});
  }
  return w;
}

void on(ui::Window& w, std::string control, ui::Event e, ui::Handler h) {
  w.bindings.push_back({std::move(control), e, std::move(h)});
}

std::vector<std::string> lines_with(const std::vector<std::string>& transcript,
                                    std::string_view prefix) {
  std::vector<std::string> out;
  for (const std::string& l : transcript) {
    if (l.starts_with(prefix)) out.push_back(l);
  }
  return out;
}

TEST(ScriptedLifecycle, NestedModalLoadsReturnOnlyAfterTheirWindowHasGone) {
  std::vector<std::string> events;
  ScriptedToolkit* tk = nullptr;
  ui::Window b = form("b", events);
  on(b, "ok", ui::Event::clicked, [&] { tk->destroy("b"); });
  ui::Window a = form("a", events);
  on(a, "ok", ui::Event::clicked, [&] {
    tk->load_modal(b);
    events.push_back("a resumes");
    tk->destroy("a");
  });
  ui::Window top = form("top", events);
  top.created = [&] { tk->load_modal(a); };

  ScriptedToolkit t({click("ok"),
                     inspect("inside b",
                             [](ScriptedToolkit& s) {
                               EXPECT_FALSE(s.is_enabled("top"));
                               EXPECT_FALSE(s.is_enabled("a"));
                               EXPECT_TRUE(s.is_enabled("b"));
                               EXPECT_FALSE(s.is_visible("top"));  // created, not yet shown
                             }),
                     click("ok"),
                     inspect("back in top",
                             [](ScriptedToolkit& s) {
                               EXPECT_TRUE(s.is_enabled("top"));
                               EXPECT_TRUE(s.is_visible("top"));
                               EXPECT_FALSE(s.is_open("a"));
                             }),
                     close_window()});
  tk = &t;
  EXPECT_EQ(t.run_program([&](ui::Toolkit& ui) {
    ui.load_startup(top);
    return ui.run();
  }),
            0);
  EXPECT_THAT(lines_with(t.transcript(), "show"),
              ElementsAre("show a \"窗口 a\"", "show b \"窗口 b\"", "show top \"窗口 top\""));
  EXPECT_THAT(events, ElementsAre("a created", "a edit got focus", "b created", "b edit got focus",
                                  "b will be destroyed", "a resumes", "a will be destroyed",
                                  "top edit got focus", "top will be destroyed"));
  EXPECT_EQ(t.transcript().back(), "exit 0");
}

TEST(ScriptedLifecycle, DestroyFromCodeWaitsForTheHandlerToReturn) {
  std::vector<std::string> events;
  ScriptedToolkit* tk = nullptr;
  ui::Window w = form("w", events);
  on(w, "ok", ui::Event::clicked, [&] {
    tk->destroy("w");
    events.push_back(tk->is_open("w") ? "still open after destroy" : "gone too early");
    tk->message_box("还在", std::nullopt, ui::kOk);
    events.push_back("handler ends");
  });
  ScriptedToolkit t({click("ok"), answer_ok()});
  tk = &t;
  EXPECT_EQ(t.run_program([&](ui::Toolkit& ui) {
    ui.load_modal(w);
    return 7;
  }),
            7);
  EXPECT_THAT(events, ElementsAre("w created", "w edit got focus", "still open after destroy",
                                  "handler ends", "w will be destroyed"));
}

// Every way a window goes raises will_be_destroyed once, before it goes.
struct GoingCase {
  const char* name;
  std::vector<Action> script;
};

class WillBeDestroyed : public ::testing::TestWithParam<GoingCase> {};

TEST_P(WillBeDestroyed, RunsOnceBeforeTheWindowGoes) {
  std::vector<std::string> events;
  ScriptedToolkit* tk = nullptr;
  ui::Window w = form("w", events);
  w.will_be_destroyed = [&] {
    events.push_back(tk->is_open("w") ? "wbd while open" : "wbd after gone");
  };
  on(w, "ok", ui::Event::clicked, [&] { tk->destroy("w"); });
  ScriptedToolkit t(GetParam().script);
  tk = &t;
  EXPECT_EQ(t.run_program([&](ui::Toolkit& ui) {
    ui.load_startup(w);
    return ui.run();
  }),
            0);
  EXPECT_EQ(std::count(events.begin(), events.end(), "wbd while open"), 1);
  EXPECT_EQ(std::count(events.begin(), events.end(), "wbd after gone"), 0);
  EXPECT_THAT(lines_with(t.transcript(), "gone"), ElementsAre("gone w"));
}

INSTANTIATE_TEST_SUITE_P(
    EveryPath, WillBeDestroyed,
    ::testing::Values(GoingCase{"DestroyFromCode", {click("ok")}},
                      GoingCase{"CloseBox", {close_window()}}, GoingCase{"Esc", {press_esc()}},
                      GoingCase{"EscInMultiLineBox", {type("memo", "x"), press_esc()}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ScriptedLifecycle, WillBeDestroyedMayLoadAModalWindow) {
  std::vector<std::string> events;
  ScriptedToolkit* tk = nullptr;
  ui::Window second = form("second", events);
  ui::Window first = form("first", events);
  first.will_be_destroyed = [&] {
    tk->load_modal(second);
    events.push_back("first's handler resumes");
  };
  ScriptedToolkit t({press_esc(),
                     inspect("second on top",
                             [](ScriptedToolkit& s) {
                               EXPECT_TRUE(s.is_open("first"));
                               EXPECT_EQ(s.focused(), "second.edit");
                             }),
                     press_esc()});
  tk = &t;
  t.run_program([&](ui::Toolkit& ui) {
    ui.load_modal(first);
    return 0;
  });
  EXPECT_THAT(lines_with(t.transcript(), "gone"), ElementsAre("gone second", "gone first"));
  EXPECT_EQ(events.back(), "first's handler resumes");
}

TEST(ScriptedLifecycle, LoadingAnOpenWindowOnlyBringsItToTheFront) {
  std::vector<std::string> events;
  ScriptedToolkit* tk = nullptr;
  ui::Window w = form("w", events);
  on(w, "ok", ui::Event::clicked, [&] {
    tk->load_modal(w);
    events.push_back("load returned");
  });
  ScriptedToolkit t({click("ok"), press_esc()});
  tk = &t;
  t.run_program([&](ui::Toolkit& ui) {
    ui.load_modal(w);
    return 0;
  });
  EXPECT_EQ(std::count(events.begin(), events.end(), "w created"), 1);
  EXPECT_EQ(lines_with(t.transcript(), "show").size(), 1u);
  EXPECT_THAT(events, ::testing::Contains("load returned"));
}

TEST(ScriptedLifecycle, MainLoopEndsWhenTheLastWindowHasGone) {
  std::vector<std::string> events;
  ScriptedToolkit* tk = nullptr;
  ui::Window other = form("other", events);
  ui::Window main = form("main", events);
  on(main, "ok", ui::Event::clicked, [&] { tk->load_startup(other); });
  ScriptedToolkit t({click("ok"), press_esc(),
                     inspect("one left",
                             [](ScriptedToolkit& s) {
                               EXPECT_TRUE(s.is_open("main"));
                               EXPECT_EQ(s.focused(), "main.ok");
                             }),
                     press_esc()});
  tk = &t;
  EXPECT_EQ(t.run_program([&](ui::Toolkit& ui) {
    ui.load_startup(main);
    events.push_back("loop starts");
    const int code = ui.run();
    events.push_back("loop ended");
    return code;
  }),
            0);
  EXPECT_EQ(events.back(), "loop ended");
  EXPECT_EQ(t.pending_actions(), 0u);
}

TEST(ScriptedExit, EndsAtOnceWithoutAnyFurtherHandler) {
  std::vector<std::string> events;
  ScriptedToolkit* tk = nullptr;
  ui::Window inner = form("inner", events);
  on(inner, "ok", ui::Event::clicked, [&] {
    tk->exit(3);
    events.push_back("after exit");  // never runs
  });
  ui::Window outer = form("outer", events);
  outer.created = [&] {
    tk->load_modal(inner);
    events.push_back("outer resumes");
  };
  ScriptedToolkit t({click("ok"), press_esc()});
  tk = &t;
  EXPECT_EQ(t.run_program([&](ui::Toolkit& ui) {
    ui.load_startup(outer);
    return ui.run();
  }),
            3);
  EXPECT_THAT(events, ElementsAre("inner created", "inner edit got focus"));
  EXPECT_EQ(t.transcript().back(), "exit 3");
  EXPECT_FALSE(t.is_open("inner"));
  EXPECT_FALSE(t.is_open("outer"));
  EXPECT_EQ(t.pending_actions(), 1u);
}

TEST(ScriptedExit, ExitFromWillBeDestroyedSkipsTheOtherWindows) {
  std::vector<std::string> events;
  ScriptedToolkit* tk = nullptr;
  ui::Window inner = form("inner", events);
  inner.will_be_destroyed = [&] { tk->exit(0); };
  ui::Window outer = form("outer", events);
  on(outer, "ok", ui::Event::clicked, [&] { tk->load_modal(inner); });
  ScriptedToolkit t({click("ok"), press_esc()});
  tk = &t;
  EXPECT_EQ(t.run_program([&](ui::Toolkit& ui) {
    ui.load_startup(outer);
    return ui.run();
  }),
            0);
  EXPECT_THAT(events, ::testing::Not(::testing::Contains("outer will be destroyed")));
  EXPECT_TRUE(lines_with(t.transcript(), "gone").empty());
}

TEST(ScriptedExit, FatalErrorShowsTheReportAndEndsNonzero) {
  ScriptedToolkit t({});
  EXPECT_EQ(t.run_program([](ui::Toolkit& ui) -> int {
    ui.fatal_error(5, "数据或数组类型不匹配");
    return 0;  // not reached
  }),
            ui::kFatalExitCode);
  EXPECT_THAT(t.transcript(), ElementsAre("fatal \"运行时出错!\\r\\n\\r\\n错误代码：5\\r\\n\\r\\n"
                                          "错误信息：数据或数组类型不匹配\\r\\n\"",
                                          "exit 1"));
}

TEST(ScriptedExit, AnExhaustedScriptFailsTheTest) {
  std::vector<std::string> events;
  ui::Window w = form("w", events);
  ScriptedToolkit t({});
  int code = 0;
  EXPECT_NONFATAL_FAILURE(code = t.run_program([&](ui::Toolkit& ui) {
    ui.load_startup(w);
    return ui.run();
  }),
                          "script ended");
  EXPECT_EQ(code, kScriptEnded);
  EXPECT_EQ(t.transcript().back(), "script ended");
}

TEST(ScriptedKeys, TabAndShiftTabFollowTheOrderAndWrap) {
  std::vector<std::string> events;
  ui::Window w = form("w", events);
  w.tab_order = {"memo", "edit", "ok"};  // not the layout order
  ScriptedToolkit t({press_tab(), press_tab(), press_tab(), press_tab(), press_shift_tab(),
                     press_shift_tab(), press_esc()});
  t.run_program([&](ui::Toolkit& ui) {
    ui.load_modal(w);
    return 0;
  });
  EXPECT_THAT(lines_with(t.transcript(), "focus"),
              ElementsAre("focus w.edit", "focus w.ok", "focus w.memo", "focus w.edit",
                          "focus w.ok", "focus w.edit", "focus w.memo"));
  EXPECT_EQ(std::count(events.begin(), events.end(), "w memo got focus"), 2);
  EXPECT_EQ(std::count(events.begin(), events.end(), "w edit got focus"), 3);
}

TEST(ScriptedKeys, EnterClicksNothingAndBreaksLinesOnlyInAMultiLineBox) {
  std::vector<std::string> events;
  ui::Window w = form("w", events);
  on(w, "ok", ui::Event::clicked, [&] { events.push_back("clicked"); });
  ScriptedToolkit t({type("edit", "a"), press_enter(), type("memo", "b"), press_enter(),
                     type("memo", "c"), press_tab(), press_enter(),
                     inspect("texts",
                             [&](ScriptedToolkit& s) {
                               EXPECT_EQ(s.text("w", "edit"), "a");
                               EXPECT_EQ(s.text("w", "memo"), "b\r\nc");
                               EXPECT_EQ(s.focused(), "w.ok");
                             }),
                     press_esc()});
  t.run_program([&](ui::Toolkit& ui) {
    ui.load_modal(w);
    return 0;
  });
  EXPECT_THAT(events, ::testing::Not(::testing::Contains("clicked")));
}

TEST(ScriptedBoxes, TranscriptShowsTextTitleStyleAndAnswer) {
  ScriptedToolkit t(
      {answer_ok(), answer_cancel(), press_esc(), close_window(), press_enter(), answer_cancel()});
  std::vector<int> results;
  t.run_program([&](ui::Toolkit& ui) {
    results.push_back(ui.message_box("第一行\r\n第二行", std::nullopt, ui::kOkCancel));
    results.push_back(ui.message_box("删除?", "确认", ui::kOkCancel));
    results.push_back(ui.message_box("x", std::nullopt, ui::kOkCancel));
    results.push_back(ui.message_box("x", std::nullopt, ui::kOkCancel));
    results.push_back(ui.message_box("x", std::nullopt, ui::kOkCancel));
    results.push_back(ui.message_box("只有确定", std::nullopt, ui::kOkError));
    return 0;
  });
  EXPECT_THAT(results, ElementsAre(ui::kBoxOk, ui::kBoxCancel, ui::kBoxCancel, ui::kBoxCancel,
                                   ui::kBoxOk, ui::kBoxOk));
  EXPECT_EQ(t.transcript()[0], "box \"第一行\\r\\n第二行\" \"信息：\" 1");
  EXPECT_EQ(t.transcript()[1], "answer ok");
  EXPECT_EQ(t.transcript()[2], "box \"删除?\" \"确认\" 1");
  EXPECT_EQ(t.transcript()[3], "answer cancel");
  EXPECT_EQ(t.transcript()[10], "box \"只有确定\" \"信息：\" 16");
  EXPECT_EQ(t.transcript()[11], "answer ok");  // an OK-only box has no Cancel
}

TEST(ScriptedBoxes, NoWindowTakesInputWhileABoxIsUp) {
  std::vector<std::string> events;
  ScriptedToolkit* tk = nullptr;
  ui::Window w = form("w", events);
  on(w, "ok", ui::Event::clicked, [&] {
    events.push_back("clicked");
    tk->message_box("稍等", std::nullopt, ui::kOk);
  });
  ScriptedToolkit t({click("ok"), click("ok"), answer_ok(), press_esc()});
  tk = &t;
  EXPECT_NONFATAL_FAILURE(t.run_program([&](ui::Toolkit& ui) {
    ui.load_modal(w);
    return 0;
  }),
                          "a message box is up");
  EXPECT_EQ(std::count(events.begin(), events.end(), "clicked"), 1);
}

struct MistakeCase {
  const char* name;
  Action mistake;
  const char* reported;
};

class ScriptMistake : public ::testing::TestWithParam<MistakeCase> {};

TEST_P(ScriptMistake, FailsTheTestAndIsSkipped) {
  std::vector<std::string> events;
  ui::Window w = form("w", events);
  ScriptedToolkit t({GetParam().mistake, press_esc()});
  int code = -1;
  EXPECT_NONFATAL_FAILURE(code = t.run_program([&](ui::Toolkit& ui) {
    ui.load_modal(w);
    return 0;
  }),
                          GetParam().reported);
  EXPECT_EQ(code, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Scripted, ScriptMistake,
    ::testing::Values(
        MistakeCase{"UnknownControl", click("nope"), "has no control \"nope\""},
        MistakeCase{"TypingIntoAButton", type("ok", "x"), "does not take this action"},
        MistakeCase{"ClickingABox", click("edit"), "does not take this action"},
        MistakeCase{"AnswerWithoutBox", answer_ok(), "no message box is up"},
        MistakeCase{"RowOutsideTheList", select_row("edit", 0), "does not take this action"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ScriptedControls, ListRowsValuesAndSelection) {
  std::vector<std::string> events;
  ScriptedToolkit* tk = nullptr;
  ui::Window w = form("w", events);
  w.controls.push_back(
      {"list", Kind::list_view, 0, 0, 200, 100, "", 21, 0, {{"网站", 120}, {"账号", 200}}});
  std::vector<int> picked;
  on(w, "list", ui::Event::double_clicked,
     [&] { picked.push_back(tk->list_selected("w", "list")); });
  w.created = [&] {
    for (std::int64_t v : {2, 3, 4}) {
      int row = tk->list_append("w", "list", v);
      tk->list_set_cell("w", "list", row, 0, "站" + std::to_string(v));
    }
  };
  ScriptedToolkit t({select_row("list", 1),
                     inspect("selected",
                             [](ScriptedToolkit& s) {
                               EXPECT_EQ(s.list_selected("w", "list"), 1);
                               EXPECT_EQ(s.list_value("w", "list", 1), 3);
                               EXPECT_EQ(s.list_value("w", "list", 3), 0);
                               EXPECT_EQ(s.list_value("w", "list", -1), 0);
                               EXPECT_EQ(s.focused(), "w.list");
                             }),
                     double_click_row("list", 2), double_click("list"),
                     inspect("cleared",
                             [](ScriptedToolkit& s) {
                               s.list_clear("w", "list");
                               EXPECT_EQ(s.list_selected("w", "list"), -1);
                               EXPECT_TRUE(s.list_rows("w", "list").empty());
                             }),
                     press_esc()});
  tk = &t;
  t.run_program([&](ui::Toolkit& ui) {
    ui.load_modal(w);
    return 0;
  });
  EXPECT_THAT(picked, ElementsAre(2, -1));
}

TEST(ScriptedControls, ListRowsKeepTheirCells) {
  std::vector<std::string> events;
  ui::Window w = form("w", events);
  w.controls.push_back(
      {"list", Kind::list_view, 0, 0, 200, 100, "", 21, 0, {{"网站", 120}, {"账号", 200}}});
  ScriptedToolkit t({inspect("fill",
                             [](ScriptedToolkit& s) {
                               s.list_append("w", "list", 9);
                               s.list_set_cell("w", "list", 0, 1, "账号");
                               EXPECT_THAT(s.list_rows("w", "list"),
                                           ElementsAre(std::vector<std::string>{"", "账号"}));
                             }),
                     press_esc()});
  t.run_program([&](ui::Toolkit& ui) {
    ui.load_modal(w);
    return 0;
  });
}

TEST(ScriptedControls, ColourPointSizeAndTexts) {
  std::vector<std::string> events;
  ui::Window w = form("w", events);
  ScriptedToolkit t({inspect("set",
                             [](ScriptedToolkit& s) {
                               EXPECT_EQ(s.point_size("w", "edit"), 0);
                               s.set_text_color("w", "edit", 8421504);
                               s.set_point_size("w", "edit", 12);
                               s.set_text("w", "ok", "保存");
                               EXPECT_EQ(s.text_color("w", "edit"), 8421504u);
                               EXPECT_EQ(s.point_size("w", "edit"), 12);
                               EXPECT_EQ(s.text("w", "ok"), "保存");
                               EXPECT_EQ(s.text("w", "label"), "热点");
                             }),
                     clear("edit"), press_esc()});
  t.run_program([&](ui::Toolkit& ui) {
    ui.load_modal(w);
    return 0;
  });
}

TEST(ScriptedServices, ShellRequestsPassTheSafetyRuleAndSkinIsRecorded) {
  ScriptedToolkit t({});
  t.run_program([](ui::Toolkit& ui) {
    ui.set_skin(2);
    ui.shell_open(" www.example.com\r\n");
    ui.shell_open("C:\\Windows\\System32\\cmd.exe");
    return 0;
  });
  EXPECT_THAT(t.transcript(),
              ElementsAre("skin 2", "shell \"http://www.example.com\"",
                          "shell refused \"C:\\Windows\\System32\\cmd.exe\"", "exit 0"));
  EXPECT_EQ(t.skin(), 2);
}

}  // namespace
