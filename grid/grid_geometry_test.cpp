#include "grid/grid_geometry.h"

#include <gtest/gtest.h>

namespace grid {
namespace {

// One fixed header row of 20 pixels, `rows` data rows of 10, three columns
// of 100, 50 and 80 pixels.
GridModel Grid(int rows) {
  GridModel m;
  m.SetFixedRows(1);
  m.SetRows(rows + 1);
  m.SetColumns(3);
  m.SetRowHeight(0, 20);
  for (int r = 1; r <= rows; ++r) m.SetRowHeight(r, 10);
  m.SetColumnWidth(0, 100);
  m.SetColumnWidth(1, 50);
  m.SetColumnWidth(2, 80);
  return m;
}

TEST(GridGeometry, HeaderStaysWhileTheRowsScroll) {
  GridModel m = Grid(100);
  GridView v{0, 35, 200, 120};
  EXPECT_EQ(CellRect(m, v, {0, 1}), (PixelRect{100, 0, 150, 20}));
  EXPECT_EQ(CellRect(m, v, {5, 0}), (PixelRect{0, 25, 100, 35}));
  EXPECT_EQ(CellFromPoint(m, v, 120, 5), (CellId{0, 1}));
  EXPECT_EQ(CellFromPoint(m, v, 120, 20), (CellId{4, 1}));  // row 4 half hidden under the header
  EXPECT_EQ(CellFromPoint(m, v, 120, 25), (CellId{5, 1}));
  EXPECT_EQ(TopNonFixedRow(m, v), 4);
  EXPECT_EQ(VisibleNonFixedRange(m, v), (CellRange{4, 0, 14, 2}));
}

TEST(GridGeometry, PointsOutsideTheCellsHitNothing) {
  GridModel m = Grid(3);
  GridView v{0, 0, 400, 200};
  EXPECT_FALSE(CellFromPoint(m, v, 50, 50).IsValid());   // below the last row (ends at 50)
  EXPECT_FALSE(CellFromPoint(m, v, 230, 10).IsValid());  // right of the last column
  EXPECT_FALSE(CellFromPoint(m, v, -1, 10).IsValid());
  EXPECT_EQ(CellFromPoint(m, v, 229, 49), (CellId{3, 2}));
}

TEST(GridGeometry, HorizontalScrollMovesNonFixedColumnsOnly) {
  GridModel m = Grid(3);
  m.SetFixedColumns(1);
  GridView v{30, 0, 150, 100};
  EXPECT_EQ(CellRect(m, v, {1, 0}), (PixelRect{0, 20, 100, 30}));
  EXPECT_EQ(CellRect(m, v, {1, 1}), (PixelRect{70, 20, 120, 30}));
  EXPECT_EQ(CellFromPoint(m, v, 105, 25), (CellId{1, 1}));  // offset 135
  EXPECT_EQ(CellFromPoint(m, v, 125, 25), (CellId{1, 2}));
}

TEST(GridGeometry, ColumnDividersAreCaughtWithinThreePixels) {
  GridModel m = Grid(3);
  GridView v{0, 0, 300, 100};
  // Column 0 ends at 100: its line is the pixel 99.
  for (int x = 97; x <= 103; ++x) EXPECT_EQ(ColumnDividerAt(m, v, x, 5, 3), 0) << x;
  EXPECT_EQ(ColumnDividerAt(m, v, 96, 5, 3), -1);
  EXPECT_EQ(ColumnDividerAt(m, v, 104, 5, 3), -1);
  EXPECT_EQ(ColumnDividerAt(m, v, 150, 5, 3), 1);
  EXPECT_EQ(ColumnDividerAt(m, v, 100, 25, 3), -1);  // only in the header
  // A hidden column: left of the line the visible one, right of it the hidden one.
  m.SetColumnWidth(1, 0);
  EXPECT_EQ(ColumnDividerAt(m, v, 99, 5, 3), 0);
  EXPECT_EQ(ColumnDividerAt(m, v, 101, 5, 3), 1);
}

TEST(GridGeometry, RowDividersOnlyInTheHeaderColumn) {
  GridModel m = Grid(3);
  GridView v{0, 0, 300, 100};
  EXPECT_EQ(RowDividerAt(m, v, 50, 30, 3), -1);  // no fixed column
  m.SetFixedColumns(1);
  EXPECT_EQ(RowDividerAt(m, v, 50, 30, 3), 1);
  EXPECT_EQ(RowDividerAt(m, v, 50, 21, 3), 0);
  EXPECT_EQ(RowDividerAt(m, v, 150, 30, 3), -1);
}

TEST(GridGeometry, LineScrollingSnapsToRowEdges) {
  GridModel m = Grid(100);  // content 1020 high
  GridView v{0, 0, 230, 120};
  EXPECT_EQ(MaxScrollY(m, v), 900);
  EXPECT_EQ(LineDownScroll(m, v), 10);
  v.scroll_y = 13;
  EXPECT_EQ(LineDownScroll(m, v), 20);
  EXPECT_EQ(LineUpScroll(m, v), 10);
  v.scroll_y = 20;
  EXPECT_EQ(LineUpScroll(m, v), 10);
  v.scroll_y = 0;
  EXPECT_EQ(LineUpScroll(m, v), 0);
  v.scroll_y = 900;
  EXPECT_EQ(LineDownScroll(m, v), 900);
  m.SetRowHeight(92, 0);
  v.scroll_y = 890;
  EXPECT_EQ(LineUpScroll(m, v), 880);
}

TEST(GridGeometry, PagesAreTheHeightBelowTheHeader) {
  GridModel m = Grid(100);
  GridView v{0, 0, 230, 120};
  EXPECT_EQ(PageDownScroll(m, v), 100);
  v.scroll_y = 850;
  EXPECT_EQ(PageDownScroll(m, v), 900);
  EXPECT_EQ(PageUpScroll(m, v), 750);
  v.scroll_y = 50;
  EXPECT_EQ(PageUpScroll(m, v), 0);
}

TEST(GridGeometry, EnsureVisibleMovesAsLittleAsPossible) {
  GridModel m = Grid(100);
  GridView v{0, 0, 230, 120};  // rows 1..10 fully shown
  EXPECT_EQ(ScrollYToShowRow(m, v, 10), 0);
  EXPECT_EQ(ScrollYToShowRow(m, v, 11), 10);
  EXPECT_EQ(ScrollYToShowRow(m, v, 100), 900);
  v.scroll_y = 500;
  EXPECT_EQ(ScrollYToShowRow(m, v, 20), 190);
  EXPECT_EQ(ScrollYToShowRow(m, v, 0), 500);  // the header is always shown
  GridView narrow{0, 0, 120, 120};
  EXPECT_EQ(ScrollXToShowColumn(m, narrow, 2), 110);
  narrow.scroll_x = 110;
  EXPECT_EQ(ScrollXToShowColumn(m, narrow, 0), 0);
}

TEST(GridGeometry, ScrollBarsAppearOnlyWhenNeeded) {
  GridModel m = Grid(10);  // 230 x 120
  EXPECT_EQ(DecideScrollBars(m, 230, 120, 16, 16), (ScrollBarNeeds{false, false}));
  EXPECT_EQ(DecideScrollBars(m, 230, 119, 16, 16), (ScrollBarNeeds{true, true}));  // vertical takes width
  EXPECT_EQ(DecideScrollBars(m, 250, 119, 16, 16), (ScrollBarNeeds{false, true}));
  EXPECT_EQ(DecideScrollBars(m, 229, 136, 16, 16), (ScrollBarNeeds{true, false}));
  EXPECT_EQ(DecideScrollBars(m, 229, 125, 16, 16), (ScrollBarNeeds{true, true}));  // horizontal takes height
}

}  // namespace
}  // namespace grid
