#pragma once
// The pass's two visits to the events' folder, each under its lock
// (events/event_folder.h): one to see every event as an item, one to make
// the changes the pass brought. Between them the lock is free: the server
// may take minutes, and the program's window must not wait for it.
#include <cstddef>
#include <string>
#include <vector>

#include "base/status.h"
#include "calendar/calendar_item.h"
#include "events/event_key.h"
#include "sync/object_mapping.h"
#include "sync/sync_state.h"

class EventFolder;

struct LocalEvent {
  EventKey key;
  CalendarItem item;      // with its UID (uids.ini)
  bool uid_kept = false;  // the UID is written in uids.ini, not derived from the key
};

struct LocalSnapshot {
  std::string event_path;  // the full path of event.dat
  std::vector<LocalEvent> events;
};

// Every event as an item. Not ok when the lock was not had or event.dat
// could not be read whole (nothing must then look deleted).
Status TakeLocalSnapshot(EventFolder& folder, const ObjectMapping& mapping, LocalSnapshot* snapshot);

// Gives the events `renames` names (by their UID now) the UIDs paired with
// them, kept in uids.ini. The pairs whose event is gone meanwhile are taken
// out of `renames`.
Status KeepNewUids(EventFolder& folder, std::vector<std::pair<std::string, std::string>>& renames);

struct LocalChange {
  enum class Kind { kAdd, kUpdate, kDelete };
  Kind kind = Kind::kAdd;
  EventKey key;           // kUpdate, kDelete
  CalendarItem expected;  // kUpdate, kDelete: the event as the pass saw it
  CalendarItem item;      // kAdd, kUpdate: what it becomes
  // The state's entry whose key follows the event (an added event's key is
  // written into it); -1 for none.
  std::ptrdiff_t entry = -1;
  bool done = false;  // set by ApplyLocalChanges
};

// Makes the changes whose event is still as the pass saw it (one the user
// changed meanwhile waits for the next pass), and keeps the keys of
// `state`'s entries on their events. Not ok when the files were not saved.
Status ApplyLocalChanges(EventFolder& folder, const ObjectMapping& mapping, Time32 now,
                         std::vector<LocalChange>& changes, SyncState& state);
