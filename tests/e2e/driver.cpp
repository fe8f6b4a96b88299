// The end-to-end driver: runs under Wine beside the program under test and
// answers one command per input line with one line of JSON. It finds windows,
// reads controls, list rows and message boxes across the process boundary and
// posts clicks. Commands are tab-separated; hwnds are decimal.
//
//   windows                      top-level windows
//   controls HWND                direct children of a window
//   focus HWND                   the control that has the keyboard focus
//   text HWND | settext HWND T   WM_GETTEXT / WM_SETTEXT
//   click HWND                   PostMessage(BM_CLICK)
//   close HWND                   PostMessage(WM_CLOSE)
//   post HWND MSG WPARAM LPARAM  PostMessage
//   probe HWND CHILD QUERY       the toolkit's probe message
//   list HWND FIRST COUNT        item count, selection, headers and rows
//   select HWND ROW              selects and focuses a row
//   itemrect HWND ROW            a row's screen rectangle
//   quit
#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "ui/win32/probe.h"
#include "ui/win32/text.h"
#include "tools/json_text.h"
#include "ui/win32/win.h"

namespace {

using ui::win32::narrow;
using ui::win32::widen;

std::string json(std::string_view s) { return edbtool::json_string(s); }

std::string num(long long v) { return std::to_string(v); }
std::string boolean(bool b) { return b ? "true" : "false"; }

HWND to_hwnd(const std::string& s) {
  return reinterpret_cast<HWND>(static_cast<INT_PTR>(std::strtoll(s.c_str(), nullptr, 10)));
}
std::string hwnd_num(HWND h) { return num(static_cast<long long>(reinterpret_cast<INT_PTR>(h))); }

std::string text_of(HWND h) {
  DWORD_PTR len = 0;
  if (!SendMessageTimeoutW(h, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &len)) return {};
  std::wstring buf(len + 1, L'\0');
  DWORD_PTR got = 0;
  SendMessageTimeoutW(h, WM_GETTEXT, len + 1, reinterpret_cast<LPARAM>(buf.data()),
                      SMTO_ABORTIFHUNG, 2000, &got);
  buf.resize(got);
  return narrow(buf);
}

std::string class_of(HWND h) {
  wchar_t cls[256] = {};
  GetClassNameW(h, cls, 256);
  return narrow(cls);
}

std::string prop_name(HWND h, const wchar_t* prop) {
  const auto atom = static_cast<ATOM>(reinterpret_cast<UINT_PTR>(GetPropW(h, prop)));
  if (!atom) return {};
  wchar_t name[256] = {};
  const UINT n = GlobalGetAtomNameW(atom, name, 256);
  return narrow(std::wstring_view(name, n));
}

std::string rect_json(const RECT& r) {
  return "[" + num(r.left) + "," + num(r.top) + "," + num(r.right - r.left) + "," +
         num(r.bottom - r.top) + "]";
}

std::string window_json(HWND h) {
  RECT wr{}, cr{};
  GetWindowRect(h, &wr);
  GetClientRect(h, &cr);
  POINT origin{0, 0};
  ClientToScreen(h, &origin);
  OffsetRect(&cr, origin.x, origin.y);
  DWORD pid = 0;
  GetWindowThreadProcessId(h, &pid);
  return "{\"hwnd\":" + hwnd_num(h) + ",\"class\":" + json(class_of(h)) +
         ",\"caption\":" + json(text_of(h)) +
         ",\"id\":" + json(prop_name(h, ui::win32::probe::kWindowIdProp)) + ",\"pid\":" + num(pid) +
         ",\"style\":" + num(static_cast<DWORD>(GetWindowLongW(h, GWL_STYLE))) +
         ",\"visible\":" + boolean(IsWindowVisible(h)) +
         ",\"enabled\":" + boolean(IsWindowEnabled(h)) +
         ",\"foreground\":" + boolean(GetForegroundWindow() == h) + ",\"rect\":" + rect_json(wr) +
         ",\"client\":" + rect_json(cr) + "}";
}

BOOL CALLBACK collect(HWND h, LPARAM lp) {
  reinterpret_cast<std::vector<HWND>*>(lp)->push_back(h);
  return TRUE;
}

std::string windows() {
  std::vector<HWND> all;
  EnumWindows(collect, reinterpret_cast<LPARAM>(&all));
  std::string out = "[";
  for (HWND h : all) {
    if (!IsWindowVisible(h) && GetPropW(h, ui::win32::probe::kWindowIdProp) == nullptr) continue;
    if (out.size() > 1) out += ",";
    out += window_json(h);
  }
  return out + "]";
}

std::string controls(HWND parent) {
  std::vector<HWND> all;
  EnumChildWindows(parent, collect, reinterpret_cast<LPARAM>(&all));
  POINT origin{0, 0};
  ClientToScreen(parent, &origin);
  std::string out = "[";
  for (HWND h : all) {
    if (GetParent(h) != parent) continue;
    RECT r{};
    GetWindowRect(h, &r);
    RECT screen = r;
    OffsetRect(&r, -origin.x, -origin.y);
    if (out.size() > 1) out += ",";
    out += "{\"hwnd\":" + hwnd_num(h) + ",\"id\":" + num(GetDlgCtrlID(h)) +
           ",\"class\":" + json(class_of(h)) +
           ",\"name\":" + json(prop_name(h, ui::win32::probe::kControlNameProp)) +
           ",\"text\":" + json(text_of(h)) +
           ",\"style\":" + num(static_cast<DWORD>(GetWindowLongW(h, GWL_STYLE))) +
           ",\"exstyle\":" + num(static_cast<DWORD>(GetWindowLongW(h, GWL_EXSTYLE))) +
           ",\"visible\":" + boolean(IsWindowVisible(h)) +
           ",\"enabled\":" + boolean(IsWindowEnabled(h)) + ",\"rect\":" + rect_json(r) +
           ",\"screen\":" + rect_json(screen) + "}";
  }
  return out + "]";
}

std::string focus(HWND top) {
  GUITHREADINFO gti{};
  gti.cbSize = sizeof gti;
  GetGUIThreadInfo(GetWindowThreadProcessId(top, nullptr), &gti);
  HWND f = gti.hwndFocus;
  return "{\"hwnd\":" + hwnd_num(f) + ",\"class\":" + json(f ? class_of(f) : "") +
         ",\"name\":" + json(f ? prop_name(f, ui::win32::probe::kControlNameProp) : "") +
         ",\"active\":" + hwnd_num(gti.hwndActive) + "}";
}

// Memory in the process that owns a window, for messages that carry pointers.
class Remote {
 public:
  Remote(HWND owner, size_t size) : size_(size) {
    DWORD pid = 0;
    GetWindowThreadProcessId(owner, &pid);
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (process_)
      base_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  }
  ~Remote() {
    if (base_) VirtualFreeEx(process_, base_, 0, MEM_RELEASE);
    if (process_) CloseHandle(process_);
  }
  Remote(const Remote&) = delete;
  Remote& operator=(const Remote&) = delete;
  bool ok() const { return base_ != nullptr; }
  char* at(size_t offset) const { return static_cast<char*>(base_) + offset; }
  void write(size_t offset, const void* data, size_t n) const {
    WriteProcessMemory(process_, at(offset), data, n, nullptr);
  }
  void read(size_t offset, void* data, size_t n) const {
    ReadProcessMemory(process_, at(offset), data, n, nullptr);
  }

 private:
  size_t size_;
  HANDLE process_ = nullptr;
  void* base_ = nullptr;
};

constexpr int kTextChars = 2048;

std::string remote_string(const Remote& mem, size_t offset) {
  std::wstring buf(kTextChars, L'\0');
  mem.read(offset, buf.data(), kTextChars * sizeof(wchar_t));
  buf.resize(wcsnlen(buf.c_str(), kTextChars));
  return narrow(buf);
}

std::string list(HWND lv, int first, int count) {
  Remote mem(lv, sizeof(LVITEMW) + sizeof(LVCOLUMNW) + kTextChars * sizeof(wchar_t) + 64);
  if (!mem.ok()) return "null";
  const size_t text_at = sizeof(LVITEMW) + sizeof(LVCOLUMNW);
  const int items = static_cast<int>(SendMessageW(lv, LVM_GETITEMCOUNT, 0, 0));
  const int selected =
      static_cast<int>(SendMessageW(lv, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
  HWND header = reinterpret_cast<HWND>(SendMessageW(lv, LVM_GETHEADER, 0, 0));
  const int columns = header ? static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 1;

  std::string heads = "[", widths = "[";
  for (int c = 0; c < columns; ++c) {
    LVCOLUMNW col{};
    col.mask = LVCF_TEXT | LVCF_WIDTH;
    col.pszText = reinterpret_cast<LPWSTR>(mem.at(text_at));
    col.cchTextMax = kTextChars;
    std::vector<wchar_t> zero(kTextChars, L'\0');
    mem.write(text_at, zero.data(), zero.size() * sizeof(wchar_t));
    mem.write(sizeof(LVITEMW), &col, sizeof col);
    SendMessageW(lv, LVM_GETCOLUMNW, static_cast<WPARAM>(c),
                 reinterpret_cast<LPARAM>(mem.at(sizeof(LVITEMW))));
    mem.read(sizeof(LVITEMW), &col, sizeof col);
    if (c) {
      heads += ",";
      widths += ",";
    }
    heads += json(remote_string(mem, text_at));
    widths += num(col.cx);
  }

  std::string rows = "[";
  const int end = std::min(items, first + count);
  for (int r = std::max(0, first); r < end; ++r) {
    if (r > first) rows += ",";
    rows += "[";
    for (int c = 0; c < columns; ++c) {
      LVITEMW item{};
      item.iSubItem = c;
      item.pszText = reinterpret_cast<LPWSTR>(mem.at(text_at));
      item.cchTextMax = kTextChars;
      mem.write(0, &item, sizeof item);
      const auto n = SendMessageW(lv, LVM_GETITEMTEXTW, static_cast<WPARAM>(r),
                                  reinterpret_cast<LPARAM>(mem.at(0)));
      std::string cell;
      if (n > 0) cell = remote_string(mem, text_at);
      if (c) rows += ",";
      rows += json(cell);
    }
    rows += "]";
  }
  rows += "]";
  return "{\"count\":" + num(items) + ",\"selected\":" + num(selected) + ",\"headers\":" + heads +
         "],\"widths\":" + widths + "],\"rows\":" + rows + "}";
}

std::string select(HWND lv, int row) {
  Remote mem(lv, sizeof(LVITEMW));
  if (!mem.ok()) return "false";
  LVITEMW item{};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  mem.write(0, &item, sizeof item);
  SendMessageW(lv, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(mem.at(0)));
  SendMessageW(lv, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
  return "true";
}

// A row's rectangle in screen coordinates.
std::string item_rect(HWND lv, int row) {
  Remote mem(lv, sizeof(RECT));
  if (!mem.ok()) return "null";
  RECT r{};
  r.left = LVIR_BOUNDS;
  mem.write(0, &r, sizeof r);
  if (!SendMessageW(lv, LVM_GETITEMRECT, static_cast<WPARAM>(row),
                    reinterpret_cast<LPARAM>(mem.at(0))))
    return "null";
  mem.read(0, &r, sizeof r);
  MapWindowPoints(lv, HWND_DESKTOP, reinterpret_cast<POINT*>(&r), 2);
  return rect_json(r);
}

std::vector<std::string> split(const std::string& line) {
  std::vector<std::string> out(1);
  for (char c : line) {
    if (c == '\t')
      out.emplace_back();
    else if (c != '\r' && c != '\n')
      out.back() += c;
  }
  return out;
}

std::string answer(const std::vector<std::string>& a) {
  auto arg = [&](size_t i) { return i < a.size() ? a[i] : std::string{}; };
  auto int_arg = [&](size_t i) {
    return static_cast<int>(std::strtol(arg(i).c_str(), nullptr, 10));
  };
  const std::string& cmd = a[0];
  if (cmd == "ping") return "true";
  if (cmd == "windows") return windows();
  if (cmd == "window") return IsWindow(to_hwnd(arg(1))) ? window_json(to_hwnd(arg(1))) : "null";
  if (cmd == "controls") return controls(to_hwnd(arg(1)));
  if (cmd == "focus") return focus(to_hwnd(arg(1)));
  if (cmd == "text") return json(text_of(to_hwnd(arg(1))));
  if (cmd == "settext") {
    const std::wstring t = widen(arg(2));
    SendMessageW(to_hwnd(arg(1)), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(t.c_str()));
    return "true";
  }
  if (cmd == "click") return boolean(PostMessageW(to_hwnd(arg(1)), BM_CLICK, 0, 0));
  if (cmd == "close") return boolean(PostMessageW(to_hwnd(arg(1)), WM_CLOSE, 0, 0));
  if (cmd == "post")
    return boolean(PostMessageW(to_hwnd(arg(1)), static_cast<UINT>(int_arg(2)),
                                static_cast<WPARAM>(std::strtoll(arg(3).c_str(), nullptr, 10)),
                                static_cast<LPARAM>(std::strtoll(arg(4).c_str(), nullptr, 10))));
  if (cmd == "probe") {
    static const UINT msg = RegisterWindowMessageW(ui::win32::probe::kMessageName);
    DWORD_PTR r = 0;
    if (!SendMessageTimeoutW(to_hwnd(arg(1)), msg, reinterpret_cast<WPARAM>(to_hwnd(arg(2))),
                             static_cast<LPARAM>(int_arg(3)), SMTO_ABORTIFHUNG, 2000, &r))
      return "null";
    return num(static_cast<LONG_PTR>(r));
  }
  if (cmd == "list") return list(to_hwnd(arg(1)), int_arg(2), int_arg(3));
  if (cmd == "itemrect") return item_rect(to_hwnd(arg(1)), int_arg(2));
  if (cmd == "select") return select(to_hwnd(arg(1)), int_arg(2));
  return "null";
}

}  // namespace

int main() {
  _setmode(_fileno(stdout), _O_BINARY);
  char buf[65536];
  while (std::fgets(buf, sizeof buf, stdin)) {
    const std::vector<std::string> args = split(buf);
    if (args[0] == "quit") break;
    const std::string out = answer(args) + "\n";
    std::fwrite(out.data(), 1, out.size(), stdout);
    std::fflush(stdout);
  }
  return 0;
}
