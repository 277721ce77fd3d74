#include "events/shared_seconds.h"

#include "events/twin_places.h"

namespace {

bool SameRecord(const CMyEvent& a, const CMyEvent& b) {
  return a.timeCreate == b.timeCreate && a.bRemind == b.bRemind && a.timeRemind == b.timeRemind &&
         a.strTitle.view() == b.strTitle.view() && a.strContent.view() == b.strContent.view();
}

}  // namespace

SharedSeconds::SharedSeconds(const EventList& events) {
  const std::span<const CMyEvent> records = events.records();
  const TwinPlaces places(records);
  for (const CMyEvent& record : records) {
    if (places.PlaceOf(record) > 0) seconds_[record.timeCreate];
  }
  if (seconds_.empty()) return;
  for (const CMyEvent& record : records) {
    auto it = seconds_.find(record.timeCreate);
    if (it != seconds_.end()) it->second.push_back(record);
  }
}

std::vector<std::pair<RuleKey, std::optional<RuleKey>>> SharedSeconds::Moves(const EventList& events) const {
  std::vector<std::pair<RuleKey, std::optional<RuleKey>>> moves;
  if (seconds_.empty()) return moves;
  std::unordered_map<Time32, std::vector<const CMyEvent*>> now;
  for (const auto& [second, before] : seconds_) now[second];
  for (const CMyEvent& record : events.records()) {
    auto it = now.find(record.timeCreate);
    if (it != now.end()) it->second.push_back(&record);
  }
  for (const auto& [second, before] : seconds_) {
    const std::vector<const CMyEvent*>& after = now.at(second);
    std::vector<std::optional<std::uint32_t>> place_of(before.size());
    std::vector<bool> taken(after.size(), false);
    // Unchanged events, in order: a delete or an add moves none past another.
    std::size_t next = 0;
    for (std::size_t i = 0; i < before.size(); ++i) {
      for (std::size_t k = next; k < after.size(); ++k) {
        if (!SameRecord(before[i], *after[k])) continue;
        place_of[i] = static_cast<std::uint32_t>(k);
        taken[k] = true;
        next = k + 1;
        break;
      }
    }
    // Changed ones: an event left over pairs with one left over between
    // the same unchanged neighbours, in order; the rest went (or came).
    std::size_t low = 0;  // the first place after the last event placed
    for (std::size_t i = 0; i < before.size(); ++i) {
      if (place_of[i]) {
        low = *place_of[i] + 1;
        continue;
      }
      std::size_t high = after.size();
      for (std::size_t j = i + 1; j < before.size(); ++j) {
        if (!place_of[j]) continue;
        high = *place_of[j];
        break;
      }
      for (std::size_t k = low; k < high; ++k) {
        if (taken[k]) continue;
        place_of[i] = static_cast<std::uint32_t>(k);
        taken[k] = true;
        low = k + 1;
        break;
      }
    }
    for (std::size_t i = 0; i < before.size(); ++i) {
      const RuleKey from{second, static_cast<std::uint32_t>(i)};
      if (!place_of[i]) {
        moves.emplace_back(from, std::nullopt);
      } else if (*place_of[i] != i) {
        moves.emplace_back(from, RuleKey{second, *place_of[i]});
      }
    }
  }
  return moves;
}
