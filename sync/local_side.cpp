#include "sync/local_side.h"

#include <algorithm>
#include <limits>
#include <unordered_set>

#include "events/event_folder.h"
#include "events/event_repeats.h"
#include "repeat/repeat_series.h"
#include "sync/item_merge.h"

namespace {

// The wait for the lock: a writer holds it for a moment only.
constexpr std::chrono::milliseconds kLockWait = EventFolder::kCommandWait;

Status LockProblem(const FolderChangeOutcome& outcome) {
  if (!outcome.lock.ok()) return outcome.lock;
  if (!outcome.reload.ok()) return Status::Corrupt(outcome.reload.message);
  return Status::Ok();
}

CalendarItem ItemNow(const ObjectMapping& mapping, const RepeatRules& rules, const CMyEvent& event,
                     EventKey key) {
  return mapping.item_of_event(event, SeriesOfEvent(rules, event, key), std::string());
}

void WriteItem(const CalendarItem& item, EventKey key, CMyEvent& event, RepeatRules& rules) {
  event.strTitle = item.title;
  event.strContent = item.body;
  event.bRemind = item.reminds ? 1 : 0;
  if (item.reminds) event.timeRemind = item.remind_at;
  if (item.reminds && item.rule) {
    rules.Set(RuleKeyOf(key), RepeatSeries(item.series_start, *item.rule, item.dates));
  } else {
    rules.Remove(RuleKeyOf(key));
  }
}

}  // namespace

Status TakeLocalSnapshot(EventFolder& folder, const ObjectMapping& mapping, LocalSnapshot* snapshot) {
  EventFolder::Options options;
  options.save_when = SaveWhen::kIfApplied;
  options.wait = kLockWait;
  FolderChangeOutcome outcome = folder.Make(
      [&](EventList& events, RepeatRules& rules) {
        snapshot->event_path = events.FilePath();
        EventPtrList all;
        events.GetAll(all);
        std::vector<EventKey> keys = events.KeysOf(all);
        snapshot->events.reserve(all.size());
        for (std::size_t i = 0; i < all.size(); ++i)
          snapshot->events.push_back({keys[i], ItemNow(mapping, rules, *all[i], keys[i])});
        return false;  // nothing to save
      },
      options);
  return LockProblem(outcome);
}

Status ApplyLocalChanges(EventFolder& folder, const ObjectMapping& mapping, Time32 now,
                         std::vector<LocalChange>& changes, SyncState& state) {
  // Deletes last, the later places of a second first: a delete moves up only
  // the events after it in its second, which are done by then.
  std::stable_sort(changes.begin(), changes.end(), [](const LocalChange& a, const LocalChange& b) {
    const bool a_delete = a.kind == LocalChange::Kind::kDelete,
               b_delete = b.kind == LocalChange::Kind::kDelete;
    if (a_delete != b_delete) return b_delete;
    return a_delete && a.key > b.key;
  });
  EventFolder::Options options;
  options.save_when = SaveWhen::kIfApplied;
  options.wait = kLockWait;
  FolderChangeOutcome outcome = folder.Make(
      [&](EventList& events, RepeatRules& rules) {
        std::unordered_set<Time32> used_seconds;
        for (const SyncEntry& entry : state.entries) used_seconds.insert(entry.key.created);
        bool any = false;
        for (LocalChange& change : changes) {
          change.done = false;
          if (change.kind == LocalChange::Kind::kAdd) {
            // A second no entry of the state names: an event deleted since
            // the last pass must not pass its entry on to a newcomer.
            Time32 created = events.FreeCreateTime(now);
            while (used_seconds.contains(created) && created < std::numeric_limits<Time32>::max())
              created = events.FreeCreateTime(created + 1);
            used_seconds.insert(created);
            const CMyEvent& added = events.AddNew(CMyEvent(created));
            EventKey key = events.KeyOf(added);
            WriteItem(change.item, key, *events.Find(key), rules);
            if (change.entry >= 0) state.entries[change.entry].key = key;
            change.done = any = true;
            continue;
          }
          CMyEvent* event = events.Find(change.key);
          if (event == nullptr ||
              ChangedFields(ItemNow(mapping, rules, *event, change.key), change.expected) != 0)
            continue;  // changed meanwhile: the next pass sees it
          if (change.kind == LocalChange::Kind::kUpdate) {
            WriteItem(change.item, change.key, *event, rules);
          } else {
            DeleteEventAndRule(events, rules, change.key);
            // The later events of its second moved up a place.
            for (SyncEntry& entry : state.entries)
              if (entry.key.created == change.key.created && entry.key.twin > change.key.twin)
                --entry.key.twin;
          }
          change.done = any = true;
        }
        return any;
      },
      options);
  if (Status problem = LockProblem(outcome); !problem.ok()) return problem;
  if (!outcome.applied) return Status::Ok();
  if (!outcome.rules_save.ok()) return outcome.rules_save;
  return outcome.save;
}
