#pragma once
// The pass of sync_pass.h with its seams open: the mapping between objects
// and events, and the clock. RunSyncPass calls it with calendar/'s mapping.
#include "base/local_time.h"
#include "sync/object_mapping.h"
#include "sync/sync_pass.h"

SyncReport RunSyncPassWith(EventFolder& folder, HttpTransport& transport, const SyncSettings& settings,
                           const SyncPassOptions& options, const ObjectMapping& mapping, Time32 now);

// A conflict copy's title: the server's title, marked.
std::string ConflictCopyTitle(const std::string& title);
