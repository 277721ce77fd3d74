#include "skin/skin_dialog_logic.h"

#include <algorithm>

namespace skin_frame {

std::vector<RegionBatch> OpaqueRowRuns(const std::uint32_t* pixels, int width, int height, int stride) {
  std::vector<RegionBatch> batches;
  RegionBatch current;
  current.rects.reserve(100);
  auto flush = [&] {
    if (current.rects.empty()) return;
    Rect& b = current.bounds;
    b = current.rects.front();
    for (const Rect& r : current.rects) {
      b.left = std::min(b.left, r.left);
      b.top = std::min(b.top, r.top);
      b.right = std::max(b.right, r.right);
      b.bottom = std::max(b.bottom, r.bottom);
    }
    batches.push_back(std::move(current));
    current = RegionBatch();
    current.rects.reserve(100);
  };
  for (int y = 0; y < height; ++y) {
    const std::uint32_t* row = pixels + static_cast<std::ptrdiff_t>(y) * stride;
    int x = 0;
    while (x < width) {
      while (x < width && IsTransparent(row[x])) ++x;
      if (x == width) break;
      const int start = x;
      while (x < width && !IsTransparent(row[x])) ++x;
      current.rects.push_back(Rect{start, y, x, y + 1});
      if (current.rects.size() == kRegionBatchSize) flush();
    }
  }
  flush();
  return batches;
}

Rect CloseButtonRect(int frame_width, int right_inset, int top_inset, bool has_bitmap, int bitmap_width,
                     int bitmap_height) {
  if (!has_bitmap) return Rect{frame_width - 20, 5, frame_width - 20, 5};
  return Rect{frame_width - right_inset - bitmap_width, top_inset, frame_width - right_inset,
              top_inset + bitmap_height};
}

Rect MinimizeButtonRect(const Rect& close, bool has_bitmap, int bitmap_width, int bitmap_height) {
  if (!has_bitmap) return Rect{};
  return Rect{close.left - bitmap_width, close.top, close.left, close.top + bitmap_height};
}

Rect IconRect(bool has_icon) { return has_icon ? Rect{30, 5, 46, 21} : Rect{30, 5, 30, 5}; }

Rect EmptyAt(const Rect& r) { return Rect{r.left, r.top, r.left, r.top}; }

ButtonState ChooseButtonState(const Rect& button, Point cursor, bool left_button_down, Point press_point) {
  if (!button.Contains(cursor)) return ButtonState::kNormal;
  if (!left_button_down) return ButtonState::kHover;
  return button.Contains(press_point) ? ButtonState::kPressed : ButtonState::kNormal;
}

bool CaptionButtons::Covers(Point p) const {
  return close.Contains(p) || maximize.Contains(p) || restore.Contains(p) || minimize.Contains(p) ||
         icon.Contains(p);
}

CaptionCommand CommandOnRelease(const CaptionButtons& buttons, Point release, Point press, bool maximised) {
  auto hit = [&](const Rect& r) { return r.Contains(release) && r.Contains(press); };
  if (hit(buttons.close)) return CaptionCommand::kClose;
  if (!maximised && hit(buttons.maximize)) return CaptionCommand::kMaximize;
  if (hit(buttons.restore)) return CaptionCommand::kRestore;
  if (hit(buttons.minimize)) return CaptionCommand::kMinimize;
  return CaptionCommand::kNone;
}

bool ShouldArmDrag(unsigned key_state, Point p, int caption_height, bool over_button, bool maximised) {
  return key_state == kLeftButtonOnly && p.y < caption_height && !over_button && !maximised;
}

bool ShouldStartMove(unsigned key_state, Point p, int caption_height, bool over_button, bool armed,
                     bool maximised) {
  return armed && ShouldArmDrag(key_state, p, caption_height, over_button, maximised);
}

std::array<MenuEntryRule, 7> SystemMenuRules(bool maximised) {
  return {{{0, maximised},
           {1, !maximised},
           {2, !maximised},
           {3, true},
           {4, !maximised},
           {6, !maximised},
           {8, true}}};
}

}  // namespace skin_frame
