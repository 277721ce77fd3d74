#include "base/wall_time.h"

#include <algorithm>
#include <limits>

namespace {

constexpr std::int64_t kTimeMin = std::numeric_limits<Time32>::min();
constexpr std::int64_t kTimeMax = std::numeric_limits<Time32>::max();

// Local minus UTC seconds at t (clamped into the range of a time value), as
// the system sees it; nullopt when it cannot tell.
std::optional<std::int64_t> OffsetAt(std::int64_t t) {
  t = std::clamp(t, kTimeMin, kTimeMax);
  WallSeconds wall = 0;
  if (!WallOfTime(static_cast<Time32>(t), &wall)) return std::nullopt;
  return wall - t;
}

bool IsDigits(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

int Number(std::string_view digits) {
  int value = 0;
  for (char c : digits) value = value * 10 + (c - '0');
  return value;
}

}  // namespace

WallSeconds WallFromCivil(std::int64_t year, int month, int day, int hour, int minute, int second) {
  return DaysFromCivil(year, month, day) * kSecondsPerDay + hour * 3600 + minute * 60 + second;
}

LocalTime CivilFromWall(WallSeconds wall) {
  std::int64_t days = FloorDiv(wall, kSecondsPerDay);
  std::int64_t secs = wall - days * kSecondsPerDay;
  LocalTime lt;
  CivilFromDays(days, &lt.year, &lt.month, &lt.day);
  lt.hour = static_cast<int>(secs / 3600);
  lt.minute = static_cast<int>(secs / 60 % 60);
  lt.second = static_cast<int>(secs % 60);
  lt.day_of_week = WeekdayOfDay(days);
  return lt;
}

int DaysInMonth(std::int64_t year, int month) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month != 2) return kDays[month - 1];
  bool leap = year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
  return leap ? 29 : 28;
}

bool WallOfTime(Time32 t, WallSeconds* wall) {
  LocalTime lt;
  if (!ToLocalTime(t, &lt)) return false;
  *wall = WallFromCivil(lt);
  return true;
}

std::optional<Time32> TimeOfWall(WallSeconds wall) {
  // Any zone's offset is less than a day, so the moment lies between these
  // two probes, and a change of offset near it lies between them too (a
  // zone changes its offset weeks apart, never twice within two days).
  std::optional<std::int64_t> before = OffsetAt(wall - kSecondsPerDay);
  std::optional<std::int64_t> after = OffsetAt(wall + kSecondsPerDay);
  if (!before || !after) return std::nullopt;
  std::int64_t t = wall - *before;
  if (*before != *after) {
    // Each offset gives a candidate, which holds if its moment really has that offset.
    std::int64_t early = wall - *before, late = wall - *after;
    bool early_holds = OffsetAt(early) == before && early >= kTimeMin && early <= kTimeMax;
    bool late_holds = OffsetAt(late) == after && late >= kTimeMin && late <= kTimeMax;
    if (early_holds && late_holds) {
      t = std::min(early, late);  // the wall time occurs twice: the first
    } else if (late_holds) {
      t = late;
    } else {
      t = early;  // skipped (or only the early one holds): the offset from before
    }
  }
  if (t < kTimeMin || t > kTimeMax) return std::nullopt;
  return static_cast<Time32>(t);
}

std::int64_t LowestOffsetAround(Time32 t) {
  std::int64_t lowest = std::numeric_limits<std::int64_t>::max();
  for (std::int64_t probe :
       {std::int64_t{t} - kSecondsPerDay, std::int64_t{t}, std::int64_t{t} + kSecondsPerDay}) {
    if (std::optional<std::int64_t> offset = OffsetAt(probe)) lowest = std::min(lowest, *offset);
  }
  return lowest == std::numeric_limits<std::int64_t>::max() ? 0 : lowest;
}

std::string FormatWallTime(WallSeconds wall) {
  std::string text;
  AppendFormattedTime(CivilFromWall(wall), &text);
  return text;
}

bool ParseWallTime(std::string_view text, WallSeconds* wall) {
  // YYYY-MM-DD HH:MM:SS
  if (text.size() != 19 || text[4] != '-' || text[7] != '-' || text[10] != ' ' || text[13] != ':' ||
      text[16] != ':')
    return false;
  for (std::size_t at : {0, 5, 8, 11, 14, 17}) {
    if (!IsDigits(text.substr(at, at == 0 ? 4 : 2))) return false;
  }
  int year = Number(text.substr(0, 4)), month = Number(text.substr(5, 2)), day = Number(text.substr(8, 2));
  int hour = Number(text.substr(11, 2)), minute = Number(text.substr(14, 2)),
      second = Number(text.substr(17, 2));
  if (year < 1000 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month) || hour > 23 ||
      minute > 59 || second > 59)
    return false;
  *wall = WallFromCivil(year, month, day, hour, minute, second);
  return true;
}
