// The occurrences of thousands of generated rules against libical's
// recurrence iterator, occurrence by occurrence, in two zones: Shanghai
// (daylight saving from 1986 to 1991) and New York (two changes a year).
//
// libical expands the rule in floating local time, as calendars do with the
// export. Its own zones cannot give the moments: they lose historic changes
// (Shanghai's of 1987), and read a wall time that a change skips or repeats
// with the offset after it, where RFC 5545 takes the offset before. The
// expected moments come from the C library, read by the RFC's rule.
#include <gtest/gtest.h>
#include <libical/ical.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "base/testing/zone_scope.h"
#include "repeat/repeat_series.h"

namespace {

// libical goes on past the range of a time value.
const WallSeconds kLastDay = WallFromCivil(2038, 1, 21, 0, 0, 0);

std::string IcalWall(WallSeconds wall) {
  LocalTime lt = CivilFromWall(wall);
  char text[32];
  std::snprintf(text, sizeof text, "%04d%02d%02dT%02d%02d%02d", lt.year, lt.month, lt.day, lt.hour, lt.minute,
                lt.second);
  return text;
}

WallSeconds WallOfIcal(const icaltimetype& t) {
  return WallFromCivil(t.year, t.month, t.day, t.hour, t.minute, t.second);
}

// The moment of a wall time by RFC 5545's rule, worked out with the C
// library's mktime, which reads a wall time as standard or as daylight-saving
// time on request: of the readings that give the wall time back, the first;
// when none does (the wall time is skipped), the reading with the offset from
// before the change, which is the later moment.
std::int64_t RfcMomentOf(WallSeconds wall) {
  const LocalTime lt = CivilFromWall(wall);
  auto read_as = [&](int dst, bool* holds) {
    struct tm tm {};
    tm.tm_year = lt.year - 1900;
    tm.tm_mon = lt.month - 1;
    tm.tm_mday = lt.day;
    tm.tm_hour = lt.hour;
    tm.tm_min = lt.minute;
    tm.tm_sec = lt.second;
    tm.tm_isdst = dst;
    time_t t = mktime(&tm);
    struct tm back {};
    localtime_r(&t, &back);
    *holds = back.tm_year == lt.year - 1900 && back.tm_mon == lt.month - 1 && back.tm_mday == lt.day &&
             back.tm_hour == lt.hour && back.tm_min == lt.minute && back.tm_sec == lt.second;
    return static_cast<std::int64_t>(t);
  };
  bool holds = false;
  const std::int64_t standard = read_as(0, &holds);
  // Without daylight saving near, the standard reading is the only one (and
  // asking glibc for a daylight-saving reading then takes it a long search).
  bool daylight_saving_near = false;
  for (std::int64_t t : {standard - kSecondsPerDay, standard, standard + kSecondsPerDay}) {
    time_t probe = static_cast<time_t>(t);
    struct tm tm {};
    localtime_r(&probe, &tm);
    daylight_saving_near = daylight_saving_near || tm.tm_isdst > 0;
  }
  if (!daylight_saving_near) return standard;
  bool daylight_holds = false;
  const std::int64_t daylight = read_as(1, &daylight_holds);
  if (holds && daylight_holds) return std::min(standard, daylight);
  if (holds || daylight_holds) return holds ? standard : daylight;
  return std::max(standard, daylight);
}

// The first `limit` occurrences by libical whose moments fit a time value;
// *ended: there are no more. UNTIL as a date includes that whole day, and
// UNTIL in UTC bounds the moments (libical reads a floating start as UTC):
// both are given to libical as what they mean here.
std::vector<WallSeconds> LibicalWalls(WallSeconds start, const RepeatRule& rule, std::size_t limit,
                                      bool* ended) {
  RepeatRule local = rule;
  if (rule.until && rule.until_form == UntilForm::kDate) {
    local.until = *rule.until + kSecondsPerDay - 1;
    local.until_form = UntilForm::kLocal;
  }
  if (rule.until_form == UntilForm::kUtc) local.until.reset();
  // RFC 5545 spreads BYMONTHDAY of a yearly rule over every month; libical
  // 3.0 keeps to the start's month unless BYMONTH names the months.
  if (local.frequency == RepeatFrequency::kYearly && !local.month_days.empty() && local.months.empty() &&
      local.week_numbers.empty() && local.year_days.empty())
    local.months = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
  icalrecurrencetype recurrence = icalrecurrencetype_from_string(FormatRepeatRule(local).c_str());
  icaltimetype first = icaltime_from_string(IcalWall(start).c_str());
  icalrecur_iterator* it = icalrecur_iterator_new(recurrence, first);
  std::vector<WallSeconds> walls;
  *ended = it == nullptr;
  while (it != nullptr && walls.size() < limit) {
    icaltimetype next = icalrecur_iterator_next(it);
    if (icaltime_is_null_time(next)) {
      *ended = true;
      break;
    }
    WallSeconds wall = WallOfIcal(next);
    if (wall >= kLastDay || RfcMomentOf(wall) > INT32_MAX ||
        (rule.until && rule.until_form == UntilForm::kUtc && RfcMomentOf(wall) > *rule.until)) {
      *ended = true;
      break;
    }
    walls.push_back(wall);
  }
  if (it != nullptr) icalrecur_iterator_free(it);
  return walls;
}

struct Case {
  WallSeconds start = 0;
  RepeatRule rule;
  RepeatDates dates;
};

std::int64_t Pick(std::mt19937& rng, std::int64_t low, std::int64_t high) {
  return std::uniform_int_distribution<std::int64_t>(low, high)(rng);
}

// The n-th (1-based) Sunday of a month.
int NthSunday(int year, int month, int n) {
  int weekday = WeekdayOfDay(DaysFromCivil(year, month, 1));
  return 1 + (7 - weekday) % 7 + 7 * (n - 1);
}

Case MakeCase(std::mt19937& rng) {
  Case c;
  RepeatRule& rule = c.rule;
  rule.frequency = static_cast<RepeatFrequency>(Pick(rng, 0, 5));
  rule.interval = Pick(rng, 0, 3) == 0 ? 1 : static_cast<std::int32_t>(Pick(rng, 1, 30));
  const bool sub_daily =
      rule.frequency == RepeatFrequency::kMinutely || rule.frequency == RepeatFrequency::kHourly;

  int year = static_cast<int>(Pick(rng, 1971, 2036)), month = static_cast<int>(Pick(rng, 1, 12)), day = 1;
  int hour = static_cast<int>(Pick(rng, 0, 23)), minute = static_cast<int>(Pick(rng, 0, 59));
  int second = Pick(rng, 0, 3) == 0 ? static_cast<int>(Pick(rng, 0, 59)) : 0;
  switch (Pick(rng, 0, 5)) {
    case 0:  // the 29th to the 31st
      day = static_cast<int>(Pick(rng, 29, DaysInMonth(year, month) == 31 ? 31 : 30));
      if (month == 2) month = 3;
      break;
    case 1:  // 29 February
      year = static_cast<int>(Pick(rng, 0, 16)) * 4 + 1972;
      month = 2;
      day = 29;
      break;
    case 2: {  // the hours around a change of New York's offset, or of Shanghai's in 1986 to 1991
      bool shanghai = Pick(rng, 0, 2) == 0;
      if (shanghai)
        year = static_cast<int>(Pick(rng, 1986, 1991));
      else if (year < 2007)
        year = static_cast<int>(Pick(rng, 2007, 2036));
      bool spring = Pick(rng, 0, 1) == 0;
      month = shanghai ? (spring ? 4 : 9) : (spring ? 3 : 11);
      day = shanghai ? static_cast<int>(Pick(rng, 8, 21)) : NthSunday(year, month, spring ? 2 : 1);
      hour = sub_daily ? static_cast<int>(Pick(rng, 0, 2)) : static_cast<int>(Pick(rng, 1, 2));
      if (sub_daily) day -= static_cast<int>(Pick(rng, 0, 1));
      break;
    }
    default:
      day = static_cast<int>(Pick(rng, 1, DaysInMonth(year, month)));
      break;
  }
  c.start = WallFromCivil(year, month, day, hour, minute, second);

  if (rule.frequency == RepeatFrequency::kWeekly && Pick(rng, 0, 2) != 0) {
    // RFC 5545 leaves a start that the rule does not name undefined (and
    // libical and calendars differ there): the start's weekday is always in.
    const int start_weekday = CivilFromWall(c.start).day_of_week;
    rule.weekdays = static_cast<WeekdaySet>(Pick(rng, 1, 127) | (1 << start_weekday));
    // libical 3.0.16 drops the first week when the start's weekday comes
    // before WKST in a week from Monday (see RepeatSeries.WeekStartAfterTheStartsWeekday).
    const int week_start = static_cast<int>(Pick(rng, 0, 6));
    auto from_monday = [](int weekday) { return (weekday + 6) % 7; };
    if (week_start == 0 || from_monday(start_weekday) >= from_monday(week_start))
      rule.week_start = week_start;
  }

  switch (Pick(rng, 0, 3)) {
    case 0:
      rule.count = static_cast<std::int32_t>(Pick(rng, 1, 60));
      break;
    case 1: {
      // Some UNTILs fall on an occurrence, most between two.
      std::int64_t span = sub_daily ? 86400 * 3 : 86400LL * 366 * 6;
      rule.until = c.start + Pick(rng, 0, span);
      if (Pick(rng, 0, 3) == 0) rule.until = c.start;
      break;
    }
    default:
      break;
  }
  return c;
}

// 1 to `most` distinct values from low to high, or from -high to -low as
// well when `signed_values`.
std::vector<int> SomeOf(std::mt19937& rng, int low, int high, bool signed_values, int most = 3) {
  std::vector<int> values;
  const int n = static_cast<int>(Pick(rng, 1, most));
  for (int i = 0; i < n; ++i) {
    int v = static_cast<int>(Pick(rng, low, high));
    if (signed_values && Pick(rng, 0, 2) == 0) v = -v;
    if (std::find(values.begin(), values.end(), v) == values.end()) values.push_back(v);
  }
  std::sort(values.begin(), values.end());
  return values;
}

// A rule past the arithmetic: any of the BY parts RFC 5545 allows with its
// frequency, an end of any form, and some RDATEs and EXDATEs. The start is
// the rule's first occurrence from a random time (RFC 5545 leaves a start
// the rule does not name undefined, and the program always starts there).
std::optional<Case> MakeRichCase(std::mt19937& rng) {
  Case c;
  RepeatRule& rule = c.rule;
  static constexpr RepeatFrequency kWeighted[] = {
      RepeatFrequency::kMinutely, RepeatFrequency::kHourly,  RepeatFrequency::kDaily,
      RepeatFrequency::kDaily,    RepeatFrequency::kWeekly,  RepeatFrequency::kWeekly,
      RepeatFrequency::kMonthly,  RepeatFrequency::kMonthly, RepeatFrequency::kMonthly,
      RepeatFrequency::kYearly,   RepeatFrequency::kYearly,  RepeatFrequency::kYearly};
  rule.frequency = kWeighted[Pick(rng, 0, 11)];
  const bool sub_daily =
      rule.frequency == RepeatFrequency::kMinutely || rule.frequency == RepeatFrequency::kHourly;
  const bool monthly = rule.frequency == RepeatFrequency::kMonthly;
  const bool yearly = rule.frequency == RepeatFrequency::kYearly;
  rule.interval = Pick(rng, 0, 2) != 0 ? 1 : static_cast<std::int32_t>(Pick(rng, 2, sub_daily ? 90 : 5));
  auto maybe = [&](int percent) { return Pick(rng, 0, 99) < percent; };
  // Below a day, only parts that leave occurrences every few days (the
  // references walk every minute or hour).
  if (maybe(sub_daily ? 15 : 30)) rule.months = SomeOf(rng, 1, 12, false, sub_daily ? 6 : 3);
  if (yearly && maybe(25)) rule.week_numbers = SomeOf(rng, 1, 53, true);
  if (yearly && maybe(20)) rule.year_days = SomeOf(rng, 1, 366, true);
  if (rule.frequency != RepeatFrequency::kWeekly && maybe(sub_daily ? 10 : 35))
    rule.month_days = SomeOf(rng, 1, sub_daily ? 28 : 31, !sub_daily);
  if (maybe(50)) {
    for (int d : SomeOf(rng, 0, 6, false)) rule.weekdays = static_cast<WeekdaySet>(rule.weekdays | (1 << d));
    if ((monthly || (yearly && rule.week_numbers.empty())) && maybe(60)) {
      const bool within_month = monthly || !rule.months.empty();
      for (int n : SomeOf(rng, 1, within_month ? 5 : 53, true, 2)) {
        const int weekday = static_cast<int>(Pick(rng, 0, 6));
        if (rule.weekdays & (1 << weekday)) continue;  // a plain day takes in every ordinal of itself
        rule.ordinal_weekdays.push_back({n, weekday});
      }
      std::sort(rule.ordinal_weekdays.begin(), rule.ordinal_weekdays.end(),
                [](const OrdinalWeekday& a, const OrdinalWeekday& b) {
                  return a.ordinal != b.ordinal ? a.ordinal < b.ordinal
                                                : (a.weekday + 6) % 7 < (b.weekday + 6) % 7;
                });
    }
  }
  if (rule.frequency != RepeatFrequency::kHourly && rule.frequency != RepeatFrequency::kMinutely && maybe(30))
    rule.hours = SomeOf(rng, 0, 23, false);
  if (rule.frequency == RepeatFrequency::kMinutely && maybe(40)) rule.hours = SomeOf(rng, 6, 20, false);
  if (rule.frequency != RepeatFrequency::kMinutely && maybe(25)) rule.minutes = SomeOf(rng, 0, 59, false);
  if (maybe(15)) rule.seconds = SomeOf(rng, 0, 59, false, 2);
  const bool has_by = rule.weekdays != 0 || !rule.ordinal_weekdays.empty() || !rule.months.empty() ||
                      !rule.week_numbers.empty() || !rule.year_days.empty() || !rule.month_days.empty() ||
                      !rule.hours.empty() || !rule.minutes.empty() || !rule.seconds.empty();
  // libical ignores BYSETPOS below a month-or-week period (the series picks
  // those positions itself; repeat_series_test and the dateutil script check them).
  if (has_by && !sub_daily && rule.frequency != RepeatFrequency::kDaily && maybe(30))
    rule.set_positions = SomeOf(rng, 1, 4, true, 2);
  if (maybe(30)) rule.week_start = static_cast<int>(Pick(rng, 0, 6));
  if (!has_by && rule.frequency == RepeatFrequency::kWeekly)
    rule.weekdays = static_cast<WeekdaySet>(1 << Pick(rng, 0, 6));
  if (!has_by && rule.frequency != RepeatFrequency::kWeekly)
    rule.month_days = {static_cast<int>(Pick(rng, 1, 28))};
  if (sub_daily && rule.hours.empty() && rule.months.empty() && rule.month_days.empty() && rule.weekdays == 0)
    rule.weekdays = static_cast<WeekdaySet>(1 << Pick(rng, 0, 6));

  const int year = static_cast<int>(Pick(rng, 1975, 2035)), month = static_cast<int>(Pick(rng, 1, 12));
  const WallSeconds anchor =
      WallFromCivil(year, month, static_cast<int>(Pick(rng, 1, DaysInMonth(year, month))),
                    static_cast<int>(Pick(rng, 0, 23)), static_cast<int>(Pick(rng, 0, 59)),
                    Pick(rng, 0, 3) == 0 ? static_cast<int>(Pick(rng, 0, 59)) : 0);
  bool ended = false;
  std::vector<WallSeconds> first = LibicalWalls(anchor, rule, 1, &ended);
  if (first.empty()) return std::nullopt;
  c.start = first.front();

  switch (Pick(rng, 0, 4)) {
    case 0:
      rule.count = static_cast<std::int32_t>(Pick(rng, 1, 60));
      break;
    case 1:
    case 2: {
      const std::int64_t span = sub_daily ? 86400 * 20 : 86400LL * 366 * 6;
      rule.until = c.start + Pick(rng, 0, span);
      rule.until_form = static_cast<UntilForm>(Pick(rng, 0, 2));
      if (rule.until_form == UntilForm::kDate)
        rule.until = FloorDiv(*rule.until, kSecondsPerDay) * kSecondsPerDay;
      if (rule.until_form == UntilForm::kUtc) rule.until = RfcMomentOf(*rule.until) + Pick(rng, -1, 1);
      break;
    }
    default:
      break;
  }
  // EXDATEs among the first occurrences, RDATEs anywhere near them.
  std::vector<WallSeconds> some = LibicalWalls(c.start, rule, 30, &ended);
  if (maybe(50)) {
    for (int i = static_cast<int>(Pick(rng, 1, 4)); i > 0 && !some.empty(); --i)
      c.dates.removed.push_back(
          some[static_cast<std::size_t>(Pick(rng, 0, static_cast<std::int64_t>(some.size()) - 1))]);
  }
  if (maybe(50)) {
    const WallSeconds reach = some.empty() ? 86400 * 30 : std::max<WallSeconds>(some.back() - c.start, 3600);
    for (int i = static_cast<int>(Pick(rng, 1, 4)); i > 0; --i)
      c.dates.added.push_back(c.start + Pick(rng, -reach / 4, reach));
    if (!some.empty() && maybe(30)) c.dates.added.push_back(some.front());  // one on an occurrence
  }
  for (std::vector<WallSeconds>* v : {&c.dates.added, &c.dates.removed}) {
    std::sort(v->begin(), v->end());
    v->erase(std::unique(v->begin(), v->end()), v->end());
  }
  return c;
}

std::string Describe(const Case& c) {
  return IcalWall(c.start) + " " + FormatRepeatRule(c.rule) + " RDATE " + FormatWallTimeList(c.dates.added) +
         " EXDATE " + FormatWallTimeList(c.dates.removed);
}

// The occurrences RFC 5545 gives the rule with its RDATEs and EXDATEs:
// libical's for the rule, and the dates merged in here, in wall order.
std::vector<WallSeconds> ExpectedWalls(const Case& c, std::size_t limit, bool* ended) {
  std::vector<WallSeconds> rule_walls = LibicalWalls(c.start, c.rule, limit, ended);
  std::vector<WallSeconds> all = rule_walls;
  for (WallSeconds added : c.dates.added) {
    if (added < kLastDay && RfcMomentOf(added) <= INT32_MAX) all.push_back(added);
  }
  std::sort(all.begin(), all.end());
  all.erase(std::unique(all.begin(), all.end()), all.end());
  std::erase_if(all, [&](WallSeconds w) {
    return std::binary_search(c.dates.removed.begin(), c.dates.removed.end(), w);
  });
  // Past the rule's last listed occurrence the added dates are only known when the rule ended.
  if (!*ended && !rule_walls.empty())
    std::erase_if(all, [&](WallSeconds w) { return w > rule_walls.back(); });
  if (all.size() > limit) {
    all.resize(limit);
    *ended = false;
  }
  return all;
}

// The occurrences later than `moment` in the reference's moments (in wall
// order), each later than the one before, as the series lists them.
std::vector<Time32> ExpectedAfter(const std::vector<std::int64_t>& moments, std::int64_t moment,
                                  std::size_t count) {
  std::vector<Time32> out;
  for (std::int64_t t : moments) {
    if (out.size() == count) break;
    if (t > moment && (out.empty() || t > out.back())) out.push_back(static_cast<Time32>(t));
  }
  return out;
}

// Daily, hourly and weekly rules at the times the changes of both zones skip
// or repeat, across a whole year of them: first, whatever the random ones hit.
std::vector<Case> CasesAcrossTheChanges() {
  std::vector<Case> cases;
  for (const char* start : {"2026-01-01 02:30:00", "2026-01-01 01:30:00", "1987-01-01 02:30:00",
                            "1986-09-01 01:30:00", "2026-03-07 20:00:00", "2026-10-31 22:00:00"}) {
    for (const char* rule :
         {"FREQ=DAILY", "FREQ=HOURLY", "FREQ=WEEKLY;BYDAY=SU", "FREQ=MINUTELY;INTERVAL=20"}) {
      Case c;
      EXPECT_TRUE(ParseWallTime(start, &c.start));
      EXPECT_TRUE(ParseRepeatRule(rule, &c.rule).ok());
      cases.push_back(c);
    }
  }
  return cases;
}

void CompareWithLibical(int random_cases, bool rich) {
  std::mt19937 rng(rich ? 20270309 : 20261208);
  constexpr std::size_t kLimit = 400;
  int compared_moments = 0, skipped = 0;
  const std::vector<Case> fixed = rich ? std::vector<Case>{} : CasesAcrossTheChanges();
  const int cases = static_cast<int>(fixed.size()) + random_cases;
  for (int i = 0; i < cases; ++i) {
    std::optional<Case> made;
    if (i < static_cast<int>(fixed.size())) {
      made = fixed[static_cast<std::size_t>(i)];
    } else if (!rich) {
      made = MakeCase(rng);
    } else {
      while (!(made = MakeRichCase(rng))) ++skipped;
    }
    const Case& c = *made;
    SCOPED_TRACE(Describe(c));
    RepeatSeries series(c.start, c.rule, c.dates);

    bool ended = false;
    std::vector<WallSeconds> expected =
        rich ? ExpectedWalls(c, kLimit, &ended) : LibicalWalls(c.start, c.rule, kLimit, &ended);
    std::vector<WallSeconds> walls = series.FirstWalls(kLimit);
    while (!walls.empty() && !TimeOfWall(walls.back())) walls.pop_back();
    if (!ended && walls.size() > expected.size()) walls.resize(expected.size());
    ASSERT_EQ(walls, expected);

    std::vector<std::int64_t> moments;
    for (WallSeconds wall : expected) {
      std::optional<Time32> ours = TimeOfWall(wall);
      ASSERT_TRUE(ours.has_value()) << IcalWall(wall);
      ASSERT_EQ(*ours, RfcMomentOf(wall)) << IcalWall(wall);
      moments.push_back(*ours);
    }
    if (moments.empty()) continue;

    // Searches from moments around the occurrences, whose answers the
    // reference holds: before the start, at an occurrence, just before and
    // after one, and between two.
    std::vector<std::int64_t> probes = {moments.front() - 86400 * 40, moments.front() - 1};
    for (int k = 0; k < 6; ++k) {
      std::size_t at = static_cast<std::size_t>(Pick(rng, 0, static_cast<std::int64_t>(moments.size()) - 1));
      probes.push_back(moments[at]);
      probes.push_back(moments[at] - 1);
      probes.push_back(moments[at] + Pick(rng, 1, 4000));
    }
    for (std::int64_t probe : probes) {
      if (probe < INT32_MIN) continue;
      std::vector<Time32> want = ExpectedAfter(moments, probe, 5);
      // Answers beyond the reference's end are known only when the series ended there.
      if (want.size() < 5 && !ended) continue;
      ASSERT_EQ(series.ListAfter(static_cast<Time32>(probe), 5), want) << "after " << probe;
      std::optional<Time32> first = series.FirstAfter(static_cast<Time32>(probe));
      ASSERT_EQ(first.has_value(), !want.empty()) << "after " << probe;
      if (first) {
        ASSERT_EQ(*first, want.front()) << "after " << probe;
      }
      ++compared_moments;
    }
  }
  EXPECT_GT(compared_moments, cases * (rich ? 5 : 10));
  EXPECT_LT(skipped, cases) << "rules without any occurrence";
}

// The generated rules per test: the default keeps a sanitizer run under a
// minute; TALLYO_REFERENCE_RULES asks for more (or fewer) by hand.
int RuleCount(int usual) {
  const char* asked = std::getenv("TALLYO_REFERENCE_RULES");
  return asked != nullptr && std::atoi(asked) > 0 ? std::atoi(asked) : usual;
}

}  // namespace

TEST(RepeatReference, ShanghaiAgreesWithLibical) {
  TALLYO_IN_ZONE("Asia/Shanghai");
  CompareWithLibical(RuleCount(2000), false);
}

TEST(RepeatReference, NewYorkAgreesWithLibical) {
  TALLYO_IN_ZONE("America/New_York");
  CompareWithLibical(RuleCount(2000), false);
}

TEST(RepeatReference, EveryPartAgreesWithLibicalInShanghai) {
  TALLYO_IN_ZONE("Asia/Shanghai");
  CompareWithLibical(RuleCount(400), true);
}

TEST(RepeatReference, EveryPartAgreesWithLibicalInNewYork) {
  TALLYO_IN_ZONE("America/New_York");
  CompareWithLibical(RuleCount(400), true);
}
