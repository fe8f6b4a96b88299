// A thread CBT hook subclasses every push button, check box, option button,
// group box, edit box, combo box and spin button as it is created (message
// boxes' buttons too); set() also reaches those that already exist. The
// subclass paints only while a scheme is in force.
#include "ui/win32/skin.h"

#include <algorithm>
#include <string>

#include "ui/win32/handles.h"
#include "ui/win32/win.h"

namespace ui::win32::skin {
namespace {

constexpr UINT_PTR kSubclassId = 0x5348;  // one subclass per control

enum class Target : DWORD_PTR { none, button, edit, combo, spin };

int g_scheme = 0;
HHOOK g_hook = nullptr;

COLORREF mix(COLORREF a, COLORREF b, int percent_a) {
  auto ch = [&](int shift) {
    const int x = (a >> shift) & 0xff, y = (b >> shift) & 0xff;
    return static_cast<COLORREF>((x * percent_a + y * (100 - percent_a)) / 100) << shift;
  };
  return ch(0) | ch(8) | ch(16);
}

Target target_of(HWND h) {
  wchar_t cls[32] = {};
  GetClassNameW(h, cls, 32);
  if (lstrcmpiW(cls, L"Button") == 0) return Target::button;
  if (lstrcmpiW(cls, L"Edit") == 0) return Target::edit;
  if (lstrcmpiW(cls, L"ComboBox") == 0) return Target::combo;
  if (lstrcmpiW(cls, UPDOWN_CLASSW) == 0) return Target::spin;
  return Target::none;
}

void frame(HDC dc, const RECT& r, COLORREF c) {
  Brush b = solid_brush(c);
  FrameRect(dc, &r, b.get());
}

void fill(HDC dc, const RECT& r, COLORREF c) {
  Brush b = solid_brush(c);
  FillRect(dc, &r, b.get());
}

int dpi_scale(HWND h, int px) { return MulDiv(px, static_cast<int>(GetDpiForWindow(h)), 96); }

std::wstring text_of(HWND h) {
  const int len = GetWindowTextLengthW(h);
  std::wstring t(static_cast<size_t>(std::max(len, 0)) + 1, L'\0');
  t.resize(static_cast<size_t>(GetWindowTextW(h, t.data(), len + 1)));
  return t;
}

UINT prefix_flags(HWND h) {
  const auto ui = SendMessageW(h, WM_QUERYUISTATE, 0, 0);
  return (ui & UISF_HIDEACCEL) ? DT_HIDEPREFIX : 0;
}

bool shows_focus(HWND h) {
  return GetFocus() == h && !(SendMessageW(h, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS);
}

void paint_push(HWND h, HDC target) {
  const COLORREF edge = frame_color(g_scheme);
  RECT r;
  GetClientRect(h, &r);
  BufferedDc buf(target, r);
  HDC dc = buf.get();
  const auto state = SendMessageW(h, BM_GETSTATE, 0, 0);
  const bool pressed = state & BST_PUSHED;
  const bool enabled = IsWindowEnabled(h);
  const COLORREF white = RGB(255, 255, 255);
  fill(dc, r, GetSysColor(COLOR_BTNFACE));
  if (!enabled) {
    fill(dc, r, mix(GetSysColor(COLOR_BTNFACE), white, 70));
  } else if (pressed) {
    fill(dc, r, mix(edge, white, 55));
  } else {
    // Light at the top, deeper towards the bottom.
    const int h_px = std::max<int>(1, r.bottom - r.top);
    for (int y = r.top; y < r.bottom; ++y) {
      RECT line{r.left, y, r.right, y + 1};
      fill(dc, line, mix(edge, white, 15 + 35 * (y - r.top) / h_px));
    }
  }
  frame(dc, r, enabled ? edge : mix(edge, GetSysColor(COLOR_BTNFACE), 45));
  if (pressed) {  // a second, inner line makes the press obvious
    RECT in = r;
    InflateRect(&in, -1, -1);
    frame(dc, in, mix(edge, RGB(0, 0, 0), 75));
  }

  const std::wstring text = text_of(h);
  Selected font(dc, reinterpret_cast<HFONT>(SendMessageW(h, WM_GETFONT, 0, 0)));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, enabled ? GetSysColor(COLOR_BTNTEXT) : GetSysColor(COLOR_GRAYTEXT));
  RECT tr = r;
  if (pressed) OffsetRect(&tr, 1, 1);
  const bool multi = GetWindowLongW(h, GWL_STYLE) & BS_MULTILINE;
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &tr,
            DT_CENTER | DT_VCENTER | (multi ? DT_WORDBREAK : DT_SINGLELINE) | prefix_flags(h));
  if (shows_focus(h)) {
    RECT fr = r;
    InflateRect(&fr, -dpi_scale(h, 3), -dpi_scale(h, 3));
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkColor(dc, white);
    DrawFocusRect(dc, &fr);
  }
}

void paint_check(HWND h, HDC target, bool radio) {
  const COLORREF edge = frame_color(g_scheme);
  RECT r;
  GetClientRect(h, &r);
  BufferedDc buf(target, r);
  HDC dc = buf.get();
  const bool enabled = IsWindowEnabled(h);
  const bool pressed = SendMessageW(h, BM_GETSTATE, 0, 0) & BST_PUSHED;
  const auto check = SendMessageW(h, BM_GETCHECK, 0, 0);
  fill(dc, r, GetSysColor(COLOR_BTNFACE));

  const int size = dpi_scale(h, 13);
  RECT box{r.left, r.top + (r.bottom - r.top - size) / 2, r.left + size, 0};
  box.bottom = box.top + size;
  const COLORREF inside = !enabled  ? GetSysColor(COLOR_BTNFACE)
                          : pressed ? mix(edge, RGB(255, 255, 255), 35)
                                    : RGB(255, 255, 255);
  const COLORREF mark = enabled ? mix(edge, RGB(0, 0, 0), 45) : GetSysColor(COLOR_GRAYTEXT);
  if (radio) {
    Brush in = solid_brush(inside);
    Pen pen{CreatePen(PS_SOLID, 1, edge)};
    Selected sb(dc, in.get()), sp(dc, pen.get());
    Ellipse(dc, box.left, box.top, box.right, box.bottom);
    if (check == BST_CHECKED) {
      Brush dot = solid_brush(mark);
      Pen none{CreatePen(PS_SOLID, 1, mark)};
      Selected sd(dc, dot.get()), sn(dc, none.get());
      const int m = size / 4 + 1;
      Ellipse(dc, box.left + m, box.top + m, box.right - m, box.bottom - m);
    }
  } else {
    fill(dc, box, inside);
    frame(dc, box, edge);
    if (check != BST_UNCHECKED) {
      Pen pen{CreatePen(PS_SOLID, std::max(1, dpi_scale(h, 2)), mark)};
      Selected sp(dc, pen.get());
      const int u = size / 13 > 0 ? size / 13 : 1;
      MoveToEx(dc, box.left + 3 * u, box.top + 6 * u, nullptr);
      LineTo(dc, box.left + 5 * u, box.top + 9 * u);
      LineTo(dc, box.left + 10 * u, box.top + 3 * u);
    }
  }

  const std::wstring text = text_of(h);
  Selected font(dc, reinterpret_cast<HFONT>(SendMessageW(h, WM_GETFONT, 0, 0)));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, enabled ? GetSysColor(COLOR_BTNTEXT) : GetSysColor(COLOR_GRAYTEXT));
  RECT tr{box.right + dpi_scale(h, 4), r.top, r.right, r.bottom};
  RECT measured = tr;
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &measured,
            DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_CALCRECT | prefix_flags(h));
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &tr,
            DT_LEFT | DT_VCENTER | DT_SINGLELINE | prefix_flags(h));
  if (shows_focus(h)) {
    const int th = measured.bottom - measured.top;
    RECT fr{tr.left - 1, tr.top + (tr.bottom - tr.top - th) / 2 - 1, measured.right + 1, 0};
    fr.bottom = fr.top + th + 2;
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkColor(dc, RGB(255, 255, 255));
    DrawFocusRect(dc, &fr);
  }
}

// The controls inside the group stay untouched: the background is filled
// around them only.
void paint_group(HWND h, HDC dc) {
  const COLORREF edge = frame_color(g_scheme);
  RECT r;
  GetClientRect(h, &r);
  HWND parent = GetParent(h);
  for (HWND s = GetWindow(parent, GW_CHILD); s; s = GetWindow(s, GW_HWNDNEXT)) {
    if (s == h || !IsWindowVisible(s)) continue;
    RECT sr;
    GetWindowRect(s, &sr);
    MapWindowPoints(HWND_DESKTOP, h, reinterpret_cast<POINT*>(&sr), 2);
    ExcludeClipRect(dc, sr.left, sr.top, sr.right, sr.bottom);
  }
  fill(dc, r, GetSysColor(COLOR_BTNFACE));
  const std::wstring text = text_of(h);
  Selected font(dc, reinterpret_cast<HFONT>(SendMessageW(h, WM_GETFONT, 0, 0)));
  TEXTMETRICW tm{};
  GetTextMetricsW(dc, &tm);
  RECT box = r;
  box.top += tm.tmHeight / 2;
  frame(dc, box, IsWindowEnabled(h) ? edge : mix(edge, GetSysColor(COLOR_BTNFACE), 45));
  if (text.empty()) return;
  RECT tr{r.left + dpi_scale(h, 8), r.top, r.right - dpi_scale(h, 8), r.top + tm.tmHeight};
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &tr,
            DT_LEFT | DT_SINGLELINE | DT_CALCRECT | prefix_flags(h));
  RECT back = tr;
  InflateRect(&back, dpi_scale(h, 2), 0);
  fill(dc, back, GetSysColor(COLOR_BTNFACE));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, IsWindowEnabled(h) ? GetSysColor(COLOR_BTNTEXT) : GetSysColor(COLOR_GRAYTEXT));
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &tr,
            DT_LEFT | DT_SINGLELINE | prefix_flags(h));
}

void paint_button(HWND h) {
  PaintDc dc(h);
  switch (GetWindowLongW(h, GWL_STYLE) & BS_TYPEMASK) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE:
      return paint_check(h, dc.get(), false);
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
      return paint_check(h, dc.get(), true);
    case BS_GROUPBOX:
      return paint_group(h, dc.get());
    default:
      return paint_push(h, dc.get());
  }
}

bool owner_drawn(HWND h) {
  const auto type = GetWindowLongW(h, GWL_STYLE) & BS_TYPEMASK;
  return type == BS_OWNERDRAW || type == BS_USERBUTTON;
}

// The border of an edit box is its non-client area: scheme colour outside,
// white inside, the scheme colour darkened while it has the focus. A box with
// only a 1-px frame shows the focus by a darker bottom line.
void paint_edit_frame(HWND h) {
  RECT wr, cr;
  GetWindowRect(h, &wr);
  GetClientRect(h, &cr);
  const int border = ((wr.right - wr.left) - cr.right) / 2;
  if (border < 1) return;  // no border of its own
  OffsetRect(&wr, -wr.left, -wr.top);
  WindowDc dc(h, true);
  const COLORREF edge = frame_color(g_scheme);
  const COLORREF faded = mix(edge, GetSysColor(COLOR_BTNFACE), 45);
  frame(dc.get(), wr, IsWindowEnabled(h) ? edge : faded);
  if (border == 1) {
    if (GetFocus() != h) return;
    const RECT bottom{wr.left, wr.bottom - 1, wr.right, wr.bottom};
    fill(dc.get(), bottom, mix(edge, RGB(0, 0, 0), 60));
    return;
  }
  InflateRect(&wr, -1, -1);
  const COLORREF inner = GetFocus() == h      ? mix(edge, RGB(255, 255, 255), 60)
                         : IsWindowEnabled(h) ? GetSysColor(COLOR_WINDOW)
                                              : GetSysColor(COLOR_BTNFACE);
  frame(dc.get(), wr, inner);
}

TEXTMETRICW font_metrics(HWND h) {
  WindowDc dc(h, false);
  Selected font(dc.get(), reinterpret_cast<HGDIOBJ>(SendMessageW(h, WM_GETFONT, 0, 0)));
  TEXTMETRICW tm{};
  GetTextMetricsW(dc.get(), &tm);
  return tm;
}

// A single-line box draws its line from the top of its interior and clips it
// there, so where the interior is shorter than the font's line the descenders
// go. Such a box keeps a 1-px frame, drawn over the full-height interior's top
// and bottom rows, and its line is raised into the internal leading just
// enough to clear the bottom row.
bool thin_frame(HWND h) {
  RECT wr, cr;
  GetWindowRect(h, &wr);
  GetClientRect(h, &cr);
  return (wr.right - wr.left) - cr.right == 2;
}

LRESULT calc_edit_client(HWND h, WPARAM wp, LPARAM lp) {
  RECT* r = wp ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lp)->rgrc[0] : reinterpret_cast<RECT*>(lp);
  const RECT window = *r;
  const LRESULT res = DefSubclassProc(h, WM_NCCALCSIZE, wp, lp);
  if (GetWindowLongW(h, GWL_STYLE) & ES_MULTILINE) return res;
  if (window.bottom - window.top - (r->bottom - r->top) <= 2) return res;
  if (r->bottom - r->top >= font_metrics(h).tmHeight) return res;
  *r = window;
  InflateRect(r, -1, 0);
  return res;
}

void paint_raised_line(HWND h) {
  RECT cr;
  GetClientRect(h, &cr);
  const TEXTMETRICW tm = font_metrics(h);
  const int lift = std::max(0L, std::min(tm.tmHeight - cr.bottom + 1, tm.tmInternalLeading - 1));
  PaintDc dc(h);
  SetViewportOrgEx(dc.get(), 0, -lift, nullptr);
  DefSubclassProc(h, WM_PAINT, reinterpret_cast<WPARAM>(dc.get()), 0);
  SetViewportOrgEx(dc.get(), 0, 0, nullptr);
}

void reframe(HWND h) {
  SetWindowPos(h, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void overlay_frame(HWND h) {
  RECT r;
  GetClientRect(h, &r);
  WindowDc dc(h, false);
  frame(dc.get(), r,
        IsWindowEnabled(h) ? frame_color(g_scheme)
                           : mix(frame_color(g_scheme), GetSysColor(COLOR_BTNFACE), 45));
}

bool changes_look(UINT msg) {
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_MOUSELEAVE:
    case WM_CAPTURECHANGED:
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_SETTEXT:
    case WM_SETFONT:
    case WM_UPDATEUISTATE:
    case BM_SETSTATE:
    case BM_SETCHECK:
    case BM_SETSTYLE:
    case BM_CLICK:
      return true;
    default:
      return false;
  }
}

LRESULT CALLBACK subclass_proc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR ref) {
  if (msg == WM_NCDESTROY) {
    RemoveWindowSubclass(h, subclass_proc, kSubclassId);
    return DefSubclassProc(h, msg, wp, lp);
  }
  if (!g_scheme) return DefSubclassProc(h, msg, wp, lp);
  switch (static_cast<Target>(ref)) {
    case Target::button: {
      if (owner_drawn(h)) break;
      if (msg == WM_PAINT) {
        paint_button(h);
        return 0;
      }
      if (msg == WM_ERASEBKGND) return 1;
      if (!changes_look(msg)) break;
      const LRESULT r = DefSubclassProc(h, msg, wp, lp);
      if (IsWindow(h)) RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
      return r;
    }
    case Target::edit: {
      if (msg == WM_NCCALCSIZE) return calc_edit_client(h, wp, lp);
      if (msg == WM_PAINT && !wp && thin_frame(h)) {
        paint_raised_line(h);
        paint_edit_frame(h);
        return 0;
      }
      if (msg == WM_SETFONT) {
        const LRESULT r = DefSubclassProc(h, msg, wp, lp);
        if (IsWindow(h)) reframe(h);
        return r;
      }
      if (msg != WM_NCPAINT && msg != WM_SETFOCUS && msg != WM_KILLFOCUS && msg != WM_ENABLE &&
          msg != WM_PAINT)
        break;
      const LRESULT r = DefSubclassProc(h, msg, wp, lp);
      if (IsWindow(h)) paint_edit_frame(h);
      return r;
    }
    case Target::combo:
    case Target::spin: {
      if (msg != WM_PAINT && !changes_look(msg)) break;
      const LRESULT r = DefSubclassProc(h, msg, wp, lp);
      if (IsWindow(h)) overlay_frame(h);
      return r;
    }
    case Target::none:
      break;
  }
  return DefSubclassProc(h, msg, wp, lp);
}

void attach(HWND h) {
  const Target t = target_of(h);
  if (t == Target::none) return;
  SetWindowSubclass(h, subclass_proc, kSubclassId, static_cast<DWORD_PTR>(t));
}

LRESULT CALLBACK cbt_proc(int code, WPARAM wp, LPARAM lp) {
  if (code == HCBT_CREATEWND) attach(reinterpret_cast<HWND>(wp));
  return CallNextHookEx(g_hook, code, wp, lp);
}

BOOL CALLBACK attach_child(HWND h, LPARAM) {
  attach(h);
  return TRUE;
}

BOOL CALLBACK attach_tree(HWND h, LPARAM) {
  attach(h);
  EnumChildWindows(h, attach_child, 0);
  return TRUE;
}

BOOL CALLBACK reframe_edit(HWND h, LPARAM) {
  if (target_of(h) == Target::edit) reframe(h);
  return TRUE;
}

BOOL CALLBACK redraw_tree(HWND h, LPARAM) {
  EnumChildWindows(h, reframe_edit, 0);  // the border width follows the scheme
  RedrawWindow(h, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  return TRUE;
}

}  // namespace

COLORREF frame_color(int s) {
  switch (s) {
    case 1:
      return RGB(123, 158, 189);
    case 2:
      return RGB(164, 185, 127);
    case 3:
      return RGB(198, 197, 215);
    default:
      return GetSysColor(COLOR_BTNSHADOW);
  }
}

int scheme() { return g_scheme; }

void set(int s) {
  const int next = (s >= 1 && s <= 3) ? s : 0;
  if (next && !g_hook) {
    g_hook = SetWindowsHookExW(WH_CBT, cbt_proc, nullptr, GetCurrentThreadId());
    EnumThreadWindows(GetCurrentThreadId(), attach_tree, 0);
  }
  if (next == g_scheme) return;
  g_scheme = next;
  EnumThreadWindows(GetCurrentThreadId(), redraw_tree, 0);
}

}  // namespace ui::win32::skin
