#pragma once
// EventFolder: the one door through which changes reach the files of the
// events' folder, event.dat and repeat.ini beside it (files that join them
// later come in here too). Every Tallyo writer goes through it: the
// program, every command of tallyo-cli that changes something, an import.
//
// A change, step by step:
//  1. takes the folder's lock (event.dat.lock, base/folder_lock.h), waiting
//     up to a time the caller gives: one writer at a time, across copies of
//     the program, tallyo-cli and tallyo-cli.exe under Wine;
//  2. takes in what another program wrote to either file since this one
//     last loaded or saved it;
//  3. drops the rules whose event is not in the list: under the lock no
//     writer is half-way, so such a rule was left by one killed between the
//     two files, and it must go before a new event could take its second;
//  4. makes the change on the list as it is now (keys are looked up afresh,
//     never through a pointer taken before);
//  5. saves repeat.ini with the new and changed rules (the rules of events
//     on their way out stay), then event.dat, then, if the change deleted
//     events that had rules or moved rules to other places of a second,
//     repeat.ini without them, each section named and fingerprinted for the
//     events as saved (repeat_rules.h);
//  6. lets the lock go.
// So a writer killed at any moment leaves each event with its rule: an add
// leaves nothing or the event with its rule, a delete at worst a rule
// without an event, which the next change drops (it never passes to another
// event).
// Before each replace the lock is checked to be still this writer's (a
// writer taken for killed may have lost it): if not, nothing is replaced.
// Reading (a list, the once-a-second look) takes no lock.
#include <chrono>
#include <functional>
#include <string>

#include "base/file_system.h"
#include "base/folder_lock.h"
#include "base/status.h"
#include "events/event_change.h"  // SaveWhen
#include "events/event_list.h"
#include "repeat/repeat_rules.h"
#include "repeat/repeat_store.h"

struct FolderChangeOutcome {
  // Not ok: the lock was not taken (Busy: another writer held it all the
  // wait), and nothing was read, changed or written.
  Status lock;
  // What taking in met: a damaged or unreadable event.dat (the list in
  // memory was kept, and the file is set aside before the save)...
  LoadResult reload;
  bool reloaded = false;  // the list was replaced by the file's records
  // ...and a repeat.ini that could not be read (it is then not replaced).
  Status rules_load;
  bool stopped = false;  // the owner's take-in stopped the change
  bool applied = false;  // the change found what it was meant for
  // Where a damaged event.dat went before the save, if it was set aside.
  std::string aside_path;
  Status rules_save;  // repeat.ini, first: event.dat is not saved when it fails
  Status save;        // event.dat
  // repeat.ini without the rules taken away: a failure leaves them in the
  // file without their events, and the next change drops them.
  Status rules_cleanup;
  // Every file that was to be written was.
  bool all_saved() const { return lock.ok() && save.ok() && rules_save.ok(); }
};

class EventFolder {
 public:
  // What a change waits for the lock: tallyo-cli waits long (an import may
  // hold it for seconds), the program's window briefly, and keeps a change
  // it could not save for its next try.
  static constexpr std::chrono::milliseconds kCommandWait{30000};
  static constexpr std::chrono::milliseconds kWindowWait{2000};

  // The files of `events`' folder; `rules` are kept by `store` beside it.
  EventFolder(FileSystem& file_system, EventList& events, RepeatRules& rules, RepeatStore& store,
              FolderLockTiming timing = {});

  using Change = std::function<bool(EventList&, RepeatRules&)>;
  // Step 2 done by the owner (the program replays the changes it could not
  // save yet onto what it takes in); false stops the change before it is made.
  using TakeIn = std::function<bool(FolderChangeOutcome&)>;

  struct Options {
    SaveWhen save_when = SaveWhen::kAlways;
    std::chrono::milliseconds wait = kCommandWait;
    TakeIn take_in;  // empty: TakeInFiles
  };

  // `change` returns whether it found what it was for.
  FolderChangeOutcome Make(const Change& change, const Options& options);

  // Step 2 as most writers want it: each file loaded again if it changed.
  bool TakeInFiles(FolderChangeOutcome& outcome);

  // The files as this folder last took them in (for a reader that plans a
  // change, such as an import, before making it).
  const EventList& events() const { return events_; }
  const RepeatRules& rules() const { return rules_; }

  // The lock's file: event.dat.lock beside event.dat.
  std::string LockPath() const { return FolderLock::PathBeside(events_.FilePath()); }

 private:
  void Save(FolderLock& lock, FolderChangeOutcome& outcome);

  FileSystem& file_system_;
  EventList& events_;
  RepeatRules& rules_;
  RepeatStore& store_;
  FolderLockTiming timing_;
};
