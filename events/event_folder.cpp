#include "events/event_folder.h"

#include "events/event_repeats.h"

EventFolder::EventFolder(FileSystem& file_system, EventList& events, RepeatRules& rules, RepeatStore& store,
                         FolderLockTiming timing)
    : file_system_(file_system), events_(events), rules_(rules), store_(store), timing_(timing) {}

bool EventFolder::TakeInFiles(FolderChangeOutcome& outcome) {
  outcome.reload = events_.ReloadIfChanged(&outcome.reloaded);
  bool rules_reloaded = false;
  outcome.rules_load = store_.ReloadIfChanged(&rules_, &rules_reloaded);
  if (outcome.reloaded || rules_reloaded) BindRules(events_, rules_);
  return true;
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
  // Under the lock no writer is half-way: a rule without its event was left
  // by one killed between the two files. It goes before a new event could
  // take its second.
  rules_.DropVanished(RuleKeysOf(events_));
  outcome.applied = change(events_, rules_);
  if (!outcome.applied && options.save_when == SaveWhen::kIfApplied) return outcome;
  Save(*lock, outcome);
  return outcome;
}

void EventFolder::Save(FolderLock& lock, FolderChangeOutcome& outcome) {
  // New and changed rules first, and the rules taken from events that stay;
  // those of events on their way out stay in the file.
  rules_.CommitRemovalsOf(RuleKeysOf(events_));
  if ((outcome.rules_save = lock.CheckHeld()).ok()) outcome.rules_save = store_.Save(rules_);
  if (!outcome.rules_save.ok()) return;
  if ((outcome.save = lock.CheckHeld()).ok() && events_.HasDamagedFile())
    outcome.save = events_.SetAsideDamagedFile(&outcome.aside_path);
  if (outcome.save.ok()) outcome.save = events_.SaveEvents();
  if (!outcome.save.ok()) return;
  // The events are gone from event.dat now: their rules may go too. (A
  // failure leaves rules without events, which the next change drops.)
  // Then the sections are named and fingerprinted for the events as saved.
  bool changed = rules_.DropVanished(RuleKeysOf(events_));
  changed |= rules_.CommitRemovals();
  changed |= NameAndFingerprintRules(events_, rules_);
  if (!changed) return;
  if ((outcome.rules_cleanup = lock.CheckHeld()).ok()) outcome.rules_cleanup = store_.Save(rules_);
}
