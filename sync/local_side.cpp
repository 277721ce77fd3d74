#include "sync/local_side.h"

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
        for (std::size_t i = 0; i < all.size(); ++i) {
          snapshot->events.push_back({keys[i], ItemNow(mapping, rules, *all[i], keys[i])});
          snapshot->events.back().item.uid = folder.uids().UidOf(keys[i]);
          snapshot->events.back().uid_kept = folder.uids().IsKept(keys[i]);
        }
        return false;  // nothing to save
      },
      options);
  return LockProblem(outcome);
}

Status KeepNewUids(EventFolder& folder, std::vector<std::pair<std::string, std::string>>& renames) {
  EventFolder::Options options;
  options.save_when = SaveWhen::kIfApplied;
  options.wait = kLockWait;
  std::vector<std::pair<std::string, std::string>> kept;
  FolderChangeOutcome outcome = folder.Make(
      [&](EventList& events, RepeatRules&) {
        for (auto& [old_uid, new_uid] : renames) {
          std::optional<EventKey> key = folder.uids().Find(old_uid, events);
          if (!key) continue;
          folder.uids().Keep(*key, new_uid);
          kept.emplace_back(old_uid, new_uid);
        }
        return !kept.empty();
      },
      options);
  if (Status problem = LockProblem(outcome); !problem.ok()) return problem;
  renames = std::move(kept);
  if (!outcome.applied) return Status::Ok();
  return outcome.uids_save.ok() ? outcome.save : outcome.uids_save;
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
        bool any = false;
        for (LocalChange& change : changes) {
          change.done = false;
          if (change.kind == LocalChange::Kind::kAdd) {
            const CMyEvent& added = events.AddNew(CMyEvent(now));
            EventKey key = events.KeyOf(added);
            WriteItem(change.item, key, *events.Find(key), rules);
            // The UID is kept with the event, in the same change: a pass
            // stopped after this finds the event by it, never doubles it.
            if (!change.item.uid.empty()) folder.uids().Keep(key, change.item.uid);
            if (change.entry >= 0) state.entries[change.entry].key = key;
            change.done = any = true;
            continue;
          }
          // Found again by its UID: a change since the pass looked may have
          // moved it to another place of its second.
          std::optional<EventKey> key = folder.uids().Find(change.expected.uid, events);
          CMyEvent* event = key ? events.Find(*key) : nullptr;
          if (event == nullptr || ChangedFields(ItemNow(mapping, rules, *event, *key), change.expected) != 0)
            continue;  // changed meanwhile: the next pass sees it
          if (change.kind == LocalChange::Kind::kUpdate) {
            WriteItem(change.item, *key, *event, rules);
          } else {
            DeleteEventAndRule(events, rules, *key);
          }
          change.done = any = true;
        }
        return any;
      },
      options);
  if (Status problem = LockProblem(outcome); !problem.ok()) return problem;
  if (!outcome.applied) return Status::Ok();
  if (!outcome.rules_save.ok()) return outcome.rules_save;
  if (!outcome.uids_save.ok()) return outcome.uids_save;
  return outcome.save;
}
