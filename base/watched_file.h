#pragma once
// WatchedFile: a small file beside event.dat that several programs write
// (repeat.ini, uids.ini), and what this program last knew of it, kept like
// event.dat: a save writes a temporary file and replaces the old one in one
// step; a change from another program is noticed cheaply (one look at size
// and write time while nothing changed) so the owner can load it before
// every change and on the one-second tick, and never overwrite what it has
// not seen.
#include <optional>
#include <string>

#include "base/file_system.h"
#include "base/status.h"

class WatchedFile {
 public:
  WatchedFile(FileSystem& file_system, std::string path);

  // Reads the file: *bytes holds them, or nullopt for a missing file. A
  // file that exists but cannot be read leaves *bytes as they are and
  // returns the error; until a load succeeds, Save refuses to replace it.
  Status Load(std::optional<std::string>* bytes);

  // Writes `bytes` in one step unless the file already holds exactly them.
  // With no file, a document with nothing in it (`empty`) writes none. A
  // file that could not be read is not replaced (an error).
  // REQUIRES: the file was loaded again if ChangedOnDisk() said so.
  Status Save(std::string bytes, bool empty);

  // True when the file is not what was last loaded or saved. Before the
  // first Load or Save, no file is known.
  bool ChangedOnDisk();

  // Loads the file again when ChangedOnDisk(); *reloaded tells whether
  // *bytes were replaced. A file that cannot be read gives its error once,
  // until a load succeeds.
  Status ReloadIfChanged(std::optional<std::string>* bytes, bool* reloaded);

  const std::string& FilePath() const { return path_; }

 private:
  struct Seen {
    bool exists = false;
    FileStamp stamp;
    std::string bytes;
  };
  FileStamp StampNow();

  FileSystem& file_system_;
  std::string path_;
  Seen seen_;
  bool unread_file_ = false;  // the last load could not read the file
};

// The file `name` in the folder of `event_file_path` (the path of
// event.dat), whichever separator the path uses.
std::string FilePathBeside(const std::string& event_file_path, const char* name);
