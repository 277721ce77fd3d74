// FolderLock: taking, holding (the heartbeat), breaking a stale lock, releasing.
#include "base/folder_lock.h"

#include <cstdio>
#include <random>

#include "base/program_path.h"

namespace {

using Clock = std::chrono::steady_clock;

// Who holds the lock: the process id for a person who looks, a random part
// so that no two holders (a pid used again, two machines) share a token.
std::string NewToken() {
  std::random_device device;
  std::uint64_t random = (std::uint64_t{device()} << 32) ^ device();
  random ^= static_cast<std::uint64_t>(Clock::now().time_since_epoch().count()) * 0x9E3779B97F4A7C15ull;
  char text[64];
  std::snprintf(text, sizeof text, "pid=%lu\r\nid=%016llx\r\n",
                static_cast<unsigned long>(CurrentProcessId()), static_cast<unsigned long long>(random));
  return std::string("Tallyo lock\r\n") + text;
}

std::string BeatLine(std::uint32_t beats) {
  char text[32];
  std::snprintf(text, sizeof text, "beat=%010lu\r\n", static_cast<unsigned long>(beats));
  return text;
}

// The stale lock `judged` (its contents) is renamed aside; what was renamed
// is deleted if it still holds those contents, else it is a live holder's
// (it wrote meanwhile, or a new lock was made) and goes back.
void BreakStale(FileSystem& fs, const std::string& path, const std::string& judged,
                const std::string& token) {
  const std::string aside = path + ".stale-" + token.substr(token.find("id=") + 3, 16);
  if (!fs.RenameFile(path, aside).ok()) return;  // released, or broken by another waiter
  std::string taken;
  if (fs.ReadFile(aside, &taken).ok() && taken == judged) {
    fs.RemoveFile(aside);
    return;
  }
  // Its holder finds its token gone and saves nothing if it cannot go back.
  if (!fs.RenameFile(aside, path).ok()) fs.RemoveFile(aside);
}

}  // namespace

Status FolderLock::Acquire(FileSystem& fs, const std::string& path, std::chrono::milliseconds wait,
                           std::unique_ptr<FolderLock>* lock, const FolderLockTiming& timing) {
  const std::string token = NewToken();
  const Clock::time_point deadline = Clock::now() + wait;
  std::string seen;  // the holder's contents as last read, and since when unchanged
  Clock::time_point seen_since;
  bool have_seen = false;
  for (;;) {
    std::unique_ptr<HeldFile> file;
    Status created = fs.CreateNewFile(path, token + BeatLine(0), &file);
    if (created.ok()) {
      lock->reset(new FolderLock(fs, path, token, std::move(file), timing.heartbeat));
      return Status::Ok();
    }
    // A file being deleted under Windows refuses to be made again for a moment.
    const bool held = created.code() == Status::Code::kAlreadyExists ||
                      (created.code() == Status::Code::kAccessDenied && fs.FileExists(path));
    if (!held) return created;
    std::string contents;
    Status read = fs.ReadFile(path, &contents);
    if (read.IsNotFound()) continue;  // let go just now
    const Clock::time_point now = Clock::now();
    if (read.ok()) {
      if (!have_seen || contents != seen) {
        seen = std::move(contents);
        seen_since = now;
        have_seen = true;
      } else if (now - seen_since >= timing.stale_after) {
        BreakStale(fs, path, seen, token);
        have_seen = false;
        continue;
      }
    }
    if (now >= deadline) {
      return Status::Busy(path +
                          ": another program (Tallyo or tallyo-cli) is writing the files of this folder");
    }
    std::this_thread::sleep_for(std::min<Clock::duration>(timing.poll, deadline - now));
  }
}

FolderLock::FolderLock(FileSystem& fs, std::string path, std::string token, std::unique_ptr<HeldFile> file,
                       std::chrono::milliseconds heartbeat)
    : fs_(fs),
      path_(std::move(path)),
      token_(std::move(token)),
      file_(std::move(file)),
      heartbeat_(heartbeat) {
  // A long change (an import) holds the lock for seconds: its heartbeat
  // tells the waiters it is alive.
  heart_ = std::thread([this] {
    std::unique_lock<std::mutex> guard(mutex_);
    while (!stop_signal_.wait_for(guard, heartbeat_, [this] { return stopping_; })) Beat();
  });
}

FolderLock::~FolderLock() {
  {
    std::lock_guard<std::mutex> guard(mutex_);
    stopping_ = true;
  }
  stop_signal_.notify_all();
  heart_.join();
  std::lock_guard<std::mutex> guard(mutex_);
  file_.reset();  // closed first: Windows deletes an open file only when the last handle goes
  std::string contents;
  if (fs_.ReadFile(path_, &contents).ok() && contents.starts_with(token_)) fs_.RemoveFile(path_);
}

std::string FolderLock::Contents() const { return token_ + BeatLine(beats_); }

void FolderLock::Beat() {
  ++beats_;
  file_->Overwrite(Contents());  // a failed beat is tried again a second later
}

Status FolderLock::CheckHeld() {
  std::lock_guard<std::mutex> guard(mutex_);
  std::string contents;
  Status read = fs_.ReadFile(path_, &contents);
  if (read.ok() && contents.starts_with(token_)) return Status::Ok();
  return Status::IoError(path_ +
                         ": the lock was taken by another program, which thought this one had stopped");
}
