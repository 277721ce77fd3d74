#pragma once
// What the last pass left for the next: per event its UID, the server's name
// for its object (href) and ETag, and the text both sides last agreed on;
// for the collection its sync token and ctag. One file, sync-state.dat beside
// event.dat, written with temp file and replace, so a pass killed at any
// moment leaves the state of before or after a step, never half of one.
//
// The file: a line "TallyoSyncState 1", then fields, each "NAME LENGTH\n",
// LENGTH bytes and "\n": texts of any bytes (CR LF of calendar data too)
// come back exactly. An entry starts with its "uid" field.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/file_system.h"
#include "base/status.h"
#include "events/event_key.h"

struct SyncEntry {
  std::string uid;  // UTF-8, as the calendar data has it
  // The local event the UID was given to, when last seen (uids.ini finds it by its UID).
  EventKey key;
  // "" while the event is kept in Tallyo only on purpose (a reminder
  // answered, whose VEVENT was deleted on the server): it is not pushed again.
  std::string href;
  std::string etag;
  std::string agreed;  // the calendar data both sides last agreed on (UTF-8)

  bool operator==(const SyncEntry&) const = default;
};

struct SyncState {
  std::string calendar_url;  // the collection this state belongs to
  std::string sync_token;    // "" when the server gives none, or before the first pass
  std::string ctag;
  std::vector<SyncEntry> entries;

  bool operator==(const SyncState&) const = default;

  SyncEntry* FindUid(std::string_view uid);
  SyncEntry* FindHref(std::string_view href);
};

// sync-state.dat in the folder of `event_file_path`.
std::string SyncStatePathBeside(const std::string& event_file_path);

std::string SyncStateToBytes(const SyncState& state);
// Corrupt, with where, for bytes that are not a state file.
Status SyncStateFromBytes(std::string_view bytes, SyncState* state);

// A missing file gives an empty state.
Status LoadSyncState(FileSystem& file_system, const std::string& path, SyncState* state);
Status SaveSyncState(FileSystem& file_system, const std::string& path, const SyncState& state);
