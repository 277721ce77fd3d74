#pragma once
// The background sync's thread. It sleeps on a condition variable until
// the schedule's next pass (no polling: a program at rest wakes no more
// than before), or until the window tells it something: new settings, a
// local change, "立即同步", the end. Each pass runs on this thread, never
// on the window's; its report waits in a queue and the window is signalled
// to take it.
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "app/sync_schedule.h"
#include "sync/sync_pass.h"
#include "sync/sync_settings.h"

class SyncWorker {
 public:
  // Runs one pass with these settings, on the worker's thread.
  using Pass = std::function<SyncReport(const SyncSettings&)>;
  // Called on the worker's thread when a report waits (posts a message).
  using Signal = std::function<void()>;

  SyncWorker(Pass pass, Signal signal);
  // Wakes the thread to end. A pass that is running is not waited for (a
  // first sync may take minutes, and a pass cut short by the process's end
  // loses nothing): the thread ends after it, touching only what it shares.
  ~SyncWorker();
  SyncWorker(const SyncWorker&) = delete;
  SyncWorker& operator=(const SyncWorker&) = delete;

  // The settings to sync with; the first call starts the thread. A pass
  // follows at once when sync is on.
  void Configure(const SyncSettings& settings);
  void LocalChange();
  void SyncNow();

  // The reports of the passes ended since the last call, oldest first.
  std::vector<SyncReport> TakeReports();
  bool stopped_for_user() const;

 private:
  // What the thread and the window share; the thread holds it too, so it
  // outlives a worker whose thread is still in a pass.
  struct State {
    Pass pass;
    Signal signal;
    std::mutex mutex;
    std::condition_variable wake;
    SyncSchedule schedule;
    SyncSettings settings;
    std::vector<SyncReport> reports;
    bool ending = false;
    bool running = false;  // in a pass
  };
  static void Run(std::shared_ptr<State> state);
  static std::int64_t Now();
  void StartThreadIfNeeded();  // REQUIRES: state_->mutex held

  std::shared_ptr<State> state_;
  std::thread thread_;
};
