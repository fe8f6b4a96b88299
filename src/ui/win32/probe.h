// What the toolkit exposes to other processes, so that end-to-end tests can
// name windows and controls and read what pixels cannot show reliably.
#pragma once

#include "ui/win32/win.h"

namespace ui::win32::probe {

// Window properties holding a global atom with the window id (top-level
// windows) or the control name (controls).
inline constexpr wchar_t kWindowIdProp[] = L"passbook.window";
inline constexpr wchar_t kControlNameProp[] = L"passbook.control";

// Registered message sent to a top-level window: wParam is one of its
// controls, lParam a Query; the result is the answer, or kUnknown.
inline constexpr wchar_t kMessageName[] = L"passbook.probe";

enum Query : LPARAM {
  kFontHeight = 1,         // LOGFONT lfHeight of the control's font (negative: character height)
  kFontWeight = 2,         // lfWeight
  kFontIsMessageFace = 3,  // 1 when the face is the system's message font face
  kTextColor = 4,          // COLORREF the edit box draws its text in
  kDpi = 5,                // DPI the window is laid out for
  kSkinScheme = 6,         // skin scheme in force (0: off)
};
inline constexpr LRESULT kUnknown = -0x7fffffff;

}  // namespace ui::win32::probe
