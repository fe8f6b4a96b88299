// Labels: black text, left-aligned, vertically centred on one line (line
// breaks in the text are not drawn). The transparent kind (WS_EX_TRANSPARENT)
// paints only its text, so whatever lies beneath shows through, and still
// takes double-clicks, also over another control.
#include <string>

#include "ui/win32/handles.h"
#include "ui/win32/window_class.h"

namespace ui::win32 {
namespace {

void invalidate_beneath(HWND hwnd) {
  HWND parent = GetParent(hwnd);
  RECT r;
  GetWindowRect(hwnd, &r);
  MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
  RedrawWindow(parent, &r, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void paint(HWND hwnd) {
  PaintDc dc(hwnd);
  const int len = GetWindowTextLengthW(hwnd);
  if (len <= 0) return;
  std::wstring text(static_cast<size_t>(len) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(hwnd, text.data(), len + 1)));
  std::erase_if(text, [](wchar_t c) { return c == L'\r' || c == L'\n'; });
  auto font = reinterpret_cast<HFONT>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  Selected sel(dc.get(), font);
  SetBkMode(dc.get(), TRANSPARENT);
  SetTextColor(dc.get(), RGB(0, 0, 0));
  RECT r;
  GetClientRect(hwnd, &r);
  DrawTextW(dc.get(), text.c_str(), static_cast<int>(text.size()), &r,
            DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

LRESULT CALLBACK proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND:
      if (!(GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_TRANSPARENT)) {
        RECT r;
        GetClientRect(hwnd, &r);
        FillRect(reinterpret_cast<HDC>(wp), &r, GetSysColorBrush(COLOR_BTNFACE));
      }
      return 1;
    case WM_PAINT:
      paint(hwnd);
      return 0;
    case WM_SETFONT:
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, static_cast<LONG_PTR>(wp));
      if (LOWORD(lp)) invalidate_beneath(hwnd);
      return 0;
    case WM_GETFONT:
      return GetWindowLongPtrW(hwnd, GWLP_USERDATA);
    case WM_SETTEXT: {
      const LRESULT r = DefWindowProcW(hwnd, msg, wp, lp);
      invalidate_beneath(hwnd);
      return r;
    }
    case WM_LBUTTONDBLCLK:
      SendMessageW(GetParent(hwnd), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd), STN_DBLCLK),
                   reinterpret_cast<LPARAM>(hwnd));
      return 0;
    default:
      return DefWindowProcW(hwnd, msg, wp, lp);
  }
}

}  // namespace

void register_label(HINSTANCE inst) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = proc;
  wc.hInstance = inst;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = kLabelClass;
  RegisterClassExW(&wc);
}

}  // namespace ui::win32
