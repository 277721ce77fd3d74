#include "grid/copy_text.h"

#include <gtest/gtest.h>

namespace grid {
namespace {

GridModel TwoColumnGrid() {
  GridModel m;
  m.SetFixedRows(1);
  m.SetRows(4);
  m.SetColumns(2);
  m.SetCellText(0, 0, "H0");
  m.SetCellText(0, 1, "H1");
  for (int r = 1; r < 4; ++r) {
    const std::string number = std::to_string(r);
    m.SetCellText(r, 0, std::string("a").append(number));
    m.SetCellText(r, 1, std::string("b").append(number));
  }
  return m;
}

TEST(CopyText, TwoSelectedRowsGiveTabsAndALineFeed) {
  GridModel m = TwoColumnGrid();
  m.SelectRange(m.RowSpan(1, 2));
  EXPECT_EQ(BuildCopyText(m), "a1\tb1\na2\tb2");
}

TEST(CopyText, NothingSelectedGivesNothing) {
  GridModel m = TwoColumnGrid();
  EXPECT_EQ(BuildCopyText(m), "");
}

TEST(CopyText, UnselectedCellsInsideTheBoundsKeepTheirTab) {
  GridModel m = TwoColumnGrid();
  m.SetColumns(3);
  m.SetCellText(1, 2, "c1");
  m.SetCellText(3, 2, "c3");
  m.SetCellSelected(1, 0, true);
  m.SetCellSelected(3, 2, true);
  // Bounds rows 1..3, columns 0..2; row 2 has nothing selected but keeps its line.
  EXPECT_EQ(BuildCopyText(m), "a1\t\t\n\t\t\n\t\tc3");
}

TEST(CopyText, ZeroWidthColumnsAndZeroHeightRowsAreSkipped) {
  GridModel m = TwoColumnGrid();
  m.SelectRange(m.RowSpan(1, 3));
  m.SetColumnWidth(0, 0);
  EXPECT_EQ(BuildCopyText(m), "b1\nb2\nb3");
  m.SetColumnWidth(0, 10);
  m.SetRowHeight(2, 0);
  EXPECT_EQ(BuildCopyText(m), "a1\tb1\na3\tb3");
}

TEST(CopyText, ChineseTextIsCopiedAsItsCodePage936Bytes) {
  GridModel m = TwoColumnGrid();
  const std::string memo = "\xBC\xC7\xD2\xE4\xCA\xC2\xBC\xFE";  // 记忆事件
  m.SetCellText(1, 1, memo);
  m.SetCellSelected(1, 1, true);
  EXPECT_EQ(BuildCopyText(m), memo);
}

}  // namespace
}  // namespace grid
