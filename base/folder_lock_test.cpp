#include "base/folder_lock.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "base/testing/memory_file_system.h"

#ifndef _WIN32
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

using std::chrono::milliseconds;

constexpr char kLock[] = "event.dat.lock";

// Quick enough for a test, with room for a slow machine between a beat and staleness.
FolderLockTiming QuickTiming() {
  FolderLockTiming timing;
  timing.poll = milliseconds(5);
  timing.heartbeat = milliseconds(20);
  timing.stale_after = milliseconds(400);
  return timing;
}

std::size_t FilesLike(const MemoryFileSystem& fs, const std::string& prefix) {
  std::size_t n = 0;
  for (const auto& [path, contents] : fs.files) n += path.starts_with(prefix);
  return n;
}

}  // namespace

TEST(FolderLock, OneHolderAtATimeAndTheFileGoesWithTheLast) {
  MemoryFileSystem fs;
  std::unique_ptr<FolderLock> first;
  ASSERT_TRUE(FolderLock::Acquire(fs, kLock, milliseconds(0), &first, QuickTiming()).ok());
  ASSERT_TRUE(fs.FileExists(kLock));
  EXPECT_TRUE(fs.files[kLock].starts_with("Tallyo lock\r\npid=")) << fs.files[kLock];
  EXPECT_NE(fs.files[kLock].find("\r\nbeat=0000000000\r\n"), std::string::npos) << fs.files[kLock];
  EXPECT_TRUE(first->CheckHeld().ok());

  std::unique_ptr<FolderLock> second;
  Status busy = FolderLock::Acquire(fs, kLock, milliseconds(50), &second, QuickTiming());
  EXPECT_EQ(busy.code(), Status::Code::kBusy);
  EXPECT_NE(busy.message().find(kLock), std::string::npos) << "names the lock file";
  EXPECT_EQ(second, nullptr);

  first.reset();
  EXPECT_FALSE(fs.FileExists(kLock));
  ASSERT_TRUE(FolderLock::Acquire(fs, kLock, milliseconds(0), &second, QuickTiming()).ok());
}

TEST(FolderLock, AFolderThatCannotBeWrittenIsToldAtOnce) {
  MemoryFileSystem fs;
  fs.fail_writes_of = kLock;
  std::unique_ptr<FolderLock> lock;
  Status refused = FolderLock::Acquire(fs, kLock, milliseconds(5000), &lock, QuickTiming());
  EXPECT_EQ(refused.code(), Status::Code::kAccessDenied);
  EXPECT_EQ(lock, nullptr);
}

TEST(FolderLock, TheLockOfAKilledHolderIsBrokenWhenItStaysUnchanged) {
  MemoryFileSystem fs;
  fs.files[kLock] = "Tallyo lock\r\npid=1\r\nid=00000000deadbeef\r\nbeat=0000000007\r\n";
  std::unique_ptr<FolderLock> lock;
  const auto start = std::chrono::steady_clock::now();
  ASSERT_TRUE(FolderLock::Acquire(fs, kLock, milliseconds(30000), &lock, QuickTiming()).ok());
  EXPECT_GE(std::chrono::steady_clock::now() - start, QuickTiming().stale_after) << "not before it was stale";
  EXPECT_TRUE(lock->CheckHeld().ok());
  EXPECT_EQ(FilesLike(fs, kLock), 1u) << "nothing left aside";
}

TEST(FolderLock, ALiveHolderIsNeverTakenForKilled) {
  MemoryFileSystem fs;
  std::unique_ptr<FolderLock> holder;
  ASSERT_TRUE(FolderLock::Acquire(fs, kLock, milliseconds(0), &holder, QuickTiming()).ok());
  // Held more than twice as long as a lock takes to go stale: the heartbeat keeps it.
  std::unique_ptr<FolderLock> waiter;
  EXPECT_EQ(FolderLock::Acquire(fs, kLock, milliseconds(1000), &waiter, QuickTiming()).code(),
            Status::Code::kBusy);
  EXPECT_TRUE(holder->CheckHeld().ok());
  EXPECT_GT(fs.files[kLock].find("beat=0"), 0u);
  EXPECT_EQ(fs.files[kLock].find("beat=0000000000"), std::string::npos) << "it beat";
}

// The holder beats between the waiter's last look and its rename: what the
// waiter renamed is not what it judged stale, and goes back.
class BeatWhileBreaking : public MemoryFileSystem {
 public:
  Status RenameFile(const std::string& from, const std::string& to) override {
    Status renamed = MemoryFileSystem::RenameFile(from, to);
    if (renamed.ok() && from == kLock) {
      files[to] += "x";
      ++breaks;
    }
    return renamed;
  }
  int breaks = 0;
};

TEST(FolderLock, ALockThatChangedWhileBeingBrokenGoesBack) {
  BeatWhileBreaking fs;
  const std::string holders = "Tallyo lock\r\npid=1\r\nid=00000000deadbeef\r\nbeat=0000000007\r\n";
  fs.files[kLock] = holders;
  std::unique_ptr<FolderLock> lock;
  FolderLockTiming timing = QuickTiming();
  timing.stale_after = milliseconds(50);
  EXPECT_EQ(FolderLock::Acquire(fs, kLock, milliseconds(80), &lock, timing).code(), Status::Code::kBusy);
  EXPECT_GE(fs.breaks, 1);
  EXPECT_EQ(fs.files[kLock].substr(0, holders.size()), holders) << "the holder's lock is back";
  EXPECT_EQ(FilesLike(fs, kLock), 1u);
}

TEST(FolderLock, AHolderWhoseLockWasBrokenKnowsAndLeavesTheNewOneAlone) {
  MemoryFileSystem fs;
  std::unique_ptr<FolderLock> slow;
  ASSERT_TRUE(FolderLock::Acquire(fs, kLock, milliseconds(0), &slow, QuickTiming()).ok());
  // Another program took it for killed and holds it now.
  ASSERT_TRUE(fs.RenameFile(kLock, "aside").ok());
  ASSERT_TRUE(fs.RemoveFile("aside").ok());
  std::unique_ptr<FolderLock> other;
  ASSERT_TRUE(FolderLock::Acquire(fs, kLock, milliseconds(0), &other, QuickTiming()).ok());
  EXPECT_FALSE(slow->CheckHeld().ok());
  slow.reset();
  EXPECT_TRUE(other->CheckHeld().ok());
}

TEST(FolderLock, TheRealFileSystemKeepsOneHolder) {
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / "tallyo_folder_lock_test";
  std::filesystem::create_directories(dir);
  const std::string path = (dir / "event.dat.lock").string();
  std::filesystem::remove(path);
  FileSystem& fs = DefaultFileSystem();
  std::unique_ptr<FolderLock> first, second;
  ASSERT_TRUE(FolderLock::Acquire(fs, path, milliseconds(0), &first, QuickTiming()).ok());
  EXPECT_EQ(FolderLock::Acquire(fs, path, milliseconds(30), &second, QuickTiming()).code(),
            Status::Code::kBusy);
  first.reset();
  EXPECT_FALSE(fs.FileExists(path));
  ASSERT_TRUE(FolderLock::Acquire(fs, path, milliseconds(0), &second, QuickTiming()).ok());
  second.reset();
}

#ifndef _WIN32
namespace {

// Each of the processes adds one to a number in a file `rounds` times, under the lock.
void CountUnderTheLock(const std::string& lock_path, const std::string& counter, int rounds) {
  FileSystem& fs = DefaultFileSystem();
  for (int i = 0; i < rounds; ++i) {
    std::unique_ptr<FolderLock> lock;
    // Quick polls, but a live holder is never taken for killed on a loaded
    // machine, where its heartbeat thread may wait a while for a core.
    FolderLockTiming timing = QuickTiming();
    timing.stale_after = milliseconds(5000);
    if (!FolderLock::Acquire(fs, lock_path, milliseconds(30000), &lock, timing).ok()) _exit(2);
    std::string text;
    fs.ReadFile(counter, &text);
    const int value = text.empty() ? 0 : std::stoi(text);
    if (!lock->CheckHeld().ok() || !fs.ReplaceFile(counter, std::to_string(value + 1)).ok()) _exit(3);
  }
}

}  // namespace

TEST(FolderLock, ProcessesTakeTurnsAndAKilledHolderBlocksOnlyUntilStale) {
  char pattern[] = "/tmp/tallyo-folder-lock-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  const std::filesystem::path dir = pattern;
  const std::string lock_path = (dir / "event.dat.lock").string();
  const std::string counter = (dir / "counter").string();
  constexpr int kProcesses = 3, kRounds = 40;
  std::vector<pid_t> children;
  for (int p = 0; p < kProcesses; ++p) {
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      CountUnderTheLock(lock_path, counter, kRounds);
      _exit(0);
    }
    children.push_back(child);
  }
  for (pid_t child : children) {
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  }
  std::string text;
  ASSERT_TRUE(DefaultFileSystem().ReadFile(counter, &text).ok());
  EXPECT_EQ(text, std::to_string(kProcesses * kRounds)) << "no count lost";

  // A holder killed while it holds the lock.
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  pid_t holder = fork();
  ASSERT_GE(holder, 0);
  if (holder == 0) {
    std::unique_ptr<FolderLock> lock;
    if (!FolderLock::Acquire(DefaultFileSystem(), lock_path, milliseconds(1000), &lock, QuickTiming()).ok())
      _exit(2);
    (void)!write(ready[1], "x", 1);
    for (;;) pause();
  }
  char byte = 0;
  ASSERT_EQ(read(ready[0], &byte, 1), 1);
  kill(holder, SIGKILL);
  waitpid(holder, nullptr, 0);
  std::unique_ptr<FolderLock> lock;
  EXPECT_TRUE(
      FolderLock::Acquire(DefaultFileSystem(), lock_path, milliseconds(30000), &lock, QuickTiming()).ok());
  lock.reset();
  close(ready[0]);
  close(ready[1]);
  std::error_code ignored;
  std::filesystem::remove_all(dir, ignored);
}
#endif
