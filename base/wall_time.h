#pragma once
// Local wall time as a count: the seconds since 1970-01-01 00:00:00 of the
// local calendar, as if the local zone were UTC. Adding days or months to it
// keeps the time of day whatever daylight saving does (09:00 stays 09:00);
// TimeOfWall then turns it into a moment by one rule on every platform, on
// top of the platform's own conversion of moments (ToLocalTime).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/local_time.h"

using WallSeconds = std::int64_t;

inline constexpr WallSeconds kSecondsPerDay = 86400;

// Floor division: the day of a wall time before 1970 is still the day it starts on.
inline std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
  return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

WallSeconds WallFromCivil(std::int64_t year, int month, int day, int hour, int minute, int second);
inline WallSeconds WallFromCivil(const LocalTime& lt) {
  return WallFromCivil(lt.year, lt.month, lt.day, lt.hour, lt.minute, lt.second);
}
// The calendar fields of a wall time, day of the week included.
LocalTime CivilFromWall(WallSeconds wall);
// 0 = Sunday, as LocalTime::day_of_week.
inline int WeekdayOfDay(std::int64_t day) { return static_cast<int>((day % 7 + 11) % 7); }

// 28 to 31; February by the Gregorian leap-year rule.
int DaysInMonth(std::int64_t year, int month);

// The local wall time of moment t; false if the system cannot convert it.
bool WallOfTime(Time32 t, WallSeconds* wall);

// The moment of a local wall time, read as RFC 5545 reads a local date and
// time: one that a daylight-saving change skips is read with the offset in
// force before the change (02:30 on a spring-forward day is 03:30), one that
// occurs twice is the first of the two. nullopt beyond the range of a time value.
std::optional<Time32> TimeOfWall(WallSeconds wall);

// The lowest UTC offset (local minus UTC seconds) in force from a day before
// t to a day after: no wall time earlier than t's own wall time minus the
// difference to t's offset can be a moment later than t.
std::int64_t LowestOffsetAround(Time32 t);

// "YYYY-MM-DD HH:MM:SS" of a wall time.
std::string FormatWallTime(WallSeconds wall);
// Parses exactly "YYYY-MM-DD HH:MM:SS" (years 1000 to 9999), refusing dates
// and times that do not exist in the calendar (02-30, 24:00:00).
bool ParseWallTime(std::string_view text, WallSeconds* wall);
