#include "repeat/repeat_series.h"

#include <algorithm>
#include <limits>

#include "repeat/libical_recurrence.h"

namespace {

// No wall time later than this has a moment within the range of a time value
// (every zone's offset is less than a day).
constexpr WallSeconds kLastWall = std::int64_t{std::numeric_limits<Time32>::max()} + 2 * kSecondsPerDay;

std::int64_t UnitSeconds(RepeatFrequency frequency) {
  switch (frequency) {
    case RepeatFrequency::kMinutely:
      return 60;
    case RepeatFrequency::kHourly:
      return 3600;
    case RepeatFrequency::kDaily:
      return kSecondsPerDay;
    default:
      return 7 * kSecondsPerDay;
  }
}

}  // namespace

RepeatSeries::RepeatSeries(WallSeconds start, const RepeatRule& rule, RepeatDates dates)
    : start_(start),
      rule_(rule),
      dates_(std::move(dates)),
      start_day_(FloorDiv(start, kSecondsPerDay)),
      time_of_day_(start - start_day_ * kSecondsPerDay),
      start_civil_(CivilFromWall(start)) {
  if (!rule_.IsPlain()) {
    expansion_ = std::make_shared<const LibicalRecurrence>(start_, rule_, kLastWall);
    return;
  }
  if (rule_.frequency != RepeatFrequency::kWeekly || rule_.weekdays == 0) return;
  const int start_offset = (WeekdayOfDay(start_day_) - rule_.week_start + 7) % 7;
  first_week_day_ = start_day_ - start_offset;
  for (int offset = 0; offset < 7; ++offset) {
    int weekday = (rule_.week_start + offset) % 7;
    if (!(rule_.weekdays & (1u << weekday))) continue;
    day_offsets_[day_count_++] = offset;
    if (offset >= start_offset) ++first_week_slots_;
  }
}

bool RepeatSeries::ByWeekdays() const {
  return rule_.frequency == RepeatFrequency::kWeekly && rule_.weekdays != 0;
}

bool RepeatSeries::ByCalendar() const {
  return rule_.frequency == RepeatFrequency::kMonthly || rule_.frequency == RepeatFrequency::kYearly;
}

int RepeatSeries::SlotsPerPeriod() const { return ByWeekdays() ? day_count_ : 1; }

bool RepeatSeries::CandidateWall(std::int64_t period, int slot, WallSeconds* wall) const {
  const std::int64_t step = period * rule_.interval;
  if (ByWeekdays()) {
    *wall = (first_week_day_ + step * 7 + day_offsets_[slot]) * kSecondsPerDay + time_of_day_;
    return true;
  }
  if (!ByCalendar()) {
    *wall = start_ + step * UnitSeconds(rule_.frequency);
    return true;
  }
  std::int64_t year = start_civil_.year + step;
  int month = start_civil_.month;
  if (rule_.frequency == RepeatFrequency::kMonthly) {
    std::int64_t months = std::int64_t{start_civil_.year} * 12 + (start_civil_.month - 1) + step;
    year = FloorDiv(months, 12);
    month = static_cast<int>(months - year * 12) + 1;
  }
  const bool exists = start_civil_.day <= DaysInMonth(year, month);
  // A date that does not exist gives the first of its month, which is still
  // good for telling whether the series has run past the range.
  *wall = WallFromCivil(year, month, exists ? start_civil_.day : 1, start_civil_.hour, start_civil_.minute,
                        start_civil_.second);
  return exists;
}

std::int64_t RepeatSeries::OccurrencesBefore(std::int64_t period) const {
  if (ByWeekdays()) return period == 0 ? 0 : first_week_slots_ + (period - 1) * day_count_;
  if (!ByCalendar()) return period;
  // A period without the start's day has no occurrence. The periods that
  // fit the range of a time value are a few thousand months at most.
  std::int64_t count = 0;
  WallSeconds wall = 0;
  for (std::int64_t p = 0; p < period; ++p) count += CandidateWall(p, 0, &wall) ? 1 : 0;
  return count;
}

RepeatSeries::Cursor RepeatSeries::FirstCursor() const {
  if (ByWeekdays() && first_week_slots_ == 0) return {1, 0, 0};
  return {0, ByWeekdays() ? day_count_ - first_week_slots_ : 0, 0};
}

RepeatSeries::Cursor RepeatSeries::CursorAtOrAfter(WallSeconds wall) const {
  if (wall <= start_) return FirstCursor();
  wall = std::min(wall, kLastWall + 1);  // beyond it only the end of the series is left
  if (ByWeekdays()) {
    const WallSeconds first_week = first_week_day_ * kSecondsPerDay + time_of_day_;
    std::int64_t period = FloorDiv(wall - first_week, std::int64_t{rule_.interval} * 7 * kSecondsPerDay);
    const int first_slot = period == 0 ? day_count_ - first_week_slots_ : 0;
    for (int slot = first_slot; slot < day_count_; ++slot) {
      WallSeconds candidate = 0;
      CandidateWall(period, slot, &candidate);
      if (candidate >= wall) return {period, slot, OccurrencesBefore(period) + slot - first_slot};
    }
    return {period + 1, 0, OccurrencesBefore(period + 1)};
  }
  if (!ByCalendar()) {
    const std::int64_t step = std::int64_t{rule_.interval} * UnitSeconds(rule_.frequency);
    std::int64_t period = FloorDiv(wall - start_ + step - 1, step);
    return {period, 0, period};
  }
  // The period whose month (or year) is the wall time's or the last before it...
  const LocalTime civil = CivilFromWall(wall);
  std::int64_t distance = civil.year - start_civil_.year;
  if (rule_.frequency == RepeatFrequency::kMonthly)
    distance = distance * 12 + civil.month - start_civil_.month;
  std::int64_t period = FloorDiv(distance, rule_.interval);
  // ...holds a candidate before the wall time, or none: then the next one.
  WallSeconds candidate = 0;
  if (!CandidateWall(period, 0, &candidate) || candidate < wall) ++period;
  return {period, 0, OccurrencesBefore(period)};
}

void RepeatSeries::Advance(Cursor& cursor) const {
  ++cursor.index;
  if (++cursor.slot < SlotsPerPeriod()) return;
  cursor.slot = 0;
  ++cursor.period;
}

std::optional<WallSeconds> RepeatSeries::Settle(Cursor& cursor) const {
  while (true) {
    if (rule_.count && cursor.index >= *rule_.count) return std::nullopt;
    WallSeconds wall = 0;
    bool exists = CandidateWall(cursor.period, cursor.slot, &wall);
    if (wall > kLastWall) return std::nullopt;
    if (!exists) {
      ++cursor.period;  // monthly or yearly: one slot a period
      continue;
    }
    if (rule_.EndsBefore(wall)) return std::nullopt;
    return wall;
  }
}

std::optional<Time32> RepeatSeries::SeekAfter(Time32 moment, Cursor* cursor) const {
  // A wall time earlier than this has its moment at or before `moment`
  // whatever offset reads it.
  Cursor at = CursorAtOrAfter(std::int64_t{moment} + LowestOffsetAround(moment) + 1);
  while (true) {
    std::optional<WallSeconds> wall = Settle(at);
    if (!wall) return std::nullopt;
    std::optional<Time32> t = TimeOfWall(*wall);
    if (!t) return std::nullopt;
    // Later than `moment`, except near a change of offset: a few steps at most.
    if (*t > moment) {
      *cursor = at;
      return t;
    }
    Advance(at);
  }
}

bool RepeatSeries::WalkRule(WallSeconds from, const std::function<bool(WallSeconds)>& take) const {
  if (expansion_) return expansion_->Visit(from, take);
  Cursor cursor = CursorAtOrAfter(from);
  while (std::optional<WallSeconds> wall = Settle(cursor)) {
    if (!take(*wall)) return false;
    Advance(cursor);
  }
  return true;
}

bool RepeatSeries::Walk(WallSeconds from, const std::function<bool(WallSeconds)>& take) const {
  const std::vector<WallSeconds>& added = dates_.added;
  const std::vector<WallSeconds>& removed = dates_.removed;
  auto next_added = std::lower_bound(added.begin(), added.end(), from);
  auto give = [&](WallSeconds wall) {
    return std::binary_search(removed.begin(), removed.end(), wall) || take(wall);
  };
  // The added dates merged in before each occurrence of the rule, once.
  const bool ended = WalkRule(from, [&](WallSeconds wall) {
    for (; next_added != added.end() && *next_added <= wall; ++next_added) {
      if (*next_added < wall && !give(*next_added)) return false;
    }
    return give(wall);
  });
  if (!ended) return false;
  for (; next_added != added.end() && *next_added <= kLastWall; ++next_added) {
    if (!give(*next_added)) return false;
  }
  return true;
}

std::optional<Time32> RepeatSeries::FirstAfter(Time32 moment) const {
  if (expansion_ || !dates_.empty()) {
    std::optional<Time32> first;
    Walk(std::int64_t{moment} + LowestOffsetAround(moment) + 1, [&](WallSeconds wall) {
      std::optional<Time32> t = TimeOfWall(wall);
      if (t && *t > moment) first = t;
      return t && !first;  // a wall time past the range ends the search
    });
    return first;
  }
  Cursor cursor;
  return SeekAfter(moment, &cursor);
}

std::vector<Time32> RepeatSeries::ListAfter(Time32 moment, std::size_t count) const {
  std::vector<Time32> moments;
  Cursor cursor;
  if (count == 0) return moments;
  if (expansion_ || !dates_.empty()) {
    Walk(std::int64_t{moment} + LowestOffsetAround(moment) + 1, [&](WallSeconds wall) {
      std::optional<Time32> t = TimeOfWall(wall);
      if (!t) return false;
      if (*t > moment && (moments.empty() || *t > moments.back())) moments.push_back(*t);
      return moments.size() < count;
    });
    return moments;
  }
  std::optional<Time32> t = SeekAfter(moment, &cursor);
  if (!t) return moments;
  moments.push_back(*t);
  while (moments.size() < count) {
    Advance(cursor);
    std::optional<WallSeconds> wall = Settle(cursor);
    if (!wall) break;
    t = TimeOfWall(*wall);
    if (!t) break;
    if (*t > moments.back()) moments.push_back(*t);
  }
  return moments;
}

std::optional<WallSeconds> RepeatSeries::FirstWallAtOrAfter(WallSeconds wall) const {
  if (expansion_ || !dates_.empty()) {
    std::optional<WallSeconds> first;
    Walk(wall, [&](WallSeconds w) {
      first = w;
      return false;
    });
    return first;
  }
  Cursor cursor = CursorAtOrAfter(wall);
  return Settle(cursor);
}

std::vector<WallSeconds> RepeatSeries::FirstWalls(std::size_t count) const {
  std::vector<WallSeconds> walls;
  if (count == 0) return walls;
  if (expansion_ || !dates_.empty()) {
    Walk(std::numeric_limits<WallSeconds>::min(), [&](WallSeconds wall) {
      walls.push_back(wall);
      return walls.size() < count;
    });
    return walls;
  }
  Cursor cursor = FirstCursor();
  while (walls.size() < count) {
    std::optional<WallSeconds> wall = Settle(cursor);
    if (!wall) break;
    walls.push_back(*wall);
    Advance(cursor);
  }
  return walls;
}

std::optional<RepeatSeries> SeriesStartingAt(Time32 reminder, const RepeatRule& rule,
                                             const RepeatDates& dates) {
  WallSeconds anchor = 0;
  if (!WallOfTime(reminder, &anchor)) return std::nullopt;
  std::vector<WallSeconds> first = RepeatSeries(anchor, rule).FirstWalls(1);
  if (first.empty() || !TimeOfWall(first.front())) return std::nullopt;
  // The same occurrences from there on: the start is one of them, so the
  // periods (and the weeks of an interval) line up, and COUNT counts from it.
  return RepeatSeries(first.front(), rule, dates);
}

std::optional<Time32> FirstReminderNotPast(Time32 reminder, const RepeatRule& rule, Time32 now) {
  if (reminder >= now) return reminder;
  std::optional<RepeatSeries> series = SeriesStartingAt(reminder, rule);
  if (!series) return std::nullopt;
  return series->FirstAfter(now - 1);
}
