#include "events/section_binding.h"

#include <map>
#include <set>
#include <unordered_map>
#include <unordered_set>

namespace {

// The events created in each of `seconds`, in stored order.
using SecondsEvents = std::unordered_map<Time32, std::vector<const CMyEvent*>>;
SecondsEvents EventsOfSeconds(const EventList& events, const std::unordered_set<Time32>& seconds) {
  SecondsEvents found;
  if (seconds.empty()) return found;
  for (const CMyEvent& event : events.records()) {
    if (seconds.count(event.timeCreate) != 0) found[event.timeCreate].push_back(&event);
  }
  return found;
}

std::size_t CountOf(const SecondsEvents& found, Time32 second) {
  auto it = found.find(second);
  return it == found.end() ? 0 : it->second.size();
}

}  // namespace

SectionMoves BindingMoves(const EventList& events,
                          const std::vector<std::pair<RuleKey, std::optional<RuleFingerprint>>>& sections) {
  // Only the sections of later places or with a fingerprint need their second's events.
  std::unordered_set<Time32> seconds;
  std::map<RuleKey, RuleFingerprint const*> looked_at;
  std::set<RuleKey> claimed;
  for (const auto& [key, fingerprint] : sections) {
    if (key.place == 0 && !fingerprint) {
      claimed.insert(key);  // place 0, no fingerprint: the first event
      continue;
    }
    seconds.insert(key.created);
    looked_at.emplace(key, fingerprint ? &*fingerprint : nullptr);
  }
  SectionMoves moves;
  if (looked_at.empty()) return moves;
  const SecondsEvents found = EventsOfSeconds(events, seconds);
  std::vector<std::pair<RuleKey, std::uint32_t>> by_title;
  // First the sections that keep their place, then those that look for their title.
  for (const auto& [key, fingerprint] : looked_at) {
    const std::size_t count = CountOf(found, key.created);
    if (fingerprint == nullptr || fingerprint->events == count) {
      if (key.place < count) {
        claimed.insert(key);
      } else {
        moves.emplace_back(key, std::nullopt);
      }
    } else {
      by_title.emplace_back(key, fingerprint->title_hash);
    }
  }
  for (const auto& [key, title_hash] : by_title) {
    std::optional<RuleKey> target;
    if (auto it = found.find(key.created); it != found.end()) {
      for (std::uint32_t place = 0; place < it->second.size(); ++place) {
        const RuleKey candidate{key.created, place};
        if (claimed.count(candidate) != 0 || TitleHash(it->second[place]->strTitle.view()) != title_hash)
          continue;
        target = candidate;
        break;
      }
    }
    if (target) claimed.insert(*target);
    if (target != key) moves.emplace_back(key, target);
  }
  return moves;
}

FingerprintsOfEvents::FingerprintsOfEvents(const EventList& events, const std::vector<RuleKey>& keys) {
  std::unordered_set<Time32> seconds;
  for (RuleKey key : keys) seconds.insert(key.created);
  seconds_ = EventsOfSeconds(events, seconds);
}

std::optional<RuleFingerprint> FingerprintsOfEvents::operator()(RuleKey key) const {
  auto it = seconds_.find(key.created);
  if (it == seconds_.end() || it->second.size() < 2 || key.place >= it->second.size()) return std::nullopt;
  return RuleFingerprint{static_cast<std::uint32_t>(it->second.size()),
                         TitleHash(it->second[key.place]->strTitle.view())};
}
