#pragma once
// The window-free rules of the skinned dialog frame: the window shape from
// the background's pixels, the caption buttons' places and states, when a
// press in the caption strip may move the window, which button a release
// triggers, and the system menu's entries by position.
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "skin/pixel_rect.h"

namespace skin_frame {

// Client pixels; left and top inside, right and bottom outside (as a RECT).
using Point = skin::PixelPoint;
using Rect = skin::PixelRect;

// --- Window shape --------------------------------------------------------

// Pixels as a 32-bit image stores them: 0x00RRGGBB (the top byte is ignored).
inline constexpr std::uint32_t kTransparentColor = 0x00FF00FF;  // magenta
inline bool IsTransparent(std::uint32_t pixel) { return (pixel & 0x00FFFFFF) == kTransparentColor; }

// Rectangles are handed to the system in batches of this many.
inline constexpr std::size_t kRegionBatchSize = 2000;

struct RegionBatch {
  std::vector<Rect> rects;  // one per run of opaque pixels in a row, top to bottom, left to right
  Rect bounds;              // the bounding box of `rects`
};

// The opaque part of an image as one-pixel-high row runs, in batches of at
// most kRegionBatchSize rectangles. `pixels` holds `height` rows of
// `stride` pixels, the top row first. No batches when every pixel is transparent.
std::vector<RegionBatch> OpaqueRowRuns(const std::uint32_t* pixels, int width, int height, int stride);

// --- Caption buttons -----------------------------------------------------

// The close button: `right_inset` pixels inside the frame's right edge and
// `top_inset` below its top, the size of its bitmap. Without a bitmap, an
// empty rectangle at (frame_width - 20, 5).
Rect CloseButtonRect(int frame_width, int right_inset, int top_inset, bool has_bitmap, int bitmap_width,
                     int bitmap_height);
// Directly left of the close button, the size of its bitmap; all zero without one.
Rect MinimizeButtonRect(const Rect& close, bool has_bitmap, int bitmap_width, int bitmap_height);
// The frame icon's 16 x 16 square at (30, 5); empty at (30, 5) without an icon.
Rect IconRect(bool has_icon);
// An empty rectangle at a rectangle's top-left corner (buttons without bitmaps).
Rect EmptyAt(const Rect& r);

enum class ButtonState { kNormal, kHover, kPressed };

// Pressed: cursor inside, left button down, and the press began inside the
// same rectangle. Hover: cursor inside, left button up. Normal otherwise.
ButtonState ChooseButtonState(const Rect& button, Point cursor, bool left_button_down, Point press_point);

struct CaptionButtons {
  Rect close, maximize, restore, minimize, icon;
  // Over a caption button or the icon area.
  bool Covers(Point p) const;
};

enum class CaptionCommand { kNone, kClose, kMaximize, kRestore, kMinimize };

// The button a left-button release triggers: the first of close, maximise
// (only when not maximised), restore and minimise whose rectangle holds both
// the release point and the press point.
CaptionCommand CommandOnRelease(const CaptionButtons& buttons, Point release, Point press, bool maximised);

// --- Moving the window by its caption strip --------------------------------

// The mouse key state of a message with the left button and nothing else down.
inline constexpr unsigned kLeftButtonOnly = 0x0001;  // MK_LBUTTON

// A press arms the move: left button alone, inside the caption strip (any
// x), not over a caption button or the icon, window not maximised.
bool ShouldArmDrag(unsigned key_state, Point p, int caption_height, bool over_button, bool maximised);
// A move starts the window move when the press armed it and the same holds.
bool ShouldStartMove(unsigned key_state, Point p, int caption_height, bool over_button, bool armed,
                     bool maximised);

// --- System menu -----------------------------------------------------------

struct MenuEntryRule {
  int position;
  bool enabled;
};

// The system menu's entries enabled or grayed by position (0 restore, 1
// move, 2 size, 3 minimise, 4 maximise, 6 close, 8).
std::array<MenuEntryRule, 7> SystemMenuRules(bool maximised);

}  // namespace skin_frame
