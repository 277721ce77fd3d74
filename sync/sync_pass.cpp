#include "sync/sync_pass.h"

#include "sync/sync_engine.h"

SyncReport RunSyncPass(EventFolder& folder, HttpTransport& transport, const SyncSettings& settings,
                       const SyncPassOptions& options) {
  return RunSyncPassWith(folder, transport, settings, options, CalendarObjectMapping(), NowTime());
}
