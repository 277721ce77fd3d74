#pragma once
// Cell coordinates and rectangular ranges of cells. Row and column -1 mean
// "no cell" (a click outside the cells, no focus cell yet).
#include <algorithm>

namespace grid {

struct CellId {
  int row = -1;
  int col = -1;

  bool IsValid() const { return row >= 0 && col >= 0; }
  friend bool operator==(const CellId&, const CellId&) = default;
};

// Inclusive bounds; invalid while empty.
struct CellRange {
  int min_row = -1;
  int min_col = -1;
  int max_row = -1;
  int max_col = -1;

  static CellRange Spanning(CellId a, CellId b) {
    return {std::min(a.row, b.row), std::min(a.col, b.col), std::max(a.row, b.row), std::max(a.col, b.col)};
  }
  bool IsValid() const { return min_row >= 0 && min_col >= 0 && min_row <= max_row && min_col <= max_col; }
  bool Contains(CellId c) const {
    return IsValid() && c.row >= min_row && c.row <= max_row && c.col >= min_col && c.col <= max_col;
  }
  // The smallest range covering both (either may be invalid).
  CellRange Union(const CellRange& o) const {
    if (!IsValid()) return o;
    if (!o.IsValid()) return *this;
    return {std::min(min_row, o.min_row), std::min(min_col, o.min_col), std::max(max_row, o.max_row),
            std::max(max_col, o.max_col)};
  }
  friend bool operator==(const CellRange&, const CellRange&) = default;
};

}  // namespace grid
