// Window classes and private messages of the toolkit.
#pragma once

#include <string_view>

#include "ui/win32/win.h"

namespace ui::win32 {

inline constexpr wchar_t kWindowClass[] = L"PassbookWindow";
inline constexpr wchar_t kLabelClass[] = L"PassbookLabel";
inline constexpr int kFirstControlId = 100;
// wParam: control id of a list view whose item count or cells changed.
inline constexpr UINT kFlushListMsg = WM_APP + 1;
// Wakes the loop so that deferred destroys run.
inline constexpr UINT kWakeMsg = WM_APP + 2;

void register_label(HINSTANCE inst);

// Names a window for other processes: a property holding a global atom.
void name_window(HWND hwnd, const wchar_t* prop, std::string_view name);

// The system's message font at a DPI.
LOGFONTW message_font(UINT dpi);

}  // namespace ui::win32
