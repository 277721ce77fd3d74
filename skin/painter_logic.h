#pragma once
// The arithmetic behind CSkinPainter, kept free of GDI so it is tested natively.
#include <cstdint>

#include "skin/pixel_rect.h"

namespace skin {

// The direction word that makes a gradient run left to right; any other value
// runs top to bottom.
inline constexpr int kHorizontalGradient = 0x1000000;

inline bool IsHorizontalGradient(int direction_word) { return direction_word == kHorizontalGradient; }

// A text of the given extent centred in `area`. The free width and height are
// halved with integer division toward zero and taken off both sides, so a text
// wider than the area gets a rectangle that sticks out evenly on both sides.
PixelRect CenteredTextRect(const PixelRect& area, int text_width, int text_height);

// GradientFill takes 16-bit colour components: the 8-bit value in the high byte.
inline std::uint16_t WidenColorComponent(std::uint8_t component) {
  return static_cast<std::uint16_t>(component << 8);
}

}  // namespace skin
