#pragma once
// One sync pass between the events' folder and the calendar on the server:
// what changed on either side since the last pass goes to the other, under
// the folder's lock for the local changes (events/event_folder.h). The
// state (per event: UID, href, ETag, the last text both sides agreed on;
// the collection's sync token) lives beside event.dat and is saved only
// when the pass is through.
#include <cstdint>
#include <string>

#include "caldav/caldav_error.h"
#include "sync/sync_settings.h"

class EventFolder;
class HttpTransport;

struct SyncReport {
  bool completed = false;  // the whole pass went through
  int up = 0;              // events written to the server
  int down = 0;            // events brought into Tallyo
  int deleted = 0;         // deleted on either side
  int conflicts = 0;       // conflict copies made
  int local_only = 0;      // memos kept local: the calendar takes no to-dos
  // Why the pass stopped (kNone when completed).
  CalDavErrorKind error = CalDavErrorKind::kNone;
  bool needs_user = false;               // wrong password, refused, one side suddenly empty...
  std::int64_t retry_after_seconds = 0;  // the server's Retry-After, or 0
  std::string message;                   // for the user, code page 936
  // The pass stopped because one side is suddenly empty while the other
  // holds events (nothing was deleted; the user is asked).
  bool one_side_empty = false;
};

struct SyncPassOptions {
  bool dry_run = false;  // find out what a pass would do; nothing written on either side
  // Go on although one side is suddenly empty while the other holds events
  // (the user said so after being asked).
  bool allow_empty_side = false;
};

// Runs one pass with `transport` (authenticated already) for `settings`.
SyncReport RunSyncPass(EventFolder& folder, HttpTransport& transport, const SyncSettings& settings,
                       const SyncPassOptions& options);
