#include "events/event_repeats.h"

#include "events/section_binding.h"

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

void BindRules(const EventList& events, RepeatRules& rules) {
  std::vector<std::pair<RuleKey, std::optional<RuleFingerprint>>> keys;
  keys.reserve(rules.size());
  for (RuleKey key : rules.Keys()) keys.emplace_back(key, rules.Find(key)->fingerprint);
  rules.Move(BindingMoves(events, keys));
}

bool NameAndFingerprintRules(const EventList& events, RepeatRules& rules) {
  const FingerprintsOfEvents fingerprints(events, rules.Keys());
  return rules.NameAndFingerprint(fingerprints);
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
                               const std::optional<RepeatRule>& rule, const RepeatDates& dates) {
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
  if (!dates.empty()) {
    // An EXDATE may take the first occurrence away, an RDATE come before it.
    RepeatSeries dated(series->start(), *rule, dates);
    const std::optional<Time32> first = dated.FirstAfter(event->timeRemind - 1);
    if (!first) return SetRepeatResult::kNoOccurrence;
    event->timeRemind = *first;
    rules.Set(RuleKeyOf(key), dated);
    return SetRepeatResult::kSet;
  }
  event->timeRemind = TimeOfWall(series->start()).value_or(event->timeRemind);
  rules.Set(RuleKeyOf(key), *series);
  return SetRepeatResult::kSet;
}
