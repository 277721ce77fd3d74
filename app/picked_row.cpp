#include "app/picked_row.h"

#include <algorithm>

PickedRow::Kept PickedRow::Refilled(EventKey picked, const std::vector<EventKey>& keys) {
  int row = -1;
  if (picked.created != 0) {
    const auto found = std::find(keys.begin(), keys.end(), picked);
    if (found != keys.end()) row = static_cast<int>(found - keys.begin()) + 1;
  }
  if (row < 0) row = row_;
  if (row < 1 || row > static_cast<int>(keys.size())) return {};
  row_ = row;
  return {row, keys[static_cast<std::size_t>(row) - 1]};
}
