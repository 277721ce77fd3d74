#pragma once
// What changed on the server since the last pass: sync-collection with the
// saved token; without a token, or when the server rejects it, the whole
// collection (sync-collection from nothing, or, on a server without it, the
// ctag and then a listing of ETags). Objects whose ETag the state holds
// already (this client's own writes) are left out.
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "caldav/caldav_client.h"
#include "sync/sync_state.h"

struct ServerChanges {
  std::vector<ObjectVersion> changed;    // new or changed objects to fetch
  std::unordered_set<std::string> gone;  // hrefs of the state's objects that are gone
  // The whole collection was listed: `gone` holds every object the listing lacked.
  bool listed_all = false;
  int objects_listed = 0;  // with listed_all: how many objects the server holds
  std::string sync_token;  // to save after the pass ("" when the server gives none)
  std::string ctag;
};

// Asks the server. Uses `state`'s token and ctag; never changes the state.
CalDavResult<ServerChanges> FindServerChanges(CalDavClient& client, const std::string& calendar_url,
                                              const SyncState& state);
