// CGridCtrl mouse handling: selection by press and drag (with auto-scroll),
// header clicks, divider sizing with an inverted line, double-click
// autosizing, the right click, title tips, and the click notifications.
#include <windows.h>

#include <algorithm>

#include "grid/focus_navigation.h"
#include "grid/grid_ctrl.h"

void CGridCtrl::OnLButtonDown(int x, int y, UINT flags, bool double_click) {
  title_tip_.Hide();
  UpdateScrollBarsIfStale();
  if (!double_click) {
    // The first click of a pair may have reached the title tip, which passed it on.
    POINT screen{x, y};
    ClientToScreen(hwnd(), &screen);
    double_click = title_tip_.CompletesDoubleClick(hwnd(), WM_LBUTTONDOWN, screen, GetMessageTime());
  }
  if (GetFocus() != hwnd()) SetFocus(hwnd());
  if (hwnd() == nullptr) return;  // the focus change may have ended the window

  const grid::GridView v = view();
  const grid::CellId cell = grid::CellFromPoint(model_, v, x, y);

  if (allow_resize_) {
    const int col = grid::ColumnDividerAt(model_, v, x, y, resize_capture_);
    const int row = col < 0 ? grid::RowDividerAt(model_, v, x, y, resize_capture_) : -1;
    if (col >= 0 || row >= 0) {
      if (double_click) {
        // Sizes to fit; a double-click on a divider is no double-click on a cell.
        click_pending_ = false;
        if (col >= 0) AutoSizeColumn(col);
        if (row >= 0) AutoSizeRow(row);
        ResetScrollBars();
        return;
      }
      mouse_mode_ = col >= 0 ? MouseMode::kSizingColumn : MouseMode::kSizingRow;
      sizing_index_ = col >= 0 ? col : row;
      sizing_start_ = col >= 0 ? x : y;
      sizing_original_ = col >= 0 ? model_.GetColumnWidth(col) : model_.GetRowHeight(row);
      press_cell_ = cell;
      click_pending_ = true;
      SetCapture(hwnd());
      OnMouseMove(x, y, flags);  // draws the line
      return;
    }
  }

  if (double_click) {
    click_pending_ = false;
    if (cell.IsValid()) SendNotify(NM_DBLCLK, cell);
    return;
  }

  press_cell_ = cell;
  click_pending_ = true;
  if (!cell.IsValid()) return;  // outside the cells the selection stays as it is

  const int fixed_rows = model_.GetFixedRowCount();
  const int fixed_cols = model_.GetFixedColumnCount();
  const bool in_fixed_row = cell.row < fixed_rows;
  const bool in_fixed_col = cell.col < fixed_cols;
  grid::CellId focus = cell;
  if (in_fixed_row && in_fixed_col) {
    mouse_mode_ = MouseMode::kSelectAll;
    ChangeSelection(cell, model_.GetFocusCell(), model_.NonFixedRange(), false);
  } else if (in_fixed_row) {
    if (!header_click_selects_) return;
    // The cells of that column; the focus moves into that column and keeps
    // its row (the first row when there was none), so the view stays put.
    const grid::CellId old_focus = model_.GetFocusCell();
    const bool keep_row = model_.IsValid(old_focus) && old_focus.row >= fixed_rows;
    mouse_mode_ = MouseMode::kSelectColumns;
    anchor_ = {fixed_rows, cell.col};
    focus = {keep_row ? old_focus.row : fixed_rows, cell.col};
    ChangeSelection(cell, focus, {fixed_rows, cell.col, model_.GetRowCount() - 1, cell.col}, false);
  } else if (in_fixed_col) {
    if (!fixed_column_selects_row_) return;
    mouse_mode_ = MouseMode::kSelectRows;
    anchor_ = {cell.row, fixed_cols};
    focus = {cell.row, fixed_cols};
    ChangeSelection(cell, focus, model_.RowSpan(cell.row, cell.row), false);
  } else {
    const bool single = row_select_ && bSingleRowSelect;
    const bool shift = (flags & MK_SHIFT) != 0 && !single;
    const bool ctrl = (flags & MK_CONTROL) != 0 && !single;
    if (!shift || !model_.IsValid(anchor_)) anchor_ = cell;
    if (ctrl && !shift) {
      // Ctrl adds the row (cell) to the selection or takes it away.
      const grid::CellRange range = row_select_ ? model_.RowSpan(cell.row, cell.row)
                                                : grid::CellRange{cell.row, cell.col, cell.row, cell.col};
      const bool select = !model_.IsCellSelected(cell.row, cell.col);
      SendNotify(kGridSelChanging, cell);
      for (int r = range.min_row; r <= range.max_row; ++r) {
        for (int c = range.min_col; c <= range.max_col; ++c) model_.SetCellSelected(r, c, select);
      }
      model_.SetFocusCell(cell);
      Refresh();
      SendNotify(kGridSelChanged, cell);
      mouse_mode_ = MouseMode::kNothing;
    } else {
      mouse_mode_ = row_select_ ? MouseMode::kSelectRows : MouseMode::kSelectCells;
      ChangeSelection(cell, cell, grid::SelectionFromAnchor(model_, anchor_, cell, row_select_), ctrl);
    }
  }
  if (hwnd() == nullptr) return;
  if (in_fixed_row || in_fixed_col) {
    // A header click scrolls only along the header.
    const grid::GridView v = view();
    SetScroll(in_fixed_row ? grid::ScrollXToShowColumn(model_, v, cell.col) : scroll_x_,
              in_fixed_col ? grid::ScrollYToShowRow(model_, v, cell.row) : scroll_y_);
  } else {
    EnsureVisible(focus.row, focus.col);
  }
  if (mouse_mode_ != MouseMode::kNothing) {
    SetCapture(hwnd());
    if (mouse_mode_ != MouseMode::kSelectAll && !auto_scroll_timer_) {
      auto_scroll_timer_ = SetTimer(hwnd(), kAutoScrollTimerId, auto_scroll_period_, nullptr) != 0;
    }
  }
}

void CGridCtrl::OnMouseMove(int x, int y, UINT flags) {
  switch (mouse_mode_) {
    case MouseMode::kSizingColumn:
    case MouseMode::kSizingRow: {
      const bool column = mouse_mode_ == MouseMode::kSizingColumn;
      const int size = std::max(0, sizing_original_ + (column ? x : y) - sizing_start_);
      const grid::GridView v = view();
      const grid::Offset start = column ? grid::ColumnScreenLeft(model_, v, sizing_index_)
                                        : grid::RowScreenTop(model_, v, sizing_index_);
      // The line sits where the divider's grid line will be.
      const int line = static_cast<int>(std::clamp<grid::Offset>(start + size - 1, 0, 1 << 27));
      if (line != sizing_line_) {
        InvertSizingLine();  // away from the old place
        sizing_line_ = line;
        InvertSizingLine();
      }
      return;
    }
    case MouseMode::kSelectCells:
    case MouseMode::kSelectRows:
    case MouseMode::kSelectColumns:
      if (flags & MK_LBUTTON) ExtendSelectionTo(x, y);
      return;
    case MouseMode::kSelectAll:
      return;
    case MouseMode::kNothing:
      if ((flags & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) == 0) ShowTitleTipAt(x, y);
      return;
  }
}

void CGridCtrl::ExtendSelectionTo(int x, int y) {
  const int rows = model_.GetRowCount();
  const int cols = model_.GetColumnCount();
  const int fixed_rows = model_.GetFixedRowCount();
  const int fixed_cols = model_.GetFixedColumnCount();
  if (rows <= fixed_rows || cols <= fixed_cols) return;
  const grid::GridView v = view();
  // A mouse beyond the scrolling area picks the outermost row (column) in view.
  const grid::Offset fixed_w = model_.FixedWidth();
  const grid::Offset fixed_h = model_.FixedHeight();
  const grid::Offset cy =
      std::clamp<grid::Offset>(y, fixed_h, std::max<grid::Offset>(fixed_h, v.client_height - 1));
  const grid::Offset cx =
      std::clamp<grid::Offset>(x, fixed_w, std::max<grid::Offset>(fixed_w, v.client_width - 1));
  int row = model_.RowAtOffset(cy + v.scroll_y);
  if (row < 0) row = grid::MoveFocus(model_, {rows - 1, cols - 1}, grid::NavKey::kCtrlEnd).row;
  int col = model_.ColumnAtOffset(cx + v.scroll_x);
  if (col < 0) col = grid::MoveFocus(model_, {rows - 1, cols - 1}, grid::NavKey::kCtrlEnd).col;
  if (row < fixed_rows || col < fixed_cols) return;

  grid::CellId target{row, col};
  grid::CellRange range;
  switch (mouse_mode_) {
    case MouseMode::kSelectRows:
      if (row_select_ && bSingleRowSelect) anchor_ = target;
      range = model_.RowSpan(model_.IsValid(anchor_) ? anchor_.row : row, row);
      break;
    case MouseMode::kSelectCells:
      range = grid::SelectionFromAnchor(model_, anchor_, target, false);
      break;
    case MouseMode::kSelectColumns:
      target = {fixed_rows, col};
      range = {fixed_rows, std::min(anchor_.col, col), rows - 1, std::max(anchor_.col, col)};
      break;
    default:
      return;
  }
  if (target == model_.GetFocusCell()) return;
  ChangeSelection(target, target, range, false);
}

void CGridCtrl::OnAutoScrollTimer() {
  if (mouse_mode_ != MouseMode::kSelectCells && mouse_mode_ != MouseMode::kSelectRows &&
      mouse_mode_ != MouseMode::kSelectColumns) {
    EndMouseMode(false);
    return;
  }
  POINT p;
  GetCursorPos(&p);
  ScreenToClient(hwnd(), &p);
  const grid::GridView v = view();
  grid::Offset sx = scroll_x_;
  grid::Offset sy = scroll_y_;
  // Toward the mouse, one row or column per tick, while it is beyond the scrolling area.
  if (mouse_mode_ != MouseMode::kSelectColumns) {
    if (p.y >= v.client_height) sy = grid::LineDownScroll(model_, v);
    if (p.y < model_.FixedHeight()) sy = grid::LineUpScroll(model_, v);
  }
  if (p.x >= v.client_width) sx = grid::LineRightScroll(model_, v);
  if (p.x < model_.FixedWidth()) sx = grid::LineLeftScroll(model_, v);
  if (sx == scroll_x_ && sy == scroll_y_) return;
  SetScroll(sx, sy);
  ExtendSelectionTo(p.x, p.y);
}

void CGridCtrl::EndMouseMode(bool apply_sizing) {
  const MouseMode mode = mouse_mode_;
  if (auto_scroll_timer_) {
    KillTimer(hwnd(), kAutoScrollTimerId);
    auto_scroll_timer_ = false;
  }
  if (mode == MouseMode::kSizingColumn || mode == MouseMode::kSizingRow) {
    InvertSizingLine();  // wipes it while mouse_mode_ still says which line
    sizing_line_ = -1;
  }
  mouse_mode_ = MouseMode::kNothing;
  if (!apply_sizing) return;
  if (mode == MouseMode::kSizingColumn) {
    model_.SetColumnWidth(sizing_index_, std::max<int>(0, sizing_original_ + last_mouse_.x - sizing_start_));
  } else if (mode == MouseMode::kSizingRow) {
    model_.SetRowHeight(sizing_index_, std::max<int>(0, sizing_original_ + last_mouse_.y - sizing_start_));
  } else {
    return;
  }
  ResetScrollBars();
  Refresh();
}

void CGridCtrl::OnLButtonUp(int x, int y) {
  last_mouse_ = {x, y};
  const bool notify = click_pending_;
  click_pending_ = false;
  EndMouseMode(true);
  if (GetCapture() == hwnd()) ReleaseCapture();
  if (!notify) return;
  const grid::CellId pressed = press_cell_;
  SendNotify(NM_CLICK, pressed);
  if (pressed.IsValid() && hwnd() != nullptr) {
    if (HWND parent = GetParent(hwnd())) {
      PostMessageW(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd()), 0), reinterpret_cast<LPARAM>(hwnd()));
    }
  }
}

void CGridCtrl::OnRButtonUp(int x, int y) {
  title_tip_.Hide();
  UpdateScrollBarsIfStale();
  const grid::CellId cell = grid::CellFromPoint(model_, view(), x, y);
  if (cell.IsValid()) {
    // The focus moves (never onto a header); the selection stays.
    const grid::CellId focus{std::max(cell.row, model_.GetFixedRowCount()),
                             std::max(cell.col, model_.GetFixedColumnCount())};
    if (model_.IsValid(focus)) {
      model_.SetFocusCell(focus);
      Refresh();
    }
  }
  SendNotify(NM_RCLICK, cell);
}

bool CGridCtrl::OnSetCursor() {
  POINT p;
  GetCursorPos(&p);
  ScreenToClient(hwnd(), &p);
  const grid::GridView v = view();
  bool column = mouse_mode_ == MouseMode::kSizingColumn;
  bool row = mouse_mode_ == MouseMode::kSizingRow;
  if (mouse_mode_ == MouseMode::kNothing && allow_resize_) {
    column = grid::ColumnDividerAt(model_, v, p.x, p.y, resize_capture_) >= 0;
    row = !column && grid::RowDividerAt(model_, v, p.x, p.y, resize_capture_) >= 0;
  }
  if (!column && !row) return false;
  SetCursor(LoadCursorW(nullptr, column ? IDC_SIZEWE : IDC_SIZENS));
  return true;
}

void CGridCtrl::ShowTitleTipAt(int x, int y) {
  if (!title_tips_) return;
  const grid::GridView v = view();
  const grid::CellId cell = grid::CellFromPoint(model_, v, x, y);
  const CGridCell* data = model_.GetCell(cell.row, cell.col);
  if (data == nullptr || data->GetText().empty()) return;
  if (allow_resize_ && (grid::ColumnDividerAt(model_, v, x, y, resize_capture_) >= 0 ||
                        grid::RowDividerAt(model_, v, x, y, resize_capture_) >= 0)) {
    return;  // the sizing cursor has the say there
  }
  const RECT rect = ContentRect(v, cell.row, cell.col);
  title_tip_.Show(hwnd(), rect, data->GetText(), CellFont(*data, model_.DefaultCellAt(cell.row, cell.col)));
}
