#include "repeat/repeat_rule.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "base/decimal_digits.h"

namespace {

struct FrequencyName {
  std::string_view name;
  RepeatFrequency frequency;
};
constexpr std::array<FrequencyName, 6> kFrequencies = {{
    {"MINUTELY", RepeatFrequency::kMinutely},
    {"HOURLY", RepeatFrequency::kHourly},
    {"DAILY", RepeatFrequency::kDaily},
    {"WEEKLY", RepeatFrequency::kWeekly},
    {"MONTHLY", RepeatFrequency::kMonthly},
    {"YEARLY", RepeatFrequency::kYearly},
}};

// By day number, 0 = Sunday.
constexpr std::array<std::string_view, 7> kWeekdayNames = {"SU", "MO", "TU", "WE", "TH", "FR", "SA"};

std::string Quoted(std::string_view part) {
  std::string text = "\"";
  text.append(part).push_back('"');
  return text;
}

Status Bad(std::string message) { return Status::InvalidArgument(std::move(message)); }

std::optional<int> WeekdayOf(std::string_view name) {
  for (int d = 0; d < 7; ++d) {
    if (name == kWeekdayNames[d]) return d;
  }
  return std::nullopt;
}

std::optional<std::int32_t> PositiveNumber(std::string_view text) {
  std::int32_t value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < 1)
    return std::nullopt;
  return value;
}

// YYYYMMDDTHHMMSS, a local date and time.
std::optional<WallSeconds> LocalDateTime(std::string_view text) {
  if (text.size() != 15 || text[8] != 'T') return std::nullopt;
  std::string iso = std::string(text.substr(0, 4)) + "-" + std::string(text.substr(4, 2)) + "-" +
                    std::string(text.substr(6, 2)) + " " + std::string(text.substr(9, 2)) + ":" +
                    std::string(text.substr(11, 2)) + ":" + std::string(text.substr(13, 2));
  WallSeconds wall = 0;
  if (!ParseWallTime(iso, &wall)) return std::nullopt;
  return wall;
}

std::string AsciiUpper(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return upper;
}

// `name` and `value` in capitals; `part` as written, for the messages.
Status ReadPart(std::string_view name, std::string_view value, std::string_view written, RepeatRule* rule) {
  const std::string part = Quoted(written);
  if (name == "FREQ") {
    for (const FrequencyName& f : kFrequencies) {
      if (value == f.name) {
        rule->frequency = f.frequency;
        return Status::Ok();
      }
    }
    return Bad(part + " is not supported (FREQ is MINUTELY, HOURLY, DAILY, WEEKLY, MONTHLY or YEARLY)");
  }
  if (name == "INTERVAL") {
    std::optional<std::int32_t> n = PositiveNumber(value);
    if (!n) return Bad(part + ": INTERVAL is a whole number from 1 to 2147483647");
    rule->interval = *n;
    return Status::Ok();
  }
  if (name == "COUNT") {
    std::optional<std::int32_t> n = PositiveNumber(value);
    if (!n) return Bad(part + ": COUNT is a whole number from 1 to 2147483647");
    rule->count = *n;
    return Status::Ok();
  }
  if (name == "UNTIL") {
    if (!value.empty() && value.back() == 'Z')
      return Bad(part + ": UNTIL is a local time here, without the Z (YYYYMMDDTHHMMSS)");
    std::optional<WallSeconds> until = LocalDateTime(value);
    if (!until) return Bad(part + ": UNTIL is a local date and time that exists, as YYYYMMDDTHHMMSS");
    rule->until = until;
    return Status::Ok();
  }
  if (name == "WKST") {
    std::optional<int> day = WeekdayOf(value);
    if (!day) return Bad(part + ": WKST is one of MO, TU, WE, TH, FR, SA, SU");
    rule->week_start = *day;
    return Status::Ok();
  }
  if (name == "BYDAY") {
    WeekdaySet days = 0;
    std::size_t start = 0;
    while (true) {
      std::size_t comma = value.find(',', start);
      std::string_view item =
          value.substr(start, comma == std::string_view::npos ? value.npos : comma - start);
      std::optional<int> day = WeekdayOf(item);
      if (!day) {
        return Bad(part + ": BYDAY takes plain weekdays here (MO, TU, WE, TH, FR, SA, SU), not " +
                   Quoted(written.substr(written.size() - value.size() + start, item.size())));
      }
      if (days & (1u << *day)) return Bad(part + ": " + std::string(item) + " is given twice");
      days = static_cast<WeekdaySet>(days | (1u << *day));
      if (comma == std::string_view::npos) break;
      start = comma + 1;
    }
    rule->weekdays = days;
    return Status::Ok();
  }
  return Bad("part " + Quoted(written.substr(0, name.size())) +
             " is not supported (FREQ, INTERVAL, BYDAY, WKST, UNTIL and COUNT are)");
}

}  // namespace

Status ParseRepeatRule(std::string_view text, RepeatRule* rule) {
  if (text.empty()) return Bad("the rule is empty (it needs at least FREQ, such as FREQ=DAILY)");
  // Capitals only for comparing: the same offsets point into the text as written.
  const std::string upper = AsciiUpper(text);
  RepeatRule read;
  std::array<std::string_view, 6> seen{};
  std::size_t seen_count = 0;
  bool has_frequency = false, has_byday = false;
  std::size_t start = 0;
  while (true) {
    std::size_t end = std::min(upper.find(';', start), upper.size());
    std::string_view part = std::string_view(upper).substr(start, end - start);
    std::string_view written = text.substr(start, end - start);
    std::size_t equals = part.find('=');
    if (equals == std::string_view::npos || equals == 0)
      return Bad(Quoted(written) + " is not a NAME=VALUE part (parts are separated by ;)");
    std::string_view name = part.substr(0, equals);
    if (std::find(seen.begin(), seen.begin() + seen_count, name) != seen.begin() + seen_count)
      return Bad("part " + Quoted(written.substr(0, equals)) + " is given twice");
    if (Status status = ReadPart(name, part.substr(equals + 1), written, &read); !status.ok()) return status;
    seen[seen_count++] = name;  // a name ReadPart took is one of the six
    has_frequency = has_frequency || name == "FREQ";
    has_byday = has_byday || name == "BYDAY";
    if (end == upper.size()) break;
    start = end + 1;
  }
  if (!has_frequency) return Bad("FREQ is missing (such as FREQ=DAILY)");
  if (has_byday && read.frequency != RepeatFrequency::kWeekly)
    return Bad("BYDAY is supported with FREQ=WEEKLY only");
  if (read.until && read.count) return Bad("UNTIL and COUNT cannot both be given");
  *rule = read;
  return Status::Ok();
}

std::string FormatRepeatRule(const RepeatRule& rule) {
  std::string text = "FREQ=";
  for (const FrequencyName& f : kFrequencies) {
    if (f.frequency == rule.frequency) text += f.name;
  }
  if (rule.interval != 1) text += ";INTERVAL=" + std::to_string(rule.interval);
  if (rule.weekdays != 0) {
    text += ";BYDAY=";
    bool first = true;
    for (int i = 1; i <= 7; ++i) {
      int d = i % 7;  // Monday first, Sunday last
      if (!(rule.weekdays & (1u << d))) continue;
      if (!first) text += ',';
      text += kWeekdayNames[d];
      first = false;
    }
  }
  if (rule.week_start != 1) text += ";WKST=" + std::string(kWeekdayNames[rule.week_start]);
  if (rule.until) {
    LocalTime lt = CivilFromWall(*rule.until);
    char digits[15];
    char* p = PutDigits(digits, lt.year, 4);
    p = PutDigits(p, lt.month, 2);
    p = PutDigits(p, lt.day, 2);
    *p++ = 'T';
    p = PutDigits(p, lt.hour, 2);
    p = PutDigits(p, lt.minute, 2);
    PutDigits(p, lt.second, 2);
    text += ";UNTIL=" + std::string(digits, sizeof digits);
  }
  if (rule.count) text += ";COUNT=" + std::to_string(*rule.count);
  return text;
}

std::optional<RepeatRule> RepeatRuleOfShortName(std::string_view name) {
  const std::string upper = AsciiUpper(name);
  RepeatRule rule;
  if (upper == "HOURLY") {
    rule.frequency = RepeatFrequency::kHourly;
  } else if (upper == "DAILY") {
    rule.frequency = RepeatFrequency::kDaily;
  } else if (upper == "WEEKLY") {
    rule.frequency = RepeatFrequency::kWeekly;
  } else if (upper == "WEEKDAYS") {
    rule.frequency = RepeatFrequency::kWeekly;
    rule.weekdays = kWorkdays;
  } else if (upper == "MONTHLY") {
    rule.frequency = RepeatFrequency::kMonthly;
  } else if (upper == "YEARLY") {
    rule.frequency = RepeatFrequency::kYearly;
  } else {
    return std::nullopt;
  }
  return rule;
}
