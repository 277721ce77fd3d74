#include "app/sync_worker.h"

SyncWorker::SyncWorker(Pass pass, Signal signal) : state_(std::make_shared<State>()) {
  state_->pass = std::move(pass);
  state_->signal = std::move(signal);
}

SyncWorker::~SyncWorker() {
  bool in_pass = false;
  {
    std::lock_guard<std::mutex> lock(state_->mutex);
    state_->ending = true;
    in_pass = state_->running;
  }
  state_->wake.notify_all();
  if (!thread_.joinable()) return;
  if (in_pass) {
    thread_.detach();
  } else {
    thread_.join();
  }
}

std::int64_t SyncWorker::Now() {
  return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

void SyncWorker::StartThreadIfNeeded() {
  if (!thread_.joinable()) thread_ = std::thread(Run, state_);
}

void SyncWorker::Configure(const SyncSettings& settings) {
  {
    std::lock_guard<std::mutex> lock(state_->mutex);
    state_->settings = settings;
    state_->schedule.Configure(settings.enabled, settings.interval_minutes, Now());
    if (settings.enabled) StartThreadIfNeeded();
  }
  state_->wake.notify_all();
}

void SyncWorker::LocalChange() {
  {
    std::lock_guard<std::mutex> lock(state_->mutex);
    state_->schedule.LocalChange(Now());
  }
  state_->wake.notify_all();
}

void SyncWorker::SyncNow() {
  {
    std::lock_guard<std::mutex> lock(state_->mutex);
    state_->schedule.SyncNow(Now());
    StartThreadIfNeeded();
  }
  state_->wake.notify_all();
}

std::vector<SyncReport> SyncWorker::TakeReports() {
  std::lock_guard<std::mutex> lock(state_->mutex);
  std::vector<SyncReport> taken;
  taken.swap(state_->reports);
  return taken;
}

bool SyncWorker::stopped_for_user() const {
  std::lock_guard<std::mutex> lock(state_->mutex);
  return state_->schedule.stopped_for_user();
}

void SyncWorker::Run(std::shared_ptr<State> state) {
  std::unique_lock<std::mutex> lock(state->mutex);
  while (!state->ending) {
    if (!state->schedule.Due(Now())) {
      // Asleep until the next pass or a word from the window; with nothing
      // planned (off, stopped for the user), until a word.
      if (const std::optional<std::int64_t> at = state->schedule.NextPassAt()) {
        state->wake.wait_until(lock, std::chrono::steady_clock::time_point(std::chrono::seconds(*at)));
      } else {
        state->wake.wait(lock);
      }
      continue;
    }
    state->schedule.PassStarted();
    state->running = true;
    const SyncSettings settings = state->settings;
    lock.unlock();
    SyncReport report = state->pass(settings);
    lock.lock();
    state->running = false;
    if (state->ending) break;
    state->schedule.PassEnded(report, Now());
    state->reports.push_back(std::move(report));
    lock.unlock();
    state->signal();
    lock.lock();
  }
}
