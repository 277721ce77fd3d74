// EventList and event.dat: load, save, and setting a damaged file aside.
#include <cstdio>

#include "events/event_list.h"
#include "settings/path_helper.h"

std::string EventList::FilePath() const {
  if (!path_.empty()) return path_;
  return PathHelper().MakeAppPath(kFileName);
}

LoadResult EventList::LoadEvents() {
  std::string path = FilePath();
  std::string bytes;
  Status read = file_system_.ReadFile(path, &bytes);
  if (read.IsNotFound()) {
    damaged_file_pending_ = false;
    return {};
  }
  if (!read.ok()) {
    // The file is there but unread: a later save must not replace it blindly.
    damaged_file_pending_ = true;
    return {LoadResult::Kind::kReadError, ArchiveError::kNone, read.message()};
  }
  std::vector<std::unique_ptr<CMyEvent>> loaded;
  ArchiveError error = ReadEventArchive(bytes, &loaded);
  events_ = std::move(loaded);
  damaged_file_pending_ = error != ArchiveError::kNone;
  if (error == ArchiveError::kNone) return {};
  return {LoadResult::Kind::kDamaged, error, ArchiveErrorMessage(error, path)};
}

Status EventList::SaveEvents() {
  if (damaged_file_pending_) {
    Status aside = SetAsideDamagedFile();
    if (!aside.ok()) return aside;
  }
  if (events_.size() + 1 >= kArchiveMaxMapCount) return Status::InvalidArgument("too many events to save");
  return file_system_.ReplaceFile(FilePath(), WriteEventArchive(events_));
}

Status EventList::SetAsideDamagedFile(std::string* aside_path) {
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
  if (aside_path != nullptr) *aside_path = target;
  return Status::Ok();
}
