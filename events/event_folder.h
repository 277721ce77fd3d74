#pragma once
// EventFolder: the one door through which changes reach the files of the
// events' folder, event.dat and, beside it, repeat.ini (the rules) and
// uids.ini (the events' UIDs, event_uids.h). Every Tallyo writer goes
// through it: the program, every command of tallyo-cli that changes
// something, an import.
//
// A change, step by step:
//  1. takes the folder's lock (event.dat.lock, base/folder_lock.h), waiting
//     up to a time the caller gives: one writer at a time, across copies of
//     the program, tallyo-cli and tallyo-cli.exe under Wine;
//  2. takes in what another program wrote to any of the files since this
//     one last loaded or saved it; the rules and UIDs find their events;
//  3. drops the rules and UIDs whose event is not in the list: under the
//     lock no writer is half-way, so such a section was left by one killed
//     between the files, and it must go before a new event could take its
//     second;
//  4. keeps the UID of every event of a second shared by several events,
//     so that none changes when a twin is deleted, then makes the change on
//     the list as it is now (keys are looked up afresh, never through a
//     pointer taken before); the UIDs of the events of those seconds follow
//     their events to their new places;
//  5. saves repeat.ini with the new and changed rules (the rules of events
//     on their way out stay), uids.ini likewise, then event.dat, then, if
//     the change deleted events or moved them to other places of a second,
//     repeat.ini and uids.ini without them, each section named and
//     fingerprinted for the events as saved (repeat/keyed_sections.h);
//  6. lets the lock go.
// So a writer killed at any moment leaves each event with its rule and its
// UID, never another's: an add leaves nothing or the event with its rule,
// a delete at worst a section without an event, which the next change
// drops (it never passes to another event).
// Before each replace the lock is checked to be still this writer's (a
// writer taken for killed may have lost it): if not, nothing is replaced.
// Reading (a list, the once-a-second look) takes no lock.
//
// The UIDs: a change reads and sets them through uids(), which it captures:
//
//   EventUids& uids = folder.uids();
//   folder.Make([&](EventList& events, RepeatRules& rules) {
//     const CMyEvent& added = events.AddNew(event);
//     uids.Keep(events.KeyOf(added), source_uid);  // UidOf, Find, SetImported...
//     return true;
//   }, options);
#include <chrono>
#include <functional>
#include <string>

#include "base/file_system.h"
#include "base/folder_lock.h"
#include "base/status.h"
#include "events/event_change.h"  // SaveWhen
#include "events/event_list.h"
#include "events/event_uids.h"
#include "events/uid_store.h"
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
  // uids.ini: one that could not be read is not replaced; a failed save
  // stops the change before event.dat, as repeat.ini's does.
  Status uids_load;
  Status uids_save;
  Status uids_cleanup;
  // Every file that was to be written was.
  bool all_saved() const { return lock.ok() && save.ok() && rules_save.ok() && uids_save.ok(); }
};

class EventFolder {
 public:
  // What a change waits for the lock: tallyo-cli waits long (an import may
  // hold it for seconds), the program's window briefly, and keeps a change
  // it could not save for its next try.
  static constexpr std::chrono::milliseconds kCommandWait{30000};
  static constexpr std::chrono::milliseconds kWindowWait{2000};

  // The files of `events`' folder; `rules` are kept by `store` beside it,
  // the UIDs by this object, in uids.ini beside event.dat.
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

  // The UIDs of the events, as of the last change, or RefreshUids. A change
  // reads and changes them here; they are saved with it.
  EventUids& uids() { return uids_; }
  const EventUids& uids() const { return uids_; }
  // Reads uids.ini again if it changed and binds it to the events as they
  // are now, without the lock: for a reader (an import's plan) between
  // changes. The error of a file that cannot be read.
  Status RefreshUids();

  // The lock's file: event.dat.lock beside event.dat.
  std::string LockPath() const { return FolderLock::PathBeside(events_.FilePath()); }

 private:
  void Save(FolderLock& lock, FolderChangeOutcome& outcome);
  void TakeInUids(FolderChangeOutcome& outcome);

  FileSystem& file_system_;
  EventList& events_;
  RepeatRules& rules_;
  RepeatStore& store_;
  FolderLockTiming timing_;
  UidStore uid_store_;
  EventUids uids_;
};
