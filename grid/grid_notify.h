#pragma once
// What the grid tells its parent: a WM_NOTIFY message carrying GridNotify,
// sent to the owner window (or, without one, the parent).
#include <windows.h>

#include <commctrl.h>

struct GridNotify {
  NMHDR hdr;    // sender window, control id, code
  int iRow;     // -1 when no cell is meant
  int iColumn;  // -1 when no cell is meant
};

// Codes besides the standard NM_CLICK (-2), NM_DBLCLK (-3) and NM_RCLICK (-5).
inline constexpr int kGridSelChanging = -100;  // before a selection change by mouse or keyboard
inline constexpr int kGridSelChanged = -101;   // after it, with the new focus cell
inline constexpr int kGridBeginEdit = -105;    // reserved: in-place editing is not built
inline constexpr int kGridEndEdit = -106;      // reserved
inline constexpr int kGridBeginDrag = -109;    // reserved: dragging cell text is not built
