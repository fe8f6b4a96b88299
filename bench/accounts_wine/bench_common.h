// What both account benchmarks under Wine need: wall-clock time, medians, and
// the program's own list window with its sign-in taken out.
#pragma once

#include <algorithm>
#include <chrono>
#include <functional>
#include <vector>

#include "accounts/windows.h"
#include "app/context.h"
#include "ui/win32/toolkit.h"

namespace bench_wine {

using Clock = std::chrono::steady_clock;

inline double ms_since(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Milliseconds since the Unix epoch, comparable with the clock of the
// process that started this one.
inline double epoch_ms() {
  FILETIME ft;
  GetSystemTimePreciseAsFileTime(&ft);
  const ULONGLONG t = (static_cast<ULONGLONG>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
  return static_cast<double>(t - 116444736000000000ULL) / 10000.0;
}

inline double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

// The account list window as the program lays it out, with `created` in
// place of the sign-in, whose password windows need a user.
inline ui::Window list_window(app::Context& ctx, std::function<void()> created) {
  ui::Window w = accounts::list_window(ctx);
  w.created = std::move(created);
  return w;
}

// Lets the rows reach the control and the list paint once, as the user
// would see it.
inline void show_rows(ui::win32::Toolkit& tk) {
  tk.pump();
  UpdateWindow(tk.hwnd(accounts::kListId));
}

}  // namespace bench_wine
