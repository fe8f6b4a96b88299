// The rows of a virtual report list view: the control asks for cell texts
// while it paints, so filling it costs no window messages.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ui::win32 {

struct ListRows {
  struct Row {
    std::int64_t value = 0;
    std::vector<std::string> cells;
  };
  std::vector<Row> rows;
  int shown = 0;        // item count the control was last told
  bool posted = false;  // a flush is queued
};

}  // namespace ui::win32
