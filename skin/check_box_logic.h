#pragma once
// Window-free layout of the skinned check box and option button: the box
// image sits at the left edge, vertically centred; the caption starts a fixed
// gap to the right of it. Only a click on the box toggles a check box.
#include "skin/pixel_rect.h"

namespace skin {

// Gap between the box's left edge plus its width and the caption.
inline constexpr int kBoxTextGap = 15;

// Top of the box: half the free height, truncated toward zero (a box taller
// than the control sticks out evenly above and below).
inline int BoxTop(int client_height, int box_height) { return (client_height - box_height) / 2; }

// Where the box lies in the control's client area.
inline PixelRect BoxRect(int client_height, int box_width, int box_height) {
  const int top = BoxTop(client_height, box_height);
  return PixelRect{0, top, box_width, top + box_height};
}

// Whether a button release at `point` toggles the check box.
inline bool HitsBox(PixelPoint point, int client_height, int box_width, int box_height) {
  return BoxRect(client_height, box_width, box_height).Contains(point);
}

inline int CaptionLeft(int box_width, int gap = kBoxTextGap) { return box_width + gap; }

}  // namespace skin
