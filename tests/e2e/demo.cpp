// The toolkit's own test program: a main window with a control of each kind,
// two modal levels, message boxes, a 100,000-row virtual list and the skin
// schemes. Handlers write what happened into the log box, which the tests read.
#include <chrono>
#include <string>

#include "ui/win32/toolkit.h"
#include "ui/win32/win.h"

ui::Window level1();

namespace {

using ui::Event;
using ui::Kind;

ui::win32::Toolkit* tk = nullptr;

void log(const std::string& line) {
  tk->set_text("demo", "编辑框_日志", tk->text("demo", "编辑框_日志") + line + "\r\n");
}

void fill(int rows) {
  const auto start = std::chrono::steady_clock::now();
  tk->list_clear("demo", "超级列表框1");
  for (int i = 0; i < rows; ++i) {
    const int row = tk->list_append("demo", "超级列表框1", 1000 + i);
    tk->list_set_cell("demo", "超级列表框1", row, 0, "网站" + std::to_string(i));
    tk->list_set_cell("demo", "超级列表框1", row, 1, "账号" + std::to_string(i));
    tk->list_set_cell("demo", "超级列表框1", row, 2, "备注" + std::to_string(i));
  }
  const auto ms =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  log("filled " + std::to_string(rows) + " in " + std::to_string(static_cast<int>(ms)) + " ms");
}

ui::Window level2() {
  return {
      .id = "level2",
      .caption = "第二层",
      .width = 300,
      .height = 180,
      .controls = {{"编辑框1", Kind::edit, 20, 20, 240, 25, ""},
                   {"按钮_再开第一层", Kind::button, 20, 70, 120, 32, "再开第一层"},
                   {"按钮_关闭", Kind::button, 160, 70, 100, 32, "关闭"}},
      .tab_order = {"编辑框1", "按钮_再开第一层", "按钮_关闭"},
      .focus = "编辑框1",
      .created = [] { log("level2 created"); },
      .will_be_destroyed = [] { log("level2 gone"); },
      .bindings = {{"按钮_关闭", Event::clicked, [] { tk->destroy("level2"); }},
                   {"按钮_再开第一层", Event::clicked,
                    [] {
                      tk->load_modal(level1());
                      log("level1 again returned");
                    }}},
  };
}

}  // namespace

ui::Window level1() {
  return {
      .id = "level1",
      .caption = "第一层",
      .width = 320,
      .height = 200,
      .controls = {{"编辑框1", Kind::edit, 20, 20, 260, 25, ""},
                   {"按钮_第二层", Kind::button, 20, 80, 100, 32, "第二层"},
                   {"按钮_关闭", Kind::button, 180, 80, 100, 32, "关闭"}},
      .tab_order = {"编辑框1", "按钮_第二层", "按钮_关闭"},
      .focus = "按钮_第二层",
      .created = [] { log("level1 created"); },
      .will_be_destroyed = [] { log("level1 gone"); },
      .bindings = {{"按钮_第二层", Event::clicked,
                    [] {
                      tk->load_modal(level2());
                      log("level2 returned");
                    }},
                   {"按钮_关闭", Event::clicked,
                    [] {
                      tk->destroy("level1");
                      log("level1 destroy requested");
                    }}},
  };
}

namespace {

int scheme = 0;

// Controls the window tables have no kind for, made directly, so that the
// skin's look of them can be seen.
void add_native_controls() {
  HWND parent = tk->hwnd("demo");
  HINSTANCE inst = GetModuleHandleW(nullptr);
  HFONT font = reinterpret_cast<HFONT>(
      SendMessageW(FindWindowExW(parent, nullptr, L"Button", nullptr), WM_GETFONT, 0, 0));
  struct Native {
    const wchar_t* cls;
    const wchar_t* text;
    DWORD style;
    int x, y, w, h;
  };
  const DWORD child = WS_CHILD | WS_VISIBLE;
  const Native natives[] = {
      {L"Button", L"分组", child | BS_GROUPBOX, 16, 432, 300, 84},
      {L"Button", L"复选", child | WS_TABSTOP | BS_AUTOCHECKBOX, 28, 456, 80, 24},
      {L"Button", L"单选甲", child | WS_TABSTOP | BS_AUTORADIOBUTTON, 120, 456, 80, 24},
      {L"Button", L"单选乙", child | WS_TABSTOP | BS_AUTORADIOBUTTON, 208, 456, 80, 24},
      {L"Button", L"禁用", child | WS_DISABLED | BS_AUTOCHECKBOX, 28, 484, 80, 24},
      {L"ComboBox", L"", child | WS_TABSTOP | CBS_DROPDOWNLIST, 336, 440, 140, 200},
      {L"Edit", L"7", child | WS_TABSTOP | ES_NUMBER, 496, 440, 60, 24},
      {UPDOWN_CLASSW, L"", child | UDS_ALIGNRIGHT | UDS_SETBUDDYINT | UDS_AUTOBUDDY, 0, 0, 0, 0},
  };
  for (const Native& n : natives) {
    HWND h = CreateWindowExW(lstrcmpW(n.cls, L"Edit") == 0 ? WS_EX_CLIENTEDGE : 0, n.cls, n.text,
                             n.style, n.x, n.y, n.w, n.h, parent, nullptr, inst, nullptr);
    SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (lstrcmpW(n.cls, L"ComboBox") == 0) {
      SendMessageW(h, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"组合框"));
      SendMessageW(h, CB_SETCURSEL, 0, 0);
    }
  }
}

ui::Window demo() {
  const std::string list = "超级列表框1";
  return {
      .id = "demo",
      .caption = "工具包演示",
      .width = 640,
      .height = 560,
      .controls =
          {
              {"透明标签_表头", Kind::transparent_label, 8, 8, 440, 25, ""},
              {"透明标签_说明", Kind::transparent_label, 330, 230, 150, 24, "透明的说明"},
              {"标签1", Kind::label, 16, 230, 100, 24, "普通标签："},
              {"编辑框_普通", Kind::edit, 120, 228, 200, 27, "", 21},
              {"编辑框_密码", Kind::edit, 120, 262, 200, 27, "", 0, ui::kPassword},
              {"编辑框_多行", Kind::edit, 120, 296, 200, 64, "", 21, ui::kMultiline},
              {"编辑框_日志", Kind::edit, 340, 262, 280, 120, "", 0, ui::kMultiline},
              {"按钮_模态", Kind::button, 16, 392, 72, 32, "模态"},
              {"按钮_消息", Kind::button, 96, 392, 72, 32, "消息"},
              {"按钮_填充", Kind::button, 176, 392, 72, 32, "填充"},
              {"按钮_皮肤", Kind::button, 256, 392, 72, 32, "皮肤"},
              {"按钮_字号", Kind::button, 336, 392, 72, 32, "字号"},
              {"按钮_致命", Kind::button, 456, 392, 72, 32, "致命"},
              {"按钮_退出", Kind::button, 536, 392, 72, 32, "退出"},
              {list,
               Kind::list_view,
               7,
               3,
               610,
               216,
               "",
               21,
               0,
               {{"网站", 120}, {"账号", 200}, {"备注", 200}}},
          },
      .tab_order = {list, "编辑框_普通", "编辑框_密码", "编辑框_多行", "按钮_模态", "按钮_消息",
                    "按钮_填充", "按钮_皮肤", "按钮_字号", "按钮_退出"},
      .focus = "编辑框_普通",
      .created =
          [] {
            add_native_controls();
            tk->set_skin(scheme = 1);
            fill(3);
          },
      .will_be_destroyed = [] { tk->message_box("演示窗口将关闭", std::nullopt, ui::kOkInfo); },
      .bindings =
          {
              {"按钮_模态", Event::clicked,
               [] {
                 tk->load_modal(level1());
                 log("level1 returned");
               }},
              {"按钮_消息", Event::clicked,
               [] {
                 const int r = tk->message_box("要继续吗？", std::nullopt, ui::kOkCancel);
                 log("box " + std::to_string(r));
               }},
              {"按钮_填充", Event::clicked, [] { fill(100000); }},
              {"按钮_皮肤", Event::clicked,
               [] {
                 scheme = (scheme + 1) % 4;
                 tk->set_skin(scheme);
                 log("skin " + std::to_string(scheme));
               }},
              {"按钮_字号", Event::clicked,
               [] {
                 tk->set_text_color("demo", "编辑框_多行", 8421504);
                 tk->set_point_size("demo", "编辑框_多行", 12);
                 tk->set_text("demo", "编辑框_多行", "灰色十二磅");
               }},
              {"按钮_退出", Event::clicked, [] { tk->exit(3); }},
              {"按钮_致命", Event::clicked, [] { tk->fatal_error(5, "数据或数组类型不匹配"); }},
              {"编辑框_多行", Event::got_focus, [] { log("multiline focus"); }},
              {"透明标签_表头", Event::double_clicked, [] { log("header label dblclick"); }},
              {list, Event::double_clicked,
               [] {
                 const int row = tk->list_selected("demo", "超级列表框1");
                 log("list dblclick " + std::to_string(row) + " value " +
                     std::to_string(tk->list_value("demo", "超级列表框1", row)));
               }},
          },
  };
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  ui::win32::Toolkit toolkit;
  tk = &toolkit;
  toolkit.load_startup(demo());
  return toolkit.run();
}
