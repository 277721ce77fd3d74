#pragma once
// FolderLock: one writer at a time on a folder's files (event.dat and what
// lies beside it), between copies of the program, tallyo-cli natively and
// tallyo-cli.exe under Wine.
//
// The lock is a file created exclusively (`event.dat.lock`): Wine's
// byte-range locks are not seen by native processes, a file created with
// O_EXCL or CREATE_NEW is. It holds a token naming its holder (process id
// and a random part) and a heartbeat counter the holder rewrites about once
// a second. A waiter that sees the contents unchanged for `stale_after` on
// its own steady clock takes the holder for killed and breaks the lock:
// renames the file aside, checks that it still holds what was judged stale
// (else it was alive: it is put back), deletes it and tries again.
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "base/file_system.h"
#include "base/status.h"

struct FolderLockTiming {
  std::chrono::milliseconds poll{20};           // how often a waiter looks
  std::chrono::milliseconds heartbeat{1000};    // how often the holder shows it is alive
  std::chrono::milliseconds stale_after{5000};  // unchanged this long: the holder was killed
};

class FolderLock {
 public:
  static constexpr char kSuffix[] = ".lock";
  // The lock of the folder of `file_path` (event.dat): "<file_path>.lock".
  static std::string PathBeside(const std::string& file_path) { return file_path + kSuffix; }

  // Takes the lock file `path`, waiting up to `wait` while another program
  // holds it. Busy when it did not come free in time (naming the file);
  // another error when the file cannot be made at all (a folder that cannot
  // be written).
  static Status Acquire(FileSystem& fs, const std::string& path, std::chrono::milliseconds wait,
                        std::unique_ptr<FolderLock>* lock, const FolderLockTiming& timing = {});

  // Stops the heartbeat and deletes the file if it is still this holder's.
  ~FolderLock();
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

  // Ok while the file still holds this holder's token; an error when
  // another program broke the lock (this one was taken for killed): nothing
  // may be replaced then.
  Status CheckHeld();

  const std::string& path() const { return path_; }

 private:
  FolderLock(FileSystem& fs, std::string path, std::string token, std::unique_ptr<HeldFile> file,
             std::chrono::milliseconds heartbeat);
  std::string Contents() const;
  void Beat();

  FileSystem& fs_;
  const std::string path_;
  const std::string token_;
  std::unique_ptr<HeldFile> file_;
  const std::chrono::milliseconds heartbeat_;
  std::uint32_t beats_ = 0;
  std::mutex mutex_;  // one write or check of the file at a time
  std::condition_variable stop_signal_;
  bool stopping_ = false;
  std::thread heart_;
};
