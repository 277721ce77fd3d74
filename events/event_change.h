#pragma once
// How every change to the events is made (add, modify, delete, an answered
// reminder): first take in what another program wrote to event.dat since
// this program last loaded or saved it, then make the change on the list as
// it is now, then save the whole list. A change this program has not seen is
// never overwritten, and a change is found again by its key (event_key.h), never
// through a pointer taken before.
#include <functional>

#include "base/status.h"
#include "events/event_list.h"

struct ChangeOutcome {
  // What the reload before the change met: a damaged or unreadable file
  // (the list in memory was kept, and the file is set aside by the save).
  LoadResult reload;
  bool reloaded = false;  // the list was replaced by the file's records
  bool applied = false;   // the change found what it was meant for
  // Where a damaged file went before the save, if it was set aside.
  std::string aside_path;
  Status save;
};

enum class SaveWhen {
  kAlways,     // a delete that matched nothing still writes the list
  kIfApplied,  // an edit or answer for a record gone meanwhile writes nothing
};

// `change` returns whether it found what it was for.
ChangeOutcome ChangeEvents(EventList& events, const std::function<bool(EventList&)>& change,
                           SaveWhen save_when = SaveWhen::kAlways);
