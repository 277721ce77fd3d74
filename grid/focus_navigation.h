#pragma once
// Where the keyboard moves the focus cell. The focus never lands on a fixed
// header cell, nor on a row or column of zero size.
#include "grid/cell_range.h"
#include "grid/grid_model.h"

namespace grid {

enum class NavKey {
  kUp,
  kDown,
  kLeft,
  kRight,
  kNext,      // Tab: the next cell, wrapping to the next row
  kPrevious,  // Shift+Tab: the previous cell, wrapping to the previous row
  kHome,      // first column of non-zero width
  kEnd,       // last column of non-zero width
  kCtrlHome,  // ... and the first non-fixed row
  kCtrlEnd,   // ... and the last row
};

// The focus cell after `key`; `focus` itself when it cannot move. An invalid
// `focus` starts at the first visible non-fixed cell.
CellId MoveFocus(const GridModel& model, CellId focus, NavKey key);

// Page Up / Page Down: the view's top row went from `top_before` to
// `top_after`. The focus row moves by as many rows as the view did; when the
// view did not move it goes to the first non-fixed row (up) or the last row
// (down).
int PageFocusRow(const GridModel& model, int focus_row, int top_before, int top_after, bool down);

// The selection after the focus moved to `focus` with `anchor` as the other
// end: whole rows in row-select mode, else the rectangle of cells.
CellRange SelectionFromAnchor(const GridModel& model, CellId anchor, CellId focus, bool row_select);

}  // namespace grid
