// Applying a planned import to the lists: each item decided on again (the
// folder may have changed since the plan), then added or updated, with its
// UID and fingerprint kept.
#include <algorithm>
#include <limits>
#include <vector>

#include "calendar/import_steps.h"
#include "events/event_repeats.h"

namespace {

// Hands out the free seconds from `from` on as creation times, one each:
// an imported event is the only one of its second.
class FreeSeconds {
 public:
  FreeSeconds(const EventList& events, Time32 from) : next_(from) {
    for (const CMyEvent& e : events.records()) {
      if (e.timeCreate >= from) taken_.push_back(e.timeCreate);
    }
    std::sort(taken_.begin(), taken_.end());
  }
  std::optional<Time32> Next() {
    while (at_ < taken_.size() && taken_[at_] < next_) ++at_;
    while (at_ < taken_.size() && taken_[at_] == next_) {
      ++next_;
      ++at_;
    }
    if (next_ > std::numeric_limits<Time32>::max()) return std::nullopt;
    return static_cast<Time32>(next_++);
  }

 private:
  std::vector<Time32> taken_;
  std::size_t at_ = 0;
  std::int64_t next_;
};

// The rule of `key`'s event as `made` has it (none for a one-off).
void SetRule(RepeatRules& rules, EventKey key, const EventOfImport& made) {
  if (made.series) {
    rules.Set(RuleKeyOf(key), *made.series);
  } else {
    rules.Remove(RuleKeyOf(key));
  }
}

// Gives `key`'s event what `made` holds (its creation time stays).
void Update(EventList& events, RepeatRules& rules, EventKey key, const EventOfImport& made) {
  CMyEvent* event = events.Find(key);
  event->strTitle = made.event.strTitle;
  event->strContent = made.event.strContent;
  event->bRemind = made.event.bRemind;
  event->timeRemind = made.event.timeRemind;
  SetRule(rules, key, made);
}

}  // namespace

ImportCounts ApplyImportTo(const ImportPlan& plan, EventList& events, RepeatRules& rules, ImportUidBook& uids,
                           const ImportOptions& options, const ImportProgress& progress) {
  ImportCounts counts;
  counts.skipped_done = plan.counts.skipped_done;
  counts.bad = plan.counts.bad;
  counts.skipped_past = plan.counts.skipped_past;
  // The plan holds only what is to be added or updated; the rest stays as counted.
  counts.unchanged = plan.counts.unchanged;
  counts.kept_user_changes = plan.counts.kept_user_changes;
  FreeSeconds free(events, options.now);
  const int total = static_cast<int>(plan.items.size());
  for (int i = 0; i < total; ++i) {
    if (progress && i % 256 == 0) progress(i, total);
    const CalendarItem& item = plan.items[static_cast<std::size_t>(i)];
    const ImportAction action = DecideImport(item, events, rules, uids, options);
    switch (action) {
      case ImportAction::kSkipPast:
        ++counts.skipped_past;
        continue;
      case ImportAction::kUnchanged:
        ++counts.unchanged;
        continue;
      case ImportAction::kKeepUsers:
        ++counts.kept_user_changes;
        continue;
      case ImportAction::kAdd:
      case ImportAction::kUpdate:
        break;
    }
    const EventOfImport made = EventOfItem(item);
    EventKey key;
    if (action == ImportAction::kAdd) {
      const std::optional<Time32> created = free.Next();
      if (!created) break;  // every second to 2038 taken: nothing more can come in
      CMyEvent event = made.event;
      event.timeCreate = *created;
      events.Add(std::move(event));
      key = EventKey{*created, 0};
      if (made.series) rules.Set(RuleKeyOf(key), *made.series);
      ++counts.to_add;
    } else {
      key = *uids.Find(item.uid);
      Update(events, rules, key, made);
      ++counts.to_update;
    }
    if (made.series) ++counts.repeating;
    if (item.marked_characters > 0) ++counts.marked_events;
    uids.Keep(key, item.uid, EventFingerprint(made.event, made.series ? &*made.series : nullptr));
  }
  if (progress) progress(total, total);
  return counts;
}
