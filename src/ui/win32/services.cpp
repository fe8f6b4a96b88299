// Message boxes, the fatal error report, process exit and the shell.
#include "ui/fatal_report.h"
#include "ui/shell_address.h"
#include "ui/win32/skin.h"
#include "ui/win32/text.h"
#include "ui/win32/toolkit.h"
#include "ui/win32/win.h"

namespace ui::win32 {

int Toolkit::message_box(std::string_view text, std::optional<std::string_view> caption,
                         int style) {
  const std::wstring body = widen(text);
  const std::wstring title = widen(caption ? *caption : kDefaultBoxTitle);
  const UINT type = (static_cast<UINT>(style) & (MB_TYPEMASK | MB_ICONMASK)) | MB_TASKMODAL;
  HWND active = GetActiveWindow();
  const int pressed = MessageBoxW(nullptr, body.c_str(), title.c_str(), type);
  // A box without owner hands the activation to no one when it goes.
  if (active && IsWindow(active) && IsWindowEnabled(active)) SetForegroundWindow(active);
  return pressed == IDOK ? kBoxOk : kBoxCancel;
}

void Toolkit::fatal_error(std::optional<int> code, std::string_view message) {
  const std::wstring body = widen(fatal_report_text(code, message));
  const std::wstring title = widen(kFatalTitle);
  MessageBoxW(nullptr, body.c_str(), title.c_str(), MB_OK | MB_ICONERROR | MB_TASKMODAL);
  ExitProcess(static_cast<UINT>(kFatalExitCode));
}

void Toolkit::exit(int code) { ExitProcess(static_cast<UINT>(code)); }

void Toolkit::set_skin(int scheme) { skin::set(scheme); }

void Toolkit::shell_open(std::string_view text) {
  const std::optional<std::string> address = safe_shell_address(text);
  if (!address) return;
  ShellExecuteW(nullptr, L"open", widen(*address).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace ui::win32
