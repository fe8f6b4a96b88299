// The report list view: rows live here, the control only asks for the cells
// it paints. Item counts reach the control once per return to the loop.
#include "ui/win32/list_rows.h"
#include "ui/win32/text.h"
#include "ui/win32/toolkit.h"
#include "ui/win32/win.h"
#include "ui/win32/window_class.h"

namespace ui::win32 {

void Toolkit::schedule_flush(WindowState& ws, ControlState& c) {
  if (c.rows->posted) return;
  c.rows->posted = true;
  PostMessageW(ws.hwnd, kFlushListMsg, static_cast<WPARAM>(c.id), 0);
}

void Toolkit::flush_list(ControlState& c) {
  ListRows& r = *c.rows;
  r.posted = false;
  const int n = static_cast<int>(r.rows.size());
  if (r.shown != n) {
    SendMessageW(c.hwnd, LVM_SETITEMCOUNT, static_cast<WPARAM>(n), LVSICF_NOSCROLL);
    r.shown = n;
  }
  InvalidateRect(c.hwnd, nullptr, FALSE);
}

void Toolkit::list_clear(std::string_view window, std::string_view name) {
  ControlState* c = control(window, name);
  if (!c || !c->rows) return;
  c->rows->rows.clear();
  c->rows->shown = 0;
  SendMessageW(c->hwnd, LVM_DELETEALLITEMS, 0, 0);
}

int Toolkit::list_append(std::string_view window, std::string_view name, std::int64_t value) {
  ControlState* c = control(window, name);
  if (!c || !c->rows) return -1;
  c->rows->rows.push_back({value, {}});
  schedule_flush(*find(window), *c);
  return static_cast<int>(c->rows->rows.size()) - 1;
}

void Toolkit::list_set_cell(std::string_view window, std::string_view name, int row, int column,
                            std::string_view text) {
  ControlState* c = control(window, name);
  if (!c || !c->rows || row < 0 || column < 0) return;
  auto& rows = c->rows->rows;
  if (static_cast<size_t>(row) >= rows.size()) return;
  auto& cells = rows[static_cast<size_t>(row)].cells;
  if (static_cast<size_t>(column) >= cells.size()) cells.resize(static_cast<size_t>(column) + 1);
  cells[static_cast<size_t>(column)] = text;
  schedule_flush(*find(window), *c);
}

int Toolkit::list_selected(std::string_view window, std::string_view name) {
  ControlState* c = control(window, name);
  if (!c || !c->rows) return -1;
  const auto sel = static_cast<int>(
      SendMessageW(c->hwnd, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
  if (sel < 0 || sel >= static_cast<int>(c->rows->rows.size())) return -1;
  return sel;
}

std::int64_t Toolkit::list_value(std::string_view window, std::string_view name, int row) {
  ControlState* c = control(window, name);
  if (!c || !c->rows || row < 0 || static_cast<size_t>(row) >= c->rows->rows.size()) return 0;
  return c->rows->rows[static_cast<size_t>(row)].value;
}

LRESULT Toolkit::on_notify(WindowState& ws, NMHDR& n) {
  for (auto& c : ws.controls) {
    if (c->hwnd != n.hwndFrom || !c->rows) continue;
    if (n.code == LVN_GETDISPINFOW) {
      LVITEMW& item = reinterpret_cast<NMLVDISPINFOW&>(n).item;
      if (!(item.mask & LVIF_TEXT) || !item.pszText || item.cchTextMax <= 0) return 0;
      item.pszText[0] = L'\0';
      const auto& rows = c->rows->rows;
      if (item.iItem < 0 || static_cast<size_t>(item.iItem) >= rows.size()) return 0;
      const auto& cells = rows[static_cast<size_t>(item.iItem)].cells;
      if (item.iSubItem < 0 || static_cast<size_t>(item.iSubItem) >= cells.size()) return 0;
      const std::wstring w = widen(cells[static_cast<size_t>(item.iSubItem)]);
      lstrcpynW(item.pszText, w.c_str(), item.cchTextMax);
      return 0;
    }
    if (n.code == NM_DBLCLK) fire(ws, c->id, Event::double_clicked);
    return 0;
  }
  return 0;
}

}  // namespace ui::win32
