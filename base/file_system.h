#pragma once
// File access behind a small interface, so the stores can be tested with
// in-memory fakes and injected failures. Paths are code page 936 text.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "base/big_buffer.h"
#include "base/status.h"

// What a quick look at a file tells without reading it: enough to notice
// that another program replaced it.
struct FileStamp {
  std::uint64_t size = 0;
  std::int64_t write_time = 0;  // in the system's own unit (ns, or 100 ns on Windows)
  // Which file it is (inode, file index): a file replaced by another one gets
  // a new id even when size and write time, kept in coarse ticks, match.
  std::uint64_t file_id = 0;
  bool operator==(const FileStamp&) const = default;
};

// A file kept open for writing by the one who created it (the folder's lock
// file). It stays the same file when another program renames or deletes it.
class HeldFile {
 public:
  virtual ~HeldFile() = default;
  // Writes `contents` over the start of the file; the file keeps its size
  // if that is larger (the lock's contents keep one length).
  virtual Status Overwrite(std::string_view contents) = 0;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // Reads the whole file into *contents. NotFound when it does not exist.
  virtual Status ReadFile(const std::string& path, std::string* contents) = 0;

  // The same into a BigBuffer, for a file that is loaded as a whole and kept
  // (event.dat). This default copies what ReadFile gives; the real file
  // systems read straight into the buffer.
  virtual Status ReadFileToBuffer(const std::string& path, BigBuffer* contents);

  // Replaces the file's content in one step: writes a temporary file beside
  // it, flushes it to disk and renames it over the old one. On failure the
  // old file (if any) is left exactly as it was.
  virtual Status ReplaceFile(const std::string& path, std::string_view contents) = 0;

  // Renames `from` to `to`; fails if `to` exists.
  virtual Status RenameFile(const std::string& from, const std::string& to) = 0;

  virtual bool FileExists(const std::string& path) = 0;

  // Creates `path` holding `contents` if no file of that name exists, in one
  // step no other process can win at the same time (natively and under
  // Wine, on the same folder): AlreadyExists when it does. *held keeps it
  // open for later writes.
  virtual Status CreateNewFile(const std::string& path, std::string_view contents,
                               std::unique_ptr<HeldFile>* held) = 0;

  // Deletes the file. NotFound when it does not exist.
  virtual Status RemoveFile(const std::string& path) = 0;

  // Size and last write time of the file. NotFound when it does not exist.
  virtual Status StatFile(const std::string& path, FileStamp* stamp) = 0;
};

// The real file system of this platform.
FileSystem& DefaultFileSystem();
