#include "grid/grid_model.h"

#include <gtest/gtest.h>

#include <climits>

namespace grid {
namespace {

// The header layout the event list uses: one fixed row, three columns.
GridModel EventListLayout(int data_rows) {
  GridModel m;
  m.SetFixedRows(1);
  m.SetFixedColumns(0);
  m.SetRows(1);
  m.SetColumns(3);
  for (int r = 1; r <= data_rows; ++r) {
    m.SetRows(r + 1);
    m.SetCellText(r, 0, "title " + std::to_string(r));
    m.SetCellData(r, 0, 1000 + r);
  }
  return m;
}

TEST(GridCell, NewCellsDeferToTheirDefaultCell) {
  CGridCell cell;
  EXPECT_EQ(cell.GetTextClr(), 0xFF000000u);
  EXPECT_EQ(cell.GetBackClr(), 0xFF000000u);
  EXPECT_EQ(cell.GetFont(), kNoFont);
  EXPECT_EQ(cell.GetFormat(), kFormatFromDefault);
  EXPECT_EQ(cell.GetMargin(), kMarginFromDefault);
  EXPECT_EQ(cell.GetState(), 0u);
  EXPECT_EQ(cell.GetData(), 0);

  CGridDefaultCell prototype;
  EXPECT_EQ(prototype.GetFormat(), 0x8824u);
  EXPECT_EQ(prototype.GetMargin(), 3);
  EXPECT_EQ(prototype.GetWidth(), 40);
  EXPECT_EQ(prototype.GetHeight(), 16);
  prototype.SetFontAndMetrics(7, {4, 96, 18});
  EXPECT_EQ(prototype.GetFont(), 7u);
  EXPECT_EQ(prototype.GetMargin(), 4);
  EXPECT_EQ(prototype.GetWidth(), 96);
  EXPECT_EQ(prototype.GetHeight(), 18);
}

TEST(GridModel, StartsEmptyAndGrowsWithDefaultSizes) {
  GridModel m;
  EXPECT_EQ(m.GetRowCount(), 0);
  EXPECT_EQ(m.GetColumnCount(), 0);
  m.GetDefaultCell(false, false).SetFontAndMetrics(kNoFont, {4, 90, 21});
  ASSERT_TRUE(m.SetRows(4));
  ASSERT_TRUE(m.SetColumns(2));
  EXPECT_EQ(m.GetRowHeight(3), 21);
  EXPECT_EQ(m.GetColumnWidth(1), 90);
  EXPECT_EQ(m.TotalHeight(), 84);
  EXPECT_EQ(m.TotalWidth(), 180);
  EXPECT_TRUE(m.SetRows(2));
  EXPECT_EQ(m.TotalHeight(), 42);
  EXPECT_FALSE(m.SetRows(-1));
  EXPECT_FALSE(m.SetColumns(-1));
  EXPECT_EQ(m.GetRowCount(), 2);
}

TEST(GridModel, FixedRowsAndColumnsCarryTheirStateBits) {
  GridModel m;
  ASSERT_TRUE(m.SetFixedRows(1));
  EXPECT_EQ(m.GetRowCount(), 1);  // added because there were fewer
  m.SetRows(3);
  m.SetColumns(2);
  ASSERT_TRUE(m.SetFixedColumns(1));
  EXPECT_EQ(m.GetCell(0, 1)->GetState(), 0x30u);
  EXPECT_EQ(m.GetCell(1, 0)->GetState(), 0x50u);
  EXPECT_EQ(m.GetCell(0, 0)->GetState(), 0x70u);
  EXPECT_EQ(m.GetCell(2, 1)->GetState(), 0u);
  // New rows keep the fixed column.
  m.SetRows(5);
  EXPECT_EQ(m.GetCell(4, 0)->GetState(), 0x50u);
  EXPECT_EQ(m.GetCell(4, 1)->GetState(), 0u);
  // Colours go back to the default when a cell becomes fixed.
  m.GetCell(1, 1)->SetBackClr(0x123456);
  ASSERT_TRUE(m.SetFixedRows(2));
  EXPECT_EQ(m.GetCell(1, 1)->GetBackClr(), kDefaultColour);
  EXPECT_EQ(m.GetCell(1, 1)->GetState(), 0x30u);
  // ...and lose the fixed bits when it stops being one.
  ASSERT_TRUE(m.SetFixedRows(0));
  EXPECT_EQ(m.GetCell(1, 1)->GetState(), 0u);
  EXPECT_EQ(m.GetCell(0, 0)->GetState(), 0x50u);
  EXPECT_FALSE(m.SetFixedRows(-1));
}

TEST(GridModel, ShrinkingCutsTheFixedCounts) {
  GridModel m;
  m.SetFixedRows(3);
  m.SetFixedColumns(2);
  ASSERT_TRUE(m.SetRows(1));
  ASSERT_TRUE(m.SetColumns(1));
  EXPECT_EQ(m.GetFixedRowCount(), 1);
  EXPECT_EQ(m.GetFixedColumnCount(), 1);
}

TEST(GridModel, CellOperationsFailSoftlyOutsideTheGrid) {
  GridModel m = EventListLayout(2);
  for (auto [row, col] : {std::pair{-1, 0}, {0, -1}, {3, 0}, {0, 3}, {-1, -1}, {INT_MAX, 0}, {INT_MIN, 2}}) {
    SCOPED_TRACE(testing::Message() << row << "," << col);
    EXPECT_FALSE(m.SetCellText(row, col, "x"));
    EXPECT_FALSE(m.SetCellData(row, col, 5));
    EXPECT_EQ(m.GetCellData(row, col), 0);
    EXPECT_EQ(m.GetCellText(row, col), "");
    EXPECT_EQ(m.GetCell(row, col), nullptr);
  }
  EXPECT_EQ(m.GetCellData(2, 0), 1002);
  EXPECT_EQ(m.GetCellData(0, 0), 0);  // the header row carries no event
  EXPECT_EQ(m.GetCellText(2, 0), "title 2");
}

TEST(GridModel, ColumnWidthsRejectNegativeAndMissingColumns) {
  GridModel m = EventListLayout(0);
  EXPECT_TRUE(m.SetColumnWidth(0, 250));
  EXPECT_TRUE(m.SetColumnWidth(2, 0));
  EXPECT_FALSE(m.SetColumnWidth(1, -1));
  EXPECT_FALSE(m.SetColumnWidth(3, 10));
  EXPECT_FALSE(m.SetColumnWidth(-1, 10));
  EXPECT_EQ(m.GetColumnWidth(0), 250);
  EXPECT_EQ(m.GetColumnWidth(2), 0);
  EXPECT_EQ(m.GetColumnWidth(3), 0);
}

TEST(GridModel, RemoveAllRowsClearsEverything) {
  GridModel m = EventListLayout(5);
  m.SetFocusCell({2, 1});
  m.SelectRange(m.RowSpan(2, 3));
  m.RemoveAllRows();
  EXPECT_EQ(m.GetRowCount(), 0);
  EXPECT_EQ(m.GetColumnCount(), 0);
  EXPECT_EQ(m.GetFixedRowCount(), 0);
  EXPECT_EQ(m.GetFixedColumnCount(), 0);
  EXPECT_FALSE(m.GetFocusCell().IsValid());
  EXPECT_EQ(m.GetSelectedCount(), 0);
  EXPECT_EQ(m.TotalHeight(), 0);
  // The grid is usable again afterwards.
  ASSERT_TRUE(m.SetRows(2));
  ASSERT_TRUE(m.SetColumns(2));
  EXPECT_TRUE(m.SetCellText(1, 1, "again"));
  EXPECT_FALSE(m.IsCellSelected(1, 1));
}

TEST(GridModel, ColumnsCanBeAddedAndRemovedUnderExistingText) {
  GridModel m;
  m.SetRows(3);
  m.SetColumns(2);
  m.SetCellText(2, 1, "kept");
  m.SelectRange({0, 0, 2, 1});
  ASSERT_TRUE(m.SetColumns(4));
  EXPECT_EQ(m.GetCellText(2, 1), "kept");
  EXPECT_EQ(m.GetSelectedCount(), 6);
  ASSERT_TRUE(m.SetColumns(1));
  EXPECT_EQ(m.GetSelectedCount(), 3);
  EXPECT_EQ(m.GetSelectedCellRange(), (CellRange{0, 0, 2, 0}));
}

TEST(GridModel, SelectionCountsAndBoundsFollowTheCells) {
  GridModel m = EventListLayout(10);
  m.SelectRange(m.RowSpan(3, 5));
  EXPECT_EQ(m.GetSelectedCount(), 9);
  EXPECT_EQ(m.GetSelectedCellRange(), (CellRange{3, 0, 5, 2}));
  m.SetCellSelected(3, 0, false);
  m.SetCellSelected(3, 1, false);
  m.SetCellSelected(3, 2, false);
  EXPECT_EQ(m.GetSelectedCellRange(), (CellRange{4, 0, 5, 2}));
  m.SelectRange({-5, -5, 100, 100});  // clipped to the cells that exist
  EXPECT_EQ(m.GetSelectedCount(), 11 * 3);
  // Rows deleted from the end take their selection with them.
  ASSERT_TRUE(m.SetRows(4));
  EXPECT_EQ(m.GetSelectedCount(), 4 * 3);
  EXPECT_EQ(m.GetSelectedCellRange(), (CellRange{0, 0, 3, 2}));
  m.ClearSelection();
  EXPECT_EQ(m.GetSelectedCount(), 0);
  EXPECT_FALSE(m.IsCellSelected(2, 2));
  EXPECT_FALSE(m.GetSelectedCellRange().IsValid());
}

TEST(GridModel, BecomingFixedDropsSelectionAndFocus) {
  GridModel m;
  m.SetRows(3);
  m.SetColumns(2);
  m.SelectRange({0, 0, 2, 1});
  m.SetFocusCell({1, 1});
  EXPECT_TRUE(m.GetCell(1, 1)->IsFocused());
  m.SetFixedRows(2);
  EXPECT_EQ(m.GetSelectedCount(), 2);
  EXPECT_FALSE(m.GetFocusCell().IsValid());
  EXPECT_FALSE(m.GetCell(1, 1)->IsFocused());
}

TEST(GridModel, FocusMovesTheFocusedBit) {
  GridModel m = EventListLayout(3);
  m.SetFocusCell({1, 0});
  m.SetFocusCell({2, 2});
  EXPECT_FALSE(m.GetCell(1, 0)->IsFocused());
  EXPECT_TRUE(m.GetCell(2, 2)->IsFocused());
  m.SetFocusCell({9, 9});
  EXPECT_FALSE(m.GetFocusCell().IsValid());
  EXPECT_FALSE(m.GetCell(2, 2)->IsFocused());
  m.SetFocusCell({3, 1});
  ASSERT_TRUE(m.SetRows(3));
  EXPECT_FALSE(m.GetFocusCell().IsValid());
}

TEST(GridModel, RowOffsetsSkipZeroHeightRows) {
  GridModel m;
  m.SetRows(5);
  m.SetColumns(1);
  for (int r = 0; r < 5; ++r) m.SetRowHeight(r, 10);
  EXPECT_EQ(m.RowTop(3), 30);
  ASSERT_TRUE(m.SetRowHeight(1, 0));
  EXPECT_EQ(m.RowTop(3), 20);
  EXPECT_EQ(m.RowAtOffset(9), 0);
  EXPECT_EQ(m.RowAtOffset(10), 2);  // row 1 has no height
  EXPECT_EQ(m.RowAtOffset(39), 4);
  EXPECT_EQ(m.RowAtOffset(40), -1);
  EXPECT_EQ(m.RowAtOffset(-1), -1);
  EXPECT_FALSE(m.SetRowHeight(5, 10));
  EXPECT_FALSE(m.SetRowHeight(0, -1));
  // Growing keeps the offsets already known.
  m.SetRows(7);
  EXPECT_EQ(m.RowTop(7), 40 + 2 * m.GetDefaultCell(false, false).GetHeight());
}

TEST(GridModel, ColumnOffsetsSkipZeroWidthColumns) {
  GridModel m;
  m.SetRows(1);
  m.SetColumns(3);
  m.SetColumnWidth(0, 50);
  m.SetColumnWidth(1, 0);
  m.SetColumnWidth(2, 30);
  EXPECT_EQ(m.ColumnAtOffset(49), 0);
  EXPECT_EQ(m.ColumnAtOffset(50), 2);
  EXPECT_EQ(m.ColumnAtOffset(80), -1);
  EXPECT_EQ(m.ColumnLeft(3), 80);
}

TEST(GridModel, ManyRowsAddedOneAtATime) {
  GridModel m = EventListLayout(20000);
  EXPECT_EQ(m.GetRowCount(), 20001);
  EXPECT_EQ(m.GetCellData(20000, 0), 21000);
  EXPECT_EQ(m.RowAtOffset(m.RowTop(12345)), 12345);
}

TEST(GridModel, RunningOutOfMemoryLeavesTheGridAsItWas) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "AddressSanitizer ends the program instead of failing the allocation";
#else
  GridModel m = EventListLayout(3);
  EXPECT_FALSE(m.SetRows(INT_MAX));
  EXPECT_EQ(m.GetRowCount(), 4);
  EXPECT_EQ(m.GetCellText(3, 0), "title 3");
  EXPECT_TRUE(m.SetRows(5));
  GridModel wide;
  wide.SetRows(100000);
  EXPECT_FALSE(wide.SetColumns(INT_MAX));
  EXPECT_EQ(wide.GetColumnCount(), 0);
#endif
}

}  // namespace
}  // namespace grid
