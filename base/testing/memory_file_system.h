#pragma once
// An in-memory FileSystem for tests, with injectable failures.
#include <cstdint>
#include <map>
#include <string>

#include "base/file_system.h"

class MemoryFileSystem : public FileSystem {
 public:
  std::map<std::string, std::string> files;
  // Bumped by every write through this object; tests that change `files`
  // directly should call Touch so the change is seen.
  std::map<std::string, std::int64_t> write_times;
  // When set, ReplaceFile fails like a full disk and leaves every file as it was.
  bool fail_writes = false;
  // Writes of this one file fail the same way.
  std::string fail_writes_of;
  // When set, ReadFile fails with an I/O error (not "not found").
  bool fail_reads = false;
  int replace_calls = 0;

  Status ReadFile(const std::string& path, std::string* contents) override {
    if (fail_reads) return Status::IoError(path + ": read error");
    auto it = files.find(path);
    if (it == files.end()) return Status::NotFound(path + ": not found");
    *contents = it->second;
    return Status::Ok();
  }
  Status ReplaceFile(const std::string& path, std::string_view contents) override {
    ++replace_calls;
    if (fail_writes || path == fail_writes_of) return Status::IoError(path + ": no space left on device");
    files[path] = std::string(contents);
    Touch(path);
    return Status::Ok();
  }
  Status RenameFile(const std::string& from, const std::string& to) override {
    auto it = files.find(from);
    if (it == files.end()) return Status::NotFound(from + ": not found");
    if (files.count(to)) return Status::IoError(to + ": already exists");
    files[to] = it->second;
    files.erase(from);
    write_times[to] = write_times[from];
    write_times.erase(from);
    return Status::Ok();
  }
  bool FileExists(const std::string& path) override { return files.count(path) != 0; }
  Status StatFile(const std::string& path, FileStamp* stamp) override {
    auto it = files.find(path);
    if (it == files.end()) return Status::NotFound(path + ": not found");
    stamp->size = it->second.size();
    stamp->write_time = write_times[path];
    return Status::Ok();
  }
  // Marks the file as written now (a new write time).
  void Touch(const std::string& path) { write_times[path] = ++clock_; }

 private:
  std::int64_t clock_ = 0;
};
