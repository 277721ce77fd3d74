#pragma once
// The grid's content without a window: the cells (row by row), column widths
// and row heights, the counts of rows, columns and fixed header rows and
// columns, the four default cells, the focus cell and the selection.
// CGridCtrl owns one and adds the window; native tests reach it directly.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "grid/cell_range.h"
#include "grid/grid_cell.h"

namespace grid {

// Pixel offsets from the grid's top-left corner; 64-bit so that very many
// rows or very large sizes cannot overflow a sum.
using Offset = std::int64_t;

class GridModel {
 public:
  GridModel() = default;

  int GetRowCount() const { return rows_; }
  int GetColumnCount() const { return cols_; }
  int GetFixedRowCount() const { return fixed_rows_; }
  int GetFixedColumnCount() const { return fixed_cols_; }

  // Adds rows of new cells (ordinary default height) or deletes rows from the
  // end; the fixed-row count is cut down if larger. False, with nothing
  // changed, for a negative count or when memory runs out.
  bool SetRows(int count);
  // The same for columns (ordinary default width).
  bool SetColumns(int count);
  // Makes the first `count` rows fixed, adding rows when there are fewer.
  // Cells that change between fixed and not fixed get their look reset.
  bool SetFixedRows(int count);
  bool SetFixedColumns(int count);
  // Deletes every cell; all counts become 0; focus and selection are cleared.
  void RemoveAllRows();

  bool IsValid(int row, int col) const { return row >= 0 && row < rows_ && col >= 0 && col < cols_; }
  bool IsValid(CellId c) const { return IsValid(c.row, c.col); }
  bool IsFixedCell(int row, int col) const { return row < fixed_rows_ || col < fixed_cols_; }

  // Null when the cell does not exist.
  CGridCell* GetCell(int row, int col);
  const CGridCell* GetCell(int row, int col) const;

  bool SetCellText(int row, int col, std::string_view text);
  // Empty when the cell does not exist.
  const std::string& GetCellText(int row, int col) const;
  bool SetCellData(int row, int col, std::int32_t data);
  // 0 when the cell does not exist.
  std::int32_t GetCellData(int row, int col) const;

  // The prototype cells: ordinary, fixed row, fixed column, both.
  CGridDefaultCell& GetDefaultCell(bool fixed_row, bool fixed_col);
  const CGridDefaultCell& GetDefaultCell(bool fixed_row, bool fixed_col) const;
  // The default cell that stands behind the cell at (row, col).
  const CGridDefaultCell& DefaultCellAt(int row, int col) const {
    return GetDefaultCell(row < fixed_rows_, col < fixed_cols_);
  }

  // 0 for a column or row that does not exist.
  int GetColumnWidth(int col) const;
  int GetRowHeight(int row) const;
  // False when the column (row) does not exist or the size is negative.
  bool SetColumnWidth(int col, int width);
  bool SetRowHeight(int row, int height);
  const std::vector<int>& column_widths() const { return col_widths_; }

  // Left edge of column `col` (0..count), top edge of row `row` (0..count).
  Offset ColumnLeft(int col) const;
  Offset RowTop(int row) const;
  Offset TotalWidth() const { return ColumnLeft(cols_); }
  Offset TotalHeight() const { return RowTop(rows_); }
  Offset FixedWidth() const { return ColumnLeft(fixed_cols_); }
  Offset FixedHeight() const { return RowTop(fixed_rows_); }
  // The column (row) whose extent holds offset x (y); zero-size ones never
  // do. -1 outside all of them.
  int ColumnAtOffset(Offset x) const;
  int RowAtOffset(Offset y) const;

  // The focus cell, or an invalid id. Setting an invalid id clears it.
  CellId GetFocusCell() const { return focus_; }
  void SetFocusCell(CellId cell);

  bool IsCellSelected(int row, int col) const;
  int GetSelectedCount() const { return selected_count_; }
  // The bounding range of the selected cells (invalid when none is).
  CellRange GetSelectedCellRange() const;
  void ClearSelection();
  // Selects every existing cell in `range` (in addition to what is selected).
  void SelectRange(const CellRange& range);
  void SetCellSelected(int row, int col, bool selected);
  // The range of all non-fixed cells (invalid when there is none).
  CellRange NonFixedRange() const;
  // Whole rows from row a to row b, non-fixed columns only.
  CellRange RowSpan(int a, int b) const;

 private:
  std::size_t Index(int row, int col) const {
    return static_cast<std::size_t>(row) * static_cast<std::size_t>(cols_) + static_cast<std::size_t>(col);
  }
  std::uint32_t FixedBits(int row, int col) const;
  // Updates the fixed state of the cells in rows [r0, r1) and columns [c0, c1).
  void UpdateFixedState(int r0, int r1, int c0, int c1, bool reset_look);
  void InvalidateRowTops(int from_row) const;
  void EnsureRowTops(int upto) const;

  int rows_ = 0;
  int cols_ = 0;
  int fixed_rows_ = 0;
  int fixed_cols_ = 0;
  std::vector<CGridCell> cells_;  // row by row, cols_ per row
  std::vector<int> col_widths_;
  std::vector<int> row_heights_;
  // Prefix sums of the row heights: row_tops_[i] is valid for i <= row_tops_valid_.
  mutable std::vector<Offset> row_tops_{0};
  mutable int row_tops_valid_ = 0;

  // Ordinary, fixed row, fixed column, both.
  CGridDefaultCell defaults_[4];

  CellId focus_;
  int selected_count_ = 0;
  // Covers every selected cell (may be larger than the exact bounds).
  CellRange selected_bounds_;
};

}  // namespace grid
