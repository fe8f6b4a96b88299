// Start-up to the first window on the toolkit: the account list layout,
// shown and painted; prints the wall-clock time (ms since the Unix epoch) at
// that moment and ends.
#include <cstdio>

#include "ui/win32/toolkit.h"

namespace {

double now_ms() {
  FILETIME ft;
  GetSystemTimePreciseAsFileTime(&ft);
  const ULONGLONG t = (static_cast<ULONGLONG>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
  return static_cast<double>(t - 116444736000000000ULL) / 10000.0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  ui::win32::Toolkit tk;
  const std::string list = "超级列表框1";
  tk.load_startup({.id = "list",
                   .caption = "帐号管理",
                   .width = 554,
                   .height = 389,
                   .controls = {{"透明标签1", ui::Kind::transparent_label, 8, 8, 440, 25, ""},
                                {"按钮_删除", ui::Kind::button, 140, 312, 56, 32, "删除"},
                                {"按钮_退出", ui::Kind::button, 376, 312, 56, 32, "退出"},
                                {"按钮_添加", ui::Kind::button, 30, 312, 56, 32, "添加"},
                                {list,
                                 ui::Kind::list_view,
                                 7,
                                 3,
                                 530,
                                 291,
                                 "",
                                 21,
                                 0,
                                 {{"网站", 120}, {"账号", 200}, {"备注", 200}}}},
                   .tab_order = {list, "按钮_添加", "按钮_退出", "按钮_删除"},
                   .focus = list,
                   .created = [&tk] { tk.set_skin(2); },
                   .will_be_destroyed = {},
                   .bindings = {}});
  tk.pump();
  UpdateWindow(tk.hwnd("list"));
  std::printf("shown_ms=%.3f\n", now_ms());
  std::fflush(stdout);
  tk.exit(0);
}
