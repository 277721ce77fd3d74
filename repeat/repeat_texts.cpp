#include "repeat/repeat_texts.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <vector>

#include "base/wall_time.h"

namespace {

const char kEvery[] = "\xc3\xbf";                                                       // "每"
const char kWorkdaysShort[] = "\xc3\xbf\xb8\xf6\xb9\xa4\xd7\xf7\xc8\xd5";               // "每个工作日"
const char kRepeats[] = "\xd6\xd8\xb8\xb4";                                             // "重复"
const char kNext[] = " \xa1\xa4 \xcf\xc2\xb4\xce ";                                     // " · 下次 "
const char kLastTime[] = " \xa1\xa4 \xd5\xe2\xca\xc7\xd7\xee\xba\xf3\xd2\xbb\xb4\xce";  // " · 这是最后一次"
const char kComma[] = "\xa3\xac";                                                       // "，"
const char kInAll[] = "\xb9\xb2";                                                       // "共"
const char kTimes[] = "\xb4\xce";                                                       // "次"
const char kUntil[] = "\xd6\xc1";                                                       // "至"
const char kListComma[] = "\xa1\xa2";                                                   // "、"

// The unit of each frequency, after "每" and a number; with interval 1
// the short names say "每天", "每周", "每月" ("每1个月" would be odd).
struct Unit {
  const char* counted;  // after a number: "分钟", "小时", "天", "周", "个月", "年"
  const char* single;   // after "每" alone: "分钟", "小时", "天", "周", "月", "年"
};
const std::array<Unit, 6> kUnits = {{
    {"\xb7\xd6\xd6\xd3", "\xb7\xd6\xd6\xd3"},  // 分钟
    {"\xd0\xa1\xca\xb1", "\xd0\xa1\xca\xb1"},  // 小时
    {"\xcc\xec", "\xcc\xec"},                  // 天
    {"\xd6\xdc", "\xd6\xdc"},                  // 周
    {"\xb8\xf6\xd4\xc2", "\xd4\xc2"},          // 个月, 月
    {"\xc4\xea", "\xc4\xea"},                  // 年
}};

// By day number, 0 = Sunday: 日 一 二 三 四 五 六.
const std::array<const char*, 7> kWeekdayNames = {"\xc8\xd5", "\xd2\xbb", "\xb6\xfe", "\xc8\xfd",
                                                  "\xcb\xc4", "\xce\xe5", "\xc1\xf9"};

RepeatRule Simple(RepeatFrequency frequency, WeekdaySet weekdays = 0) {
  RepeatRule rule;
  rule.frequency = frequency;
  rule.weekdays = weekdays;
  return rule;
}

const std::array<RepeatChoice, 6> kChoices = {{
    {"\xb2\xbb\xd6\xd8\xb8\xb4", std::nullopt},             // 不重复
    {"\xc3\xbf\xcc\xec", Simple(RepeatFrequency::kDaily)},  // 每天
    // 每个工作日（周一至周五）
    {"\xc3\xbf\xb8\xf6\xb9\xa4\xd7\xf7\xc8\xd5\xa3\xa8\xd6\xdc\xd2\xbb\xd6\xc1\xd6\xdc\xce\xe5\xa3\xa9",
     Simple(RepeatFrequency::kWeekly, kWorkdays)},
    {"\xc3\xbf\xd6\xdc", Simple(RepeatFrequency::kWeekly)},   // 每周
    {"\xc3\xbf\xd4\xc2", Simple(RepeatFrequency::kMonthly)},  // 每月
    {"\xc3\xbf\xc4\xea", Simple(RepeatFrequency::kYearly)},   // 每年
}};

const char kOrdinal[] = "\xb5\xda";                  // "第"
const char kOne[] = "\xb8\xf6";                      // "个"
const char kWeekdayWord[] = "\xd0\xc7\xc6\xda";      // "星期"
const char kLast[] = "\xd7\xee\xba\xf3\xd2\xbb";     // "最后一"
const char kFromTheEnd[] = "\xb5\xb9\xca\xfd";       // "倒数"
const char kMonth[] = "\xd4\xc2";                    // "月"
const char kDayOfMonth[] = "\xc8\xd5";               // "日"
const char kDay[] = "\xcc\xec";                      // "天"
const char kWeek[] = "\xd6\xdc";                     // "周"
const char kOClock[] = "\xb5\xe3";                   // "点"
const char kMinute[] = "\xb7\xd6";                   // "分"
const char kSecond[] = "\xc3\xeb";                   // "秒"
const char kPicking[] = "\xc8\xa1\xc6\xe4\xd6\xd0";  // "取其中"
const char kExcept[] = "\xb3\xfd ";                  // "除 "
const char kAlsoOn[] = "\xc1\xed\xbc\xd3 ";          // "另加 "
const char kAndSoOn[] = " \xb5\xc8";                 // " 等"
// 一 to 五, the ordinals a month holds, are said in words; larger ones in digits.
const std::array<const char*, 6> kSmallNumbers = {"",         "\xd2\xbb", "\xb6\xfe",
                                                  "\xc8\xfd", "\xcb\xc4", "\xce\xe5"};

std::string NumberWord(int n) {
  return n < 6 ? kSmallNumbers[static_cast<std::size_t>(n)] : std::to_string(n);
}

// "第二个", "最后一个", "倒数第二个".
std::string OrdinalWords(int ordinal) {
  if (ordinal == -1) return std::string(kLast) + kOne;
  std::string words = ordinal < 0 ? kFromTheEnd : "";
  return words + kOrdinal + NumberWord(ordinal < 0 ? -ordinal : ordinal) + kOne;
}

// What BYMONTH, BYMONTHDAY and ordinal BYDAY add to the name: " 3 月",
// " 15 日", "最后一天", "第二个星期二"; the items of each list joined by "、".
std::string DaysWithinThePeriod(const RepeatRule& rule) {
  std::string words;
  auto join = [&words](const std::string& item, std::size_t index) {
    if (index != 0) words += kListComma;
    words += item;
  };
  if (!rule.months.empty()) {
    words += " ";
    for (std::size_t i = 0; i < rule.months.size(); ++i) join(std::to_string(rule.months[i]), i);
    words += std::string(" ") + kMonth;
  }
  // Counted from the start first, then from the end, the last one last.
  auto from_the_start_first = [](int a, int b) { return (a < 0) != (b < 0) ? a > 0 : a < b; };
  std::vector<int> month_days = rule.month_days;
  std::sort(month_days.begin(), month_days.end(), from_the_start_first);
  for (std::size_t i = 0; i < month_days.size(); ++i) {
    const int day = month_days[i];
    if (day > 0)
      join((i == 0 ? " " : "") + std::to_string(day) + " " + kDayOfMonth, i);
    else if (day == -1)
      join(std::string(kLast) + kDay, i);
    else
      join(std::string(kFromTheEnd) + kOrdinal + NumberWord(-day) + kDay, i);
  }
  // Weeks and days of the year: "第 20 周", "最后一周", "第 100 天", "倒数第二天".
  auto counted = [&](const std::vector<int>& items, const char* unit) {
    std::vector<int> sorted = items;
    std::sort(sorted.begin(), sorted.end(), from_the_start_first);
    std::string positive;
    std::size_t listed = 0;
    for (int item : sorted) {
      if (item > 0) {
        positive += (positive.empty() ? "" : kListComma) + std::to_string(item);
        continue;
      }
      if (!positive.empty()) {
        join(std::string(kOrdinal) + " " + positive + " " + unit, listed++);
        positive.clear();
      }
      join((item == -1 ? std::string(kLast) : std::string(kFromTheEnd) + kOrdinal + NumberWord(-item)) + unit,
           listed++);
    }
    if (!positive.empty()) join(std::string(kOrdinal) + " " + positive + " " + unit, listed);
  };
  counted(rule.week_numbers, kWeek);
  counted(rule.year_days, kDay);
  std::vector<OrdinalWeekday> ordinals = rule.ordinal_weekdays;
  std::stable_sort(ordinals.begin(), ordinals.end(), [&](const OrdinalWeekday& a, const OrdinalWeekday& b) {
    return from_the_start_first(a.ordinal, b.ordinal);
  });
  for (std::size_t i = 0; i < ordinals.size(); ++i) {
    const OrdinalWeekday& o = ordinals[i];
    join(OrdinalWords(o.ordinal) + kWeekdayWord + kWeekdayNames[static_cast<std::size_t>(o.weekday)], i);
  }
  return words;
}

// What BYHOUR, BYMINUTE and BYSECOND add: " 9:00、17:30" for a few times
// of day, else " 9、17 点 0、30 分" and " 0 秒".
std::string TimesWithinTheDay(const RepeatRule& rule) {
  auto list = [](const std::vector<int>& items, const char* unit) {
    std::string text = " ";
    for (std::size_t i = 0; i < items.size(); ++i)
      text += (i == 0 ? "" : kListComma) + std::to_string(items[i]);
    return text + " " + unit;
  };
  std::string words;
  if (!rule.hours.empty() && !rule.minutes.empty() && rule.hours.size() * rule.minutes.size() <= 4) {
    words += " ";
    std::size_t n = 0;
    for (int hour : rule.hours) {
      for (int minute : rule.minutes) {
        char time[8];
        std::snprintf(time, sizeof time, "%d:%02d", hour, minute);
        words += (n++ == 0 ? "" : kListComma) + std::string(time);
      }
    }
  } else {
    if (!rule.hours.empty()) words += list(rule.hours, kOClock);
    if (!rule.minutes.empty()) words += list(rule.minutes, kMinute);
  }
  if (!rule.seconds.empty()) words += list(rule.seconds, kSecond);
  return words;
}

// What BYSETPOS adds: "，取其中最后一个", "，取其中第一个、第三个".
std::string PickedPositions(const RepeatRule& rule) {
  if (rule.set_positions.empty()) return "";
  std::vector<int> positions = rule.set_positions;
  std::sort(positions.begin(), positions.end(),
            [](int a, int b) { return (a < 0) != (b < 0) ? a > 0 : a < b; });
  std::string words = std::string(kComma) + kPicking;
  for (std::size_t i = 0; i < positions.size(); ++i)
    words += (i == 0 ? "" : kListComma) + OrdinalWords(positions[i]);
  return words;
}

// "12-25", "12-25 10:00" when the time of day is not the series', with the
// year first when it is not the year the series starts in.
std::string DateWords(WallSeconds wall, WallSeconds start) {
  const std::string text = FormatWallTime(wall), first = FormatWallTime(start);
  std::string words = text.substr(0, 4) == first.substr(0, 4) ? text.substr(5, 5) : text.substr(0, 10);
  if (text.substr(11) != first.substr(11)) words += " " + text.substr(11, 5);
  return words;
}

// "，除 12-25、01-01", "，另加 12-26 10:00": at most three dates, then how many in all.
std::string DatesWords(const char* what, const std::vector<WallSeconds>& dates, WallSeconds start) {
  if (dates.empty()) return "";
  constexpr std::size_t kNamed = 3;
  std::string words = std::string(kComma) + what;
  for (std::size_t i = 0; i < dates.size() && i < kNamed; ++i)
    words += (i == 0 ? "" : kListComma) + DateWords(dates[i], start);
  if (dates.size() > kNamed) words += kAndSoOn + std::to_string(dates.size()) + kTimes;
  return words;
}

// The week start changes nothing unless weeks are skipped between days.
RepeatRule WithoutIdleWeekStart(RepeatRule rule) {
  if (rule.interval == 1 || rule.weekdays == 0) rule.week_start = 1;
  return rule;
}

}  // namespace

std::span<const RepeatChoice> RepeatChoices() { return kChoices; }

int RepeatChoiceOf(const RepeatRule* rule) {
  if (rule == nullptr) return 0;
  const RepeatRule plain = WithoutIdleWeekStart(*rule);
  for (std::size_t i = 1; i < kChoices.size(); ++i) {
    if (kChoices[i].rule == plain) return static_cast<int>(i);
  }
  return kCustomRepeatChoice;
}

std::optional<RepeatRule> RepeatRuleForChoice(int choice, const RepeatRule* current) {
  if (choice == kCustomRepeatChoice)
    return current != nullptr ? std::optional<RepeatRule>(*current) : std::nullopt;
  if (choice < 0 || choice >= static_cast<int>(kChoices.size())) return std::nullopt;
  return kChoices[static_cast<std::size_t>(choice)].rule;
}

std::string RepeatShortName(const RepeatRule& rule) {
  const Unit& unit = kUnits[static_cast<std::size_t>(rule.frequency)];
  std::string name = kEvery;
  const bool weekly = rule.frequency == RepeatFrequency::kWeekly || rule.frequency == RepeatFrequency::kDaily;
  if (rule.weekdays == kWorkdays && rule.interval == 1 && weekly) {
    name = kWorkdaysShort;
  } else {
    name += rule.interval == 1 ? unit.single : std::to_string(rule.interval) + unit.counted;
    bool first = true;
    for (int i = 1; i <= 7; ++i) {
      int day = i % 7;  // Monday first, Sunday last
      if (!(rule.weekdays & (1u << day))) continue;
      if (!first) name += kListComma;
      name += kWeekdayNames[day];
      first = false;
    }
    name += DaysWithinThePeriod(rule);
  }
  name += TimesWithinTheDay(rule) + PickedPositions(rule);
  if (rule.count) name += std::string(kComma) + kInAll + std::to_string(*rule.count) + kTimes;
  if (rule.until) {
    // The whole day when the rule runs to its end, else to the minute.
    std::string until = FormatWallTime(*rule.until);
    name += std::string(kComma) + kUntil + until.substr(0, until.ends_with(" 23:59:59") ? 10 : 16);
  }
  return name;
}

std::string RepeatShortName(const RepeatSeries& series) {
  const RepeatDates& dates = series.dates();
  return RepeatShortName(series.rule()) + DatesWords(kExcept, dates.removed, series.start()) +
         DatesWords(kAlsoOn, dates.added, series.start());
}

void AppendRepeatShortName(const RepeatRule& rule, std::string* cell) {
  cell->append(" (").append(RepeatShortName(rule)).append(")");
}

void AppendRepeatShortName(const RepeatSeries& series, std::string* cell) {
  cell->append(" (").append(RepeatShortName(series)).append(")");
}

std::string RepeatPopupLine(const RepeatRule& rule, std::optional<Time32> next) {
  return RepeatPopupLine(RepeatShortName(rule), next);
}

std::string RepeatPopupLine(const RepeatSeries& series, std::optional<Time32> next) {
  return RepeatPopupLine(RepeatShortName(series), next);
}

std::string RepeatPopupLine(const std::string& name, std::optional<Time32> next) {
  std::string line = name + kRepeats;
  if (!next) return line + kLastTime;
  return line + kNext + FormatTime(*next).substr(0, 16);
}
