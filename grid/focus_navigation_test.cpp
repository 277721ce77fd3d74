#include "grid/focus_navigation.h"

#include <gtest/gtest.h>

namespace grid {
namespace {

// One fixed header row, `rows` data rows, `cols` columns of 10 x 10 pixels.
GridModel Grid(int rows, int cols) {
  GridModel m;
  m.SetFixedRows(1);
  m.SetRows(rows + 1);
  m.SetColumns(cols);
  for (int r = 0; r <= rows; ++r) m.SetRowHeight(r, 10);
  for (int c = 0; c < cols; ++c) m.SetColumnWidth(c, 10);
  return m;
}

TEST(FocusNavigation, ArrowsMoveOneCellAndStopAtTheEdges) {
  GridModel m = Grid(5, 3);
  EXPECT_EQ(MoveFocus(m, {2, 1}, NavKey::kUp), (CellId{1, 1}));
  EXPECT_EQ(MoveFocus(m, {1, 1}, NavKey::kUp), (CellId{1, 1}));  // never onto the header
  EXPECT_EQ(MoveFocus(m, {2, 1}, NavKey::kDown), (CellId{3, 1}));
  EXPECT_EQ(MoveFocus(m, {5, 1}, NavKey::kDown), (CellId{5, 1}));
  EXPECT_EQ(MoveFocus(m, {2, 1}, NavKey::kLeft), (CellId{2, 0}));
  EXPECT_EQ(MoveFocus(m, {2, 0}, NavKey::kLeft), (CellId{2, 0}));
  EXPECT_EQ(MoveFocus(m, {2, 2}, NavKey::kRight), (CellId{2, 2}));
}

TEST(FocusNavigation, ZeroSizeRowsAndColumnsArePassedOver) {
  GridModel m = Grid(5, 4);
  m.SetRowHeight(3, 0);
  m.SetColumnWidth(1, 0);
  m.SetColumnWidth(3, 0);
  EXPECT_EQ(MoveFocus(m, {2, 0}, NavKey::kDown), (CellId{4, 0}));
  EXPECT_EQ(MoveFocus(m, {4, 0}, NavKey::kUp), (CellId{2, 0}));
  EXPECT_EQ(MoveFocus(m, {2, 0}, NavKey::kRight), (CellId{2, 2}));
  EXPECT_EQ(MoveFocus(m, {2, 2}, NavKey::kRight), (CellId{2, 2}));
  EXPECT_EQ(MoveFocus(m, {2, 2}, NavKey::kEnd), (CellId{2, 2}));
  EXPECT_EQ(MoveFocus(m, {2, 2}, NavKey::kHome), (CellId{2, 0}));
  m.SetRowHeight(5, 0);
  EXPECT_EQ(MoveFocus(m, {1, 0}, NavKey::kCtrlEnd), (CellId{4, 2}));
}

TEST(FocusNavigation, TabWrapsToTheNextAndPreviousRow) {
  GridModel m = Grid(3, 2);
  EXPECT_EQ(MoveFocus(m, {1, 0}, NavKey::kNext), (CellId{1, 1}));
  EXPECT_EQ(MoveFocus(m, {1, 1}, NavKey::kNext), (CellId{2, 0}));
  EXPECT_EQ(MoveFocus(m, {3, 1}, NavKey::kNext), (CellId{3, 1}));  // the last cell stays
  EXPECT_EQ(MoveFocus(m, {2, 0}, NavKey::kPrevious), (CellId{1, 1}));
  EXPECT_EQ(MoveFocus(m, {1, 0}, NavKey::kPrevious), (CellId{1, 0}));
}

TEST(FocusNavigation, HomeAndEndWithAndWithoutCtrl) {
  GridModel m = Grid(6, 3);
  EXPECT_EQ(MoveFocus(m, {4, 1}, NavKey::kHome), (CellId{4, 0}));
  EXPECT_EQ(MoveFocus(m, {4, 1}, NavKey::kEnd), (CellId{4, 2}));
  EXPECT_EQ(MoveFocus(m, {4, 1}, NavKey::kCtrlHome), (CellId{1, 0}));
  EXPECT_EQ(MoveFocus(m, {4, 1}, NavKey::kCtrlEnd), (CellId{6, 2}));
}

TEST(FocusNavigation, WithoutAFocusCellTheFirstCellIsTaken) {
  GridModel m = Grid(3, 2);
  EXPECT_EQ(MoveFocus(m, {}, NavKey::kDown), (CellId{1, 0}));
  EXPECT_EQ(MoveFocus(m, {0, 1}, NavKey::kDown), (CellId{1, 0}));  // a header cell is no start
  GridModel header_only = Grid(0, 2);
  EXPECT_FALSE(MoveFocus(header_only, {}, NavKey::kDown).IsValid());
}

TEST(FocusNavigation, PageMovesTheFocusAsFarAsTheView) {
  GridModel m = Grid(50, 1);
  EXPECT_EQ(PageFocusRow(m, 5, 1, 11, true), 15);
  EXPECT_EQ(PageFocusRow(m, 15, 11, 1, false), 5);
  EXPECT_EQ(PageFocusRow(m, 48, 31, 41, true), 50);  // clamped to the last row
  // The view could not move: to the last row, or the first non-fixed one.
  EXPECT_EQ(PageFocusRow(m, 45, 41, 41, true), 50);
  EXPECT_EQ(PageFocusRow(m, 5, 1, 1, false), 1);
  m.SetRowHeight(15, 0);
  EXPECT_EQ(PageFocusRow(m, 5, 1, 11, true), 16);
  EXPECT_EQ(PageFocusRow(m, 25, 21, 11, false), 14);
}

TEST(FocusNavigation, SelectionRunsFromTheAnchor) {
  GridModel m = Grid(6, 3);
  EXPECT_EQ(SelectionFromAnchor(m, {2, 1}, {4, 0}, true), (CellRange{2, 0, 4, 2}));
  EXPECT_EQ(SelectionFromAnchor(m, {5, 1}, {3, 2}, true), (CellRange{3, 0, 5, 2}));
  EXPECT_EQ(SelectionFromAnchor(m, {2, 1}, {4, 0}, false), (CellRange{2, 0, 4, 1}));
  EXPECT_EQ(SelectionFromAnchor(m, {}, {4, 0}, true), (CellRange{4, 0, 4, 2}));
  EXPECT_FALSE(SelectionFromAnchor(m, {2, 1}, {}, true).IsValid());
}

}  // namespace
}  // namespace grid
