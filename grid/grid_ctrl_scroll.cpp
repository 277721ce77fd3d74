// CGridCtrl scrolling: the scroll bars follow the content lazily (once per
// paint however many changes came before), and the scroll position moves by
// rows, pages or the thumb.
#include <algorithm>
#include <climits>

#include "grid/grid_ctrl.h"

namespace {

int ClampToInt(grid::Offset v) { return static_cast<int>(std::clamp<grid::Offset>(v, 0, INT_MAX)); }

}  // namespace

grid::GridView CGridCtrl::view() const {
  RECT client{0, 0, 0, 0};
  if (hwnd()) GetClientRect(hwnd(), &client);
  return {scroll_x_, scroll_y_, client.right, client.bottom};
}

void CGridCtrl::Refresh() {
  scroll_bars_stale_ = true;
  if (hwnd() != nullptr && !repaint_requested_) {
    InvalidateRect(hwnd(), nullptr, FALSE);
    repaint_requested_ = true;
  }
}

void CGridCtrl::UpdateScrollBarsIfStale() {
  if (scroll_bars_stale_) ResetScrollBars();
}

void CGridCtrl::ResetScrollBars() {
  if (hwnd() == nullptr || updating_scroll_bars_) return;
  updating_scroll_bars_ = true;
  scroll_bars_stale_ = false;
  const int vbar_width = GetSystemMetrics(SM_CXVSCROLL);
  const int hbar_height = GetSystemMetrics(SM_CYHSCROLL);
  const LONG_PTR style = GetWindowLongPtrW(hwnd(), GWL_STYLE);
  RECT client;
  GetClientRect(hwnd(), &client);
  const int full_width = client.right + ((style & WS_VSCROLL) ? vbar_width : 0);
  const int full_height = client.bottom + ((style & WS_HSCROLL) ? hbar_height : 0);
  const grid::ScrollBarNeeds needs =
      grid::DecideScrollBars(model_, full_width, full_height, vbar_width, hbar_height);
  if (needs.horizontal != ((style & WS_HSCROLL) != 0)) ShowScrollBar(hwnd(), SB_HORZ, needs.horizontal);
  if (needs.vertical != ((style & WS_VSCROLL) != 0)) ShowScrollBar(hwnd(), SB_VERT, needs.vertical);
  hbar_shown_ = needs.horizontal;
  vbar_shown_ = needs.vertical;

  const grid::GridView v = view();
  scroll_x_ = grid::ClampScrollX(model_, v, scroll_x_);
  scroll_y_ = grid::ClampScrollY(model_, v, scroll_y_);
  auto set_bar = [&](int bar, bool shown, grid::Offset content, grid::Offset page, grid::Offset pos) {
    if (!shown) return;
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMin = 0;
    info.nMax = ClampToInt(content - 1);
    info.nPage = static_cast<UINT>(ClampToInt(page));
    info.nPos = ClampToInt(pos);
    SetScrollInfo(hwnd(), bar, &info, TRUE);
  };
  set_bar(SB_HORZ, needs.horizontal, model_.TotalWidth() - model_.FixedWidth(),
          v.client_width - model_.FixedWidth(), scroll_x_);
  set_bar(SB_VERT, needs.vertical, model_.TotalHeight() - model_.FixedHeight(),
          v.client_height - model_.FixedHeight(), scroll_y_);
  updating_scroll_bars_ = false;
}

void CGridCtrl::SetScroll(grid::Offset x, grid::Offset y) {
  const grid::GridView v = view();
  x = grid::ClampScrollX(model_, v, x);
  y = grid::ClampScrollY(model_, v, y);
  if (x == scroll_x_ && y == scroll_y_) return;
  title_tip_.Hide();
  if (x != scroll_x_) SetScrollPos(hwnd(), SB_HORZ, ClampToInt(x), TRUE);
  if (y != scroll_y_) SetScrollPos(hwnd(), SB_VERT, ClampToInt(y), TRUE);
  scroll_x_ = x;
  scroll_y_ = y;
  if (!repaint_requested_) {
    InvalidateRect(hwnd(), nullptr, FALSE);
    repaint_requested_ = true;
  }
}

void CGridCtrl::OnScroll(int bar, int code) {
  UpdateScrollBarsIfStale();
  const grid::GridView v = view();
  const bool vertical = bar == SB_VERT;
  grid::Offset pos = vertical ? scroll_y_ : scroll_x_;
  switch (code) {
    case SB_LINEUP:
      pos = vertical ? grid::LineUpScroll(model_, v) : grid::LineLeftScroll(model_, v);
      break;
    case SB_LINEDOWN:
      pos = vertical ? grid::LineDownScroll(model_, v) : grid::LineRightScroll(model_, v);
      break;
    case SB_PAGEUP:
      pos = vertical ? grid::PageUpScroll(model_, v) : grid::PageLeftScroll(model_, v);
      break;
    case SB_PAGEDOWN:
      pos = vertical ? grid::PageDownScroll(model_, v) : grid::PageRightScroll(model_, v);
      break;
    case SB_TOP:
      pos = 0;
      break;
    case SB_BOTTOM:
      pos = vertical ? grid::MaxScrollY(model_, v) : grid::MaxScrollX(model_, v);
      break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      // The 32-bit track position; the message's own is only 16 bits.
      SCROLLINFO info{};
      info.cbSize = sizeof info;
      info.fMask = SIF_TRACKPOS;
      if (GetScrollInfo(hwnd(), bar, &info)) pos = info.nTrackPos;
      break;
    }
    default:
      return;
  }
  if (vertical) {
    SetScroll(scroll_x_, pos);
  } else {
    SetScroll(pos, scroll_y_);
  }
}
