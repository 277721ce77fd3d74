// EventStore: load, save, noticing changes from outside, and setting a damaged file aside.
#include "events/event_store.h"

#include <cstdio>
#include <cstring>

#include "base/local_time.h"
#include "settings/path_helper.h"

namespace {

constexpr std::uint64_t kHashMultiplier = 0x9E3779B97F4A7C15ull;  // odd: multiplying by it loses nothing

std::uint64_t RotateLeft(std::uint64_t v, int n) { return (v << n) | (v >> (64 - n)); }

std::uint64_t Word(const char* p) {
  std::uint64_t v;
  std::memcpy(&v, p, sizeof v);  // the machine's byte order: the hash never leaves this run
  return v;
}

// Each step is one-to-one in `lane`, so two inputs that differ in one word
// leave the lane different, whatever follows.
std::uint64_t Mix(std::uint64_t lane, std::uint64_t word) {
  return RotateLeft(lane ^ word, 29) * kHashMultiplier;
}

}  // namespace

std::uint64_t HashBytes(std::string_view bytes) {
  std::uint64_t lanes[4] = {1, 2, 3, 4};
  const char* p = bytes.data();
  std::size_t left = bytes.size();
  for (; left >= 32; p += 32, left -= 32) {
    for (int i = 0; i < 4; ++i) lanes[i] = Mix(lanes[i], Word(p + 8 * i));
  }
  std::uint64_t hash = bytes.size();
  for (std::uint64_t lane : lanes) hash = Mix(hash, lane);
  for (; left >= 8; p += 8, left -= 8) hash = Mix(hash, Word(p));
  std::uint64_t tail = 0;
  if (left != 0) std::memcpy(&tail, p, left);
  return Mix(Mix(hash, tail), 0);
}

EventStore::EventStore(FileSystem& file_system, std::string path)
    : file_system_(file_system), path_(std::move(path)) {}

std::string EventStore::FilePath() const {
  if (!path_.empty()) return path_;
  return PathHelper().MakeAppPath(kFileName);
}

void EventStore::Remember(const std::string& path, std::string_view bytes) {
  seen_.exists = true;
  seen_.hash = HashBytes(bytes);
  // A file that cannot be looked at keeps a stamp that never matches, so the
  // next look reads it again.
  if (!file_system_.StatFile(path, &seen_.stamp).ok()) seen_.stamp = FileStamp{~0ull, -1};
}

LoadResult EventStore::Load(EventRecords* events) {
  std::string path = FilePath();
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
  // Before the reader writes its NULs into the bytes.
  Remember(path, std::string_view(bytes.data(), bytes.size()));
  ArchiveError error = ReadEventArchive(std::move(bytes), events);
  damaged_file_pending_ = error != ArchiveError::kNone;
  if (error == ArchiveError::kNone) return {};
  return {LoadResult::Kind::kDamaged, error, ArchiveErrorMessage(error, path)};
}

Status EventStore::Save(std::span<const std::unique_ptr<CMyEvent>> events) {
  if (damaged_file_pending_) {
    Status aside = SetAsideDamagedFile();
    if (!aside.ok()) return aside;
  }
  if (events.size() + 1 >= kArchiveMaxMapCount) return Status::InvalidArgument("too many events to save");
  const std::string path = FilePath();
  const std::string image = WriteEventArchive(events);
  Status written = file_system_.ReplaceFile(path, image);
  if (written.ok()) Remember(path, image);
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
  if (HashBytes(bytes) != seen_.hash) return true;
  seen_.stamp = now;  // the same bytes written again
  return false;
}

void EventStore::MarkCurrentFileSeen() {
  const std::string path = FilePath();
  std::string bytes;
  Status read = file_system_.ReadFile(path, &bytes);
  if (read.IsNotFound()) {
    seen_ = Seen{};
  } else if (read.ok()) {
    Remember(path, bytes);
  }
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
