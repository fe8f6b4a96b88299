// Keys the windows handle themselves: Esc closes like the close box, Tab and
// Shift+Tab follow the window's order, Enter only breaks lines in a
// multi-line box. No button is a default button.
#include "ui/win32/toolkit.h"

namespace ui::win32 {
namespace {

bool is_multiline_edit(HWND h) {
  wchar_t cls[16] = {};
  GetClassNameW(h, cls, 16);
  return lstrcmpiW(cls, L"Edit") == 0 && (GetWindowLongW(h, GWL_STYLE) & ES_MULTILINE);
}

}  // namespace

bool Toolkit::pre_translate(const MSG& m) {
  if (m.message != WM_KEYDOWN || !m.hwnd) return false;
  HWND root = GetAncestor(m.hwnd, GA_ROOT);
  WindowState* ws = nullptr;
  for (auto& w : windows_)
    if (w->hwnd == root) ws = w.get();
  if (!ws) return false;
  switch (m.wParam) {
    case VK_ESCAPE:
      PostMessageW(root, WM_SYSCOMMAND, SC_CLOSE, 0);
      return true;
    case VK_TAB:
      tab(*ws, GetKeyState(VK_SHIFT) < 0);
      return true;
    case VK_RETURN:
      return !is_multiline_edit(m.hwnd);
    default:
      return false;
  }
}

void Toolkit::tab(WindowState& ws, bool back) {
  std::vector<HWND> order;
  for (const auto& name : ws.def.tab_order)
    if (ControlState* c = control(ws.def.id, name)) order.push_back(c->hwnd);
  if (order.empty()) return;
  const int n = static_cast<int>(order.size());
  HWND focus = GetFocus();
  int at = -1;
  for (int i = 0; i < n; ++i)
    if (order[static_cast<size_t>(i)] == focus || IsChild(order[static_cast<size_t>(i)], focus))
      at = i;
  if (at < 0) at = back ? 0 : n - 1;
  for (int step = 1; step <= n; ++step) {
    HWND next = order[static_cast<size_t>(((at + (back ? -step : step)) % n + n) % n)];
    if (!IsWindowVisible(next) || !IsWindowEnabled(next)) continue;
    SendMessageW(ws.hwnd, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    SetFocus(next);
    wchar_t cls[16] = {};
    GetClassNameW(next, cls, 16);
    if (lstrcmpiW(cls, L"Edit") == 0) SendMessageW(next, EM_SETSEL, 0, -1);
    return;
  }
}

}  // namespace ui::win32
