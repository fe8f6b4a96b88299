// The rows of a virtual report list view: the control asks for cell texts
// while it paints, so filling it costs no window messages. Cell texts share
// one buffer, so a refill after a clear allocates nothing.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ui/win32/win.h"

namespace ui::win32 {

class ListRows {
 public:
  explicit ListRows(size_t columns) : columns_(columns ? columns : 1) {}

  size_t size() const { return values_.size(); }
  size_t columns() const { return columns_; }
  void clear() {
    values_.clear();
    cells_.clear();
    pool_.clear();
  }
  int append(std::int64_t value) {
    values_.push_back(value);
    cells_.resize(cells_.size() + columns_);
    return static_cast<int>(values_.size()) - 1;
  }
  // Rows and columns outside the list are ignored.
  void set(size_t row, size_t column, std::string_view text) {
    if (row >= size() || column >= columns_) return;
    cells_[row * columns_ + column] = {static_cast<std::uint32_t>(pool_.size()),
                                       static_cast<std::uint32_t>(text.size())};
    pool_.append(text);
  }
  std::string_view cell(size_t row, size_t column) const {
    if (row >= size() || column >= columns_) return {};
    const Cell& c = cells_[row * columns_ + column];
    return std::string_view(pool_).substr(c.offset, c.size);
  }
  std::int64_t value(size_t row) const { return row < size() ? values_[row] : 0; }

  HWND owner = nullptr;  // the top-level window, which gets the flush message
  int shown = 0;         // item count the control was last told
  bool posted = false;   // a flush is queued
  bool cleared = false;  // the control still shows rows from before a clear

 private:
  struct Cell {
    std::uint32_t offset = 0, size = 0;
  };
  size_t columns_;
  std::vector<std::int64_t> values_;
  std::vector<Cell> cells_;  // size() * columns_
  std::string pool_;
};

}  // namespace ui::win32
