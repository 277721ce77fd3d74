// TwinPlaces: the records that share a second, and their places.
#include "events/twin_places.h"

#include <algorithm>

TwinPlaces::TwinPlaces(std::span<const CMyEvent> records) {
  // Records are appended as they are made, so creation times usually rise (or
  // stay) in stored order, and one walk finds the records that share a second.
  std::vector<Entry> later;
  std::uint32_t n = 0;
  for (std::size_t i = 1; i < records.size(); ++i) {
    const Time32 before = records[i - 1].timeCreate, now = records[i].timeCreate;
    if (now < before) {
      later.clear();
      CountInAnyOrder(records, &later);
      break;
    }
    n = now == before ? n + 1 : 0;
    if (n > 0) later.emplace_back(&records[i], n);
  }
  Index(later);
}

void TwinPlaces::CountInAnyOrder(std::span<const CMyEvent> records, std::vector<Entry>* later) {
  // (creation time, stored position), sorted: equal times stay in stored order.
  std::vector<std::pair<Time32, std::uint32_t>> order;
  order.reserve(records.size());
  for (std::size_t i = 0; i < records.size(); ++i) {
    order.emplace_back(records[i].timeCreate, static_cast<std::uint32_t>(i));
  }
  std::sort(order.begin(), order.end());
  std::uint32_t n = 0;
  for (std::size_t i = 1; i < order.size(); ++i) {
    n = order[i].first == order[i - 1].first ? n + 1 : 0;
    if (n > 0) later->emplace_back(&records[order[i].second], n);
  }
}

namespace {

std::size_t SlotOf(const CMyEvent* record, int shift) {
  return static_cast<std::size_t>((reinterpret_cast<std::uintptr_t>(record) * 0x9E3779B97F4A7C15ULL) >>
                                  shift);
}

}  // namespace

void TwinPlaces::Index(const std::vector<Entry>& later) {
  if (later.empty()) return;
  std::size_t slots = 4;
  hash_shift_ = 62;
  while (slots < later.size() * 2) {
    slots *= 2;
    --hash_shift_;
  }
  later_in_second_.assign(slots, {nullptr, 0});
  for (const Entry& entry : later) {
    const auto second = static_cast<std::uint32_t>(entry.first->timeCreate) % 4096;
    shared_seconds_[second / 64] |= std::uint64_t{1} << (second % 64);
    std::size_t slot = SlotOf(entry.first, hash_shift_);
    while (later_in_second_[slot].first != nullptr) slot = (slot + 1) & (slots - 1);
    later_in_second_[slot] = entry;
  }
}

std::uint32_t TwinPlaces::PlaceOf(const CMyEvent& record) const {
  const auto second = static_cast<std::uint32_t>(record.timeCreate) % 4096;
  if ((shared_seconds_[second / 64] >> (second % 64) & 1) == 0) return 0;
  const std::size_t mask = later_in_second_.size() - 1;
  for (std::size_t slot = SlotOf(&record, hash_shift_);; slot = (slot + 1) & mask) {
    const auto& [key, n] = later_in_second_[slot];
    if (key == &record) return n;
    if (key == nullptr) return 0;
  }
}
