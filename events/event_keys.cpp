// EventList: the lookups by key, and the creation time of a new record.
#include <algorithm>
#include <cstdint>
#include <functional>
#include <limits>

#include "events/event_list.h"
#include "events/twin_places.h"

std::size_t EventList::PositionOf(EventKey key) const {
  std::uint32_t twin = 0;
  for (std::size_t i = 0; i < records_.size(); ++i) {
    if (records_[i].timeCreate != key.created) continue;
    if (twin++ == key.twin) return i;
  }
  return records_.size();
}

const CMyEvent* EventList::Find(EventKey key) const {
  const std::size_t i = PositionOf(key);
  return i < records_.size() ? &records_[i] : nullptr;
}

CMyEvent* EventList::Find(EventKey key) {
  const std::size_t i = PositionOf(key);
  return i < records_.size() ? &records_[i] : nullptr;
}

bool EventList::Delete(EventKey key) {
  const std::size_t i = PositionOf(key);
  if (i == records_.size()) return false;
  records_.erase(records_.begin() + static_cast<std::ptrdiff_t>(i));
  return true;
}

EventKey EventList::KeyOf(const CMyEvent& record) const {
  const auto at = static_cast<std::size_t>(&record - records_.data());
  std::uint32_t twin = 0;
  for (std::size_t i = 0; i < at; ++i) twin += records_[i].timeCreate == record.timeCreate ? 1 : 0;
  return {record.timeCreate, twin};
}

std::vector<EventKey> EventList::KeysOf(const EventPtrList& rows) const {
  const TwinPlaces places(records_);
  std::vector<EventKey> keys;
  keys.reserve(rows.size());
  for (const CMyEvent* row : rows) keys.push_back(places.KeyOf(*row));
  return keys;
}

Time32 EventList::FreeCreateTime(Time32 wanted) const {
  // The seconds taken from `wanted` on, in order: a new record is made now,
  // so these are few, and the first gap among them is the answer.
  std::vector<Time32> taken;
  for (const CMyEvent& e : records_) {
    if (e.timeCreate >= wanted) taken.push_back(e.timeCreate);
  }
  std::sort(taken.begin(), taken.end());
  std::int64_t free = wanted;
  for (Time32 t : taken) {
    if (t > free) break;
    free = std::int64_t{t} + 1;
  }
  if (free <= std::numeric_limits<Time32>::max()) return static_cast<Time32>(free);

  // Every second up to the end of the range is taken: the last free one before.
  taken.clear();
  for (const CMyEvent& e : records_) {
    if (e.timeCreate < wanted) taken.push_back(e.timeCreate);
  }
  std::sort(taken.begin(), taken.end(), std::greater<>());
  free = std::int64_t{wanted} - 1;
  for (Time32 t : taken) {
    if (t < free) break;
    free = std::int64_t{t} - 1;
  }
  return static_cast<Time32>(free);
}

const CMyEvent& EventList::AddNew(CMyEvent event) {
  event.timeCreate = FreeCreateTime(event.timeCreate);
  return Add(std::move(event));
}
