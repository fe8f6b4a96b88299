// Controls: creation from the table, placement and fonts at the window's
// DPI, texts and colours.
#include "ui/win32/list_rows.h"
#include "ui/win32/probe.h"
#include "ui/win32/skin.h"
#include "ui/win32/text.h"
#include "ui/win32/toolkit.h"
#include "ui/win32/win.h"
#include "ui/win32/window_class.h"

namespace ui::win32 {
namespace {

int scale(int px, UINT dpi) { return MulDiv(px, static_cast<int>(dpi), 96); }

struct WindowStyle {
  const wchar_t* cls;
  DWORD style;
  DWORD ex_style;
};

WindowStyle style_of(const Control& c) {
  const DWORD child = WS_CHILD | WS_VISIBLE;
  switch (c.kind) {
    case Kind::button:
      return {L"BUTTON", child | WS_TABSTOP | BS_PUSHBUTTON, 0};
    case Kind::edit: {
      DWORD s = child | WS_TABSTOP | ES_LEFT;
      if (c.style & kMultiline)
        s |= ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL;
      else
        s |= ES_AUTOHSCROLL;
      if (c.style & kPassword) s |= ES_PASSWORD;
      return {L"EDIT", s, WS_EX_CLIENTEDGE};
    }
    case Kind::label:
      return {kLabelClass, child, 0};
    case Kind::transparent_label:
      return {kLabelClass, child, WS_EX_TRANSPARENT};
    case Kind::list_view:
      return {WC_LISTVIEWW,
              child | WS_TABSTOP | WS_CLIPSIBLINGS | LVS_REPORT | LVS_SINGLESEL | LVS_OWNERDATA |
                  LVS_NOSORTHEADER,
              WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME};
  }
  return {L"STATIC", child, 0};
}

void add_columns(HWND list, const Control& c, UINT dpi) {
  for (size_t i = 0; i < c.columns.size(); ++i) {
    std::wstring header = widen(c.columns[i].header);
    LVCOLUMNW col{};
    col.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    col.fmt = LVCFMT_LEFT;
    col.cx = scale(c.columns[i].width, dpi);
    col.pszText = header.data();
    col.iSubItem = static_cast<int>(i);
    SendMessageW(list, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&col));
  }
}

}  // namespace

LOGFONTW message_font(UINT dpi) {
  NONCLIENTMETRICSW ncm{};
  ncm.cbSize = sizeof ncm;
  if (SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0, dpi))
    return ncm.lfMessageFont;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0);
  ncm.lfMessageFont.lfHeight = MulDiv(ncm.lfMessageFont.lfHeight, static_cast<int>(dpi),
                                      static_cast<int>(GetDpiForSystem()));
  return ncm.lfMessageFont;
}

void Toolkit::create_controls(WindowState& ws) {
  HINSTANCE inst = GetModuleHandleW(nullptr);
  for (size_t i = 0; i < ws.def.controls.size(); ++i) {
    auto c = std::make_unique<ControlState>();
    c->def = ws.def.controls[i];
    c->id = kFirstControlId + static_cast<int>(i);
    const WindowStyle look = style_of(c->def);
    c->hwnd = CreateWindowExW(look.ex_style, look.cls, widen(c->def.text).c_str(), look.style, 0, 0,
                              0, 0, ws.hwnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(c->id)),
                              inst, nullptr);
    name_window(c->hwnd, probe::kControlNameProp, c->def.name);
    if (c->def.kind == Kind::edit && (c->def.style & kPassword))
      SendMessageW(c->hwnd, EM_SETPASSWORDCHAR, L'*', 0);
    if (c->def.kind == Kind::list_view) {
      c->rows = std::make_unique<ListRows>(c->def.columns.size());
      c->rows->owner = ws.hwnd;
      constexpr DWORD ex = LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER;
      SendMessageW(c->hwnd, LVM_SETEXTENDEDLISTVIEWSTYLE, ex, ex);
      SendMessageW(c->hwnd, LVM_SETTEXTCOLOR, 0, RGB(0, 0, 0));
      SendMessageW(c->hwnd, LVM_SETBKCOLOR, 0, RGB(255, 255, 255));
      SendMessageW(c->hwnd, LVM_SETTEXTBKCOLOR, 0, RGB(255, 255, 255));
      add_columns(c->hwnd, c->def, ws.dpi);
    }
    ws.controls.push_back(std::move(c));
  }
  // Transparent labels lie above whatever they cover, so they get its clicks.
  for (auto& c : ws.controls)
    if (c->def.kind == Kind::transparent_label)
      SetWindowPos(c->hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void Toolkit::make_font(WindowState& ws, ControlState& c) {
  LOGFONTW lf = message_font(ws.dpi);
  if (c.def.font_px) {
    lf.lfHeight = -scale(c.def.font_px, ws.dpi);
    lf.lfWidth = 0;
    lf.lfWeight = FW_NORMAL;
  }
  if (c.points) lf.lfHeight = -MulDiv(c.points, static_cast<int>(ws.dpi), 72);
  Font font{CreateFontIndirectW(&lf)};
  SendMessageW(c.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
  c.font = std::move(font);  // the old font goes only once the control has let go of it
}

void Toolkit::layout(WindowState& ws) {
  for (auto& c : ws.controls) {
    SetWindowPos(c->hwnd, nullptr, scale(c->def.x, ws.dpi), scale(c->def.y, ws.dpi),
                 scale(c->def.w, ws.dpi), scale(c->def.h, ws.dpi), SWP_NOZORDER | SWP_NOACTIVATE);
    make_font(ws, *c);
    if (c->def.kind != Kind::list_view) continue;
    for (size_t i = 0; i < c->def.columns.size(); ++i)
      SendMessageW(c->hwnd, LVM_SETCOLUMNWIDTH, i, scale(c->def.columns[i].width, ws.dpi));
  }
}

std::string Toolkit::text(std::string_view window, std::string_view name) {
  ControlState* c = control(window, name);
  return c ? window_text(c->hwnd) : std::string{};
}

void Toolkit::set_text(std::string_view window, std::string_view name, std::string_view text) {
  if (ControlState* c = control(window, name)) SetWindowTextW(c->hwnd, widen(text).c_str());
}

void Toolkit::set_text_color(std::string_view window, std::string_view name,
                             std::uint32_t colorref) {
  ControlState* c = control(window, name);
  if (!c) return;
  c->text_color = static_cast<COLORREF>(colorref);
  InvalidateRect(c->hwnd, nullptr, TRUE);
}

void Toolkit::set_point_size(std::string_view window, std::string_view name, int points) {
  ControlState* c = control(window, name);
  WindowState* ws = find(window);
  if (!c || !ws || points <= 0) return;
  c->points = points;
  make_font(*ws, *c);
}

LRESULT Toolkit::on_probe(WindowState& ws, HWND child, LPARAM query) {
  if (query == probe::kDpi) return static_cast<LRESULT>(ws.dpi);
  if (query == probe::kSkinScheme) return skin::scheme();
  for (auto& c : ws.controls) {
    if (c->hwnd != child) continue;
    LOGFONTW lf{};
    GetObjectW(c->font.get(), sizeof lf, &lf);
    switch (query) {
      case probe::kFontHeight:
        return lf.lfHeight;
      case probe::kFontWeight:
        return lf.lfWeight;
      case probe::kFontIsMessageFace:
        return wcscmp(lf.lfFaceName, message_font(ws.dpi).lfFaceName) == 0;
      case probe::kTextColor:
        return c->text_color ? static_cast<LRESULT>(*c->text_color)
                             : static_cast<LRESULT>(GetSysColor(COLOR_WINDOWTEXT));
      default:
        return probe::kUnknown;
    }
  }
  return probe::kUnknown;
}

}  // namespace ui::win32
