#include "skin/button_logic.h"

namespace skin {

ButtonFace ChooseButtonFace(bool pressed, bool hover, bool enabled) {
  if (pressed) return ButtonFace::kPressed;
  if (hover) return ButtonFace::kHover;
  return enabled ? ButtonFace::kNormal : ButtonFace::kDisabled;
}

HoverChange HoverOnMouseMove(bool left_button_down, bool hover, bool cursor_over_button) {
  if (left_button_down && !hover) return HoverChange::kNone;
  if (cursor_over_button) return hover ? HoverChange::kNone : HoverChange::kEnter;
  return hover ? HoverChange::kLeave : HoverChange::kNone;
}

}  // namespace skin
