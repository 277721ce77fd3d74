// EventStore: load, save, noticing changes from outside, and setting a damaged file aside.
#include "events/event_store.h"

#include <cstdio>

#include "base/app_path.h"
#include "base/local_time.h"
#include "events/byte_hash.h"

EventStore::EventStore(FileSystem& file_system, std::string path)
    : file_system_(file_system), path_(std::move(path)) {}

std::string EventStore::FilePath() const {
  if (!path_.empty()) return path_;
  return MakeAppPath(kFileName);
}

FileStamp EventStore::StampNow(const std::string& path) {
  // A file that cannot be looked at gets a stamp that never matches, so the
  // next look reads it again.
  FileStamp stamp;
  if (!file_system_.StatFile(path, &stamp).ok()) stamp = FileStamp{~0ull, -1};
  return stamp;
}

void EventStore::Remember(FileStamp stamp, std::uint64_t hash) {
  seen_ = Seen{};
  seen_.exists = true;
  seen_.stamp = stamp;
  seen_.hash = hash;
}

void EventStore::Remember(FileStamp stamp, SharedBytes bytes) {
  seen_ = Seen{};
  seen_.exists = true;
  seen_.stamp = stamp;
  seen_.loaded = true;
  seen_.bytes = std::move(bytes);
}

bool EventStore::SameAsSeen(std::string_view bytes) const {
  if (!seen_.loaded) return HashBytes(bytes) == seen_.hash;
  return bytes == seen_.bytes.view();
}

LoadResult EventStore::Load(EventRecords* events) {
  std::string path = FilePath();
  // Looked at before reading: a change in between then shows as a new stamp
  // later, where looking after reading could pair the new stamp with the old bytes.
  FileStamp stamp = StampNow(path);
  BigBuffer bytes;
  Status read = file_system_.ReadFileToBuffer(path, &bytes);
  if (read.IsNotFound()) {
    damaged_file_pending_ = false;
    seen_ = Seen{};
    LoadResult none;
    none.found = false;
    return none;
  }
  if (!read.ok()) {
    // The file is there but unread: a later save must not replace it blindly.
    damaged_file_pending_ = true;
    return {LoadResult::Kind::kReadError, ArchiveError::kNone, read.message()};
  }
  // The records' texts share these bytes; the store compares a changed file
  // with them, so a load needs no hash.
  SharedBytes loaded(std::move(bytes));
  Remember(stamp, loaded);
  EventRecords records;
  ArchiveError error = ReadEventArchive(loaded, &records);
  *events = std::move(records);
  damaged_file_pending_ = error != ArchiveError::kNone;
  if (error == ArchiveError::kNone) return {};
  return {LoadResult::Kind::kDamaged, error, ArchiveErrorMessage(error, path)};
}

Status EventStore::Save(std::span<const CMyEvent> events) {
  if (damaged_file_pending_) {
    Status aside = SetAsideDamagedFile();
    if (!aside.ok()) return aside;
  }
  if (events.size() + 1 >= kArchiveMaxMapCount) return Status::InvalidArgument("too many events to save");
  const std::string path = FilePath();
  const std::string image = WriteEventArchive(events);
  Status written = file_system_.ReplaceFile(path, image);
  if (written.ok()) Remember(StampNow(path), HashBytes(image));
  return written;
}

bool EventStore::ChangedOnDisk() {
  const std::string path = FilePath();
  FileStamp now;
  Status looked = file_system_.StatFile(path, &now);
  if (looked.IsNotFound()) return seen_.exists;
  if (!looked.ok()) return true;  // cannot tell: let the owner try to load it
  if (!seen_.exists) return true;
  if (now == seen_.stamp) return false;
  std::string bytes;
  if (!file_system_.ReadFile(path, &bytes).ok()) return true;
  if (!SameAsSeen(bytes)) return true;
  seen_.stamp = now;  // the same bytes written again
  return false;
}

Status EventStore::SetAsideDamagedFile(std::string* aside_path) {
  if (aside_path != nullptr) aside_path->clear();
  if (!damaged_file_pending_) return Status::Ok();
  std::string path = FilePath();
  if (!file_system_.FileExists(path)) {
    damaged_file_pending_ = false;  // gone meanwhile: nothing left to protect
    return Status::Ok();
  }
  LocalTime now;
  if (!ToLocalTime(NowTime(), &now)) now = LocalTime{};
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, ".damaged-%04d%02d%02d-%02d%02d%02d", now.year, now.month, now.day,
                now.hour, now.minute, now.second);
  std::string base = path + stamp;
  std::string target = base;
  for (int n = 2; file_system_.FileExists(target); ++n) {
    if (n > 999) return Status::IoError(base + ": too many files set aside");
    target = base + "-" + std::to_string(n);
  }
  Status renamed = file_system_.RenameFile(path, target);
  if (!renamed.ok()) return renamed;
  damaged_file_pending_ = false;
  seen_ = Seen{};  // no file now: the next save creates it
  if (aside_path != nullptr) *aside_path = target;
  return Status::Ok();
}
