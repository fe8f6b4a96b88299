// The report list view: rows live here, the control only asks for the cells
// it paints. Item counts reach the control once per return to the loop.
#include "ui/win32/list_rows.h"
#include "ui/win32/toolkit.h"
#include "ui/win32/window_class.h"

namespace ui::win32 {

void Toolkit::schedule_flush(ControlState& c) {
  if (c.rows->posted) return;
  c.rows->posted = true;
  PostMessageW(c.rows->owner, kFlushListMsg, static_cast<WPARAM>(c.id), 0);
}

// A clear and the refill that follows reach the control together: deleting
// all items first would hide and show the scroll bar, a repaint each time.
void Toolkit::flush_list(ControlState& c) {
  ListRows& r = *c.rows;
  r.posted = false;
  const int n = static_cast<int>(r.size());
  if (r.cleared) {
    // Item by item: "all items" (-1) walks every row of the old count.
    LVITEMW none{};
    none.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    for (UINT which : {LVNI_SELECTED, LVNI_FOCUSED}) {
      const auto i = SendMessageW(c.hwnd, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), which);
      if (i >= 0)
        SendMessageW(c.hwnd, LVM_SETITEMSTATE, static_cast<WPARAM>(i),
                     reinterpret_cast<LPARAM>(&none));
    }
  }
  if (r.shown != n) SendMessageW(c.hwnd, LVM_SETITEMCOUNT, static_cast<WPARAM>(n), LVSICF_NOSCROLL);
  if (r.cleared && n > 0) SendMessageW(c.hwnd, LVM_ENSUREVISIBLE, 0, FALSE);
  r.shown = n;
  r.cleared = false;
  InvalidateRect(c.hwnd, nullptr, FALSE);
}

void Toolkit::list_clear(std::string_view window, std::string_view name) {
  ControlState* c = control(window, name);
  if (!c || !c->rows) return;
  c->rows->clear();
  c->rows->cleared = true;
  schedule_flush(*c);
}

int Toolkit::list_append(std::string_view window, std::string_view name, std::int64_t value) {
  ControlState* c = control(window, name);
  if (!c || !c->rows) return -1;
  const int row = c->rows->append(value);
  schedule_flush(*c);
  return row;
}

void Toolkit::list_set_cell(std::string_view window, std::string_view name, int row, int column,
                            std::string_view text) {
  ControlState* c = control(window, name);
  if (!c || !c->rows || row < 0 || column < 0) return;
  c->rows->set(static_cast<size_t>(row), static_cast<size_t>(column), text);
  schedule_flush(*c);
}

int Toolkit::list_selected(std::string_view window, std::string_view name) {
  ControlState* c = control(window, name);
  if (!c || !c->rows) return -1;
  if (c->rows->cleared) flush_list(*c);
  const auto sel = static_cast<int>(
      SendMessageW(c->hwnd, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
  if (sel < 0 || sel >= static_cast<int>(c->rows->size())) return -1;
  return sel;
}

std::int64_t Toolkit::list_value(std::string_view window, std::string_view name, int row) {
  ControlState* c = control(window, name);
  if (!c || !c->rows || row < 0) return 0;
  return c->rows->value(static_cast<size_t>(row));
}

LRESULT Toolkit::on_notify(WindowState& ws, NMHDR& n) {
  for (auto& c : ws.controls) {
    if (c->hwnd != n.hwndFrom || !c->rows) continue;
    if (n.code == LVN_GETDISPINFOW) {
      LVITEMW& item = reinterpret_cast<NMLVDISPINFOW&>(n).item;
      if (!(item.mask & LVIF_TEXT) || !item.pszText || item.cchTextMax <= 0) return 0;
      item.pszText[0] = L'\0';
      if (item.iItem < 0 || item.iSubItem < 0) return 0;
      const std::string_view text =
          c->rows->cell(static_cast<size_t>(item.iItem), static_cast<size_t>(item.iSubItem));
      if (text.empty()) return 0;
      const int got = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                          item.pszText, item.cchTextMax - 1);
      item.pszText[got > 0 ? got : 0] = L'\0';
      return 0;
    }
    if (n.code == NM_DBLCLK) fire(ws, c->id, Event::double_clicked);
    return 0;
  }
  return 0;
}

}  // namespace ui::win32
