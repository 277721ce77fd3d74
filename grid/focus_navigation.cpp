#include "grid/focus_navigation.h"

#include <algorithm>

namespace grid {

namespace {

// The first row (column) from `start` stepping by `step` whose size is not
// 0 and that lies within the non-fixed rows (columns); -1 if there is none.
int NextVisibleRow(const GridModel& m, int start, int step) {
  for (int r = start; r >= m.GetFixedRowCount() && r < m.GetRowCount(); r += step) {
    if (m.GetRowHeight(r) > 0) return r;
  }
  return -1;
}

int NextVisibleColumn(const GridModel& m, int start, int step) {
  for (int c = start; c >= m.GetFixedColumnCount() && c < m.GetColumnCount(); c += step) {
    if (m.GetColumnWidth(c) > 0) return c;
  }
  return -1;
}

}  // namespace

CellId MoveFocus(const GridModel& m, CellId focus, NavKey key) {
  const int first_row = NextVisibleRow(m, m.GetFixedRowCount(), 1);
  const int last_row = NextVisibleRow(m, m.GetRowCount() - 1, -1);
  const int first_col = NextVisibleColumn(m, m.GetFixedColumnCount(), 1);
  const int last_col = NextVisibleColumn(m, m.GetColumnCount() - 1, -1);
  if (first_row < 0 || first_col < 0) return focus;  // nothing to focus
  if (!m.IsValid(focus) || m.IsFixedCell(focus.row, focus.col)) return {first_row, first_col};

  CellId next = focus;
  auto move_row = [&](int step) {
    if (int r = NextVisibleRow(m, focus.row + step, step); r >= 0) next.row = r;
  };
  auto move_col = [&](int step) {
    if (int c = NextVisibleColumn(m, focus.col + step, step); c >= 0) next.col = c;
  };
  switch (key) {
    case NavKey::kUp:
      move_row(-1);
      break;
    case NavKey::kDown:
      move_row(1);
      break;
    case NavKey::kLeft:
      move_col(-1);
      break;
    case NavKey::kRight:
      move_col(1);
      break;
    case NavKey::kNext:
      if (int c = NextVisibleColumn(m, focus.col + 1, 1); c >= 0) {
        next.col = c;
      } else if (int r = NextVisibleRow(m, focus.row + 1, 1); r >= 0) {
        next = {r, first_col};
      }
      break;
    case NavKey::kPrevious:
      if (int c = NextVisibleColumn(m, focus.col - 1, -1); c >= 0) {
        next.col = c;
      } else if (int r = NextVisibleRow(m, focus.row - 1, -1); r >= 0) {
        next = {r, last_col};
      }
      break;
    case NavKey::kHome:
      next.col = first_col;
      break;
    case NavKey::kEnd:
      next.col = last_col;
      break;
    case NavKey::kCtrlHome:
      next = {first_row, first_col};
      break;
    case NavKey::kCtrlEnd:
      next = {last_row, last_col};
      break;
  }
  return next;
}

int PageFocusRow(const GridModel& m, int focus_row, int top_before, int top_after, bool down) {
  const int first_row = NextVisibleRow(m, m.GetFixedRowCount(), 1);
  const int last_row = NextVisibleRow(m, m.GetRowCount() - 1, -1);
  if (first_row < 0) return focus_row;
  if (top_after == top_before || top_before < 0 || top_after < 0) return down ? last_row : first_row;
  const int target = std::clamp(focus_row + (top_after - top_before), first_row, last_row);
  // A hidden row is passed over in the direction of the move, else against it.
  int r = NextVisibleRow(m, target, down ? 1 : -1);
  if (r < 0) r = NextVisibleRow(m, target, down ? -1 : 1);
  return r < 0 ? focus_row : r;
}

CellRange SelectionFromAnchor(const GridModel& m, CellId anchor, CellId focus, bool row_select) {
  if (!m.IsValid(focus)) return {};
  if (!m.IsValid(anchor)) anchor = focus;
  if (row_select) return m.RowSpan(anchor.row, focus.row);
  return CellRange::Spanning(anchor, focus);
}

}  // namespace grid
