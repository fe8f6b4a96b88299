// The skinning service: restyles the standard controls of every window of
// the UI thread, those that exist and those created later.
#pragma once

#include "ui/win32/win.h"

namespace ui::win32::skin {

// 1, 2, 3 select a colour scheme; anything else switches the skin off.
void set(int scheme);
// The scheme in force, 0 when off.
int scheme();
// The colour control frames are drawn in under a scheme.
COLORREF frame_color(int scheme);

}  // namespace ui::win32::skin
