#include "repeat/libical_recurrence.h"

#include <libical/ical.h>

#include <algorithm>
#include <deque>
#include <optional>

namespace {

icaltimetype Floating(WallSeconds wall) {
  const LocalTime lt = CivilFromWall(wall);
  icaltimetype t = icaltime_null_time();
  t.year = lt.year;
  t.month = lt.month;
  t.day = lt.day;
  t.hour = lt.hour;
  t.minute = lt.minute;
  t.second = lt.second;
  t.is_date = 0;
  t.zone = nullptr;
  return t;
}

WallSeconds WallOf(const icaltimetype& t) {
  return WallFromCivil(t.year, t.month, t.day, t.hour, t.minute, t.second);
}

}  // namespace

struct LibicalRecurrence::Walk {
  icalrecur_iterator* iterator = nullptr;  // nullptr: a rule with no occurrence at all (30 February)
  // With own_set_positions_: the picked occurrences of a period not given
  // yet, the first occurrence of the next period, and how many were given.
  std::deque<WallSeconds> picked;
  std::optional<WallSeconds> ahead;
  std::int64_t given = 0;
  bool first_period = true;
  ~Walk() {
    if (iterator != nullptr) icalrecur_iterator_free(iterator);
  }
};

LibicalRecurrence::LibicalRecurrence(WallSeconds start, const RepeatRule& rule, WallSeconds last)
    : start_(start), rule_(rule), last_(last) {
  RepeatRule given = rule;
  given.until.reset();
  // RFC 5545 spreads BYMONTHDAY of a yearly rule over every month; libical
  // 3.0 keeps to the start's month unless BYMONTH names the months.
  if (given.frequency == RepeatFrequency::kYearly && !given.month_days.empty() && given.months.empty() &&
      given.week_numbers.empty() && given.year_days.empty()) {
    given.months = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
  }
  own_set_positions_ = !given.set_positions.empty() && (given.frequency == RepeatFrequency::kDaily ||
                                                        given.frequency == RepeatFrequency::kHourly ||
                                                        given.frequency == RepeatFrequency::kMinutely);
  if (own_set_positions_) {
    given.set_positions.clear();
    given.count.reset();
  }
  rule_text_ = FormatRepeatRule(given);
}

LibicalRecurrence::~LibicalRecurrence() = default;

std::unique_ptr<LibicalRecurrence::Walk> LibicalRecurrence::NewWalk() const {
  auto walk = std::make_unique<Walk>();
  const icalrecurrencetype recurrence = icalrecurrencetype_from_string(rule_text_.c_str());
  walk->iterator = icalrecur_iterator_new(recurrence, Floating(start_));
  return walk;
}

bool LibicalRecurrence::NextOfLibical(Walk& walk, WallSeconds* wall) const {
  if (walk.iterator == nullptr) return false;
  const icaltimetype next = icalrecur_iterator_next(walk.iterator);
  if (icaltime_is_null_time(next)) return false;
  *wall = WallOf(next);
  return *wall <= last_;
}

bool LibicalRecurrence::Next(Walk& walk, WallSeconds* wall) const {
  if (!own_set_positions_) return NextOfLibical(walk, wall) && !rule_.EndsBefore(*wall);
  if (rule_.count && walk.given >= *rule_.count) return false;
  // The period an occurrence belongs to: its minute, hour, day, week (from WKST), month or year.
  auto period_of = [&](WallSeconds wall) -> std::int64_t {
    const std::int64_t day = FloorDiv(wall, kSecondsPerDay);
    switch (rule_.frequency) {
      case RepeatFrequency::kMinutely:
        return FloorDiv(wall, 60);
      case RepeatFrequency::kHourly:
        return FloorDiv(wall, 3600);
      case RepeatFrequency::kDaily:
        return day;
      case RepeatFrequency::kWeekly:
        return day - (WeekdayOfDay(day) - rule_.week_start + 7) % 7;
      case RepeatFrequency::kMonthly: {
        const LocalTime lt = CivilFromWall(wall);
        return std::int64_t{lt.year} * 12 + lt.month;
      }
      case RepeatFrequency::kYearly:
        return CivilFromWall(wall).year;
    }
    return day;
  };
  while (walk.picked.empty()) {
    // One period's occurrences, then the positions picked from them.
    std::vector<WallSeconds> set;
    WallSeconds next = 0;
    if (walk.ahead) {
      set.push_back(*walk.ahead);
      walk.ahead.reset();
    } else if (NextOfLibical(walk, &next)) {
      set.push_back(next);
    } else {
      return false;
    }
    while (NextOfLibical(walk, &next)) {
      if (period_of(next) != period_of(set.front())) {
        walk.ahead = next;
        break;
      }
      set.push_back(next);
    }
    // The positions count every occurrence of the start's period, also
    // those before the start; only those from the start on are given.
    if (walk.first_period) {
      std::vector<WallSeconds> earlier = EarlierInFirstPeriod();
      set.insert(set.begin(), earlier.begin(), earlier.end());
    }
    const auto size = static_cast<std::int64_t>(set.size());
    std::vector<WallSeconds> picked;
    for (int position : rule_.set_positions) {
      const std::int64_t at = position > 0 ? position - 1 : size + position;
      if (at >= 0 && at < size) picked.push_back(set[static_cast<std::size_t>(at)]);
    }
    std::sort(picked.begin(), picked.end());
    picked.erase(std::unique(picked.begin(), picked.end()), picked.end());
    if (walk.first_period) {
      std::erase_if(picked, [&](WallSeconds wall) { return wall < start_; });
      walk.first_period = false;
    }
    walk.picked.assign(picked.begin(), picked.end());
  }
  *wall = walk.picked.front();
  walk.picked.pop_front();
  ++walk.given;
  return !rule_.EndsBefore(*wall);
}

std::vector<WallSeconds> LibicalRecurrence::EarlierInFirstPeriod() const {
  // The start is an occurrence, so its minute, hour or day passes every
  // limiting part: the period holds each time of it that the expanding
  // parts name (BYHOUR under DAILY, BYMINUTE above MINUTELY, BYSECOND), the
  // start's own where a part is not given.
  const LocalTime at = CivilFromWall(start_);
  auto or_start = [](const std::vector<int>& given, int own) {
    return given.empty() ? std::vector<int>{own} : given;
  };
  const bool daily = rule_.frequency == RepeatFrequency::kDaily;
  const bool minutely = rule_.frequency == RepeatFrequency::kMinutely;
  const std::vector<int> hours = daily ? or_start(rule_.hours, at.hour) : std::vector<int>{at.hour};
  const std::vector<int> minutes =
      minutely ? std::vector<int>{at.minute} : or_start(rule_.minutes, at.minute);
  const std::vector<int> seconds = or_start(rule_.seconds, at.second);
  const WallSeconds day = FloorDiv(start_, kSecondsPerDay) * kSecondsPerDay;
  std::vector<WallSeconds> earlier;
  for (int hour : hours) {
    for (int minute : minutes) {
      for (int second : seconds) {
        const WallSeconds wall = day + hour * 3600 + minute * 60 + second;
        if (wall < start_) earlier.push_back(wall);
      }
    }
  }
  std::sort(earlier.begin(), earlier.end());
  return earlier;
}

bool LibicalRecurrence::Visit(WallSeconds from, const std::function<bool(WallSeconds)>& take) const {
  std::unique_lock<std::mutex> lock(mutex_);
  if (!walk_ && !ended_) walk_ = NewWalk();
  // Kept occurrences no longer reach back to the start: a walk of its own.
  if (kept_.size() >= kMaxKept && from < kept_.front()) {
    lock.unlock();
    std::unique_ptr<Walk> walk = NewWalk();
    WallSeconds wall = 0;
    while (Next(*walk, &wall)) {
      if (wall >= from && !take(wall)) return false;
    }
    return true;
  }
  std::size_t at =
      static_cast<std::size_t>(std::lower_bound(kept_.begin(), kept_.end(), from) - kept_.begin());
  while (true) {
    if (at == kept_.size()) {
      WallSeconds wall = 0;
      if (ended_ || !Next(*walk_, &wall)) {
        ended_ = true;
        walk_.reset();
        return true;
      }
      if (kept_.size() >= kMaxKept) {  // keep the later half
        kept_.erase(kept_.begin(), kept_.begin() + static_cast<std::ptrdiff_t>(kMaxKept / 2));
        at -= kMaxKept / 2;
      }
      kept_.push_back(wall);
      if (wall < from) {
        ++at;
        continue;
      }
    }
    // `take` runs with the lock held: it must not search this series again.
    if (!take(kept_[at])) return false;
    ++at;
  }
}
