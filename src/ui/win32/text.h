// UTF-8 inside, UTF-16 only at the Win32 calls.
#pragma once

#include <string>
#include <string_view>

#include "ui/win32/win.h"

namespace ui::win32 {

std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view utf16);

// The whole text of a window (caption, edit box contents), as UTF-8.
std::string window_text(HWND hwnd);

}  // namespace ui::win32
