#pragma once
// A repeat rule: the RFC 5545 RRULE value that repeat.ini and tallyo-cli
// take, in the part this program understands: FREQ (MINUTELY to YEARLY),
// INTERVAL, BYDAY with WEEKLY (plain weekdays), WKST, UNTIL (local,
// YYYYMMDDTHHMMSS) and COUNT. Names and values are read in any letter case;
// FormatRepeatRule writes the one canonical text of a rule.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/status.h"
#include "base/wall_time.h"

enum class RepeatFrequency : std::uint8_t { kMinutely, kHourly, kDaily, kWeekly, kMonthly, kYearly };

// A set of weekdays: bit d for day d, 0 = Sunday (as LocalTime::day_of_week).
using WeekdaySet = std::uint8_t;
inline constexpr WeekdaySet kWorkdays = 0b0111110;  // Monday to Friday

struct RepeatRule {
  RepeatFrequency frequency = RepeatFrequency::kDaily;
  std::int32_t interval = 1;  // every n-th day, week, ...; at least 1
  // BYDAY, only with kWeekly; empty: the weekday of the start.
  WeekdaySet weekdays = 0;
  // WKST (0 = Sunday): where a week starts, which matters for BYDAY with an
  // interval above 1. Monday when not given.
  int week_start = 1;
  std::optional<WallSeconds> until;   // the last wall time an occurrence may have
  std::optional<std::int32_t> count;  // at most this many occurrences, the first included

  bool operator==(const RepeatRule&) const = default;
};

// Reads an RRULE value such as "FREQ=WEEKLY;INTERVAL=2;BYDAY=MO,TH". On
// failure *rule is untouched and the status (kInvalidArgument) says, in
// English, which part is wrong and why.
Status ParseRepeatRule(std::string_view text, RepeatRule* rule);

// The canonical RRULE value: FREQ, then INTERVAL (when not 1), BYDAY (Monday
// first), WKST (when not Monday), UNTIL and COUNT.
std::string FormatRepeatRule(const RepeatRule& rule);

// The rules of the command line's short names: daily, weekdays, weekly,
// monthly, yearly and hourly (any letter case); nullopt for any other text.
std::optional<RepeatRule> RepeatRuleOfShortName(std::string_view name);
