#pragma once
// When the background sync runs its next pass, without a clock or a thread
// of its own: the worker tells it what happened and asks how long it may
// sleep. A pass runs at start, a few seconds after a local change (a burst
// of changes makes one pass), every interval, and when the user asks. After
// a failed pass it waits longer each time (never less than the server's
// Retry-After); after one that needs the user (a wrong password, a refused
// certificate, one side suddenly empty) it runs no more until the user
// asks or changes the settings. Times are seconds on a clock that never goes
// back (the worker's steady clock).
#include <cstdint>
#include <optional>

#include "sync/sync_pass.h"

class SyncSchedule {
 public:
  // A change waits this long for the changes that follow it.
  static constexpr std::int64_t kAfterChangeSeconds = 5;
  // The first wait after a failed pass; it doubles with each failure that
  // follows, up to kLongestBackOffSeconds.
  static constexpr std::int64_t kFirstBackOffSeconds = 30;
  static constexpr std::int64_t kLongestBackOffSeconds = 60 * 60;
  // A Retry-After beyond this is taken as this (a server's typo must not
  // stop the sync for a year).
  static constexpr std::int64_t kLongestRetryAfterSeconds = 24 * 60 * 60;

  // Sync on or off, and the minutes between passes (1 at least). Turning it
  // on, or changing the settings in any way, clears a stop and a back-off
  // and runs a pass now.
  void Configure(bool enabled, int interval_minutes, std::int64_t now);
  // The user chose "立即同步": a pass now, whatever stop or back-off, and
  // one pass also while the sync is off.
  void SyncNow(std::int64_t now);
  // Tallyo saved a change to its files.
  void LocalChange(std::int64_t now);

  // Whether a pass is due, and when the worker should look again:
  // nullopt when nothing is planned (off, stopped, or a pass is running).
  bool Due(std::int64_t now) const;
  std::optional<std::int64_t> NextPassAt() const;

  // The worker starts and ends a pass. A change during it makes another.
  void PassStarted();
  void PassEnded(const SyncReport& report, std::int64_t now);

  bool enabled() const { return enabled_; }
  // A pass needed the user: nothing runs until SyncNow or Configure.
  bool stopped_for_user() const { return stopped_; }
  // How long the last failure made the schedule wait (0 after a success).
  std::int64_t back_off_seconds() const { return back_off_; }

 private:
  void PlanAt(std::int64_t at);

  bool enabled_ = false;
  bool stopped_ = false;
  bool running_ = false;
  bool one_off_ = false;  // a pass asked for while the sync is off
  std::int64_t interval_seconds_ = 15 * 60;
  std::optional<std::int64_t> next_;        // the next pass planned
  std::optional<std::int64_t> change_at_;   // a change during a pass wants a pass then
  std::optional<std::int64_t> not_before_;  // after a failure, no pass earlier than this
  std::int64_t back_off_ = 0;
};
