// Filling the report list through the toolkit: clear, then per row one
// append and three cells, until the control has its item count and has
// painted. Cell texts are made beforehand, so only the toolkit is timed.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "ui/win32/toolkit.h"

namespace {

constexpr char kWindow[] = "bench";
constexpr char kList[] = "超级列表框1";

ui::Window window() {
  return {.id = kWindow,
          .caption = "列表填充",
          .width = 554,
          .height = 389,
          .controls = {{kList,
                        ui::Kind::list_view,
                        7,
                        3,
                        530,
                        291,
                        "",
                        21,
                        0,
                        {{"网站", 120}, {"账号", 200}, {"备注", 200}}}},
          .tab_order = {kList},
          .focus = kList,
          .created = {},
          .will_be_destroyed = {},
          .bindings = {}};
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  ui::win32::Toolkit tk;
  tk.load_startup(window());
  tk.pump();
  HWND list = FindWindowExW(tk.hwnd(kWindow), nullptr, L"SysListView32", nullptr);

  for (int rows : {1000, 10000, 100000}) {
    std::vector<std::string> site(rows), account(rows), note(rows);
    for (int i = 0; i < rows; ++i) {
      site[i] = "网站" + std::to_string(i);
      account[i] = "user" + std::to_string(i) + "@example.com";
      note[i] = "备注 " + std::to_string(i);
    }
    std::vector<double> ms, calls_ms, flush_ms;
    for (int round = 0; round < 7; ++round) {
      const auto start = std::chrono::steady_clock::now();
      tk.list_clear(kWindow, kList);
      for (int i = 0; i < rows; ++i) {
        const int row = tk.list_append(kWindow, kList, i + 2);
        tk.list_set_cell(kWindow, kList, row, 0, site[i]);
        tk.list_set_cell(kWindow, kList, row, 1, account[i]);
        tk.list_set_cell(kWindow, kList, row, 2, note[i]);
      }
      const auto filled = std::chrono::steady_clock::now();
      tk.pump();  // the item count reaches the control
      const auto flushed = std::chrono::steady_clock::now();
      UpdateWindow(list);
      const auto end = std::chrono::steady_clock::now();
      using ms_t = std::chrono::duration<double, std::milli>;
      ms.push_back(ms_t(end - start).count());
      calls_ms.push_back(ms_t(filled - start).count());
      flush_ms.push_back(ms_t(flushed - filled).count());
    }
    auto median = [](std::vector<double> v) {
      std::sort(v.begin(), v.end());
      return v[v.size() / 2];
    };
    std::printf(
        "list_fill rows=%d min_ms=%.2f median_ms=%.2f (medians: toolkit calls %.2f, "
        "item count to the control and one paint %.2f)\n",
        rows, *std::min_element(ms.begin(), ms.end()), median(ms), median(calls_ms),
        median(flush_ms));
    std::fflush(stdout);
  }
  tk.exit(0);
}
