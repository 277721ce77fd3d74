#pragma once
// Where cells are on screen: the fixed header rows and columns stay in place
// while the other cells move with the scroll position. Pure arithmetic over
// the model, so that hit-testing, divider capture and scrolling are tested
// without a window.
#include "grid/cell_range.h"
#include "grid/grid_model.h"

namespace grid {

// Client pixels, as a Win32 RECT: left and top inside, right and bottom outside.
struct PixelRect {
  Offset left = 0;
  Offset top = 0;
  Offset right = 0;
  Offset bottom = 0;

  Offset width() const { return right - left; }
  Offset height() const { return bottom - top; }
  bool Contains(Offset x, Offset y) const { return x >= left && x < right && y >= top && y < bottom; }
  friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// The scroll position (pixels of the non-fixed area scrolled out of view) and
// the client size without scroll bars.
struct GridView {
  Offset scroll_x = 0;
  Offset scroll_y = 0;
  int client_width = 0;
  int client_height = 0;
};

// Left (top) edge of a column (row) in client coordinates.
Offset ColumnScreenLeft(const GridModel& m, const GridView& v, int col);
Offset RowScreenTop(const GridModel& m, const GridView& v, int row);
PixelRect CellRect(const GridModel& m, const GridView& v, CellId cell);

// The cell under a client point, or an invalid id outside all cells.
CellId CellFromPoint(const GridModel& m, const GridView& v, Offset x, Offset y);

// The non-fixed rows and columns at least partly in view (invalid when none).
CellRange VisibleNonFixedRange(const GridModel& m, const GridView& v);
// The non-fixed row at the top of the scrolling area, or -1.
int TopNonFixedRow(const GridModel& m, const GridView& v);

// The column whose right-hand divider lies within `capture` pixels of x in the
// header rows, or -1. Where a zero-width column's divider coincides with its
// neighbour's, the point left of the line takes the visible column and the
// point right of it the hidden one, so that a hidden column can be dragged open.
int ColumnDividerAt(const GridModel& m, const GridView& v, Offset x, Offset y, int capture);
// The same for row dividers in the header columns.
int RowDividerAt(const GridModel& m, const GridView& v, Offset x, Offset y, int capture);

// Scroll limits and moves, all clamped to [0, max].
Offset MaxScrollX(const GridModel& m, const GridView& v);
Offset MaxScrollY(const GridModel& m, const GridView& v);
Offset ClampScrollX(const GridModel& m, const GridView& v, Offset x);
Offset ClampScrollY(const GridModel& m, const GridView& v, Offset y);
Offset LineDownScroll(const GridModel& m, const GridView& v);   // to the next row's top
Offset LineUpScroll(const GridModel& m, const GridView& v);     // to the previous row's top
Offset LineRightScroll(const GridModel& m, const GridView& v);  // to the next column's left
Offset LineLeftScroll(const GridModel& m, const GridView& v);
Offset PageDownScroll(const GridModel& m, const GridView& v);
Offset PageUpScroll(const GridModel& m, const GridView& v);
Offset PageRightScroll(const GridModel& m, const GridView& v);
Offset PageLeftScroll(const GridModel& m, const GridView& v);
// The scroll position that brings a non-fixed row (column) fully into view
// with the least movement (its top or left first when it is larger than the view).
Offset ScrollYToShowRow(const GridModel& m, const GridView& v, int row);
Offset ScrollXToShowColumn(const GridModel& m, const GridView& v, int col);

// Which scroll bars the content needs in a window whose client area without
// any scroll bar is full_width x full_height.
struct ScrollBarNeeds {
  bool horizontal = false;
  bool vertical = false;
  friend bool operator==(const ScrollBarNeeds&, const ScrollBarNeeds&) = default;
};
ScrollBarNeeds DecideScrollBars(const GridModel& m, int full_width, int full_height, int vbar_width,
                                int hbar_height);

}  // namespace grid
