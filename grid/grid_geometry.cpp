#include "grid/grid_geometry.h"

#include <algorithm>

namespace grid {

Offset ColumnScreenLeft(const GridModel& m, const GridView& v, int col) {
  const Offset left = m.ColumnLeft(col);
  return col < m.GetFixedColumnCount() ? left : left - v.scroll_x;
}

Offset RowScreenTop(const GridModel& m, const GridView& v, int row) {
  const Offset top = m.RowTop(row);
  return row < m.GetFixedRowCount() ? top : top - v.scroll_y;
}

PixelRect CellRect(const GridModel& m, const GridView& v, CellId cell) {
  if (!m.IsValid(cell)) return {};
  const Offset left = ColumnScreenLeft(m, v, cell.col);
  const Offset top = RowScreenTop(m, v, cell.row);
  return {left, top, left + m.GetColumnWidth(cell.col), top + m.GetRowHeight(cell.row)};
}

CellId CellFromPoint(const GridModel& m, const GridView& v, Offset x, Offset y) {
  if (x < 0 || y < 0) return {};
  const Offset fixed_w = m.FixedWidth();
  const Offset fixed_h = m.FixedHeight();
  const int col = m.ColumnAtOffset(x < fixed_w ? x : x + v.scroll_x);
  const int row = m.RowAtOffset(y < fixed_h ? y : y + v.scroll_y);
  if (row < 0 || col < 0) return {};
  return {row, col};
}

int TopNonFixedRow(const GridModel& m, const GridView& v) {
  if (m.GetRowCount() <= m.GetFixedRowCount()) return -1;
  return m.RowAtOffset(m.FixedHeight() + v.scroll_y);
}

CellRange VisibleNonFixedRange(const GridModel& m, const GridView& v) {
  const Offset fixed_w = m.FixedWidth();
  const Offset fixed_h = m.FixedHeight();
  if (v.client_width <= fixed_w || v.client_height <= fixed_h) return {};
  const int top = TopNonFixedRow(m, v);
  const int left = m.GetColumnCount() > m.GetFixedColumnCount() ? m.ColumnAtOffset(fixed_w + v.scroll_x) : -1;
  if (top < 0 || left < 0) return {};
  int bottom = m.RowAtOffset(v.client_height - 1 + v.scroll_y);
  if (bottom < 0) bottom = m.GetRowCount() - 1;
  int right = m.ColumnAtOffset(v.client_width - 1 + v.scroll_x);
  if (right < 0) right = m.GetColumnCount() - 1;
  return {top, left, bottom, right};
}

int ColumnDividerAt(const GridModel& m, const GridView& v, Offset x, Offset y, int capture) {
  if (y < 0 || y >= m.FixedHeight()) return -1;
  const Offset fixed_w = m.FixedWidth();
  int best = -1;
  Offset best_distance = 0;
  for (int c = 0; c < m.GetColumnCount(); ++c) {
    const Offset edge = ColumnScreenLeft(m, v, c) + m.GetColumnWidth(c);
    if (c >= m.GetFixedColumnCount() && edge < fixed_w) continue;  // scrolled under the header column
    const Offset distance = x < edge ? edge - x : x - edge;
    if (distance > capture) continue;
    // Nearest edge wins; on a shared edge the lower column left of the line,
    // the higher (hidden) one right of it.
    if (best < 0 || distance < best_distance || (distance == best_distance && x >= edge)) {
      best = c;
      best_distance = distance;
    }
  }
  return best;
}

int RowDividerAt(const GridModel& m, const GridView& v, Offset x, Offset y, int capture) {
  if (x < 0 || x >= m.FixedWidth()) return -1;
  const Offset fixed_h = m.FixedHeight();
  int best = -1;
  Offset best_distance = 0;
  for (int r = 0; r < m.GetRowCount(); ++r) {
    const Offset edge = RowScreenTop(m, v, r) + m.GetRowHeight(r);
    if (r >= m.GetFixedRowCount() && edge < fixed_h) continue;
    if (edge - capture > y) break;  // edges only grow from here on
    const Offset distance = y < edge ? edge - y : y - edge;
    if (distance > capture) continue;
    if (best < 0 || distance < best_distance || (distance == best_distance && y >= edge)) {
      best = r;
      best_distance = distance;
    }
  }
  return best;
}

Offset MaxScrollX(const GridModel& m, const GridView& v) {
  return std::max<Offset>(0, m.TotalWidth() - v.client_width);
}

Offset MaxScrollY(const GridModel& m, const GridView& v) {
  return std::max<Offset>(0, m.TotalHeight() - v.client_height);
}

Offset ClampScrollX(const GridModel& m, const GridView& v, Offset x) {
  return std::clamp<Offset>(x, 0, MaxScrollX(m, v));
}

Offset ClampScrollY(const GridModel& m, const GridView& v, Offset y) {
  return std::clamp<Offset>(y, 0, MaxScrollY(m, v));
}

Offset LineDownScroll(const GridModel& m, const GridView& v) {
  const Offset fixed_h = m.FixedHeight();
  const int row = m.RowAtOffset(fixed_h + v.scroll_y);
  if (row < 0) return ClampScrollY(m, v, v.scroll_y);
  return ClampScrollY(m, v, m.RowTop(row + 1) - fixed_h);
}

Offset LineUpScroll(const GridModel& m, const GridView& v) {
  if (v.scroll_y <= 0) return 0;
  const Offset fixed_h = m.FixedHeight();
  // The row holding the pixel just above the view's top: the top row itself
  // when it is only partly shown, else the one before it.
  const int row = m.RowAtOffset(fixed_h + v.scroll_y - 1);
  if (row < 0) return ClampScrollY(m, v, v.scroll_y);
  return ClampScrollY(m, v, m.RowTop(row) - fixed_h);
}

Offset LineRightScroll(const GridModel& m, const GridView& v) {
  const Offset fixed_w = m.FixedWidth();
  const int col = m.ColumnAtOffset(fixed_w + v.scroll_x);
  if (col < 0) return ClampScrollX(m, v, v.scroll_x);
  return ClampScrollX(m, v, m.ColumnLeft(col + 1) - fixed_w);
}

Offset LineLeftScroll(const GridModel& m, const GridView& v) {
  if (v.scroll_x <= 0) return 0;
  const Offset fixed_w = m.FixedWidth();
  const int col = m.ColumnAtOffset(fixed_w + v.scroll_x - 1);
  if (col < 0) return ClampScrollX(m, v, v.scroll_x);
  return ClampScrollX(m, v, m.ColumnLeft(col) - fixed_w);
}

namespace {
Offset PageHeight(const GridModel& m, const GridView& v) {
  return std::max<Offset>(1, v.client_height - m.FixedHeight());
}
Offset PageWidth(const GridModel& m, const GridView& v) {
  return std::max<Offset>(1, v.client_width - m.FixedWidth());
}
}  // namespace

Offset PageDownScroll(const GridModel& m, const GridView& v) {
  return ClampScrollY(m, v, v.scroll_y + PageHeight(m, v));
}
Offset PageUpScroll(const GridModel& m, const GridView& v) {
  return ClampScrollY(m, v, v.scroll_y - PageHeight(m, v));
}
Offset PageRightScroll(const GridModel& m, const GridView& v) {
  return ClampScrollX(m, v, v.scroll_x + PageWidth(m, v));
}
Offset PageLeftScroll(const GridModel& m, const GridView& v) {
  return ClampScrollX(m, v, v.scroll_x - PageWidth(m, v));
}

Offset ScrollYToShowRow(const GridModel& m, const GridView& v, int row) {
  if (row < m.GetFixedRowCount() || row >= m.GetRowCount()) return v.scroll_y;
  const Offset top = m.RowTop(row) - m.FixedHeight();
  const Offset bottom = top + m.GetRowHeight(row);
  const Offset page = PageHeight(m, v);
  Offset y = v.scroll_y;
  if (top < y) {
    y = top;
  } else if (bottom > y + page) {
    y = std::min(top, bottom - page);
  }
  return ClampScrollY(m, v, y);
}

Offset ScrollXToShowColumn(const GridModel& m, const GridView& v, int col) {
  if (col < m.GetFixedColumnCount() || col >= m.GetColumnCount()) return v.scroll_x;
  const Offset left = m.ColumnLeft(col) - m.FixedWidth();
  const Offset right = left + m.GetColumnWidth(col);
  const Offset page = PageWidth(m, v);
  Offset x = v.scroll_x;
  if (left < x) {
    x = left;
  } else if (right > x + page) {
    x = std::min(left, right - page);
  }
  return ClampScrollX(m, v, x);
}

ScrollBarNeeds DecideScrollBars(const GridModel& m, int full_width, int full_height, int vbar_width,
                                int hbar_height) {
  const Offset w = m.TotalWidth();
  const Offset h = m.TotalHeight();
  ScrollBarNeeds needs;
  needs.vertical = h > full_height;
  needs.horizontal = w > full_width - (needs.vertical ? vbar_width : 0);
  // A horizontal bar takes height, which may call for the vertical one too.
  if (needs.horizontal && !needs.vertical) {
    needs.vertical = h > full_height - hbar_height;
    needs.horizontal = w > full_width - (needs.vertical ? vbar_width : 0);
  }
  return needs;
}

}  // namespace grid
