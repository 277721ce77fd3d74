#include "sync/server_changes.h"

namespace {

// `versions` compared with what the state holds.
void Compare(const std::vector<ObjectVersion>& versions, const SyncState& state, bool listed_all,
             ServerChanges& changes) {
  std::unordered_map<std::string_view, const SyncEntry*> by_href;
  for (const SyncEntry& entry : state.entries)
    if (!entry.href.empty()) by_href.emplace(entry.href, &entry);
  std::unordered_set<std::string_view> seen;
  for (const ObjectVersion& version : versions) {
    seen.insert(version.href);
    auto known = by_href.find(version.href);
    // An object without an ETag is fetched to learn it.
    if (known != by_href.end() && !version.etag.empty() && known->second->etag == version.etag) continue;
    changes.changed.push_back(version);
  }
  if (!listed_all) return;
  changes.listed_all = true;
  changes.objects_listed = static_cast<int>(versions.size());
  for (const auto& [href, entry] : by_href)
    if (!seen.contains(href)) changes.gone.emplace(href);
}

}  // namespace

namespace {

// Worth a second try later rather than another way now.
bool Passing(const CalDavError& error) {
  return error.kind == CalDavErrorKind::kUnreachable || error.kind == CalDavErrorKind::kRetryLater;
}

}  // namespace

CalDavResult<ServerChanges> FindServerChanges(CalDavClient& client, const std::string& calendar_url,
                                              const SyncState& state) {
  CalDavResult<ServerChanges> result;
  ServerChanges& changes = result.value;
  if (!state.sync_token.empty()) {
    CalDavResult<SyncChanges> since = client.SyncCollection(calendar_url, state.sync_token);
    if (since.ok()) {
      Compare(since.value.changed, state, /*listed_all=*/false, changes);
      for (std::string& href : since.value.deleted) changes.gone.insert(std::move(href));
      changes.sync_token = std::move(since.value.sync_token);
      changes.ctag = state.ctag;
      return result;
    }
    // A rejected token, or a report refused (several hosted servers answer
    // 403 to it): everything is listed below. A wrong password shows there.
    if (Passing(since.error)) {
      result.error = since.error;
      return result;
    }
  }
  // Everything again. The token is read before anything is listed: changes
  // made while the listing runs come in the next pass.
  CalDavResult<CalendarInfo> info = client.ReadCalendar(calendar_url);
  if (!info.ok()) {
    result.error = info.error;
    return result;
  }
  changes.ctag = info.value.ctag;
  // The last pass could not use sync-collection: an unchanged ctag means
  // nothing changed.
  if (state.sync_token.empty() && !state.entries.empty() && !changes.ctag.empty() &&
      changes.ctag == state.ctag)
    return result;
  if (info.value.supports_sync_collection) {
    CalDavResult<SyncChanges> all = client.SyncCollection(calendar_url, "");
    if (all.ok()) {
      Compare(all.value.changed, state, /*listed_all=*/true, changes);
      changes.sync_token = std::move(all.value.sync_token);
      return result;
    }
    if (Passing(all.error)) {
      result.error = all.error;
      return result;
    }
    // Announced but refused: listed instead.
  }
  CalDavResult<std::vector<ObjectVersion>> listed = client.ListObjects(calendar_url);
  if (!listed.ok()) {
    result.error = listed.error;
    return result;
  }
  Compare(listed.value, state, /*listed_all=*/true, changes);
  return result;
}
