#include "sync/sync_state.h"

#include <charconv>

#include "sync/sync_files.h"

namespace {

constexpr std::string_view kHeader = "TallyoSyncState 1\n";

void PutField(std::string& out, std::string_view name, std::string_view value) {
  out.append(name).append(" ").append(std::to_string(value.size())).append("\n");
  out.append(value).append("\n");
}

// Reads one field at `at`; false at the end or at bytes that are no field.
bool NextField(std::string_view bytes, std::size_t& at, std::string_view* name, std::string_view* value) {
  std::size_t space = bytes.find(' ', at);
  std::size_t line_end = bytes.find('\n', at);
  if (space == std::string_view::npos || line_end == std::string_view::npos || space > line_end) return false;
  std::size_t length = 0;
  const char* begin = bytes.data() + space + 1;
  const char* end = bytes.data() + line_end;
  auto [stop, error] = std::from_chars(begin, end, length);
  if (error != std::errc() || stop != end || begin == end) return false;
  std::size_t value_at = line_end + 1;
  if (length > bytes.size() - value_at || bytes.size() - value_at - length < 1 ||
      bytes[value_at + length] != '\n')
    return false;
  *name = bytes.substr(at, space - at);
  *value = bytes.substr(value_at, length);
  at = value_at + length + 1;
  return true;
}

Status Corrupt(std::size_t at, std::string_view why) {
  return Status::Corrupt("the sync state is damaged at byte " + std::to_string(at) + ": " + std::string(why));
}

Time32 ParseTime(std::string_view text, bool* ok) {
  Time32 value = 0;
  auto [stop, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  *ok = !text.empty() && error == std::errc() && stop == text.data() + text.size();
  return value;
}

}  // namespace

SyncEntry* SyncState::FindUid(std::string_view uid) {
  for (SyncEntry& entry : entries)
    if (entry.uid == uid) return &entry;
  return nullptr;
}

SyncEntry* SyncState::FindHref(std::string_view href) {
  for (SyncEntry& entry : entries)
    if (!entry.href.empty() && entry.href == href) return &entry;
  return nullptr;
}

std::string SyncStatePathBeside(const std::string& event_file_path) {
  return SyncFileBeside(event_file_path, "sync-state.dat");
}

std::string SyncStateToBytes(const SyncState& state) {
  std::string out(kHeader);
  PutField(out, "calendar", state.calendar_url);
  PutField(out, "token", state.sync_token);
  PutField(out, "ctag", state.ctag);
  for (const SyncEntry& entry : state.entries) {
    PutField(out, "uid", entry.uid);
    PutField(out, "created", std::to_string(entry.key.created));
    PutField(out, "twin", std::to_string(entry.key.twin));
    PutField(out, "href", entry.href);
    PutField(out, "etag", entry.etag);
    PutField(out, "agreed", entry.agreed);
  }
  // A file cut short at a field's end is told apart from a whole one.
  PutField(out, "end", std::to_string(state.entries.size()));
  return out;
}

Status SyncStateFromBytes(std::string_view bytes, SyncState* state) {
  *state = SyncState();
  if (!bytes.starts_with(kHeader)) return Corrupt(0, "it does not start with its header");
  std::size_t at = kHeader.size();
  SyncState read;
  SyncEntry* entry = nullptr;
  bool ended = false;
  while (at < bytes.size() && !ended) {
    std::size_t field_at = at;
    std::string_view name, value;
    if (!NextField(bytes, at, &name, &value)) return Corrupt(field_at, "not a field");
    bool ok = true;
    if (name == "end") {
      ended = true;
      ok = value == std::to_string(read.entries.size());
    } else if (name == "uid") {
      read.entries.emplace_back().uid = value;
      entry = &read.entries.back();
    } else if (entry == nullptr) {
      if (name == "calendar")
        read.calendar_url = value;
      else if (name == "token")
        read.sync_token = value;
      else if (name == "ctag")
        read.ctag = value;
      // Fields of later versions are passed over.
    } else if (name == "created") {
      entry->key.created = ParseTime(value, &ok);
    } else if (name == "twin") {
      Time32 twin = ParseTime(value, &ok);
      ok = ok && twin >= 0;
      entry->key.twin = static_cast<std::uint32_t>(twin);
    } else if (name == "href") {
      entry->href = value;
    } else if (name == "etag") {
      entry->etag = value;
    } else if (name == "agreed") {
      entry->agreed = value;
    }
    if (!ok) return Corrupt(field_at, "a number that does not fit");
  }
  if (!ended) return Corrupt(at, "it ends before its last field");
  if (at != bytes.size()) return Corrupt(at, "bytes follow its last field");
  *state = std::move(read);
  return Status::Ok();
}

Status LoadSyncState(FileSystem& file_system, const std::string& path, SyncState* state) {
  *state = SyncState();
  if (!file_system.FileExists(path)) return Status::Ok();
  std::string bytes;
  Status status = file_system.ReadFile(path, &bytes);
  if (!status.ok()) return status;
  return SyncStateFromBytes(bytes, state);
}

Status SaveSyncState(FileSystem& file_system, const std::string& path, const SyncState& state) {
  return file_system.ReplaceFile(path, SyncStateToBytes(state));
}
