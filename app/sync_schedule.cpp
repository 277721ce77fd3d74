#include "app/sync_schedule.h"

#include <algorithm>

void SyncSchedule::Configure(bool enabled, int interval_minutes, std::int64_t now) {
  enabled_ = enabled;
  interval_seconds_ = std::int64_t{std::max(interval_minutes, 1)} * 60;
  stopped_ = false;
  one_off_ = false;
  not_before_.reset();
  back_off_ = 0;
  change_at_.reset();
  next_.reset();
  if (enabled_) PlanAt(now);
}

void SyncSchedule::SyncNow(std::int64_t now) {
  // The user asked: a stop or the back-off gives way, the server may be
  // back or the password right now.
  stopped_ = false;
  not_before_.reset();
  if (!enabled_) one_off_ = true;
  if (running_) {
    change_at_ = now;
    return;
  }
  next_.reset();
  PlanAt(now);
}

void SyncSchedule::LocalChange(std::int64_t now) {
  if (!enabled_ || stopped_) return;
  const std::int64_t at = now + kAfterChangeSeconds;
  if (running_) {
    // The pass may have read the folder before the change: one more after it.
    if (!change_at_ || at < *change_at_) change_at_ = at;
    return;
  }
  PlanAt(at);
}

void SyncSchedule::PlanAt(std::int64_t at) {
  if (not_before_) at = std::max(at, *not_before_);
  if (!next_ || at < *next_) next_ = at;
}

bool SyncSchedule::Due(std::int64_t now) const {
  const std::optional<std::int64_t> at = NextPassAt();
  return at && *at <= now;
}

std::optional<std::int64_t> SyncSchedule::NextPassAt() const {
  if ((!enabled_ && !one_off_) || stopped_ || running_) return std::nullopt;
  return next_;
}

void SyncSchedule::PassStarted() {
  running_ = true;
  next_.reset();
}

void SyncSchedule::PassEnded(const SyncReport& report, std::int64_t now) {
  running_ = false;
  next_.reset();
  const std::optional<std::int64_t> change = change_at_;
  change_at_.reset();
  if (!enabled_) {
    // The one pass asked for is done (or asked for again meanwhile).
    one_off_ = change.has_value();
    if (one_off_) PlanAt(*change);
    return;
  }
  if (report.completed) {
    back_off_ = 0;
    not_before_.reset();
    PlanAt(now + interval_seconds_);
  } else if (report.needs_user || report.error == CalDavErrorKind::kAuth ||
             report.error == CalDavErrorKind::kRefused) {
    // Trying again cannot help, and a server that throttles bad logins
    // would lock the user out.
    stopped_ = true;
    back_off_ = 0;
    not_before_.reset();
    return;
  } else {
    back_off_ = back_off_ == 0 ? kFirstBackOffSeconds : std::min(back_off_ * 2, kLongestBackOffSeconds);
    const std::int64_t retry_after = std::min(report.retry_after_seconds, kLongestRetryAfterSeconds);
    not_before_ = now + std::max(back_off_, retry_after);
    PlanAt(*not_before_);
  }
  if (change) PlanAt(*change);
}
