#include "sync/sync_engine.h"

#include <map>
#include <random>
#include <unordered_map>
#include <unordered_set>

#include "base/folder_lock.h"
#include "caldav/caldav_client.h"
#include "events/event_folder.h"
#include "sync/item_merge.h"
#include "sync/local_side.h"
#include "sync/server_changes.h"
#include "sync/todo_status.h"

namespace {

// A UID of its own for an event about to go up for the first time: a
// Tallyo event's first UID comes from its creation second, which another
// PC's event may share.
std::string NewUid(EventKey key) {
  static thread_local std::mt19937_64 random{std::random_device{}() ^
                                             (static_cast<std::uint64_t>(NowTime()) << 20)};
  static constexpr char kHex[] = "0123456789abcdef";
  std::string uid = std::to_string(key.created) + "-";
  std::uint64_t bits = random();
  for (int i = 0; i < 16; ++i, bits >>= 4) uid.push_back(kHex[bits & 15]);
  return uid + "@" + kTallyoUidDomain;
}

// A one-off reminder whose time is over.
bool IsPastAt(const CalendarItem& item, Time32 now) {
  return item.reminds && !item.rule && item.remind_at < now;
}

// The etag of an entry kept in Tallyo only on purpose.
constexpr char kKeptInTallyo[] = "kept-in-tallyo";

// A one-off reminder both sides agreed on, which Tallyo's "我知道了" ends.
bool IsOneOffReminder(const CalendarItem& item) { return item.reminds && !item.rule; }

// A server object fetched this pass.
struct Fetched {
  std::string href;
  std::string etag;
  std::string data;
  CalendarItem item;
};

class Pass {
 public:
  Pass(EventFolder& folder, HttpTransport& transport, const SyncSettings& settings,
       const SyncPassOptions& options, const ObjectMapping& mapping, Time32 now)
      : folder_(folder),
        client_(transport),
        settings_(settings),
        options_(options),
        mapping_(mapping),
        now_(now),
        writing_(!options.dry_run) {}

  SyncReport Run();

 private:
  bool Fail(const CalDavError& error);
  bool FailLocal(const std::string& message);
  bool IsPast(const CalendarItem& item) const { return IsPastAt(item, now_); }
  bool GiveUids();
  bool GiveOwnUids();
  bool Fetch(const ServerChanges& changes);
  bool SideSuddenlyEmpty(const ServerChanges& changes) const;
  bool Decide(const ServerChanges& changes);
  bool DecideEntry(std::size_t index, const ServerChanges& changes);
  bool PushNew(std::size_t index, const LocalEvent& local);
  bool PushChange(std::size_t index, const CalendarItem& agreed, const LocalEvent& local);
  bool MatchWithoutBase(std::size_t index, const LocalEvent& local, const Fetched& server);
  bool Merge(std::size_t index, const CalendarItem& agreed, const LocalEvent& local, const Fetched& server);
  void AddConflictCopy(const CalendarItem& server);
  bool WriteOver(std::size_t index, const Fetched& server, const std::string& text, bool* conflict);
  bool TakesTodos();
  std::optional<Fetched> GetObject(const std::string& href);
  void Settle(std::size_t index, const std::string& href, const std::string& etag, const std::string& data);
  void AddLocal(const CalendarItem& item, std::ptrdiff_t entry);
  void ChangeLocal(const LocalEvent& event, const CalendarItem& item, std::size_t index);
  void DeleteLocal(const LocalEvent& event, std::size_t index);
  void Drop(std::size_t index) { dropped_[index] = true; }
  // `local_done`: the local changes are made (or given up); before, an
  // entry waiting for one is saved as the pass found it (a new one not at
  // all), so that a pass stopped in between asks the server again.
  bool SaveState(bool local_done);

  EventFolder& folder_;
  CalDavClient client_;
  const SyncSettings& settings_;
  SyncPassOptions options_;
  const ObjectMapping& mapping_;
  Time32 now_;
  const bool writing_;

  SyncReport report_;
  SyncState state_;
  std::string state_path_;
  std::string saved_bytes_;  // the state file as this pass last read or wrote it
  LocalSnapshot local_;
  std::unordered_map<std::string, std::size_t> local_by_uid_;
  std::unordered_map<std::string, Fetched> fetched_;  // by UID
  std::vector<bool> dropped_;                         // entries that go at the end
  std::vector<LocalChange> local_changes_;
  std::optional<bool> takes_todos_;
  // The state's entries as the pass found them.
  std::vector<SyncEntry> original_;
  std::unordered_set<std::string> known_uids_;
};

bool Pass::Fail(const CalDavError& error) {
  report_.error = error.kind;
  report_.retry_after_seconds = error.retry_after_seconds.value_or(0);
  switch (error.kind) {
    case CalDavErrorKind::kAuth:
    case CalDavErrorKind::kRefused:
    case CalDavErrorKind::kNotFound:
      report_.needs_user = true;
      break;
    default:
      break;
  }
  report_.message = error.message;
  return false;
}

bool Pass::FailLocal(const std::string& message) {
  report_.error = CalDavErrorKind::kOther;
  report_.message = message;
  return false;
}

SyncReport Pass::Run() {
  if (settings_.calendar_url.empty()) {
    report_.needs_user = true;
    report_.message = "no calendar is chosen for this folder (sync setup)";
    return report_;
  }
  if (Status status = TakeLocalSnapshot(folder_, mapping_, &local_); !status.ok()) {
    FailLocal(status.message());
    return report_;
  }
  state_path_ = SyncStatePathBeside(local_.event_path);
  // One pass at a time for a folder: the program's and tallyo-cli's.
  std::unique_ptr<FolderLock> pass_lock;
  if (Status status = FolderLock::Acquire(DefaultFileSystem(), state_path_ + FolderLock::kSuffix,
                                          std::chrono::seconds(10), &pass_lock);
      !status.ok()) {
    report_.error = CalDavErrorKind::kRetryLater;
    report_.message = status.message();
    return report_;
  }
  if (Status status = LoadSyncState(DefaultFileSystem(), state_path_, &state_); status.ok()) {
    saved_bytes_ = SyncStateToBytes(state_);
  } else {
    // A state that cannot be read is started again: the objects are then
    // matched by UID, and nothing is deleted on either side.
    state_ = SyncState();
  }
  if (state_.calendar_url != settings_.calendar_url) {
    state_ = SyncState();
    state_.calendar_url = settings_.calendar_url;
  }
  if (!GiveUids()) return report_;
  CalDavResult<ServerChanges> changes = FindServerChanges(client_, settings_.calendar_url, state_);
  if (!changes.ok()) {
    Fail(changes.error);
    return report_;
  }
  if (!Fetch(changes.value) || !GiveOwnUids()) return report_;
  if (!options_.allow_empty_side && SideSuddenlyEmpty(changes.value)) {
    report_.needs_user = true;
    report_.one_side_empty = true;
    report_.message =
        local_.events.empty()
            ? "every event is gone from Tallyo while the calendar still holds them: nothing was "
              "deleted on the server"
            : "every event is gone from the calendar while Tallyo still holds them: nothing was "
              "deleted in Tallyo";
    return report_;
  }
  if (!Decide(changes.value)) {
    SaveState(/*local_done=*/false);
    return report_;
  }
  if (!writing_) {
    report_.completed = true;
    return report_;
  }
  // Written so far: the server's objects. A kill from here on leaves the
  // local changes to be found again by the next pass.
  if (!SaveState(/*local_done=*/false)) return report_;
  if (!local_changes_.empty()) {
    if (Status status = ApplyLocalChanges(folder_, mapping_, now_, local_changes_, state_); !status.ok()) {
      for (const LocalChange& change : local_changes_)
        if (change.entry >= 0 && static_cast<std::size_t>(change.entry) < original_.size())
          state_.entries[change.entry] = original_[change.entry];
      SaveState(/*local_done=*/false);
      FailLocal(status.message());
      return report_;
    }
  }
  bool all_done = true;
  for (const LocalChange& change : local_changes_) {
    if (change.done) continue;
    all_done = false;
    // The user changed that event meanwhile: its entry stays as it was,
    // and the server's change is asked for again next time.
    if (change.entry >= 0 && static_cast<std::size_t>(change.entry) < original_.size()) {
      state_.entries[change.entry] = original_[change.entry];
      dropped_[change.entry] = false;
    }
  }
  if (all_done) {
    state_.sync_token = changes.value.sync_token;
    state_.ctag = changes.value.ctag;
  }
  if (!SaveState(/*local_done=*/true)) return report_;
  report_.completed = true;
  return report_;
}

bool Pass::GiveUids() {
  // Matched by UID (uids.ini gives every event one): an event new since the
  // last pass gets an entry that waits to go up.
  std::unordered_set<std::string_view> in_state;
  for (const SyncEntry& entry : state_.entries) in_state.insert(entry.uid);
  std::vector<SyncEntry> waiting;
  for (std::size_t i = 0; i < local_.events.size(); ++i) {
    const LocalEvent& event = local_.events[i];
    local_by_uid_.emplace(event.item.uid, i);
    if (in_state.contains(event.item.uid)) continue;
    SyncEntry& added = waiting.emplace_back();
    added.uid = event.item.uid;
    added.key = event.key;
  }
  state_.entries.insert(state_.entries.end(), waiting.begin(), waiting.end());
  dropped_.assign(state_.entries.size(), false);
  original_ = state_.entries;
  for (const SyncEntry& entry : state_.entries) known_uids_.insert(entry.uid);
  return true;
}

bool Pass::GiveOwnUids() {
  std::vector<std::pair<std::string, std::string>> renames;
  for (const SyncEntry& entry : state_.entries) {
    if (!entry.href.empty() || !entry.agreed.empty() || !entry.etag.empty() || fetched_.contains(entry.uid))
      continue;
    auto local = local_by_uid_.find(entry.uid);
    if (local == local_by_uid_.end() || local_.events[local->second].uid_kept) continue;
    renames.emplace_back(entry.uid, NewUid(entry.key));
  }
  if (renames.empty() || !writing_) return true;
  if (Status status = KeepNewUids(folder_, renames); !status.ok()) return FailLocal(status.message());
  std::unordered_map<std::string_view, const std::string*> renamed;
  for (const auto& [old_uid, new_uid] : renames) {
    renamed.emplace(old_uid, &new_uid);
    auto local = local_by_uid_.extract(old_uid);
    local.key() = new_uid;
    local_.events[local.mapped()].item.uid = new_uid;
    local_by_uid_.insert(std::move(local));
    known_uids_.insert(new_uid);
  }
  for (SyncEntry& entry : state_.entries)
    if (auto to = renamed.find(entry.uid); to != renamed.end()) entry.uid = *to->second;
  original_ = state_.entries;
  return true;
}

bool Pass::Fetch(const ServerChanges& changes) {
  if (changes.changed.empty()) return true;
  std::vector<std::string> hrefs;
  hrefs.reserve(changes.changed.size());
  for (const ObjectVersion& version : changes.changed) hrefs.push_back(version.href);
  CalDavResult<MultigetResult> got = client_.Multiget(settings_.calendar_url, hrefs);
  if (!got.ok()) return Fail(got.error);
  for (CalendarObject& object : got.value.objects) {
    std::string problem;
    std::optional<CalendarItem> item = mapping_.read(object.data, now_, &problem);
    // An object Tallyo cannot read stays on the server as it is.
    if (!item || item->uid.empty()) continue;
    std::string uid = item->uid;
    fetched_.try_emplace(std::move(uid), Fetched{object.href, object.etag, std::move(object.data), *item});
  }
  return true;
}

bool Pass::SideSuddenlyEmpty(const ServerChanges& changes) const {
  // One event deleted is an answer; every one of several at once is the
  // kind of loss that must not spread to the other side.
  int on_server = 0, gone_from_server = 0, gone_from_tallyo = 0;
  for (const SyncEntry& entry : state_.entries) {
    if (entry.href.empty() || entry.agreed.empty() || entry.server_only) continue;
    ++on_server;
    if (changes.gone.contains(entry.href)) ++gone_from_server;
    if (!local_by_uid_.contains(entry.uid)) ++gone_from_tallyo;
  }
  if (on_server < 2) return false;
  const bool server_empty = gone_from_server == on_server && fetched_.empty() &&
                            (!changes.listed_all || changes.objects_listed == 0);
  const bool tallyo_empty = local_.events.empty();
  return (server_empty && !local_.events.empty()) ||
         (tallyo_empty && gone_from_tallyo == on_server && gone_from_server < on_server);
}

bool Pass::Decide(const ServerChanges& changes) {
  const std::size_t known = state_.entries.size();
  for (std::size_t i = 0; i < known; ++i)
    if (!DecideEntry(i, changes)) return false;
  // Objects new to this folder.
  for (auto& [uid, server] : fetched_) {
    if (known_uids_.contains(uid) || server.item.done) continue;
    SyncEntry& entry = state_.entries.emplace_back();
    dropped_.push_back(false);
    entry.uid = uid;
    Settle(state_.entries.size() - 1, server.href, server.etag, server.data);
    // The calendar's past stays there: years of past events would come in
    // as overdue reminders, and answering them would delete them.
    if (IsPast(server.item)) {
      state_.entries.back().server_only = true;
      continue;
    }
    AddLocal(server.item, static_cast<std::ptrdiff_t>(state_.entries.size() - 1));
    ++report_.down;
  }
  return true;
}

bool Pass::DecideEntry(std::size_t index, const ServerChanges& changes) {
  SyncEntry entry = state_.entries[index];  // a copy: the vector grows meanwhile
  auto local_at = local_by_uid_.find(entry.uid);
  const LocalEvent* local = local_at == local_by_uid_.end() ? nullptr : &local_.events[local_at->second];
  auto fetched_at = fetched_.find(entry.uid);
  const Fetched* server = fetched_at == fetched_.end() ? nullptr : &fetched_at->second;

  if (entry.server_only) {
    // A past event left on the server: it comes in when it is moved to come.
    if (changes.gone.contains(entry.href) && server == nullptr) {
      Drop(index);
    } else if (server != nullptr) {
      Settle(index, server->href, server->etag, server->data);
      if (!IsPast(server->item) && !server->item.done) {
        state_.entries[index].server_only = false;
        AddLocal(server->item, static_cast<std::ptrdiff_t>(index));
        ++report_.down;
      }
    }
    return true;
  }
  if (entry.agreed.empty() && entry.href.empty()) {
    // Never on the server yet (a new event, or one kept in Tallyo only).
    if (local == nullptr) {
      Drop(index);
      return true;
    }
    if (server != nullptr) return MatchWithoutBase(index, *local, *server);
    if (entry.etag == kKeptInTallyo) return true;
    return PushNew(index, *local);
  }
  std::string problem;
  std::optional<CalendarItem> agreed = mapping_.read(entry.agreed, now_, &problem);
  if (!agreed) agreed = local ? local->item : server ? server->item : CalendarItem();
  const bool gone =
      (changes.gone.contains(entry.href) && server == nullptr) || (server != nullptr && server->item.done);

  if (local == nullptr) {
    if (server != nullptr && !server->item.done) {
      // Deleted in Tallyo, changed on the server: the change wins.
      Settle(index, server->href, server->etag, server->data);
      AddLocal(server->item, static_cast<std::ptrdiff_t>(index));
      ++report_.down;
      return true;
    }
    Drop(index);
    if (gone) return true;
    ++report_.deleted;
    if (!writing_) return true;
    if (agreed->kind == CalendarKind::kTodo && IsOneOffReminder(*agreed)) {
      // A to-do answered in Tallyo is done, not gone.
      CalDavResult<WriteResult> written =
          client_.Update(entry.href, entry.etag, MarkTodoCompleted(entry.agreed));
      if (written.ok() || written.error.kind == CalDavErrorKind::kConflict) return true;
      return Fail(written.error);
    }
    CalDavResult<NoValue> deleted = client_.Delete(entry.href, entry.etag);
    if (deleted.ok()) return true;
    if (deleted.error.kind != CalDavErrorKind::kConflict) return Fail(deleted.error);
    // Changed on the server meanwhile: the change wins.
    --report_.deleted;
    dropped_[index] = false;
    std::optional<Fetched> now_there = GetObject(entry.href);
    if (!now_there) return report_.error == CalDavErrorKind::kNone;
    Settle(index, now_there->href, now_there->etag, now_there->data);
    AddLocal(now_there->item, static_cast<std::ptrdiff_t>(index));
    ++report_.down;
    return true;
  }

  const ItemFields local_changed = ChangedFields(*agreed, local->item);
  if (gone) {
    if (local_changed == 0) {
      DeleteLocal(*local, index);
      Drop(index);
      ++report_.deleted;
      return true;
    }
    // Changed in Tallyo, deleted on the server: the change wins, as a new object.
    state_.entries[index].href.clear();
    state_.entries[index].etag.clear();
    state_.entries[index].agreed.clear();
    return PushNew(index, *local);
  }
  if (server != nullptr) return Merge(index, *agreed, *local, *server);
  if (local_changed == 0) return true;
  if (agreed->kind == CalendarKind::kEvent && IsOneOffReminder(*agreed) && !local->item.reminds) {
    // Answered in Tallyo and kept there as a memo: the event is over on the
    // server; the memo stays in Tallyo only.
    ++report_.deleted;
    state_.entries[index] = SyncEntry{entry.uid, entry.key, "", kKeptInTallyo, ""};
    if (!writing_) return true;
    CalDavResult<NoValue> deleted = client_.Delete(entry.href, entry.etag);
    if (deleted.ok()) return true;
    state_.entries[index] = entry;
    if (deleted.error.kind != CalDavErrorKind::kConflict) return Fail(deleted.error);
    --report_.deleted;
    std::optional<Fetched> now_there = GetObject(entry.href);
    if (!now_there) return report_.error == CalDavErrorKind::kNone;
    return Merge(index, *agreed, *local, *now_there);
  }
  return PushChange(index, *agreed, *local);
}

bool Pass::PushNew(std::size_t index, const LocalEvent& local) {
  if (!local.item.reminds && !TakesTodos()) {
    if (report_.error != CalDavErrorKind::kNone) return false;
    ++report_.local_only;
    return true;
  }
  ++report_.up;
  if (!writing_) return true;
  const std::string uid = state_.entries[index].uid;
  CalendarItem item = local.item;
  item.uid = uid;
  const std::string text = mapping_.new_object(item);
  CalDavResult<WriteResult> written = client_.Create(settings_.calendar_url, uid, text);
  if (written.ok()) {
    Settle(index, written.value.href, written.value.etag, written.value.stored_data.value_or(text));
    return true;
  }
  if (written.error.kind != CalDavErrorKind::kConflict) return Fail(written.error);
  // Something is there already: this event's own object, written by a pass
  // that was stopped before it could note so, or another client's.
  --report_.up;
  std::optional<std::string> url = ObjectUrlForUid(settings_.calendar_url, uid);
  std::optional<Fetched> there = url ? GetObject(*url) : std::nullopt;
  if (!there) return report_.error == CalDavErrorKind::kNone;
  if (there->item.uid != uid) return true;  // another UID under that name: left alone
  return MatchWithoutBase(index, local, *there);
}

bool Pass::PushChange(std::size_t index, const CalendarItem& agreed, const LocalEvent& local) {
  const SyncEntry entry = state_.entries[index];
  Fetched as_agreed{entry.href, entry.etag, entry.agreed, agreed};
  bool conflict = false;
  ++report_.up;
  if (!WriteOver(index, as_agreed, mapping_.patch(entry.agreed, agreed, local.item), &conflict)) return false;
  if (!conflict) return true;
  --report_.up;
  std::optional<Fetched> now_there = GetObject(entry.href);
  if (!now_there) return report_.error == CalDavErrorKind::kNone;
  return Merge(index, agreed, local, *now_there);
}

bool Pass::MatchWithoutBase(std::size_t index, const LocalEvent& local, const Fetched& server) {
  // Both sides hold the UID and no text was ever agreed: the same item is
  // simply noted; a different one is a conflict in every field that
  // differs: Tallyo's goes to the server, the server's becomes a copy.
  if (!Merge(index, server.item, local, server)) return false;
  if (ChangedFields(local.item, server.item) != 0) AddConflictCopy(server.item);
  return true;
}

void Pass::AddConflictCopy(const CalendarItem& server) {
  ++report_.conflicts;
  CalendarItem copy = server;
  copy.title = ConflictCopyTitle(copy.title);
  copy.uid.clear();  // an event of its own: it gets a UID of its own
  AddLocal(copy, -1);
}

bool Pass::Merge(std::size_t index, const CalendarItem& agreed, const LocalEvent& local,
                 const Fetched& server) {
  const ItemMerge merge = MergeItems(agreed, local.item, server.item);
  if (merge.to_server != 0) {
    ++report_.up;
    bool conflict = false;
    if (!WriteOver(index, server, mapping_.patch(server.data, server.item, merge.merged), &conflict))
      return false;
    if (conflict) {
      // Changed again meanwhile: the next pass merges it.
      --report_.up;
      return true;
    }
  } else {
    Settle(index, server.href, server.etag, server.data);
  }
  if (merge.to_local != 0) {
    ++report_.down;
    ChangeLocal(local, merge.merged, index);
  }
  if (merge.conflicts != 0) AddConflictCopy(server.item);
  return true;
}

bool Pass::WriteOver(std::size_t index, const Fetched& server, const std::string& text, bool* conflict) {
  *conflict = false;
  if (!writing_) return true;
  CalDavResult<WriteResult> written = client_.Update(server.href, server.etag, text);
  if (written.ok()) {
    Settle(index, written.value.href, written.value.etag, written.value.stored_data.value_or(text));
    return true;
  }
  if (written.error.kind == CalDavErrorKind::kConflict) {
    *conflict = true;
    return true;
  }
  return Fail(written.error);
}

bool Pass::TakesTodos() {
  if (!takes_todos_) {
    CalDavResult<CalendarInfo> info = client_.ReadCalendar(settings_.calendar_url);
    if (!info.ok()) return Fail(info.error);
    takes_todos_ = info.value.Takes("VTODO");
  }
  return *takes_todos_;
}

std::optional<Fetched> Pass::GetObject(const std::string& href) {
  CalDavResult<CalendarObject> got = client_.Get(href);
  if (!got.ok()) {
    if (got.error.kind != CalDavErrorKind::kNotFound) Fail(got.error);
    return std::nullopt;
  }
  std::string problem;
  std::optional<CalendarItem> item = mapping_.read(got.value.data, now_, &problem);
  if (!item) return std::nullopt;
  return Fetched{got.value.href, got.value.etag, std::move(got.value.data), std::move(*item)};
}

void Pass::Settle(std::size_t index, const std::string& href, const std::string& etag,
                  const std::string& data) {
  SyncEntry& entry = state_.entries[index];
  entry.href = href;
  entry.etag = etag;
  entry.agreed = data;
}

void Pass::AddLocal(const CalendarItem& item, std::ptrdiff_t entry) {
  LocalChange change;
  change.kind = LocalChange::Kind::kAdd;
  change.item = item;
  change.entry = entry;
  local_changes_.push_back(std::move(change));
}

void Pass::ChangeLocal(const LocalEvent& event, const CalendarItem& item, std::size_t index) {
  LocalChange change;
  change.entry = static_cast<std::ptrdiff_t>(index);
  change.kind = LocalChange::Kind::kUpdate;
  change.key = event.key;
  change.expected = event.item;
  change.item = item;
  local_changes_.push_back(std::move(change));
}

void Pass::DeleteLocal(const LocalEvent& event, std::size_t index) {
  LocalChange change;
  change.entry = static_cast<std::ptrdiff_t>(index);
  change.kind = LocalChange::Kind::kDelete;
  change.key = event.key;
  change.expected = event.item;
  local_changes_.push_back(std::move(change));
}

bool Pass::SaveState(bool local_done) {
  if (!writing_) return true;
  std::unordered_set<std::size_t> waiting;
  if (!local_done)
    for (const LocalChange& change : local_changes_)
      if (change.entry >= 0) waiting.insert(static_cast<std::size_t>(change.entry));
  SyncState kept;
  kept.calendar_url = state_.calendar_url;
  kept.sync_token = state_.sync_token;
  kept.ctag = state_.ctag;
  for (std::size_t i = 0; i < state_.entries.size(); ++i) {
    if (waiting.contains(i)) {
      if (i < original_.size()) kept.entries.push_back(original_[i]);
    } else if (i >= dropped_.size() || !dropped_[i]) {
      kept.entries.push_back(state_.entries[i]);
    }
  }
  std::string bytes = SyncStateToBytes(kept);
  if (bytes == saved_bytes_) return true;  // a quiet pass writes nothing
  Status status = DefaultFileSystem().ReplaceFile(state_path_, bytes);
  if (status.ok()) saved_bytes_ = std::move(bytes);
  if (!status.ok()) return FailLocal(status.message());
  return true;
}

}  // namespace

std::string ConflictCopyTitle(const std::string& title) {
  return "\xB3\xE5\xCD\xBB\xB8\xB1\xB1\xBE\xA3\xBA" + title;  // 冲突副本：
}

SyncReport RunSyncPassWith(EventFolder& folder, HttpTransport& transport, const SyncSettings& settings,
                           const SyncPassOptions& options, const ObjectMapping& mapping, Time32 now) {
  return Pass(folder, transport, settings, options, mapping, now).Run();
}
