// CGridCtrl keyboard and wheel: moving the focus cell with the selection
// following it, Ctrl+A, copying, and wheel scrolling.
#include "grid/focus_navigation.h"
#include "grid/grid_ctrl.h"
#include "grid/wheel_scroll.h"

namespace {

bool KeyHeld(int key) { return GetKeyState(key) < 0; }

}  // namespace

bool CGridCtrl::OnKeyDown(UINT key) {
  title_tip_.Hide();
  UpdateScrollBarsIfStale();
  const bool ctrl = KeyHeld(VK_CONTROL);
  const bool shift = KeyHeld(VK_SHIFT);
  const grid::CellId focus = model_.GetFocusCell();

  if (ctrl && key == 'A') {
    ChangeSelection(focus, focus, model_.NonFixedRange(), false);
    return true;
  }
  if (ctrl && (key == 'C' || key == VK_INSERT)) {
    CopySelection();
    return true;
  }
  if ((ctrl && (key == 'X' || key == 'V')) || (shift && key == VK_INSERT)) {
    return true;  // cut and paste change cells, which this grid never lets the keyboard do
  }

  grid::NavKey nav = grid::NavKey::kDown;
  bool page = false;
  switch (key) {
    case VK_UP:
      nav = grid::NavKey::kUp;
      break;
    case VK_DOWN:
      nav = grid::NavKey::kDown;
      break;
    case VK_LEFT:
      nav = grid::NavKey::kLeft;
      break;
    case VK_RIGHT:
      nav = grid::NavKey::kRight;
      break;
    case VK_TAB:
      nav = shift ? grid::NavKey::kPrevious : grid::NavKey::kNext;
      break;
    case VK_HOME:
      nav = ctrl ? grid::NavKey::kCtrlHome : grid::NavKey::kHome;
      break;
    case VK_END:
      nav = ctrl ? grid::NavKey::kCtrlEnd : grid::NavKey::kEnd;
      break;
    case VK_PRIOR:
      nav = grid::NavKey::kUp;
      page = true;
      break;
    case VK_NEXT:
      nav = grid::NavKey::kDown;
      page = true;
      break;
    default:
      return false;
  }

  grid::CellId next;
  if (page && model_.IsValid(focus) && !model_.IsFixedCell(focus.row, focus.col)) {
    // The view moves a page; the focus row moves as far as the view did.
    const bool down = key == VK_NEXT;
    const grid::GridView before = view();
    const int top_before = grid::TopNonFixedRow(model_, before);
    SetScroll(scroll_x_, down ? grid::PageDownScroll(model_, before) : grid::PageUpScroll(model_, before));
    const int top_after = grid::TopNonFixedRow(model_, view());
    next = {grid::PageFocusRow(model_, focus.row, top_before, top_after, down), focus.col};
  } else {
    next = grid::MoveFocus(model_, focus, nav);
  }
  if (!model_.IsValid(next)) return true;

  // Shift stretches the selection from the anchor; otherwise (and always for
  // Tab) the new focus cell becomes the anchor.
  const bool extend = shift && key != VK_TAB && !(row_select_ && bSingleRowSelect);
  if (!extend || !model_.IsValid(anchor_)) anchor_ = next;
  const grid::CellRange range = grid::SelectionFromAnchor(model_, anchor_, next, row_select_);
  const grid::CellRange current = model_.GetSelectedCellRange();
  const long long area = range.IsValid() ? static_cast<long long>(range.max_row - range.min_row + 1) *
                                               (range.max_col - range.min_col + 1)
                                         : 0;
  if (!(next == focus && current == range && model_.GetSelectedCount() == area)) {
    ChangeSelection(next, next, range, false);
  }
  EnsureVisible(next.row, next.col);
  return true;
}

LRESULT CGridCtrl::OnGetDlgCode(const MSG* msg) {
  LRESULT code = DLGC_WANTARROWS | DLGC_WANTCHARS;
  // Tab moves between cells while there is a cell to move to; at the last
  // (first) cell it moves on to the dialog's next (previous) control.
  if (msg != nullptr && msg->message == WM_KEYDOWN && msg->wParam == VK_TAB) {
    const grid::CellId focus = model_.GetFocusCell();
    const grid::NavKey nav = KeyHeld(VK_SHIFT) ? grid::NavKey::kPrevious : grid::NavKey::kNext;
    if (model_.IsValid(focus) && !(grid::MoveFocus(model_, focus, nav) == focus)) code |= DLGC_WANTTAB;
  }
  return code;
}

void CGridCtrl::OnMouseWheel(int delta) {
  title_tip_.Hide();
  UpdateScrollBarsIfStale();
  const grid::WheelScroll scroll = grid::ComputeWheelScroll(delta, wheel_lines_, &wheel_carry_);
  // Scrolled here request by request rather than posted, and only as long as
  // the view still moves, so a huge setting cannot flood the message queue.
  for (int i = 0; i < scroll.count; ++i) {
    const grid::GridView v = view();
    const grid::Offset y =
        scroll.page ? (scroll.up ? grid::PageUpScroll(model_, v) : grid::PageDownScroll(model_, v))
                    : (scroll.up ? grid::LineUpScroll(model_, v) : grid::LineDownScroll(model_, v));
    if (y == scroll_y_) break;
    SetScroll(scroll_x_, y);
  }
}
