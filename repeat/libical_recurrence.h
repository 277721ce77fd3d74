#pragma once
// The occurrences of a rule past the arithmetic of RepeatSeries, from
// libical's recurrence iterator: the start as a floating local wall time,
// the rule without its UNTIL (which libical would read in UTC), UNTIL then
// applied here as RepeatRule::EndsBefore reads it.
//
// The iterator always walks from the start: libical started anywhere else
// (icalrecur_iterator_set_start, or a later start) loses the steps of an
// INTERVAL, or skips a day, unless it starts at an occurrence. So the
// occurrences walked are kept, with the iterator, and a later search goes
// on from where the last one stopped: a series walks from its start to now
// once (a series starts when its rule was set, so that is a short walk).
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "base/wall_time.h"
#include "repeat/repeat_rule.h"

class LibicalRecurrence {
 public:
  // No occurrence is later than `last`.
  LibicalRecurrence(WallSeconds start, const RepeatRule& rule, WallSeconds last);
  ~LibicalRecurrence();
  LibicalRecurrence(const LibicalRecurrence&) = delete;
  LibicalRecurrence& operator=(const LibicalRecurrence&) = delete;

  // Calls `take` with the occurrences at or after `from` in order, until it
  // returns false (then Visit returns false) or the series ends (true).
  bool Visit(WallSeconds from, const std::function<bool(WallSeconds)>& take) const;

 private:
  struct Walk;
  // The next occurrence of `walk`, or false at the end of the series.
  bool Next(Walk& walk, WallSeconds* wall) const;
  // libical's next occurrence, before BYSETPOS and COUNT applied here.
  bool NextOfLibical(Walk& walk, WallSeconds* wall) const;
  std::unique_ptr<Walk> NewWalk() const;
  // With own_set_positions_: the occurrences of the start's period (its
  // day, hour or minute) before the start, in order.
  std::vector<WallSeconds> EarlierInFirstPeriod() const;

  WallSeconds start_;
  RepeatRule rule_;
  WallSeconds last_;
  std::string rule_text_;  // the RRULE value given to libical
  // BYSETPOS of a rule of a day or less, which libical 3.0 passes over:
  // applied here to the occurrences of each day (hour, minute), and COUNT
  // after it. (Not yet: among the times BYHOUR, BYMINUTE and BYSECOND give
  // the days of a longer period, which libical 3.0 does not tell apart.)
  bool own_set_positions_ = false;

  // The occurrences walked so far (from the start, up to kMaxKept of them)
  // and the walk that goes on after them.
  static constexpr std::size_t kMaxKept = 1 << 20;
  mutable std::mutex mutex_;
  mutable std::vector<WallSeconds> kept_;
  mutable std::unique_ptr<Walk> walk_;
  mutable bool ended_ = false;
};
