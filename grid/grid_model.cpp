#include "grid/grid_model.h"

#include <algorithm>
#include <exception>

namespace grid {

namespace {

const std::string kNoText;

constexpr std::uint32_t kFixedBits = kCellFixed | kCellFixedRow | kCellFixedCol;

}  // namespace

bool GridModel::SetRows(int count) {
  if (count < 0) return false;
  if (count == rows_) return true;
  const int old_rows = rows_;
  if (count < old_rows) {
    for (int r = count; r < old_rows; ++r) {
      for (int c = 0; c < cols_; ++c) {
        if (cells_[Index(r, c)].IsSelected()) --selected_count_;
      }
    }
    cells_.resize(static_cast<std::size_t>(count) * static_cast<std::size_t>(cols_));
    row_heights_.resize(static_cast<std::size_t>(count));
    row_tops_.resize(static_cast<std::size_t>(count) + 1);
    row_tops_valid_ = std::min(row_tops_valid_, count);
    rows_ = count;
    fixed_rows_ = std::min(fixed_rows_, count);
    if (focus_.row >= count) focus_ = {};
    selected_bounds_.max_row = std::min(selected_bounds_.max_row, count - 1);
    if (selected_count_ == 0 || !selected_bounds_.IsValid()) selected_bounds_ = {};
    return true;
  }
  try {
    cells_.resize(static_cast<std::size_t>(count) * static_cast<std::size_t>(cols_));
    row_heights_.resize(static_cast<std::size_t>(count), GetDefaultCell(false, false).GetHeight());
    row_tops_.resize(static_cast<std::size_t>(count) + 1);
  } catch (const std::exception&) {
    // Out of memory: shrinking back cannot fail and leaves the grid as it was.
    cells_.resize(static_cast<std::size_t>(old_rows) * static_cast<std::size_t>(cols_));
    row_heights_.resize(static_cast<std::size_t>(old_rows));
    row_tops_.resize(static_cast<std::size_t>(old_rows) + 1);
    return false;
  }
  rows_ = count;
  if (fixed_cols_ > 0) UpdateFixedState(old_rows, count, 0, std::min(fixed_cols_, cols_), false);
  return true;
}

bool GridModel::SetColumns(int count) {
  if (count < 0) return false;
  if (count == cols_) return true;
  const int old_cols = cols_;
  std::vector<CGridCell> fresh;
  try {
    fresh.resize(static_cast<std::size_t>(rows_) * static_cast<std::size_t>(count));
    col_widths_.reserve(static_cast<std::size_t>(count));
  } catch (const std::exception&) {
    return false;
  }
  const int kept = std::min(old_cols, count);
  for (int r = 0; r < rows_; ++r) {
    for (int c = 0; c < old_cols; ++c) {
      CGridCell& cell = cells_[Index(r, c)];
      if (c < kept) {
        fresh[static_cast<std::size_t>(r) * static_cast<std::size_t>(count) + static_cast<std::size_t>(c)] =
            std::move(cell);
      } else if (cell.IsSelected()) {
        --selected_count_;
      }
    }
  }
  cells_ = std::move(fresh);
  col_widths_.resize(static_cast<std::size_t>(count), GetDefaultCell(false, false).GetWidth());
  cols_ = count;
  fixed_cols_ = std::min(fixed_cols_, count);
  if (focus_.col >= count) focus_ = {};
  selected_bounds_.max_col = std::min(selected_bounds_.max_col, count - 1);
  if (selected_count_ == 0 || !selected_bounds_.IsValid()) selected_bounds_ = {};
  if (count > old_cols) UpdateFixedState(0, rows_, old_cols, count, false);
  return true;
}

bool GridModel::SetFixedRows(int count) {
  if (count < 0) return false;
  if (count > rows_ && !SetRows(count)) return false;
  const int old = fixed_rows_;
  fixed_rows_ = count;
  UpdateFixedState(std::min(old, count), std::max(old, count), 0, cols_, true);
  return true;
}

bool GridModel::SetFixedColumns(int count) {
  if (count < 0) return false;
  if (count > cols_ && !SetColumns(count)) return false;
  const int old = fixed_cols_;
  fixed_cols_ = count;
  UpdateFixedState(0, rows_, std::min(old, count), std::max(old, count), true);
  return true;
}

void GridModel::RemoveAllRows() {
  rows_ = cols_ = fixed_rows_ = fixed_cols_ = 0;
  // Assigning empty vectors hands the memory of a large grid back at once.
  cells_ = {};
  col_widths_ = {};
  row_heights_ = {};
  row_tops_ = {0};
  row_tops_valid_ = 0;
  focus_ = {};
  selected_count_ = 0;
  selected_bounds_ = {};
}

std::uint32_t GridModel::FixedBits(int row, int col) const {
  std::uint32_t bits = 0;
  if (row < fixed_rows_) bits |= kCellFixed | kCellFixedRow;
  if (col < fixed_cols_) bits |= kCellFixed | kCellFixedCol;
  return bits;
}

void GridModel::UpdateFixedState(int r0, int r1, int c0, int c1, bool reset_look) {
  for (int r = r0; r < r1; ++r) {
    for (int c = c0; c < c1; ++c) {
      CGridCell& cell = cells_[Index(r, c)];
      const std::uint32_t bits = FixedBits(r, c);
      const std::uint32_t state = cell.GetState();
      if ((state & kFixedBits) == bits) continue;
      std::uint32_t next = (state & ~kFixedBits) | bits;
      if (bits != 0) {
        // Header cells take part in neither the selection nor the focus.
        if (next & kCellSelected) --selected_count_;
        next &= ~(kCellSelected | kCellFocused);
        if (focus_ == CellId{r, c}) focus_ = {};
      }
      cell.SetState(next);
      if (reset_look) cell.ResetLook();
    }
  }
  if (selected_count_ == 0) selected_bounds_ = {};
}

CGridCell* GridModel::GetCell(int row, int col) {
  return IsValid(row, col) ? &cells_[Index(row, col)] : nullptr;
}

const CGridCell* GridModel::GetCell(int row, int col) const {
  return IsValid(row, col) ? &cells_[Index(row, col)] : nullptr;
}

bool GridModel::SetCellText(int row, int col, std::string_view text) {
  CGridCell* cell = GetCell(row, col);
  if (cell == nullptr) return false;
  cell->SetText(text);
  return true;
}

const std::string& GridModel::GetCellText(int row, int col) const {
  const CGridCell* cell = GetCell(row, col);
  return cell ? cell->GetText() : kNoText;
}

bool GridModel::SetCellData(int row, int col, std::int32_t data) {
  CGridCell* cell = GetCell(row, col);
  if (cell == nullptr) return false;
  cell->SetData(data);
  return true;
}

std::int32_t GridModel::GetCellData(int row, int col) const {
  const CGridCell* cell = GetCell(row, col);
  return cell ? cell->GetData() : 0;
}

CGridDefaultCell& GridModel::GetDefaultCell(bool fixed_row, bool fixed_col) {
  return defaults_[(fixed_row ? 1 : 0) + (fixed_col ? 2 : 0)];
}

const CGridDefaultCell& GridModel::GetDefaultCell(bool fixed_row, bool fixed_col) const {
  return defaults_[(fixed_row ? 1 : 0) + (fixed_col ? 2 : 0)];
}

int GridModel::GetColumnWidth(int col) const {
  return col >= 0 && col < cols_ ? col_widths_[static_cast<std::size_t>(col)] : 0;
}

int GridModel::GetRowHeight(int row) const {
  return row >= 0 && row < rows_ ? row_heights_[static_cast<std::size_t>(row)] : 0;
}

bool GridModel::SetColumnWidth(int col, int width) {
  if (col < 0 || col >= cols_ || width < 0) return false;
  col_widths_[static_cast<std::size_t>(col)] = width;
  return true;
}

bool GridModel::SetRowHeight(int row, int height) {
  if (row < 0 || row >= rows_ || height < 0) return false;
  row_heights_[static_cast<std::size_t>(row)] = height;
  InvalidateRowTops(row);
  return true;
}

Offset GridModel::ColumnLeft(int col) const {
  col = std::clamp(col, 0, cols_);
  Offset x = 0;
  for (int c = 0; c < col; ++c) x += col_widths_[static_cast<std::size_t>(c)];
  return x;
}

void GridModel::InvalidateRowTops(int from_row) const {
  row_tops_valid_ = std::min(row_tops_valid_, from_row);
}

void GridModel::EnsureRowTops(int upto) const {
  while (row_tops_valid_ < upto) {
    const auto i = static_cast<std::size_t>(row_tops_valid_);
    row_tops_[i + 1] = row_tops_[i] + row_heights_[i];
    ++row_tops_valid_;
  }
}

Offset GridModel::RowTop(int row) const {
  row = std::clamp(row, 0, rows_);
  EnsureRowTops(row);
  return row_tops_[static_cast<std::size_t>(row)];
}

int GridModel::ColumnAtOffset(Offset x) const {
  if (x < 0) return -1;
  Offset left = 0;
  for (int c = 0; c < cols_; ++c) {
    const Offset right = left + col_widths_[static_cast<std::size_t>(c)];
    if (x < right) return c;
    left = right;
  }
  return -1;
}

int GridModel::RowAtOffset(Offset y) const {
  if (y < 0) return -1;
  EnsureRowTops(rows_);
  // The first top beyond y belongs to the row after the one holding y;
  // zero-height rows share their top with the next row and are passed over.
  auto it = std::upper_bound(row_tops_.begin(), row_tops_.begin() + rows_ + 1, y);
  const int row = static_cast<int>(it - row_tops_.begin()) - 1;
  return row < rows_ ? row : -1;
}

void GridModel::SetFocusCell(CellId cell) {
  if (CGridCell* old = GetCell(focus_.row, focus_.col)) old->SetState(old->GetState() & ~kCellFocused);
  focus_ = {};
  if (CGridCell* next = GetCell(cell.row, cell.col)) {
    next->SetState(next->GetState() | kCellFocused);
    focus_ = cell;
  }
}

bool GridModel::IsCellSelected(int row, int col) const {
  const CGridCell* cell = GetCell(row, col);
  return cell != nullptr && cell->IsSelected();
}

void GridModel::SetCellSelected(int row, int col, bool selected) {
  CGridCell* cell = GetCell(row, col);
  if (cell == nullptr || cell->IsSelected() == selected) return;
  if (selected) {
    cell->SetState(cell->GetState() | kCellSelected);
    ++selected_count_;
    selected_bounds_ = selected_bounds_.Union(CellRange{row, col, row, col});
  } else {
    cell->SetState(cell->GetState() & ~kCellSelected);
    if (--selected_count_ == 0) selected_bounds_ = {};
  }
}

void GridModel::SelectRange(const CellRange& range) {
  CellRange clipped{std::max(range.min_row, 0), std::max(range.min_col, 0),
                    std::min(range.max_row, rows_ - 1), std::min(range.max_col, cols_ - 1)};
  if (!clipped.IsValid()) return;
  for (int r = clipped.min_row; r <= clipped.max_row; ++r) {
    for (int c = clipped.min_col; c <= clipped.max_col; ++c) {
      CGridCell& cell = cells_[Index(r, c)];
      if (!cell.IsSelected()) {
        cell.SetState(cell.GetState() | kCellSelected);
        ++selected_count_;
      }
    }
  }
  selected_bounds_ = selected_bounds_.Union(clipped);
}

void GridModel::ClearSelection() {
  if (selected_count_ > 0 && selected_bounds_.IsValid()) {
    for (int r = selected_bounds_.min_row; r <= selected_bounds_.max_row && r < rows_; ++r) {
      for (int c = selected_bounds_.min_col; c <= selected_bounds_.max_col && c < cols_; ++c) {
        CGridCell& cell = cells_[Index(r, c)];
        cell.SetState(cell.GetState() & ~kCellSelected);
      }
    }
  }
  selected_count_ = 0;
  selected_bounds_ = {};
}

CellRange GridModel::GetSelectedCellRange() const {
  if (selected_count_ == 0 || !selected_bounds_.IsValid()) return {};
  const CellRange& b = selected_bounds_;
  const long long area = static_cast<long long>(b.max_row - b.min_row + 1) * (b.max_col - b.min_col + 1);
  if (area == selected_count_) return b;  // every cell of the bounds is selected
  CellRange exact;
  for (int r = b.min_row; r <= b.max_row; ++r) {
    for (int c = b.min_col; c <= b.max_col; ++c) {
      if (cells_[Index(r, c)].IsSelected()) exact = exact.Union(CellRange{r, c, r, c});
    }
  }
  return exact;
}

CellRange GridModel::NonFixedRange() const {
  CellRange range{fixed_rows_, fixed_cols_, rows_ - 1, cols_ - 1};
  return range.IsValid() ? range : CellRange{};
}

CellRange GridModel::RowSpan(int a, int b) const {
  CellRange range{std::min(a, b), fixed_cols_, std::max(a, b), cols_ - 1};
  return range.IsValid() ? range : CellRange{};
}

}  // namespace grid
