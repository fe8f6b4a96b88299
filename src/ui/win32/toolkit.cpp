// Window lifecycle: creation, showing, modal loops, deferred destroy, the end
// of the program.
#include "ui/win32/toolkit.h"

#include <algorithm>

#include "ui/win32/list_rows.h"
#include "ui/win32/probe.h"
#include "ui/win32/text.h"
#include "ui/win32/win.h"
#include "ui/win32/window_class.h"

namespace ui::win32 {
namespace {

Toolkit* g_toolkit = nullptr;

LRESULT CALLBACK window_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
    static_cast<WindowState*>(cs->lpCreateParams)->hwnd = hwnd;
  }
  auto* ws = reinterpret_cast<WindowState*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!ws || !g_toolkit) return DefWindowProcW(hwnd, msg, wp, lp);
  return g_toolkit->on_message(*ws, msg, wp, lp);
}

// The program's folder becomes the current directory, so that relative file
// names resolve beside the program.
void enter_program_folder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return;
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    path.resize(path.size() * 2);
  }
  const auto slash = path.find_last_of(L"\\/");
  if (slash == std::wstring::npos) return;
  path.resize(slash + 1);
  SetCurrentDirectoryW(path.c_str());
}

UINT primary_dpi() {
  HMONITOR mon = MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
  UINT x = 96, y = 96;
  if (FAILED(GetDpiForMonitor(mon, MDT_EFFECTIVE_DPI, &x, &y))) return 96;
  return y;
}

RECT work_area(HWND hwnd) {
  MONITORINFO mi{};
  mi.cbSize = sizeof mi;
  GetMonitorInfoW(MonitorFromWindow(hwnd, MONITOR_DEFAULTTOPRIMARY), &mi);
  return mi.rcWork;
}

// Removes the property and its atom that name a window or control.
void unname(HWND hwnd, const wchar_t* prop) {
  const auto atom = static_cast<ATOM>(reinterpret_cast<UINT_PTR>(RemovePropW(hwnd, prop)));
  if (atom) GlobalDeleteAtom(atom);
}

}  // namespace

void name_window(HWND hwnd, const wchar_t* prop, std::string_view name) {
  const ATOM atom = GlobalAddAtomW(widen(name).c_str());
  if (atom) SetPropW(hwnd, prop, reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(atom)));
}

Toolkit::Toolkit() {
  g_toolkit = this;
  SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
  enter_program_folder();
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&icc);

  HINSTANCE inst = GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = window_proc;
  wc.hInstance = inst;
  wc.hIcon = LoadIconW(inst, MAKEINTRESOURCEW(1));
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kWindowClass;
  RegisterClassExW(&wc);
  register_label(inst);
  probe_msg_ = RegisterWindowMessageW(probe::kMessageName);
}

Toolkit::~Toolkit() {
  set_skin(0);
  g_toolkit = nullptr;
}

WindowState* Toolkit::find(std::string_view id) {
  for (auto& w : windows_)
    if (w->def.id == id) return w.get();
  return nullptr;
}

HWND Toolkit::hwnd(std::string_view window) {
  WindowState* ws = find(window);
  return ws ? ws->hwnd : nullptr;
}

ControlState* Toolkit::control(std::string_view window, std::string_view name) {
  if (cache_.state && cache_.window == window && cache_.control == name) return cache_.state;
  WindowState* ws = find(window);
  if (!ws) return nullptr;
  for (auto& c : ws->controls) {
    if (c->def.name != name) continue;
    cache_ = {std::string{window}, std::string{name}, c.get()};
    return c.get();
  }
  return nullptr;
}

bool Toolkit::alive(std::uint64_t serial) const {
  return std::any_of(windows_.begin(), windows_.end(),
                     [serial](const auto& w) { return w->serial == serial; });
}

WindowState& Toolkit::create(const Window& w) {
  auto owned = std::make_unique<WindowState>();
  WindowState& ws = *owned;
  ws.def = w;
  ws.serial = next_serial_++;
  ws.dpi = primary_dpi();
  windows_.push_back(std::move(owned));

  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  CreateWindowExW(0, kWindowClass, widen(w.caption).c_str(), style, CW_USEDEFAULT, CW_USEDEFAULT,
                  MulDiv(w.width, static_cast<int>(ws.dpi), 96),
                  MulDiv(w.height, static_cast<int>(ws.dpi), 96), nullptr, nullptr,
                  GetModuleHandleW(nullptr), &ws);
  ws.dpi = GetDpiForWindow(ws.hwnd);
  name_window(ws.hwnd, probe::kWindowIdProp, w.id);
  create_controls(ws);
  layout(ws);
  return ws;
}

void Toolkit::show(WindowState& ws) {
  const int w = MulDiv(ws.def.width, static_cast<int>(ws.dpi), 96);
  const int h = MulDiv(ws.def.height, static_cast<int>(ws.dpi), 96);
  const RECT area = work_area(ws.hwnd);
  const int x = area.left + (area.right - area.left - w) / 2;
  const int y = area.top + (area.bottom - area.top - h) / 2;
  SetWindowPos(ws.hwnd, HWND_TOP, x, y, w, h, SWP_NOACTIVATE);
  if (ControlState* f = control(ws.def.id, ws.def.focus)) ws.last_focus = f->hwnd;
  ws.opener = GetActiveWindow();
  ShowWindow(ws.hwnd, SW_SHOW);
  SetForegroundWindow(ws.hwnd);
  if (ws.last_focus) SetFocus(ws.last_focus);
}

void Toolkit::bring_to_front(WindowState& ws) {
  // A window disabled behind a modal one stays behind it: raising it would
  // hide the window that takes the input.
  if (!IsWindowEnabled(ws.hwnd)) return;
  if (IsIconic(ws.hwnd)) ShowWindow(ws.hwnd, SW_RESTORE);
  SetForegroundWindow(ws.hwnd);
  BringWindowToTop(ws.hwnd);
}

void Toolkit::fire(const Handler& h) {
  if (!h) return;
  const Handler copy = h;  // the window that holds h may go while it runs
  ++handler_depth_;
  copy();
  --handler_depth_;
}

void Toolkit::fire(WindowState& ws, int control_id, Event e) {
  const size_t index = static_cast<size_t>(control_id - kFirstControlId);
  if (index >= ws.controls.size()) return;
  const std::string name = ws.controls[index]->def.name;
  std::vector<Handler> handlers;
  for (const auto& b : ws.def.bindings)
    if (b.control == name && b.event == e) handlers.push_back(b.handler);
  for (const auto& h : handlers) fire(h);
}

void Toolkit::load_startup(const Window& w) {
  if (WindowState* open = find(w.id)) return bring_to_front(*open);
  const std::uint64_t serial = create(w).serial;
  fire(windows_.back()->def.created);
  for (auto& ws : windows_)
    if (ws->serial == serial && !ws->destroy_requested && !ws->closing) show(*ws);
}

void Toolkit::load_modal(const Window& w) {
  if (WindowState* open = find(w.id)) return bring_to_front(*open);
  WindowState& created = create(w);
  created.modal = true;
  const std::uint64_t serial = created.serial;
  fire(created.def.created);
  for (auto& ws : windows_) {
    if (ws->serial != serial || ws->destroy_requested || ws->closing) continue;
    show(*ws);
    for (auto& other : windows_) {
      if (other.get() == ws.get() || !IsWindowEnabled(other->hwnd)) continue;
      EnableWindow(other->hwnd, FALSE);
      ws->disabled.push_back(other->hwnd);
    }
    break;
  }
  loop_until(serial);
}

int Toolkit::run() {
  main_started_ = true;
  loop_until(0);
  return 0;
}

void Toolkit::pump() {
  MSG m;
  while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
    if (pre_translate(m)) continue;
    TranslateMessage(&m);
    DispatchMessageW(&m);
  }
  if (handler_depth_ == 0) run_pending_destroys();
}

void Toolkit::loop_until(std::uint64_t serial) {
  const int base = handler_depth_;
  MSG m;
  for (;;) {
    if (handler_depth_ == base) run_pending_destroys();
    if (serial ? !alive(serial) : windows_.empty()) return;
    const BOOL got = GetMessageW(&m, nullptr, 0, 0);
    if (got == 0) ExitProcess(static_cast<UINT>(m.wParam));
    if (got < 0) return;
    if (pre_translate(m)) continue;
    TranslateMessage(&m);
    DispatchMessageW(&m);
  }
}

void Toolkit::destroy(std::string_view window) {
  WindowState* ws = find(window);
  if (!ws) return;
  ws->destroy_requested = true;
  PostMessageW(ws->hwnd, kWakeMsg, 0, 0);
}

void Toolkit::run_pending_destroys() {
  for (;;) {
    auto it = std::find_if(windows_.begin(), windows_.end(),
                           [](const auto& w) { return w->destroy_requested && !w->closing; });
    if (it == windows_.end()) return;
    close(**it);
  }
}

void Toolkit::close(WindowState& ws) {
  if (ws.closing) return;
  ws.closing = true;
  const std::uint64_t serial = ws.serial;
  fire(ws.def.will_be_destroyed);
  for (auto& w : windows_)
    if (w->serial == serial) return finish(*w);
}

void Toolkit::finish(WindowState& ws) {
  // Enable the windows behind first, or activation leaves the program.
  for (HWND h : ws.disabled)
    if (IsWindow(h)) EnableWindow(h, TRUE);
  auto it = std::find_if(windows_.begin(), windows_.end(),
                         [&ws](const auto& w) { return w.get() == &ws; });
  std::unique_ptr<WindowState> gone = std::move(*it);
  windows_.erase(it);
  cache_ = {};
  SetWindowLongPtrW(gone->hwnd, GWLP_USERDATA, 0);
  for (auto& c : gone->controls) unname(c->hwnd, probe::kControlNameProp);
  unname(gone->hwnd, probe::kWindowIdProp);
  const bool was_active = GetActiveWindow() == gone->hwnd;
  DestroyWindow(gone->hwnd);
  if (was_active && gone->opener && IsWindow(gone->opener) && IsWindowEnabled(gone->opener))
    SetForegroundWindow(gone->opener);
  // The last window is gone: nothing a suspended handler does may show.
  if (main_started_ && windows_.empty() && handler_depth_ > 0) ExitProcess(0);
}

LRESULT Toolkit::on_message(WindowState& ws, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == probe_msg_ && probe_msg_) return on_probe(ws, reinterpret_cast<HWND>(wp), lp);
  switch (msg) {
    case WM_CLOSE:
      close(ws);
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wp) == WA_INACTIVE) {
        HWND f = GetFocus();
        if (f && IsChild(ws.hwnd, f)) ws.last_focus = f;
        return 0;
      }
      if (ws.last_focus && IsWindow(ws.last_focus)) SetFocus(ws.last_focus);
      return 0;
    case WM_COMMAND: {
      const int id = LOWORD(wp);
      const int code = HIWORD(wp);
      const size_t index = static_cast<size_t>(id - kFirstControlId);
      if (!lp || index >= ws.controls.size()) break;
      const Kind kind = ws.controls[index]->def.kind;
      if (kind == Kind::button && code == BN_CLICKED) fire(ws, id, Event::clicked);
      if (kind == Kind::edit && code == EN_SETFOCUS) fire(ws, id, Event::got_focus);
      if ((kind == Kind::label || kind == Kind::transparent_label) && code == STN_DBLCLK)
        fire(ws, id, Event::double_clicked);
      return 0;
    }
    case WM_NOTIFY:
      return on_notify(ws, *reinterpret_cast<NMHDR*>(lp));
    case WM_CTLCOLOREDIT: {
      for (auto& c : ws.controls) {
        if (c->hwnd != reinterpret_cast<HWND>(lp) || !c->text_color) continue;
        auto dc = reinterpret_cast<HDC>(wp);
        SetTextColor(dc, *c->text_color);
        SetBkColor(dc, GetSysColor(COLOR_WINDOW));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
      }
      break;
    }
    case kFlushListMsg:
      for (auto& c : ws.controls)
        if (c->id == static_cast<int>(wp) && c->rows) flush_list(*c);
      return 0;
    case kWakeMsg:
      return 0;
    case WM_DPICHANGED: {
      ws.dpi = HIWORD(wp);
      const auto* r = reinterpret_cast<const RECT*>(lp);
      SetWindowPos(ws.hwnd, nullptr, r->left, r->top, r->right - r->left, r->bottom - r->top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
      layout(ws);
      return 0;
    }
    default:
      break;
  }
  return DefWindowProcW(ws.hwnd, msg, wp, lp);
}

}  // namespace ui::win32
