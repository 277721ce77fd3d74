// CGridCtrl drawing: the background area by area, the fixed cells first so
// that they stay in place, then the scrolling cells, then the grid lines and
// the focus rectangle; all off screen, then copied in one block.
#include <algorithm>
#include <string>

#include "framework/gdi.h"
#include "framework/text_boundary.h"
#include "grid/grid_ctrl.h"

namespace {

// GDI coordinates stay well inside what every device accepts.
int Px(grid::Offset v) { return static_cast<int>(std::clamp<grid::Offset>(v, -(1 << 27), 1 << 27)); }

void FillSolid(HDC dc, int left, int top, int right, int bottom, COLORREF colour) {
  if (right <= left || bottom <= top) return;
  RECT rect{left, top, right, bottom};
  SetBkColor(dc, colour);
  ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
}

COLORREF Resolve(GridColour own, GridColour fallback, int system_colour) {
  if (own != kDefaultColour) return own;
  if (fallback != kDefaultColour) return fallback;
  return GetSysColor(system_colour);
}

// One-pixel 3-D edge inside `r`: raised has the light line top and left and
// the dark one right and bottom; sunken the other way round.
void Draw3DEdge(HDC dc, const RECT& r, bool sunken) {
  const COLORREF light = GetSysColor(COLOR_3DHILIGHT);
  const COLORREF dark = GetSysColor(COLOR_3DDKSHADOW);
  const COLORREF top_left = sunken ? dark : light;
  const COLORREF bottom_right = sunken ? light : dark;
  FillSolid(dc, r.left, r.top, r.right, r.top + 1, top_left);
  FillSolid(dc, r.left, r.top, r.left + 1, r.bottom, top_left);
  FillSolid(dc, r.right - 1, r.top, r.right, r.bottom, bottom_right);
  FillSolid(dc, r.left, r.bottom - 1, r.right, r.bottom, bottom_right);
}

// Rows (columns) from `first` to `last` inclusive that are shown; first < 0
// when there are none.
struct Span {
  int first = -1;
  int last = -2;
};

}  // namespace

RECT CGridCtrl::ContentRect(const grid::GridView& v, int row, int col) const {
  const grid::PixelRect r = grid::CellRect(model_, v, {row, col});
  RECT rect{Px(r.left), Px(r.top), Px(r.right), Px(r.bottom)};
  // The last pixel column and row belong to the grid lines.
  if (grid_lines_ & kGridLinesVertical) rect.right = std::max(rect.left, rect.right - 1);
  if (grid_lines_ & kGridLinesHorizontal) rect.bottom = std::max(rect.top, rect.bottom - 1);
  return rect;
}

void CGridCtrl::OnPaint() {
  UpdateScrollBarsIfStale();
  PaintDC paint(hwnd());
  // From here on a change asks for a new paint again.
  repaint_requested_ = false;
  RECT client;
  GetClientRect(hwnd(), &client);
  if (client.right <= 0 || client.bottom <= 0) return;
  OffscreenSurface surface(paint.get(), client.right, client.bottom);
  if (surface.valid()) {
    Draw(surface.dc(), client);
    surface.CopyTo();
  } else {
    Draw(paint.get(), client);
  }
  // A divider drag in progress keeps its line across repaints.
  if (sizing_line_ >= 0) {
    if (mouse_mode_ == MouseMode::kSizingColumn)
      PatBlt(paint.get(), sizing_line_, 0, 1, client.bottom, DSTINVERT);
    if (mouse_mode_ == MouseMode::kSizingRow)
      PatBlt(paint.get(), 0, sizing_line_, client.right, 1, DSTINVERT);
  }
}

void CGridCtrl::Draw(HDC dc, const RECT& client) {
  const grid::GridView v = view();
  const int rows = model_.GetRowCount();
  const int cols = model_.GetColumnCount();
  const int fixed_rows = model_.GetFixedRowCount();
  const int fixed_cols = model_.GetFixedColumnCount();
  const int fixed_w = Px(model_.FixedWidth());
  const int fixed_h = Px(model_.FixedHeight());
  const int cells_right = std::min<int>(client.right, Px(grid::ColumnScreenLeft(model_, v, cols)));
  const int cells_bottom = std::min<int>(client.bottom, Px(grid::RowScreenTop(model_, v, rows)));
  const int fixed_right = std::min(fixed_w, cells_right);
  const int fixed_bottom = std::min(fixed_h, cells_bottom);

  // Background, area by area.
  auto back_of = [&](bool fixed_row, bool fixed_col) {
    return Resolve(model_.GetDefaultCell(fixed_row, fixed_col).GetBackClr(), kDefaultColour,
                   fixed_row || fixed_col ? COLOR_BTNFACE : COLOR_WINDOW);
  };
  FillSolid(dc, 0, 0, fixed_right, fixed_bottom, back_of(true, true));
  FillSolid(dc, fixed_w, 0, cells_right, fixed_bottom, back_of(true, false));
  FillSolid(dc, 0, fixed_h, fixed_right, cells_bottom, back_of(false, true));
  FillSolid(dc, fixed_w, fixed_h, cells_right, cells_bottom, back_of(false, false));
  const COLORREF grid_back = Resolve(grid_bk_colour_, kDefaultColour, COLOR_BTNSHADOW);
  FillSolid(dc, std::max(cells_right, 0), 0, client.right, client.bottom, grid_back);
  FillSolid(dc, 0, std::max(cells_bottom, 0), std::max(cells_right, 0), client.bottom, grid_back);

  // The scrolling rows and columns in view.
  Span row_span, col_span;
  if (rows > fixed_rows && client.bottom > fixed_h) {
    row_span.first = model_.RowAtOffset(fixed_h + scroll_y_);
    row_span.last = model_.RowAtOffset(client.bottom - 1 + scroll_y_);
    if (row_span.last < 0) row_span.last = rows - 1;
  }
  if (cols > fixed_cols && client.right > fixed_w) {
    col_span.first = model_.ColumnAtOffset(fixed_w + scroll_x_);
    col_span.last = model_.ColumnAtOffset(client.right - 1 + scroll_x_);
    if (col_span.last < 0) col_span.last = cols - 1;
  }
  const bool any_rows = row_span.first >= 0;
  const bool any_cols = col_span.first >= 0;

  SetBkMode(dc, TRANSPARENT);
  HFONT current_font = nullptr;
  const int saved = SaveDC(dc);
  auto clip_to = [&](int left, int top, int right, int bottom) {
    RestoreDC(dc, saved);
    SaveDC(dc);
    current_font = nullptr;  // RestoreDC put the original font back
    SetBkMode(dc, TRANSPARENT);
    IntersectClipRect(dc, left, top, right, bottom);
  };

  // Fixed rows: the corner, then the header cells over the scrolling columns.
  clip_to(0, 0, fixed_w, fixed_h);
  for (int r = 0; r < fixed_rows; ++r) {
    for (int c = 0; c < fixed_cols; ++c) DrawCell(dc, v, r, c, &current_font);
  }
  if (any_cols) {
    clip_to(fixed_w, 0, client.right, fixed_h);
    for (int r = 0; r < fixed_rows; ++r) {
      for (int c = col_span.first; c <= col_span.last; ++c) DrawCell(dc, v, r, c, &current_font);
    }
  }
  // Fixed columns beside the scrolling rows.
  if (any_rows) {
    clip_to(0, fixed_h, fixed_w, client.bottom);
    for (int r = row_span.first; r <= row_span.last; ++r) {
      for (int c = 0; c < fixed_cols; ++c) DrawCell(dc, v, r, c, &current_font);
    }
  }
  // The scrolling cells.
  if (any_rows && any_cols) {
    clip_to(fixed_w, fixed_h, client.right, client.bottom);
    for (int r = row_span.first; r <= row_span.last; ++r) {
      for (int c = col_span.first; c <= col_span.last; ++c) DrawCell(dc, v, r, c, &current_font);
    }
  }
  RestoreDC(dc, saved);

  // Grid lines, one pixel, at the right of every column and the bottom of every row with a size.
  const COLORREF line = kGridLineColour;
  if (grid_lines_ & kGridLinesVertical) {
    auto vertical = [&](int c) {
      const int w = model_.GetColumnWidth(c);
      if (w == 0) return;
      const int x = Px(grid::ColumnScreenLeft(model_, v, c) + w - 1);
      if (c >= fixed_cols && x < fixed_w) return;
      FillSolid(dc, x, 0, x + 1, cells_bottom, line);
    };
    for (int c = 0; c < fixed_cols; ++c) vertical(c);
    if (any_cols) {
      for (int c = col_span.first; c <= col_span.last; ++c) vertical(c);
    }
  }
  if (grid_lines_ & kGridLinesHorizontal) {
    auto horizontal = [&](int r) {
      const int h = model_.GetRowHeight(r);
      if (h == 0) return;
      const int y = Px(grid::RowScreenTop(model_, v, r) + h - 1);
      if (r >= fixed_rows && y < fixed_h) return;
      FillSolid(dc, 0, y, cells_right, y + 1, line);
    };
    for (int r = 0; r < fixed_rows; ++r) horizontal(r);
    if (any_rows) {
      for (int r = row_span.first; r <= row_span.last; ++r) horizontal(r);
    }
  }

  DrawFocus(dc, v, client);
}

void CGridCtrl::DrawCell(HDC dc, const grid::GridView& v, int row, int col, HFONT* current_font) {
  const CGridCell* cell = model_.GetCell(row, col);
  if (cell == nullptr || model_.GetRowHeight(row) == 0 || model_.GetColumnWidth(col) == 0) return;
  const CGridDefaultCell& def = model_.DefaultCellAt(row, col);
  const RECT rect = ContentRect(v, row, col);
  if (rect.right <= rect.left || rect.bottom <= rect.top) return;
  const bool fixed = model_.IsFixedCell(row, col);

  COLORREF back = Resolve(cell->GetBackClr(), def.GetBackClr(), fixed ? COLOR_BTNFACE : COLOR_WINDOW);
  COLORREF text = Resolve(cell->GetTextClr(), def.GetTextClr(), COLOR_WINDOWTEXT);
  if (cell->IsSelected()) {
    // A dark grey of our own instead of the system's selection colour.
    back = kSelectedBackColour;
    text = GetSysColor(COLOR_HIGHLIGHTTEXT);
  }
  FillSolid(dc, rect.left, rect.top, rect.right, rect.bottom, back);

  bool sunken = false;
  if (fixed) {
    // The headers of the focus cell's column (and row) are pressed in.
    const grid::CellId focus = model_.GetFocusCell();
    sunken = focus.IsValid() && ((row < model_.GetFixedRowCount() && col == focus.col) ||
                                 (col < model_.GetFixedColumnCount() && row == focus.row));
    Draw3DEdge(dc, rect, sunken);
  }

  const std::string& content = cell->GetText();
  if (content.empty()) return;
  const int margin = cell->GetMargin() != kMarginFromDefault ? cell->GetMargin() : def.GetMargin();
  RECT text_rect{rect.left + margin, rect.top, rect.right - margin, rect.bottom};
  if (sunken) OffsetRect(&text_rect, 1, 1);
  if (text_rect.right <= text_rect.left) return;
  const UINT format = cell->GetFormat() != kFormatFromDefault ? cell->GetFormat() : def.GetFormat();
  HFONT font = CellFont(*cell, def);
  if (font != *current_font) {
    SelectObject(dc, font);
    *current_font = font;
  }
  SetTextColor(dc, text);
  const std::wstring wide = win::Widen(content);
  DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &text_rect, format);
}

void CGridCtrl::DrawFocus(HDC dc, const grid::GridView& v, const RECT& client) {
  const grid::CellId focus = model_.GetFocusCell();
  if (GetFocus() != hwnd() || !model_.IsValid(focus) || model_.IsFixedCell(focus.row, focus.col)) return;
  RECT rect = ContentRect(v, focus.row, focus.col);
  if (row_select_) {
    // The whole row, as a list shows its focus item.
    rect.left = Px(grid::ColumnScreenLeft(model_, v, model_.GetFixedColumnCount()));
    rect.right = ContentRect(v, focus.row, model_.GetColumnCount() - 1).right;
  }
  if (rect.right <= rect.left || rect.bottom <= rect.top) return;
  const int saved = SaveDC(dc);
  IntersectClipRect(dc, Px(model_.FixedWidth()), Px(model_.FixedHeight()), client.right, client.bottom);
  SetTextColor(dc, RGB(0, 0, 0));
  SetBkColor(dc, RGB(255, 255, 255));
  DrawFocusRect(dc, &rect);
  RestoreDC(dc, saved);
}

void CGridCtrl::InvertSizingLine() {
  if (sizing_line_ < 0 || hwnd() == nullptr) return;
  WindowDC dc(hwnd());
  RECT client;
  GetClientRect(hwnd(), &client);
  if (mouse_mode_ == MouseMode::kSizingColumn) PatBlt(dc.get(), sizing_line_, 0, 1, client.bottom, DSTINVERT);
  if (mouse_mode_ == MouseMode::kSizingRow) PatBlt(dc.get(), 0, sizing_line_, client.right, 1, DSTINVERT);
}
