#include "skin/scroll_text_logic.h"

#include <utility>

namespace skin {

void ScrollTextModel::AddItem(std::string text) {
  items_.push_back(TickerItem{std::move(text), PixelRect{}, false, std::string()});
}

void ScrollTextModel::AddLinkItem(std::string text, std::string target) {
  items_.push_back(TickerItem{std::move(text), PixelRect{}, true, std::move(target)});
}

bool ScrollTextModel::Start(const PixelRect& client, const TextMeasure& measure) {
  if (items_.empty()) return false;
  PlaceAtRightEdge(0, client, measure);
  return true;
}

const TickerItem* ScrollTextModel::current() const {
  return current_ < items_.size() ? &items_[current_] : nullptr;
}

const TickerItem* ScrollTextModel::LinkUnderCursor(const PixelRect& client,
                                                   std::optional<PixelPoint> cursor) const {
  const TickerItem* item = current();
  if (item == nullptr || !item->is_link || !cursor) return nullptr;
  // The item's rectangle runs past both ends of the control while it enters
  // and leaves; only the part inside the control is under the mouse.
  if (!item->rect.Contains(*cursor) || !client.Contains(*cursor)) return nullptr;
  return item;
}

ScrollTextModel::Step ScrollTextModel::Advance(const PixelRect& client, std::optional<PixelPoint> cursor,
                                               const TextMeasure& measure) {
  if (current() == nullptr) return Step::kIdle;
  if (LinkUnderCursor(client, cursor) != nullptr) return Step::kWaiting;
  TickerItem& item = items_[current_];
  --item.rect.left;
  --item.rect.right;
  if (item.rect.right >= 0) return Step::kMoved;
  PlaceAtRightEdge(NextIndex(current_), client, measure);
  return Step::kNextItem;
}

std::size_t ScrollTextModel::NextIndex(std::size_t finished) const {
  if (items_.empty()) return kNone;
  return finished + 1 < items_.size() ? finished + 1 : 0;
}

void ScrollTextModel::PlaceAtRightEdge(std::size_t index, const PixelRect& client,
                                       const TextMeasure& measure) {
  TickerItem& item = items_[index];
  item.rect.left = client.right;
  item.rect.top = client.top;
  item.rect.bottom = client.bottom;
  item.rect.right = item.rect.left + measure(item.text);
  current_ = index;
}

}  // namespace skin
