#pragma once
// A repeat rule anchored at its start: its occurrences, as RFC 5545 defines
// them, in local wall time. The start counts as the first occurrence when
// the rule matches it (a weekly rule with BYDAY that leaves out the start's
// weekday begins at the first day it names). A monthly rule started on the
// 31st skips months without a 31st; a yearly one started on 29 February
// fires in leap years only. An occurrence whose moment lies past the range
// of a time value does not exist.
//
// A plain rule (RepeatRule::IsPlain) jumps to its place by arithmetic: a
// rule repeating every minute since 2000 finds its next occurrence as fast
// as a yearly one. Any other rule is expanded by libical's recurrence
// iterator (LibicalRecurrence). RDATE adds occurrences to either and EXDATE
// takes them away (RepeatDates).
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "base/local_time.h"
#include "base/wall_time.h"
#include "repeat/repeat_dates.h"
#include "repeat/repeat_rule.h"

class LibicalRecurrence;

class RepeatSeries {
 public:
  RepeatSeries(WallSeconds start, const RepeatRule& rule, RepeatDates dates = {});

  WallSeconds start() const { return start_; }
  const RepeatRule& rule() const { return rule_; }
  const RepeatDates& dates() const { return dates_; }

  // The first occurrence whose moment is later than `moment`; nullopt when
  // none is left. Wall times that a daylight-saving change skips or repeats
  // are read as TimeOfWall reads them (base/wall_time.h).
  std::optional<Time32> FirstAfter(Time32 moment) const;

  // Up to `count` occurrences later than `moment`, each later than the one
  // before (two wall times that fall on the same moment, as 02:00 and 03:00
  // on a spring-forward day do, give that moment once).
  std::vector<Time32> ListAfter(Time32 moment, std::size_t count) const;

  // The first occurrence at or after the wall time `wall`, as a wall time.
  std::optional<WallSeconds> FirstWallAtOrAfter(WallSeconds wall) const;

  // The first `count` occurrences as wall times, from the first on (fewer
  // when the series ends).
  std::vector<WallSeconds> FirstWalls(std::size_t count) const;

 private:
  // One candidate of the rule: the `slot`-th wall time of period `period`
  // (a period is a minute, hour, day, week, month or year of the rule, the
  // interval apart), and how many occurrences come before it.
  struct Cursor {
    std::int64_t period = 0;
    int slot = 0;
    std::int64_t index = 0;
  };

  bool ByWeekdays() const;  // weekly with BYDAY: several slots a period
  bool ByCalendar() const;  // monthly or yearly: a period may lack the start's day
  // *wall = the wall time of a candidate; false when the period has no such
  // date (the 31st of a short month, 29 February of a common year).
  bool CandidateWall(std::int64_t period, int slot, WallSeconds* wall) const;
  int SlotsPerPeriod() const;
  // Occurrences in the periods before `period` (for COUNT).
  std::int64_t OccurrencesBefore(std::int64_t period) const;
  Cursor FirstCursor() const;
  // The first candidate whose wall time is `wall` or later.
  Cursor CursorAtOrAfter(WallSeconds wall) const;
  void Advance(Cursor& cursor) const;
  // The wall time of the occurrence at `cursor`, moving it past dates that
  // do not exist; nullopt when the series has ended (COUNT, UNTIL, range).
  std::optional<WallSeconds> Settle(Cursor& cursor) const;
  // The first occurrence later than `moment`, with its cursor.
  std::optional<Time32> SeekAfter(Time32 moment, Cursor* cursor) const;

  // Past the arithmetic alone (a rule that is not plain, or dates): calls
  // `take` with every occurrence from the wall time `from` on, in order,
  // until it returns false or the series ends.
  bool Walk(WallSeconds from, const std::function<bool(WallSeconds)>& take) const;
  // The rule's own occurrences from `from` on, as Walk.
  bool WalkRule(WallSeconds from, const std::function<bool(WallSeconds)>& take) const;

  WallSeconds start_;
  RepeatRule rule_;
  RepeatDates dates_;
  // Set for a rule that is not plain; shared by the copies of a series.
  std::shared_ptr<const LibicalRecurrence> expansion_;
  // Derived from the start once.
  std::int64_t start_day_;
  WallSeconds time_of_day_;
  LocalTime start_civil_;
  // Weekly with BYDAY: the first day of the start's week, the weekdays as
  // day offsets within a week from week_start, and how many of them fall on
  // or after the start within its own week.
  std::int64_t first_week_day_ = 0;
  int day_offsets_[7] = {};
  int day_count_ = 0;
  int first_week_slots_ = 0;
};

// The series of `rule` from the local wall time of `reminder`, started at
// its first occurrence there (a weekday rule set on a Saturday starts on the
// Monday), so the start written to repeat.ini and to a calendar is itself an
// occurrence; nullopt when the rule has none from there (UNTIL before it, or
// past the range of a time value).
// RDATE and EXDATE (`dates`) do not move the start.
std::optional<RepeatSeries> SeriesStartingAt(Time32 reminder, const RepeatRule& rule,
                                             const RepeatDates& dates = {});

// Where an editor's series starts when the user gave `reminder` at `now`:
// `reminder` itself when it has not passed, else the first occurrence of the
// series from there that is not past (a daily reminder at a time already
// past today starts tomorrow at that time); nullopt when none is left.
std::optional<Time32> FirstReminderNotPast(Time32 reminder, const RepeatRule& rule, Time32 now);
