#include "events/event_folder.h"

#include "events/event_repeats.h"
#include "events/shared_seconds.h"

EventFolder::EventFolder(FileSystem& file_system, EventList& events, RepeatRules& rules, RepeatStore& store,
                         FolderLockTiming timing)
    : file_system_(file_system),
      events_(events),
      rules_(rules),
      store_(store),
      timing_(timing),
      uid_store_(file_system, UidFilePathBeside(events.FilePath())) {}

bool EventFolder::TakeInFiles(FolderChangeOutcome& outcome) {
  outcome.reload = events_.ReloadIfChanged(&outcome.reloaded);
  bool rules_reloaded = false;
  outcome.rules_load = store_.ReloadIfChanged(&rules_, &rules_reloaded);
  if (outcome.reloaded || rules_reloaded) BindRules(events_, rules_);
  return true;
}

void EventFolder::TakeInUids(FolderChangeOutcome& outcome) {
  bool reloaded = false;
  outcome.uids_load = uid_store_.ReloadIfChanged(&uids_, &reloaded);
  // Bound every time: an owner's take-in may have replaced the events
  // without saying so.
  uids_.Bind(events_);
}

Status EventFolder::RefreshUids() {
  FolderChangeOutcome outcome;
  TakeInUids(outcome);
  return outcome.uids_load;
}

FolderChangeOutcome EventFolder::Make(const Change& change, const Options& options) {
  FolderChangeOutcome outcome;
  std::unique_ptr<FolderLock> lock;
  outcome.lock = FolderLock::Acquire(file_system_, LockPath(), options.wait, &lock, timing_);
  if (!outcome.lock.ok()) return outcome;
  const bool go_on = options.take_in ? options.take_in(outcome) : TakeInFiles(outcome);
  if (!go_on) {
    outcome.stopped = true;
    return outcome;
  }
  TakeInUids(outcome);
  // Under the lock no writer is half-way: a rule or UID without its event
  // was left by one killed between the files. It goes before a new event
  // could take its second.
  const std::vector<RuleKey> keys = RuleKeysOf(events_);
  rules_.DropVanished(keys);
  uids_.DropVanished(keys);
  // The UIDs that a delete would otherwise pass to a twin are kept, and
  // follow their events through the change.
  uids_.KeepSharedSeconds(events_);
  uids_.NameAndFingerprint(events_);
  const SharedSeconds shared(events_);
  outcome.applied = change(events_, rules_);
  if (!shared.empty()) {
    KeyedSections<UidEntry>::Moves moves;
    for (const auto& [from, to] : shared.Moves(events_)) {
      if (to) {
        moves.emplace_back(from, to);
      } else {
        uids_.Forget(EventKey{from.created, from.place});  // its section leaves after event.dat
      }
    }
    uids_.Move(moves);
  }
  if (!outcome.applied && options.save_when == SaveWhen::kIfApplied) return outcome;
  Save(*lock, outcome);
  return outcome;
}

void EventFolder::Save(FolderLock& lock, FolderChangeOutcome& outcome) {
  // New and changed rules first, and the rules taken from events that stay;
  // those of events on their way out stay in the file. The UIDs likewise:
  // a moved one keeps its section's name and fingerprint until event.dat
  // is saved, so that the old event.dat still finds it.
  rules_.CommitRemovalsOf(RuleKeysOf(events_));
  if ((outcome.rules_save = lock.CheckHeld()).ok()) outcome.rules_save = store_.Save(rules_);
  if (!outcome.rules_save.ok()) return;
  if ((outcome.uids_save = lock.CheckHeld()).ok()) outcome.uids_save = uid_store_.Save(uids_);
  if (!outcome.uids_save.ok()) return;
  if ((outcome.save = lock.CheckHeld()).ok() && events_.HasDamagedFile())
    outcome.save = events_.SetAsideDamagedFile(&outcome.aside_path);
  if (outcome.save.ok()) outcome.save = events_.SaveEvents();
  if (!outcome.save.ok()) return;
  // The events are gone from event.dat now: their rules and UIDs may go
  // too. (A failure leaves sections without events, which the next change
  // drops.) Then the sections are named and fingerprinted for the events
  // as saved.
  const std::vector<RuleKey> keys = RuleKeysOf(events_);
  bool changed = rules_.DropVanished(keys);
  changed |= rules_.CommitRemovals();
  changed |= NameAndFingerprintRules(events_, rules_);
  if (changed && (outcome.rules_cleanup = lock.CheckHeld()).ok()) outcome.rules_cleanup = store_.Save(rules_);
  bool uids_changed = uids_.DropVanished(keys);
  uids_changed |= uids_.CommitRemovals();
  uids_changed |= uids_.KeepSharedSeconds(events_);
  uids_changed |= uids_.NameAndFingerprint(events_);
  if (uids_changed && (outcome.uids_cleanup = lock.CheckHeld()).ok())
    outcome.uids_cleanup = uid_store_.Save(uids_);
}
