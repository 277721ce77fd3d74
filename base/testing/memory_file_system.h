#pragma once
// An in-memory FileSystem for tests, with injectable failures.
#include <algorithm>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "base/file_system.h"

// The calls through the FileSystem interface may come from several threads
// (the folder lock's heartbeat); tests that reach into `files` directly do
// so while no lock is held.
class MemoryFileSystem : public FileSystem {
 public:
  std::map<std::string, std::string> files;
  // Bumped by every write through this object; tests that change `files`
  // directly should call Touch so the change is seen.
  std::map<std::string, std::int64_t> write_times;
  // When set, ReplaceFile fails like a full disk and leaves every file as it was.
  bool fail_writes = false;
  // Writes of this one file fail the same way (its creation as refused).
  std::string fail_writes_of;
  // When set, ReadFile fails with an I/O error (not "not found").
  bool fail_reads = false;
  int replace_calls = 0;

  Status ReadFile(const std::string& path, std::string* contents) override {
    std::lock_guard<std::recursive_mutex> guard(mutex_);
    if (fail_reads) return Status::IoError(path + ": read error");
    auto it = files.find(path);
    if (it == files.end()) return Status::NotFound(path + ": not found");
    *contents = it->second;
    return Status::Ok();
  }
  Status ReplaceFile(const std::string& path, std::string_view contents) override {
    std::lock_guard<std::recursive_mutex> guard(mutex_);
    ++replace_calls;
    if (fail_writes || path == fail_writes_of) return Status::IoError(path + ": no space left on device");
    files[path] = std::string(contents);
    Touch(path);
    return Status::Ok();
  }
  Status RenameFile(const std::string& from, const std::string& to) override {
    std::lock_guard<std::recursive_mutex> guard(mutex_);
    auto it = files.find(from);
    if (it == files.end()) return Status::NotFound(from + ": not found");
    if (files.count(to)) return Status::IoError(to + ": already exists");
    files[to] = it->second;
    files.erase(from);
    write_times[to] = write_times[from];
    write_times.erase(from);
    for (Held* held : held_) {
      if (held->path == from) held->path = to;  // the open file goes with its name
    }
    return Status::Ok();
  }
  bool FileExists(const std::string& path) override {
    std::lock_guard<std::recursive_mutex> guard(mutex_);
    return files.count(path) != 0;
  }
  Status CreateNewFile(const std::string& path, std::string_view contents,
                       std::unique_ptr<HeldFile>* held) override {
    std::lock_guard<std::recursive_mutex> guard(mutex_);
    // (A full disk still takes a file this small: only `fail_writes_of` refuses it.)
    if (path == fail_writes_of) return Status::AccessDenied(path + ": permission denied");
    if (files.count(path) != 0) return Status::AlreadyExists(path + ": already exists");
    files[path] = std::string(contents);
    Touch(path);
    auto file = std::make_unique<Held>(*this, path);
    held_.push_back(file.get());
    *held = std::move(file);
    return Status::Ok();
  }
  Status RemoveFile(const std::string& path) override {
    std::lock_guard<std::recursive_mutex> guard(mutex_);
    if (files.erase(path) == 0) return Status::NotFound(path + ": not found");
    write_times.erase(path);
    for (Held* held : held_) {
      if (held->path == path) held->path.clear();  // writes now go nowhere
    }
    return Status::Ok();
  }
  Status StatFile(const std::string& path, FileStamp* stamp) override {
    std::lock_guard<std::recursive_mutex> guard(mutex_);
    auto it = files.find(path);
    if (it == files.end()) return Status::NotFound(path + ": not found");
    stamp->size = it->second.size();
    stamp->write_time = write_times[path];
    return Status::Ok();
  }
  // Marks the file as written now (a new write time).
  void Touch(const std::string& path) { write_times[path] = ++clock_; }

 private:
  struct Held : HeldFile {
    Held(MemoryFileSystem& fs, std::string path) : fs(fs), path(std::move(path)) {}
    ~Held() override {
      std::lock_guard<std::recursive_mutex> guard(fs.mutex_);
      std::erase(fs.held_, this);
    }
    Status Overwrite(std::string_view contents) override {
      std::lock_guard<std::recursive_mutex> guard(fs.mutex_);
      if (path.empty()) return Status::Ok();
      std::string& file = fs.files[path];
      if (file.size() < contents.size()) file.resize(contents.size());
      file.replace(0, contents.size(), contents);
      fs.Touch(path);
      return Status::Ok();
    }
    MemoryFileSystem& fs;
    std::string path;
  };

  std::int64_t clock_ = 0;
  std::recursive_mutex mutex_;
  std::vector<Held*> held_;
};
