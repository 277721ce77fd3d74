#pragma once
// Time values are signed 32-bit seconds since 1970-01-01 00:00:00 UTC.
// Local calendar conversion lets the system decide daylight saving time:
// natively the C library, on Windows the time-zone API (not the C runtime,
// whose TZ handling differs from the system's).
#include <cstddef>
#include <cstdint>
#include <string>

using Time32 = std::int32_t;

struct LocalTime {
  int year = 1970;      // e.g. 2026
  int month = 1;        // 1..12
  int day = 1;          // 1..31
  int hour = 0;         // 0..23
  int minute = 0;       // 0..59
  int second = 0;       // 0..59
  int day_of_week = 4;  // 0 = Sunday
};

// The current time, as a time value.
Time32 NowTime();

// Local calendar time of t; false if the system cannot convert it.
bool ToLocalTime(Time32 t, LocalTime* out);

// Time value of a local calendar time (daylight saving decided by the system);
// false if it lies outside the range of a time value.
bool FromLocalTime(const LocalTime& local, Time32* out);

// The date of a count of days since 1970-01-01 in the proleptic Gregorian
// calendar (H. Hinnant's algorithm: exact far beyond the range of a time value).
void CivilFromDays(std::int64_t days, int* year, int* month, int* day);
// The inverse: days since 1970-01-01 of a date (month 1..12, day 1..31).
std::int64_t DaysFromCivil(std::int64_t year, int month, int day);

// "%04d-%02d-%02d %02d:%02d:%02d" of the local time of t; empty if t cannot be converted.
std::string FormatTime(Time32 t);
// The same text of a local time, appended to *out.
void AppendFormattedTime(const LocalTime& local, std::string* out);

// Converts many times in a row (the rows of a long list) at a fraction of the
// system's cost. The system is asked for the two ends of each six-hour window
// of UTC time; when both have the same UTC offset, every time inside gets that
// offset by arithmetic. (A zone's offset changes lie days or months apart;
// a window in which one happens is left to the system, time by time.) The
// last few hundred windows asked about are kept, since a row shows two times
// that are usually in different windows. Meant for one listing: it does not
// notice a change of the system's time zone.
class LocalTimeConverter {
 public:
  bool ToLocalTime(Time32 t, LocalTime* out);
  // FormatTime(t) appended to *out (nothing when t cannot be converted).
  void AppendFormatted(Time32 t, std::string* out);

 private:
  static constexpr std::int64_t kWindow = 6 * 3600;
  static constexpr std::size_t kKeptWindows = 256;  // a power of two
  struct Window {
    std::int64_t index = INT64_MIN;  // t / kWindow, rounded down; INT64_MIN: none yet
    bool constant = false;           // one UTC offset throughout
    std::int64_t offset = 0;         // local minus UTC seconds, when constant
  };
  const Window& WindowOf(Time32 t);
  // "YYYY-MM-DD " of a local day (days since 1970-01-01), formatted once.
  const char* DateText(std::int64_t day);

  static constexpr std::size_t kKeptDays = 256;  // a power of two
  struct Day {
    std::int64_t day = INT64_MIN;
    char text[11];
  };

  Window windows_[kKeptWindows];  // by index modulo kKeptWindows
  Day days_[kKeptDays];           // by day modulo kKeptDays
};

// Parses "YYYY-MM-DD HH:MM:SS" (or "YYYY-MM-DD" with midnight) as local time.
bool ParseLocalTime(const std::string& text, Time32* out);

// True when both times fall on the same local calendar day.
bool SameLocalDay(Time32 a, Time32 b);
