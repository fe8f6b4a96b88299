// Win32 headers in the order they need: windows.h before the others.
#pragma once

// clang-format off
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
#include <shellscalingapi.h>
// clang-format on
