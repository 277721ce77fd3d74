#include "events/event_repeats.h"

std::vector<Time32> CreationTimes(const EventList& events) {
  std::vector<Time32> times;
  times.reserve(events.size());
  for (const CMyEvent& event : events.records()) times.push_back(event.timeCreate);
  return times;
}

const RepeatSeries* SeriesOfEvent(const RepeatRules& rules, const CMyEvent& event, EventKey key) {
  if (event.bRemind == 0 || key.twin != 0) return nullptr;
  return rules.SeriesOf(key.created);
}

bool DeleteEventAndRule(EventList& events, RepeatRules& rules, EventKey key) {
  if (!events.Delete(key)) return false;
  if (key.twin == 0) rules.Remove(key.created);
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
  if (key.twin != 0) return rule ? SetRepeatResult::kSharedSecond : SetRepeatResult::kRemoved;
  if (!rule) {
    rules.Remove(key.created);
    return SetRepeatResult::kRemoved;
  }
  if (event->bRemind == 0) {
    rules.Remove(key.created);
    return SetRepeatResult::kNotAReminder;
  }
  std::optional<RepeatSeries> series = SeriesStartingAt(event->timeRemind, *rule);
  if (!series) return SetRepeatResult::kNoOccurrence;
  event->timeRemind = TimeOfWall(series->start()).value_or(event->timeRemind);
  rules.Set(key.created, *series);
  return SetRepeatResult::kSet;
}
