#pragma once
// A repeat rule: the RFC 5545 RRULE value that repeat.ini and tallyo-cli
// take, every part of it: FREQ (MINUTELY to YEARLY), INTERVAL, the BYxxx
// parts (BYDAY with ordinals such as 2TU and -1FR under MONTHLY and YEARLY),
// WKST, UNTIL (a local time, a UTC time or a date) and COUNT. Names and
// values are read in any letter case; FormatRepeatRule writes the one
// canonical text of a rule.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/status.h"
#include "base/wall_time.h"

enum class RepeatFrequency : std::uint8_t { kMinutely, kHourly, kDaily, kWeekly, kMonthly, kYearly };

// A set of weekdays: bit d for day d, 0 = Sunday (as LocalTime::day_of_week).
using WeekdaySet = std::uint8_t;
inline constexpr WeekdaySet kWorkdays = 0b0111110;  // Monday to Friday

// A BYDAY entry with an ordinal: the 2nd Tuesday (2TU), the last Friday (-1FR).
struct OrdinalWeekday {
  int ordinal = 1;  // 1 to 53 or -53 to -1
  int weekday = 0;  // 0 = Sunday
  bool operator==(const OrdinalWeekday&) const = default;
};

// How UNTIL was written: its meaning, and how it is written back.
enum class UntilForm : std::uint8_t {
  kLocal,  // YYYYMMDDTHHMMSS: `until` is that wall time
  kUtc,    // YYYYMMDDTHHMMSSZ: `until` is the moment (seconds since 1970 UTC)
  kDate,   // YYYYMMDD: `until` is the wall time at the start of that day, which is included whole
};

struct RepeatRule {
  RepeatFrequency frequency = RepeatFrequency::kDaily;
  std::int32_t interval = 1;  // every n-th day, week, ...; at least 1
  // BYDAY without ordinals; empty with kWeekly: the weekday of the start.
  WeekdaySet weekdays = 0;
  // WKST (0 = Sunday): where a week starts, which matters for BYDAY with an
  // interval above 1 and for BYWEEKNO. Monday when not given.
  int week_start = 1;
  std::optional<WallSeconds> until;  // the last time an occurrence may have, read by until_form
  UntilForm until_form = UntilForm::kLocal;
  std::optional<std::int32_t> count;  // at most this many occurrences, the first included

  // The parts past what weekly-by-weekday arithmetic computes, each sorted
  // ascending without repeats (an empty one is not given).
  std::vector<OrdinalWeekday> ordinal_weekdays;  // BYDAY entries with an ordinal
  std::vector<int> months;                       // BYMONTH, 1 to 12
  std::vector<int> week_numbers;                 // BYWEEKNO, ±1 to 53
  std::vector<int> year_days;                    // BYYEARDAY, ±1 to 366
  std::vector<int> month_days;                   // BYMONTHDAY, ±1 to 31
  std::vector<int> hours;                        // BYHOUR, 0 to 23
  std::vector<int> minutes;                      // BYMINUTE, 0 to 59
  std::vector<int> seconds;                      // BYSECOND, 0 to 59
  std::vector<int> set_positions;                // BYSETPOS, ±1 to 366

  bool operator==(const RepeatRule&) const = default;

  // True when the arithmetic of RepeatSeries computes the rule: no BYxxx
  // part but weekdays with WEEKLY, and UNTIL as a local time.
  bool IsPlain() const;
  // True when an occurrence at wall time `wall` comes after UNTIL.
  bool EndsBefore(WallSeconds wall) const;
};

// Reads an RRULE value such as "FREQ=WEEKLY;INTERVAL=2;BYDAY=MO,TH". On
// failure *rule is untouched and the status (kInvalidArgument) says, in
// English, which part is wrong and why.
Status ParseRepeatRule(std::string_view text, RepeatRule* rule);

// The canonical RRULE value: FREQ, then INTERVAL (when not 1), BYMONTH,
// BYWEEKNO, BYYEARDAY, BYMONTHDAY, BYDAY (plain weekdays Monday first, then
// those with ordinals), BYHOUR, BYMINUTE, BYSECOND, BYSETPOS, WKST (when not
// Monday), UNTIL and COUNT.
std::string FormatRepeatRule(const RepeatRule& rule);

// The rules of the command line's short names: daily, weekdays, weekly,
// monthly, yearly and hourly (any letter case); nullopt for any other text.
std::optional<RepeatRule> RepeatRuleOfShortName(std::string_view name);
