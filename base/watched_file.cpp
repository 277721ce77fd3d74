#include "base/watched_file.h"

#include "base/cp936.h"

WatchedFile::WatchedFile(FileSystem& file_system, std::string path)
    : file_system_(file_system), path_(std::move(path)) {}

FileStamp WatchedFile::StampNow() {
  // A file that cannot be looked at gets a stamp that never matches, so the
  // next look reads it again.
  FileStamp stamp;
  if (!file_system_.StatFile(path_, &stamp).ok()) stamp = FileStamp{~0ull, -1};
  return stamp;
}

Status WatchedFile::Load(std::optional<std::string>* bytes) {
  // Looked at before reading: a change in between shows as a new stamp later.
  FileStamp stamp = StampNow();
  std::string read_bytes;
  Status read = file_system_.ReadFile(path_, &read_bytes);
  if (read.IsNotFound()) {
    seen_ = Seen{};
    unread_file_ = false;
    bytes->reset();
    return Status::Ok();
  }
  if (!read.ok()) {
    unread_file_ = true;
    return read;
  }
  *bytes = read_bytes;
  seen_ = Seen{true, stamp, std::move(read_bytes)};
  unread_file_ = false;
  return Status::Ok();
}

Status WatchedFile::Save(std::string bytes, bool empty) {
  if (seen_.exists ? bytes == seen_.bytes : empty) return Status::Ok();
  if (unread_file_) return Status::IoError(path_ + ": could not be read, so it is not replaced");
  Status written = file_system_.ReplaceFile(path_, bytes);
  if (written.ok()) seen_ = Seen{true, StampNow(), std::move(bytes)};
  return written;
}

bool WatchedFile::ChangedOnDisk() {
  FileStamp now;
  Status looked = file_system_.StatFile(path_, &now);
  if (looked.IsNotFound()) return seen_.exists;
  if (!looked.ok()) return true;  // cannot tell: let the owner try to load it
  if (!seen_.exists) return true;
  if (now == seen_.stamp) return false;
  std::string bytes;
  if (!file_system_.ReadFile(path_, &bytes).ok() || bytes != seen_.bytes) return true;
  seen_.stamp = now;  // the same bytes written again
  return false;
}

Status WatchedFile::ReloadIfChanged(std::optional<std::string>* bytes, bool* reloaded) {
  *reloaded = false;
  if (!ChangedOnDisk()) return Status::Ok();
  const bool unread_before = unread_file_;
  Status loaded = Load(bytes);
  *reloaded = loaded.ok();
  // A file that stays unreadable is looked at every time, but told of once.
  return unread_before ? Status::Ok() : loaded;
}

std::string FilePathBeside(const std::string& event_file_path, const char* name) {
  std::size_t folder_end = 0;
#ifdef _WIN32
  // Code page 936 paths: a trail byte may be 0x5C, which is no separator.
  for (std::size_t i = 0; i < event_file_path.size(); i += cp936::CharLength(event_file_path, i)) {
    if (event_file_path[i] == '\\' || event_file_path[i] == '/') folder_end = i + 1;
  }
#else
  std::size_t slash = event_file_path.rfind('/');
  if (slash != std::string::npos) folder_end = slash + 1;
#endif
  return event_file_path.substr(0, folder_end) + name;
}
