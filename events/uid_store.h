#pragma once
// UidStore: the file uids.ini and what this program last knew of it, kept
// as base/watched_file.h says. The order of the saves is EventFolder's
// (event_folder.h).
#include <string>

#include "base/file_system.h"
#include "base/status.h"
#include "base/watched_file.h"
#include "events/event_uids.h"

class UidStore {
 public:
  static constexpr char kFileName[] = "uids.ini";

  // `path`: the full path of uids.ini (see UidFilePathBeside).
  UidStore(FileSystem& file_system, std::string path) : file_(file_system, std::move(path)) {}

  // Reads the file into *uids (replacing them); a missing file gives none.
  // A file that cannot be read leaves *uids as they are and returns the
  // error; until a load succeeds, Save refuses to replace it.
  Status Load(EventUids* uids);
  // Writes the UIDs in one step unless the file already holds these bytes.
  // REQUIRES: the file was loaded again if ChangedOnDisk() said so.
  Status Save(const EventUids& uids) { return file_.Save(uids.ToBytes(), uids.empty()); }
  bool ChangedOnDisk() { return file_.ChangedOnDisk(); }
  // Loads the file again when ChangedOnDisk(); *reloaded tells whether
  // *uids were replaced.
  Status ReloadIfChanged(EventUids* uids, bool* reloaded);

  const std::string& FilePath() const { return file_.FilePath(); }

 private:
  WatchedFile file_;
};

// uids.ini in the folder of `event_file_path` (the path of event.dat).
inline std::string UidFilePathBeside(const std::string& event_file_path) {
  return FilePathBeside(event_file_path, UidStore::kFileName);
}
