#pragma once
// Window-free rules of CSkinButton: which state bitmap a draw shows and how
// mouse moves change the hover state.
namespace skin {

enum class ButtonFace { kNormal, kHover, kPressed, kDisabled };

// Pressed wins over hover, hover over normal; a disabled window shows the
// disabled face unless one of the first two applies.
ButtonFace ChooseButtonFace(bool pressed, bool hover, bool enabled);

// The caption moves one pixel right and down while the button is pressed.
inline int CaptionOffset(bool pressed) { return pressed ? 1 : 0; }

enum class HoverChange { kNone, kEnter, kLeave };

// What a mouse move does to the hover state. A move with the left button down
// never lights a button that is not lit already: the press began elsewhere
// (a drag from another control), and the button must not look clickable.
HoverChange HoverOnMouseMove(bool left_button_down, bool hover, bool cursor_over_button);

}  // namespace skin
