#include "events/event_repeats.h"

std::vector<Time32> CreationTimes(const EventList& events) {
  std::vector<Time32> times;
  times.reserve(events.size());
  for (const auto& event : events.records()) times.push_back(event->timeCreate);
  return times;
}

const RepeatSeries* SeriesOfEvent(const RepeatRules& rules, const CMyEvent& event) {
  if (event.bRemind == 0) return nullptr;
  return rules.SeriesOf(event.timeCreate);
}

AcknowledgeResult AcknowledgeReminder(EventList& events, RepeatRules& rules, Time32 created, Time32 now) {
  CMyEvent* event = events.FindByCreateTime(created);
  if (event == nullptr) return AcknowledgeResult::kGone;
  if (const RepeatSeries* series = SeriesOfEvent(rules, *event)) {
    if (std::optional<Time32> next = series->FirstAfter(now)) {
      event->timeRemind = *next;
      return AcknowledgeResult::kMoved;
    }
  }
  event->bRemind = 0;
  events.DeleteByCreateTime(created);
  rules.Remove(created);
  return AcknowledgeResult::kDeleted;
}

SetRepeatResult SetEventRepeat(EventList& events, RepeatRules& rules, Time32 created,
                               const std::optional<RepeatRule>& rule) {
  CMyEvent* event = events.FindByCreateTime(created);
  if (event == nullptr) return SetRepeatResult::kNoSuchEvent;
  if (!rule) {
    rules.Remove(created);
    return SetRepeatResult::kRemoved;
  }
  if (event->bRemind == 0) {
    rules.Remove(created);
    return SetRepeatResult::kNotAReminder;
  }
  std::optional<RepeatSeries> series = SeriesStartingAt(event->timeRemind, *rule);
  if (!series) return SetRepeatResult::kNoOccurrence;
  event->timeRemind = TimeOfWall(series->start()).value_or(event->timeRemind);
  rules.Set(created, *series);
  return SetRepeatResult::kSet;
}

RepeatChangeOutcome ChangeEventsAndRules(EventList& events, RepeatRules& rules, RepeatStore& store,
                                         const std::function<bool(EventList&, RepeatRules&)>& change,
                                         SaveWhen save_when) {
  RepeatChangeOutcome outcome;
  outcome.events = ChangeEvents(
      events,
      [&](EventList& list) {
        bool reloaded = false;
        outcome.rules_load = store.ReloadIfChanged(&rules, &reloaded);
        return change(list, rules);
      },
      save_when);
  const bool saved = outcome.events.applied || save_when == SaveWhen::kAlways;
  if (!saved || !outcome.events.save.ok()) return outcome;
  outcome.rules_save = store.Save(rules, CreationTimes(events));
  return outcome;
}
