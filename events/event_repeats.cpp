#include "events/event_repeats.h"

#include <set>
#include <unordered_map>
#include <unordered_set>

std::vector<Time32> CreationTimes(const EventList& events) {
  std::vector<Time32> times;
  times.reserve(events.size());
  for (const CMyEvent& event : events.records()) times.push_back(event.timeCreate);
  return times;
}

std::vector<RuleKey> RuleKeysOf(const EventList& events) {
  EventPtrList all;
  events.GetAll(all);
  std::vector<RuleKey> keys;
  keys.reserve(all.size());
  for (EventKey key : events.KeysOf(all)) keys.push_back(RuleKeyOf(key));
  return keys;
}

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

void BindRules(const EventList& events, RepeatRules& rules) {
  // Only the sections of later places or with a fingerprint need their second's events.
  std::vector<RuleKey> keys = rules.Keys();
  std::unordered_set<Time32> seconds;
  std::set<RuleKey> looked_at;
  for (RuleKey key : keys) {
    const RepeatEntry* entry = rules.Find(key);
    if (key.place == 0 && !entry->fingerprint) continue;
    seconds.insert(key.created);
    looked_at.insert(key);
  }
  if (looked_at.empty()) return;
  const SecondsEvents found = EventsOfSeconds(events, seconds);
  std::set<RuleKey> claimed;
  for (RuleKey key : keys) {
    if (looked_at.count(key) == 0) claimed.insert(key);  // place 0, no fingerprint: the first event
  }
  std::vector<std::pair<RuleKey, std::optional<RuleKey>>> moves;
  std::vector<RuleKey> by_title;
  // First the sections that keep their place, then those that look for their title.
  for (RuleKey key : looked_at) {
    const RepeatEntry* entry = rules.Find(key);
    const std::size_t count = CountOf(found, key.created);
    if (!entry->fingerprint || entry->fingerprint->events == count) {
      if (key.place < count) {
        claimed.insert(key);
      } else {
        moves.emplace_back(key, std::nullopt);
      }
    } else {
      by_title.push_back(key);
    }
  }
  for (RuleKey key : by_title) {
    const std::uint32_t title_hash = rules.Find(key)->fingerprint->title_hash;
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
  rules.Move(moves);
}

bool NameAndFingerprintRules(const EventList& events, RepeatRules& rules) {
  std::unordered_set<Time32> seconds;
  for (RuleKey key : rules.Keys()) seconds.insert(key.created);
  const SecondsEvents found = EventsOfSeconds(events, seconds);
  return rules.NameAndFingerprint([&](RuleKey key) -> std::optional<RuleFingerprint> {
    auto it = found.find(key.created);
    if (it == found.end() || it->second.size() < 2 || key.place >= it->second.size()) return std::nullopt;
    return RuleFingerprint{static_cast<std::uint32_t>(it->second.size()),
                           TitleHash(it->second[key.place]->strTitle.view())};
  });
}

const RepeatSeries* SeriesOfEvent(const RepeatRules& rules, const CMyEvent& event, EventKey key) {
  if (event.bRemind == 0) return nullptr;
  return rules.SeriesOf(RuleKeyOf(key));
}

bool DeleteEventAndRule(EventList& events, RepeatRules& rules, EventKey key) {
  if (!events.Delete(key)) return false;
  rules.Remove(RuleKeyOf(key));
  // The later events of that second move up a place; so do their rules.
  std::vector<std::pair<RuleKey, std::optional<RuleKey>>> moves;
  for (RuleKey later : rules.Keys()) {
    if (later.created == key.created && later.place > key.twin)
      moves.emplace_back(later, RuleKey{later.created, later.place - 1});
  }
  rules.Move(moves);
  return true;
}

AcknowledgeResult AcknowledgeReminder(EventList& events, RepeatRules& rules, EventKey key, Time32 now) {
  CMyEvent* event = events.Find(key);
  if (event == nullptr) return AcknowledgeResult::kGone;
  if (const RepeatSeries* series = SeriesOfEvent(rules, *event, key)) {
    if (std::optional<Time32> next = series->FirstAfter(now)) {
      event->timeRemind = *next;
      return AcknowledgeResult::kMoved;
    }
  }
  DeleteEventAndRule(events, rules, key);
  return AcknowledgeResult::kDeleted;
}

SetRepeatResult SetEventRepeat(EventList& events, RepeatRules& rules, EventKey key,
                               const std::optional<RepeatRule>& rule) {
  CMyEvent* event = events.Find(key);
  if (event == nullptr) return SetRepeatResult::kNoSuchEvent;
  if (!rule) {
    rules.Remove(RuleKeyOf(key));
    return SetRepeatResult::kRemoved;
  }
  if (event->bRemind == 0) {
    rules.Remove(RuleKeyOf(key));
    return SetRepeatResult::kNotAReminder;
  }
  std::optional<RepeatSeries> series = SeriesStartingAt(event->timeRemind, *rule);
  if (!series) return SetRepeatResult::kNoOccurrence;
  event->timeRemind = TimeOfWall(series->start()).value_or(event->timeRemind);
  rules.Set(RuleKeyOf(key), *series);
  return SetRepeatResult::kSet;
}
