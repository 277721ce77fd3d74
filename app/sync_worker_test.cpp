#include "app/sync_worker.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>

namespace {

using namespace std::chrono_literals;

// What the stand-in pass saw, and the reports it gives, shared with the
// worker's thread.
struct Recorder {
  std::mutex mutex;
  std::condition_variable changed;
  std::vector<SyncSettings> passes;
  int signals = 0;
  SyncReport next;    // what the next pass reports
  bool hold = false;  // passes wait while set

  SyncWorker::Pass Pass() {
    return [this](const SyncSettings& settings) {
      std::unique_lock<std::mutex> lock(mutex);
      passes.push_back(settings);
      changed.notify_all();
      changed.wait(lock, [this] { return !hold; });
      return next;
    };
  }
  SyncWorker::Signal Signal() {
    return [this] {
      std::lock_guard<std::mutex> lock(mutex);
      ++signals;
      changed.notify_all();
    };
  }
  // Waits (a long time at most) until `n` reports were signalled.
  bool WaitForSignals(int n) {
    std::unique_lock<std::mutex> lock(mutex);
    return changed.wait_for(lock, 20s, [&] { return signals >= n; });
  }
  bool WaitForPasses(std::size_t n) {
    std::unique_lock<std::mutex> lock(mutex);
    return changed.wait_for(lock, 20s, [&] { return passes.size() >= n; });
  }
};

SyncSettings On(std::string calendar = "http://127.0.0.1:1/c/") {
  SyncSettings s;
  s.address = "http://127.0.0.1:1/";
  s.calendar_url = std::move(calendar);
  s.enabled = true;
  s.interval_minutes = 60;
  return s;
}

SyncReport Completed(int up) {
  SyncReport r;
  r.completed = true;
  r.up = up;
  return r;
}

TEST(SyncWorker, PassesAtStartAndOnRequestWithTheSettingsGiven) {
  Recorder recorder;
  recorder.next = Completed(2);
  SyncWorker worker(recorder.Pass(), recorder.Signal());
  worker.Configure(On());
  ASSERT_TRUE(recorder.WaitForSignals(1));
  std::vector<SyncReport> reports = worker.TakeReports();
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0].up, 2);
  EXPECT_TRUE(worker.TakeReports().empty());  // each report is taken once

  recorder.next = Completed(3);
  worker.SyncNow();
  ASSERT_TRUE(recorder.WaitForSignals(2));
  // New settings reach the next pass, which follows at once.
  worker.Configure(On("http://127.0.0.1:1/other/"));
  ASSERT_TRUE(recorder.WaitForSignals(3));
  std::lock_guard<std::mutex> lock(recorder.mutex);
  ASSERT_EQ(recorder.passes.size(), 3u);
  EXPECT_EQ(recorder.passes[0], On());
  EXPECT_EQ(recorder.passes[2].calendar_url, "http://127.0.0.1:1/other/");
}

TEST(SyncWorker, OffStartsNothingButTheOnePassAskedFor) {
  Recorder recorder;
  SyncWorker worker(recorder.Pass(), recorder.Signal());
  SyncSettings off = On();
  off.enabled = false;
  worker.Configure(off);
  worker.LocalChange();
  EXPECT_TRUE(recorder.passes.empty());
  worker.SyncNow();
  ASSERT_TRUE(recorder.WaitForSignals(1));
  std::lock_guard<std::mutex> lock(recorder.mutex);
  ASSERT_EQ(recorder.passes.size(), 1u);
  EXPECT_FALSE(recorder.passes[0].enabled);
}

TEST(SyncWorker, StopsForTheUserUntilAsked) {
  Recorder recorder;
  recorder.next.needs_user = true;
  recorder.next.message = "wrong password";
  SyncWorker worker(recorder.Pass(), recorder.Signal());
  worker.Configure(On());
  ASSERT_TRUE(recorder.WaitForSignals(1));
  EXPECT_TRUE(worker.stopped_for_user());
  recorder.next = Completed(0);
  worker.SyncNow();
  ASSERT_TRUE(recorder.WaitForSignals(2));
  EXPECT_FALSE(worker.stopped_for_user());
  EXPECT_EQ(worker.TakeReports().size(), 2u);
}

TEST(SyncWorker, EndsWithoutWaitingForAPassThatRuns) {
  auto recorder = std::make_shared<Recorder>();
  recorder->hold = true;
  {
    // The pass holds the recorder: it may outlive this test's scope.
    SyncWorker worker([recorder, pass = recorder->Pass()](const SyncSettings& s) { return pass(s); },
                      recorder->Signal());
    worker.Configure(On());
    ASSERT_TRUE(recorder->WaitForPasses(1));
  }  // the pass still runs
  {
    std::lock_guard<std::mutex> lock(recorder->mutex);
    recorder->hold = false;
  }
  recorder->changed.notify_all();
  // The pass ends on a thread whose worker is gone; its report is dropped.
  std::this_thread::sleep_for(100ms);
  std::lock_guard<std::mutex> lock(recorder->mutex);
  EXPECT_EQ(recorder->signals, 0);
}

}  // namespace
