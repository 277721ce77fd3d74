#pragma once
// EventStore: the file event.dat and what this program last knew of it.
//
// Several copies of Tallyo, tallyo-cli and the user's own tools may write the
// same event.dat. The store remembers the file as it last loaded or saved it
// (size, write time, and its bytes or a hash of them), so the owner can notice a file
// that changed under it and load it again before it would overwrite a change
// it has not seen.
//
// Damaged files: Load keeps the records read before the fault and reports
// it; the file is then "pending set-aside". Before the next save the owner
// calls SetAsideDamagedFile() (which renames the file beside itself with a
// timestamp, so the bytes after the fault survive) and tells the user where
// it went. Save does it on its own if the owner has not, so a damaged file is
// never overwritten.
#include <cstdint>
#include <span>
#include <string>

#include "base/file_system.h"
#include "base/status.h"
#include "events/event_archive.h"
#include "events/event_records.h"
#include "events/my_event.h"
#include "events/shared_bytes.h"

struct LoadResult {
  enum class Kind {
    kOk,         // loaded, or no file
    kDamaged,    // format fault: `archive_error` says which; records before it were read
    kReadError,  // the file exists but could not be read
  };
  Kind kind = Kind::kOk;
  ArchiveError archive_error = ArchiveError::kNone;
  // For the user, code page 936, naming the full path (the framework's text
  // for a damaged file, the system's reason for a read error).
  std::string message;
  // False when there was no file to read.
  bool found = true;

  bool ok() const { return kind == Kind::kOk; }
};

class EventStore {
 public:
  static constexpr char kFileName[] = "event.dat";

  // `path` empty: MakeAppPath("event.dat"), beside the program, at each use.
  EventStore(FileSystem& file_system, std::string path);

  // Reads the file into *events (replacing their content) unless it is
  // missing (found false, *events untouched) or unreadable (kReadError,
  // *events untouched). A damaged file gives the records before the fault.
  // The records' texts share the file's bytes (see shared_text.h), so a
  // load costs little more than reading the file.
  LoadResult Load(EventRecords* events);

  // Writes the whole list in one step (temporary file beside it, flushed,
  // then renamed over the old one). On failure the old file is untouched;
  // the Status says why. Sets a pending damaged file aside first.
  Status Save(std::span<const CMyEvent> events);

  // True when the file is not what this store last loaded or saved: it
  // appeared, vanished or holds other bytes. Cheap while nothing changed (one
  // look at size and write time); the bytes are read and compared only when
  // those differ, so a file rewritten with the same content counts as unchanged.
  // Before the first Load or Save the store knows of no file.
  bool ChangedOnDisk();

  bool HasDamagedFile() const { return damaged_file_pending_; }
  // Renames the damaged file to "<path>.damaged-YYYYMMDD-HHMMSS" (local time;
  // "-2", "-3" ... appended if taken). *aside_path receives the new name.
  Status SetAsideDamagedFile(std::string* aside_path = nullptr);

  std::string FilePath() const;

 private:
  // The file as last loaded (its bytes, which the loaded records share
  // anyway) or saved (a hash of them).
  struct Seen {
    bool exists = false;
    FileStamp stamp;
    std::uint64_t hash = 0;
    bool loaded = false;  // known by its bytes, not by the hash
    SharedBytes bytes;
  };
  FileStamp StampNow(const std::string& path);
  void Remember(FileStamp stamp, std::uint64_t hash);
  void Remember(FileStamp stamp, SharedBytes bytes);
  bool SameAsSeen(std::string_view bytes) const;

  FileSystem& file_system_;
  std::string path_;
  Seen seen_;
  bool damaged_file_pending_ = false;
};
