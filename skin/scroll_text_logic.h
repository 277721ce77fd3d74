#pragma once
// The ticker's content and movement without a window: which item is showing,
// where it is, and what one timer step does. CScrollText feeds it the client
// rectangle, the cursor and a text measure, and turns its answers into timers
// and repaints.
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "skin/pixel_rect.h"

namespace skin {

struct TickerItem {
  std::string text;  // code page 936
  PixelRect rect;    // where the text is now, client coordinates
  bool is_link = false;
  std::string target;  // empty for plain items
};

// Width in pixels of a code page 936 text in the ticker's font.
using TextMeasure = std::function<int(std::string_view text)>;

class ScrollTextModel {
 public:
  enum class Step {
    kIdle,      // not started: nothing moves
    kWaiting,   // a link item rests under the mouse
    kMoved,     // the item moved one pixel to the left
    kNextItem,  // the item has left the control; the next one waits at the right edge
  };

  void AddItem(std::string text);
  void AddLinkItem(std::string text, std::string target);

  // Shows the first item at the right edge of `client`. Returns false, and
  // starts nothing, when there are no items.
  bool Start(const PixelRect& client, const TextMeasure& measure);

  // One timer step. `cursor` is the mouse position in client coordinates when
  // the mouse is over the control, nullopt otherwise.
  Step Advance(const PixelRect& client, std::optional<PixelPoint> cursor, const TextMeasure& measure);

  // The item now moving, or null before Start.
  const TickerItem* current() const;
  std::size_t current_index() const { return current_; }
  const std::vector<TickerItem>& items() const { return items_; }

  // The current item when it is a link and `cursor` (client coordinates, over
  // the control) is on it; such an item is highlighted, shows the hand cursor,
  // stops moving and opens on a click.
  const TickerItem* LinkUnderCursor(const PixelRect& client, std::optional<PixelPoint> cursor) const;

  // The item shown after the one at `finished`: the next in insertion order,
  // the first again after the last. Items with equal texts are separate items
  // and each gets its turn.
  std::size_t NextIndex(std::size_t finished) const;

 private:
  static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
  void PlaceAtRightEdge(std::size_t index, const PixelRect& client, const TextMeasure& measure);

  std::vector<TickerItem> items_;
  std::size_t current_ = kNone;
};

}  // namespace skin
