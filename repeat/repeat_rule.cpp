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

// Monday first, Sunday last: the order BYDAY is written in.
int MondayFirst(int weekday) { return (weekday + 6) % 7; }

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

// An optional sign and one to three digits, as the BYxxx parts write numbers.
std::optional<int> SignedNumber(std::string_view text) {
  bool negative = false;
  if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  if (text.empty() || text.size() > 3 || text[0] == '+' || text[0] == '-') return std::nullopt;
  int value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return negative ? -value : value;
}

std::optional<WallSeconds> WallOfDigits(std::string_view date, std::string_view time) {
  std::string iso = std::string(date.substr(0, 4)) + "-" + std::string(date.substr(4, 2)) + "-" +
                    std::string(date.substr(6, 2)) + " " + std::string(time.substr(0, 2)) + ":" +
                    std::string(time.substr(2, 2)) + ":" + std::string(time.substr(4, 2));
  WallSeconds wall = 0;
  if (!ParseWallTime(iso, &wall)) return std::nullopt;
  return wall;
}

// UNTIL as YYYYMMDDTHHMMSS, YYYYMMDDTHHMMSSZ or YYYYMMDD.
bool ReadUntil(std::string_view text, RepeatRule* rule) {
  std::optional<WallSeconds> wall;
  UntilForm form = UntilForm::kLocal;
  if (text.size() == 8) {
    wall = WallOfDigits(text, "000000");
    form = UntilForm::kDate;
  } else if ((text.size() == 15 || (text.size() == 16 && text[15] == 'Z')) && text[8] == 'T') {
    wall = WallOfDigits(text.substr(0, 8), text.substr(9, 6));
    form = text.size() == 16 ? UntilForm::kUtc : UntilForm::kLocal;
  }
  if (!wall) return false;
  rule->until = wall;
  rule->until_form = form;
  return true;
}

std::string AsciiUpper(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return upper;
}

// The comma-separated items of a value, each with its offset in the value.
template <typename Visit>
Status ForEachItem(std::string_view value, Visit visit) {
  std::size_t start = 0;
  while (true) {
    std::size_t comma = value.find(',', start);
    std::string_view item = value.substr(start, comma == std::string_view::npos ? value.npos : comma - start);
    if (Status status = visit(item, start); !status.ok()) return status;
    if (comma == std::string_view::npos) return Status::Ok();
    start = comma + 1;
  }
}

struct NumberPart {
  std::string_view name;
  int low, high;       // the range of the values
  bool signed_values;  // -high to -low as well
  std::vector<int> RepeatRule::*values;
};
constexpr std::array<NumberPart, 8> kNumberParts = {{
    {"BYMONTH", 1, 12, false, &RepeatRule::months},
    {"BYWEEKNO", 1, 53, true, &RepeatRule::week_numbers},
    {"BYYEARDAY", 1, 366, true, &RepeatRule::year_days},
    {"BYMONTHDAY", 1, 31, true, &RepeatRule::month_days},
    {"BYHOUR", 0, 23, false, &RepeatRule::hours},
    {"BYMINUTE", 0, 59, false, &RepeatRule::minutes},
    {"BYSECOND", 0, 59, false, &RepeatRule::seconds},
    {"BYSETPOS", 1, 366, true, &RepeatRule::set_positions},
}};

std::string RangeText(const NumberPart& p) {
  std::string range = std::to_string(p.low) + " to " + std::to_string(p.high);
  return p.signed_values ? range + " or -" + std::to_string(p.high) + " to -" + std::to_string(p.low) : range;
}

Status ReadNumbers(const NumberPart& p, std::string_view value, std::string_view written, RepeatRule* rule) {
  const std::string part = Quoted(written);
  std::vector<int> values;
  Status status = ForEachItem(value, [&](std::string_view item, std::size_t at) {
    const std::string_view as_written = written.substr(written.size() - value.size() + at, item.size());
    std::optional<int> n = SignedNumber(item);
    const int magnitude = n ? (*n < 0 ? -*n : *n) : -1;
    if (!n || magnitude < p.low || magnitude > p.high || (*n < 0 && !p.signed_values) ||
        (*n == 0 && p.low > 0)) {
      return Bad(part + ": " + std::string(p.name) + " takes whole numbers from " + RangeText(p) + ", not " +
                 Quoted(as_written));
    }
    if (std::find(values.begin(), values.end(), *n) != values.end())
      return Bad(part + ": " + std::to_string(*n) + " is given twice");
    values.push_back(*n);
    return Status::Ok();
  });
  if (!status.ok()) return status;
  std::sort(values.begin(), values.end());
  rule->*p.values = std::move(values);
  return Status::Ok();
}

Status ReadWeekdays(std::string_view value, std::string_view written, RepeatRule* rule) {
  const std::string part = Quoted(written);
  WeekdaySet days = 0;
  std::vector<OrdinalWeekday> ordinals;
  Status status = ForEachItem(value, [&](std::string_view item, std::size_t at) {
    const std::string_view as_written = written.substr(written.size() - value.size() + at, item.size());
    std::optional<int> day = item.size() >= 2 ? WeekdayOf(item.substr(item.size() - 2)) : std::nullopt;
    std::optional<int> ordinal;
    if (day && item.size() > 2) ordinal = SignedNumber(item.substr(0, item.size() - 2));
    if (!day || (item.size() > 2 && (!ordinal || *ordinal == 0 || *ordinal > 53 || *ordinal < -53))) {
      return Bad(part +
                 ": BYDAY takes weekdays (MO, TU, WE, TH, FR, SA, SU), each with an optional ordinal " +
                 "from 1 to 53 or -53 to -1 (2TU, -1FR), not " + Quoted(as_written));
    }
    if (!ordinal) {
      if (days & (1u << *day)) return Bad(part + ": " + std::string(item) + " is given twice");
      days = static_cast<WeekdaySet>(days | (1u << *day));
      return Status::Ok();
    }
    OrdinalWeekday entry{*ordinal, *day};
    if (std::find(ordinals.begin(), ordinals.end(), entry) != ordinals.end())
      return Bad(part + ": " + std::string(as_written) + " is given twice");
    ordinals.push_back(entry);
    return Status::Ok();
  });
  if (!status.ok()) return status;
  std::sort(ordinals.begin(), ordinals.end(), [](const OrdinalWeekday& a, const OrdinalWeekday& b) {
    if (a.ordinal != b.ordinal) return a.ordinal < b.ordinal;
    return MondayFirst(a.weekday) < MondayFirst(b.weekday);
  });
  rule->weekdays = days;
  rule->ordinal_weekdays = std::move(ordinals);
  return Status::Ok();
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
    if (!ReadUntil(value, rule)) {
      return Bad(part +
                 ": UNTIL is a date and time that exists, as YYYYMMDDTHHMMSS (local), YYYYMMDDTHHMMSSZ (UTC) "
                 "or YYYYMMDD (the whole day)");
    }
    return Status::Ok();
  }
  if (name == "WKST") {
    std::optional<int> day = WeekdayOf(value);
    if (!day) return Bad(part + ": WKST is one of MO, TU, WE, TH, FR, SA, SU");
    rule->week_start = *day;
    return Status::Ok();
  }
  if (name == "BYDAY") return ReadWeekdays(value, written, rule);
  for (const NumberPart& p : kNumberParts) {
    if (name == p.name) return ReadNumbers(p, value, written, rule);
  }
  return Bad("part " + Quoted(written.substr(0, name.size())) +
             " is not supported (FREQ, INTERVAL, COUNT, UNTIL, WKST, BYDAY, BYMONTH, BYWEEKNO, BYYEARDAY, "
             "BYMONTHDAY, BYHOUR, BYMINUTE, BYSECOND and BYSETPOS are)");
}

// The combinations RFC 5545 rules out, once every part is read.
Status CheckCombination(const RepeatRule& rule) {
  const RepeatFrequency f = rule.frequency;
  const bool monthly = f == RepeatFrequency::kMonthly, yearly = f == RepeatFrequency::kYearly;
  if (!rule.ordinal_weekdays.empty()) {
    if (!monthly && !yearly)
      return Bad("BYDAY takes an ordinal (such as 2TU or -1FR) with FREQ=MONTHLY or FREQ=YEARLY only");
    if (yearly && !rule.week_numbers.empty())
      return Bad("BYDAY takes no ordinal (such as 2TU or -1FR) together with BYWEEKNO");
    const bool within_month = monthly || !rule.months.empty();
    for (const OrdinalWeekday& d : rule.ordinal_weekdays) {
      if (within_month && (d.ordinal > 5 || d.ordinal < -5))
        return Bad(
            "BYDAY: a month has at most 5 of a weekday, so an ordinal within a month is 1 to 5 or -5 to -1");
    }
  }
  if (!rule.month_days.empty() && f == RepeatFrequency::kWeekly)
    return Bad("BYMONTHDAY cannot be used with FREQ=WEEKLY");
  if (!rule.year_days.empty() && (f == RepeatFrequency::kDaily || f == RepeatFrequency::kWeekly || monthly))
    return Bad("BYYEARDAY cannot be used with FREQ=DAILY, WEEKLY or MONTHLY");
  if (!rule.week_numbers.empty() && !yearly) return Bad("BYWEEKNO is supported with FREQ=YEARLY only");
  if (!rule.set_positions.empty() && rule.weekdays == 0 && rule.ordinal_weekdays.empty() &&
      rule.months.empty() && rule.week_numbers.empty() && rule.year_days.empty() && rule.month_days.empty() &&
      rule.hours.empty() && rule.minutes.empty() && rule.seconds.empty()) {
    return Bad("BYSETPOS needs another BY part (such as BYDAY) whose occurrences it picks from");
  }
  if (rule.until && rule.count) return Bad("UNTIL and COUNT cannot both be given");
  return Status::Ok();
}

void AppendNumbers(std::string_view name, const std::vector<int>& values, std::string* text) {
  if (values.empty()) return;
  text->append(";").append(name).append("=");
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (i > 0) text->push_back(',');
    text->append(std::to_string(values[i]));
  }
}

}  // namespace

bool RepeatRule::IsPlain() const {
  return (weekdays == 0 || frequency == RepeatFrequency::kWeekly) && ordinal_weekdays.empty() &&
         months.empty() && week_numbers.empty() && year_days.empty() && month_days.empty() && hours.empty() &&
         minutes.empty() && seconds.empty() && set_positions.empty();
}

bool RepeatRule::EndsBefore(WallSeconds wall) const {
  if (!until) return false;
  switch (until_form) {
    case UntilForm::kLocal:
      return wall > *until;
    case UntilForm::kDate:
      return wall >= *until + kSecondsPerDay;
    case UntilForm::kUtc: {
      std::optional<Time32> moment = TimeOfWall(wall);
      return !moment || *moment > *until;
    }
  }
  return false;
}

Status ParseRepeatRule(std::string_view text, RepeatRule* rule) {
  if (text.empty()) return Bad("the rule is empty (it needs at least FREQ, such as FREQ=DAILY)");
  // Capitals only for comparing: the same offsets point into the text as written.
  const std::string upper = AsciiUpper(text);
  RepeatRule read;
  std::vector<std::string_view> seen;
  bool has_frequency = false;
  std::size_t start = 0;
  while (true) {
    std::size_t end = std::min(upper.find(';', start), upper.size());
    std::string_view part = std::string_view(upper).substr(start, end - start);
    std::string_view written = text.substr(start, end - start);
    std::size_t equals = part.find('=');
    if (equals == std::string_view::npos || equals == 0)
      return Bad(Quoted(written) + " is not a NAME=VALUE part (parts are separated by ;)");
    std::string_view name = part.substr(0, equals);
    if (std::find(seen.begin(), seen.end(), name) != seen.end())
      return Bad("part " + Quoted(written.substr(0, equals)) + " is given twice");
    if (Status status = ReadPart(name, part.substr(equals + 1), written, &read); !status.ok()) return status;
    seen.push_back(name);
    has_frequency = has_frequency || name == "FREQ";
    if (end == upper.size()) break;
    start = end + 1;
  }
  if (!has_frequency) return Bad("FREQ is missing (such as FREQ=DAILY)");
  if (Status status = CheckCombination(read); !status.ok()) return status;
  *rule = std::move(read);
  return Status::Ok();
}

std::string FormatRepeatRule(const RepeatRule& rule) {
  std::string text = "FREQ=";
  for (const FrequencyName& f : kFrequencies) {
    if (f.frequency == rule.frequency) text += f.name;
  }
  if (rule.interval != 1) text += ";INTERVAL=" + std::to_string(rule.interval);
  AppendNumbers("BYMONTH", rule.months, &text);
  AppendNumbers("BYWEEKNO", rule.week_numbers, &text);
  AppendNumbers("BYYEARDAY", rule.year_days, &text);
  AppendNumbers("BYMONTHDAY", rule.month_days, &text);
  if (rule.weekdays != 0 || !rule.ordinal_weekdays.empty()) {
    text += ";BYDAY=";
    bool first = true;
    for (int i = 1; i <= 7; ++i) {
      int d = i % 7;  // Monday first, Sunday last
      if (!(rule.weekdays & (1u << d))) continue;
      if (!first) text += ',';
      text += kWeekdayNames[d];
      first = false;
    }
    for (const OrdinalWeekday& d : rule.ordinal_weekdays) {
      if (!first) text += ',';
      text += std::to_string(d.ordinal) + std::string(kWeekdayNames[d.weekday]);
      first = false;
    }
  }
  AppendNumbers("BYHOUR", rule.hours, &text);
  AppendNumbers("BYMINUTE", rule.minutes, &text);
  AppendNumbers("BYSECOND", rule.seconds, &text);
  AppendNumbers("BYSETPOS", rule.set_positions, &text);
  if (rule.week_start != 1) text += ";WKST=" + std::string(kWeekdayNames[rule.week_start]);
  if (rule.until) {
    LocalTime lt = CivilFromWall(*rule.until);
    char digits[16];
    char* p = PutDigits(digits, lt.year, 4);
    p = PutDigits(p, lt.month, 2);
    p = PutDigits(p, lt.day, 2);
    if (rule.until_form != UntilForm::kDate) {
      *p++ = 'T';
      p = PutDigits(p, lt.hour, 2);
      p = PutDigits(p, lt.minute, 2);
      p = PutDigits(p, lt.second, 2);
      if (rule.until_form == UntilForm::kUtc) *p++ = 'Z';
    }
    text += ";UNTIL=" + std::string(digits, p);
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
