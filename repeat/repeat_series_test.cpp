#include "repeat/repeat_series.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/testing/zone_scope.h"

namespace {

WallSeconds Wall(const char* text) {
  WallSeconds wall = 0;
  EXPECT_TRUE(ParseWallTime(text, &wall)) << text;
  return wall;
}

Time32 MomentOf(const char* text) { return TimeOfWall(Wall(text)).value_or(0); }

RepeatSeries Series(const char* start, const char* rule_text) {
  RepeatRule rule;
  Status status = ParseRepeatRule(rule_text, &rule);
  EXPECT_TRUE(status.ok()) << rule_text << ": " << status.message();
  return RepeatSeries(Wall(start), rule);
}

std::vector<std::string> FirstWalls(const char* start, const char* rule, std::size_t count = 100) {
  std::vector<std::string> texts;
  for (WallSeconds wall : Series(start, rule).FirstWalls(count)) texts.push_back(FormatWallTime(wall));
  return texts;
}

// "MM-DD" of each wall time, for lists of whole days at 09:00 in 1997.
std::vector<std::string> Days(const char* start, const char* rule, std::size_t count = 100) {
  std::vector<std::string> days;
  for (const std::string& text : FirstWalls(start, rule, count)) {
    EXPECT_EQ(text.substr(10), " 09:00:00");
    days.push_back(text.substr(5, 5));
  }
  return days;
}

std::vector<std::string> Texts(const std::vector<Time32>& moments) {
  std::vector<std::string> texts;
  for (Time32 t : moments) texts.push_back(FormatTime(t));
  return texts;
}

using Strings = std::vector<std::string>;

}  // namespace

// The examples of RFC 5545, section 3.8.5.3 (with UNTIL in local time).
TEST(RepeatSeries, TheExamplesOfTheRfc) {
  EXPECT_EQ(
      Days("1997-09-02 09:00:00", "FREQ=DAILY;COUNT=10"),
      (Strings{"09-02", "09-03", "09-04", "09-05", "09-06", "09-07", "09-08", "09-09", "09-10", "09-11"}));
  EXPECT_EQ(Days("1997-09-02 09:00:00", "FREQ=DAILY;INTERVAL=10;COUNT=5"),
            (Strings{"09-02", "09-12", "09-22", "10-02", "10-12"}));
  EXPECT_EQ(
      Days("1997-09-02 09:00:00", "FREQ=WEEKLY;UNTIL=19971007T000000;WKST=SU;BYDAY=TU,TH"),
      (Strings{"09-02", "09-04", "09-09", "09-11", "09-16", "09-18", "09-23", "09-25", "09-30", "10-02"}));
  EXPECT_EQ(
      Days("1997-09-01 09:00:00", "FREQ=WEEKLY;INTERVAL=2;UNTIL=19971224T000000;WKST=SU;BYDAY=MO,WE,FR"),
      (Strings{"09-01", "09-03", "09-05", "09-15", "09-17", "09-19", "09-29", "10-01", "10-03",
               "10-13", "10-15", "10-17", "10-27", "10-29", "10-31", "11-10", "11-12", "11-14",
               "11-24", "11-26", "11-28", "12-08", "12-10", "12-12", "12-22"}));
  // The week start decides which days share a period.
  EXPECT_EQ(Days("1997-08-05 09:00:00", "FREQ=WEEKLY;INTERVAL=2;COUNT=4;BYDAY=TU,SU;WKST=MO"),
            (Strings{"08-05", "08-10", "08-19", "08-24"}));
  EXPECT_EQ(Days("1997-08-05 09:00:00", "FREQ=WEEKLY;INTERVAL=2;COUNT=4;BYDAY=TU,SU;WKST=SU"),
            (Strings{"08-05", "08-17", "08-19", "08-31"}));
  EXPECT_EQ(FirstWalls("1997-09-02 09:00:00", "FREQ=HOURLY;INTERVAL=3;UNTIL=19970902T170000"),
            (Strings{"1997-09-02 09:00:00", "1997-09-02 12:00:00", "1997-09-02 15:00:00"}));
  EXPECT_EQ(FirstWalls("1997-09-02 09:00:00", "FREQ=MINUTELY;INTERVAL=15;COUNT=6"),
            (Strings{"1997-09-02 09:00:00", "1997-09-02 09:15:00", "1997-09-02 09:30:00",
                     "1997-09-02 09:45:00", "1997-09-02 10:00:00", "1997-09-02 10:15:00"}));
  EXPECT_EQ(
      FirstWalls("1997-09-02 09:00:00", "FREQ=MINUTELY;INTERVAL=90;COUNT=4"),
      (Strings{"1997-09-02 09:00:00", "1997-09-02 10:30:00", "1997-09-02 12:00:00", "1997-09-02 13:30:00"}));
}

TEST(RepeatSeries, MonthsWithoutTheDayAndCommonYearsAreSkipped) {
  EXPECT_EQ(
      FirstWalls("2026-01-31 08:00:00", "FREQ=MONTHLY", 8),
      (Strings{"2026-01-31 08:00:00", "2026-03-31 08:00:00", "2026-05-31 08:00:00", "2026-07-31 08:00:00",
               "2026-08-31 08:00:00", "2026-10-31 08:00:00", "2026-12-31 08:00:00", "2027-01-31 08:00:00"}));
  EXPECT_EQ(FirstWalls("2027-01-29 08:00:00", "FREQ=MONTHLY;COUNT=13").back(), "2028-02-29 08:00:00");
  EXPECT_EQ(FirstWalls("2026-08-31 08:00:00", "FREQ=MONTHLY;INTERVAL=6", 3),
            (Strings{"2026-08-31 08:00:00", "2027-08-31 08:00:00", "2028-08-31 08:00:00"}));
  // Yearly on 29 February: leap years only, and none past the range of a time value.
  EXPECT_EQ(
      FirstWalls("2024-02-29 07:30:00", "FREQ=YEARLY"),
      (Strings{"2024-02-29 07:30:00", "2028-02-29 07:30:00", "2032-02-29 07:30:00", "2036-02-29 07:30:00"}));
  EXPECT_EQ(FirstWalls("2024-02-29 07:30:00", "FREQ=YEARLY;INTERVAL=3"),
            (Strings{"2024-02-29 07:30:00", "2036-02-29 07:30:00"}));
  EXPECT_EQ(FirstWalls("1904-02-29 07:30:00", "FREQ=YEARLY;INTERVAL=4;COUNT=3"),
            (Strings{"1904-02-29 07:30:00", "1908-02-29 07:30:00", "1912-02-29 07:30:00"}));
}

TEST(RepeatSeries, WeeksStartOnTheirWeekStartEvenBeforeTheStartsWeekday) {
  // Weeks from Wednesday: 2 to 9 July hold Monday the 8th and Tuesday the
  // 9th; the start, the 9th, is the first occurrence. (libical 3.0.16 drops
  // that week and begins on the 15th.)
  EXPECT_EQ(Days("1991-07-09 09:00:00", "FREQ=WEEKLY;INTERVAL=2;BYDAY=MO,TU;WKST=WE", 5),
            (Strings{"07-09", "07-22", "07-23", "08-05", "08-06"}));
  // A start the rule does not name is no occurrence, and does not count.
  EXPECT_EQ(Days("2026-12-09 09:00:00", "FREQ=WEEKLY;BYDAY=MO;COUNT=2"), (Strings{"12-14", "12-21"}));
  EXPECT_EQ(Days("2026-12-13 09:00:00", "FREQ=WEEKLY;BYDAY=MO,TU,WE,TH,FR;COUNT=3"),
            (Strings{"12-14", "12-15", "12-16"}));
}

TEST(RepeatSeries, UntilIsTheLastWallTimeAllowed) {
  EXPECT_EQ(FirstWalls("2026-12-08 09:00:00", "FREQ=DAILY;UNTIL=20261210T090000").size(), 3u);
  EXPECT_EQ(FirstWalls("2026-12-08 09:00:00", "FREQ=DAILY;UNTIL=20261210T085959").size(), 2u);
  EXPECT_EQ(FirstWalls("2026-12-08 09:00:00", "FREQ=DAILY;UNTIL=20261208T090000").size(), 1u);
  EXPECT_TRUE(FirstWalls("2026-12-08 09:00:00", "FREQ=DAILY;UNTIL=20261208T085959").empty());
  RepeatSeries series = Series("2026-12-08 09:00:00", "FREQ=DAILY;UNTIL=20261210T090000");
  EXPECT_EQ(series.FirstAfter(MomentOf("2026-12-10 08:59:59")), MomentOf("2026-12-10 09:00:00"));
  EXPECT_FALSE(series.FirstAfter(MomentOf("2026-12-10 09:00:00")).has_value());
}

TEST(RepeatSeries, SearchesJumpFarIntoTheSeries) {
  TALLYO_IN_ZONE("Asia/Shanghai");
  RepeatSeries minutely = Series("2000-01-01 00:00:00", "FREQ=MINUTELY");
  EXPECT_EQ(Texts(minutely.ListAfter(MomentOf("2026-12-08 09:00:30"), 3)),
            (Strings{"2026-12-08 09:01:00", "2026-12-08 09:02:00", "2026-12-08 09:03:00"}));
  EXPECT_EQ(minutely.FirstAfter(MomentOf("2026-12-08 09:01:00")), MomentOf("2026-12-08 09:02:00"));
  EXPECT_EQ(minutely.FirstAfter(MomentOf("1999-01-01 00:00:00")), MomentOf("2000-01-01 00:00:00"));

  // COUNT is kept by arithmetic too: the millionth minute is the last.
  RepeatSeries million = Series("2000-01-01 00:00:00", "FREQ=MINUTELY;COUNT=1000000");
  const Time32 last = MomentOf("2000-01-01 00:00:00") + 999999 * 60;
  EXPECT_EQ(million.FirstAfter(last - 1), last);
  EXPECT_FALSE(million.FirstAfter(last).has_value());

  // Jumps land where walking from the start lands, for every kind of period.
  for (const char* rule :
       {"FREQ=WEEKLY;BYDAY=MO,WE,FR;COUNT=300", "FREQ=WEEKLY;INTERVAL=3;BYDAY=SU,TH;WKST=SU;COUNT=300",
        "FREQ=MONTHLY;COUNT=300", "FREQ=YEARLY;COUNT=300", "FREQ=HOURLY;INTERVAL=7;COUNT=300"}) {
    SCOPED_TRACE(rule);
    RepeatSeries series = Series("2000-01-31 09:00:00", rule);
    std::vector<WallSeconds> walls = series.FirstWalls(400);
    ASSERT_FALSE(walls.empty());
    for (std::size_t i : {std::size_t{0}, walls.size() / 3, walls.size() / 2, walls.size() - 1}) {
      const Time32 moment = TimeOfWall(walls[i]).value();
      EXPECT_EQ(series.FirstAfter(moment - 1), moment) << i;
      if (i + 1 < walls.size()) {
        EXPECT_EQ(series.FirstAfter(moment), TimeOfWall(walls[i + 1]).value()) << i;
      }
    }
    EXPECT_FALSE(series.FirstAfter(TimeOfWall(walls.back()).value()).has_value());
  }
}

TEST(RepeatSeries, NoOccurrencePastTheRangeOfATimeValue) {
  TALLYO_IN_ZONE("Asia/Shanghai");
  // 2147483647 is 2038-01-19 11:14:07 in Shanghai.
  EXPECT_EQ(Texts(Series("2038-01-15 11:00:00", "FREQ=DAILY").ListAfter(0, 10)).back(),
            "2038-01-19 11:00:00");
  EXPECT_EQ(Texts(Series("2038-01-15 11:14:08", "FREQ=DAILY").ListAfter(0, 10)).back(),
            "2038-01-18 11:14:08");
  EXPECT_EQ(Series("2038-01-19 11:14:07", "FREQ=MINUTELY").ListAfter(0, 10),
            (std::vector<Time32>{INT32_MAX}));
  EXPECT_FALSE(Series("2037-06-01 09:00:00", "FREQ=YEARLY").FirstAfter(MomentOf("2037-06-01 09:00:00")));
  EXPECT_FALSE(Series("2037-06-01 09:00:00", "FREQ=MONTHLY;INTERVAL=2147483647").FirstAfter(INT32_MAX - 1));
  EXPECT_FALSE(Series("2000-01-01 00:00:00", "FREQ=MINUTELY").FirstAfter(INT32_MAX));
}

TEST(RepeatSeries, FirstWallAtOrAfterFindsTheStartOfASeries) {
  RepeatSeries weekdays = Series("2026-12-12 09:00:00", "FREQ=WEEKLY;BYDAY=MO,TU,WE,TH,FR");  // a Saturday
  EXPECT_EQ(FormatWallTime(weekdays.FirstWallAtOrAfter(Wall("2026-12-12 09:00:00")).value()),
            "2026-12-14 09:00:00");
  EXPECT_EQ(FormatWallTime(weekdays.FirstWallAtOrAfter(Wall("2026-12-15 09:00:00")).value()),
            "2026-12-15 09:00:00");
  EXPECT_EQ(FormatWallTime(weekdays.FirstWallAtOrAfter(Wall("2026-12-15 09:00:01")).value()),
            "2026-12-16 09:00:00");
  RepeatSeries monthly = Series("2026-01-31 08:00:00", "FREQ=MONTHLY;COUNT=3");
  EXPECT_EQ(FormatWallTime(monthly.FirstWallAtOrAfter(Wall("2026-02-01 00:00:00")).value()),
            "2026-03-31 08:00:00");
  EXPECT_FALSE(monthly.FirstWallAtOrAfter(Wall("2026-05-31 08:00:01")).has_value());
}

TEST(RepeatSeries, ASeriesSetOnADayItDoesNotNameStartsAtItsFirstOccurrence) {
  auto start_of = [](const char* reminder, const char* rule_text) -> std::string {
    RepeatRule rule;
    EXPECT_TRUE(ParseRepeatRule(rule_text, &rule).ok());
    std::optional<RepeatSeries> series = SeriesStartingAt(MomentOf(reminder), rule);
    return series ? FormatWallTime(series->start()) : "none";
  };
  EXPECT_EQ(start_of("2026-12-08 09:00:00", "FREQ=DAILY"), "2026-12-08 09:00:00");
  EXPECT_EQ(start_of("2026-12-12 09:00:00", "FREQ=WEEKLY;BYDAY=MO,TU,WE,TH,FR"), "2026-12-14 09:00:00");
  // Every other week from the week of Saturday the 12th: that week has no Monday left, the next one is
  // skipped.
  EXPECT_EQ(start_of("2026-12-12 09:00:00", "FREQ=WEEKLY;INTERVAL=2;BYDAY=MO"), "2026-12-21 09:00:00");
  EXPECT_EQ(start_of("2026-12-12 09:00:00", "FREQ=DAILY;UNTIL=20261211T000000"), "none");
  EXPECT_EQ(start_of("2038-01-18 01:00:00", "FREQ=WEEKLY;BYDAY=SU"), "none");  // 24 January 2038 is too late
  // COUNT counts from the first occurrence.
  RepeatRule rule;
  ASSERT_TRUE(ParseRepeatRule("FREQ=WEEKLY;BYDAY=MO;COUNT=2", &rule).ok());
  EXPECT_EQ(SeriesStartingAt(MomentOf("2026-12-12 09:00:00"), rule)->FirstWalls(5).size(), 2u);
}

TEST(RepeatSeries, AnEditorsSeriesAtATimeAlreadyPastStartsAtItsNextOccurrence) {
  TALLYO_IN_ZONE("Asia/Shanghai");
  auto first = [](const char* reminder, const char* rule_text, const char* now) -> std::string {
    RepeatRule rule;
    EXPECT_TRUE(ParseRepeatRule(rule_text, &rule).ok());
    std::optional<Time32> t = FirstReminderNotPast(MomentOf(reminder), rule, MomentOf(now));
    return t ? FormatTime(*t) : "none";
  };
  // "每天" at 07:41 chosen at 09:00: tomorrow at 07:41; a time still ahead stays.
  EXPECT_EQ(first("2026-12-08 07:41:00", "FREQ=DAILY", "2026-12-08 09:00:00"), "2026-12-09 07:41:00");
  EXPECT_EQ(first("2026-12-08 09:30:00", "FREQ=DAILY", "2026-12-08 09:00:00"), "2026-12-08 09:30:00");
  EXPECT_EQ(first("2026-12-08 09:00:00", "FREQ=DAILY", "2026-12-08 09:00:00"), "2026-12-08 09:00:00");
  // Friday evening, every workday: Monday.
  EXPECT_EQ(first("2026-12-11 07:00:00", "FREQ=WEEKLY;BYDAY=MO,TU,WE,TH,FR", "2026-12-11 20:00:00"),
            "2026-12-14 07:00:00");
  EXPECT_EQ(first("2026-12-08 07:41:00", "FREQ=WEEKLY", "2026-12-08 09:00:00"), "2026-12-15 07:41:00");
  // A series that has ended by now has nothing left.
  EXPECT_EQ(first("2026-12-08 07:41:00", "FREQ=DAILY;COUNT=1", "2026-12-08 09:00:00"), "none");
}

TEST(RepeatSeries, DaylightSavingKeepsTheWallTime) {
  TALLYO_IN_ZONE("America/New_York");
  // 09:00 stays 09:00 across both changes.
  EXPECT_EQ(Texts(Series("2026-03-07 09:00:00", "FREQ=DAILY").ListAfter(0, 3)),
            (Strings{"2026-03-07 09:00:00", "2026-03-08 09:00:00", "2026-03-09 09:00:00"}));
  EXPECT_EQ(Texts(Series("2026-10-31 09:00:00", "FREQ=DAILY").ListAfter(0, 3)),
            (Strings{"2026-10-31 09:00:00", "2026-11-01 09:00:00", "2026-11-02 09:00:00"}));
  // 02:30 does not exist on 8 March: that day's occurrence is 03:30, the next day's 02:30 again.
  RepeatSeries early = Series("2026-03-07 02:30:00", "FREQ=DAILY");
  EXPECT_EQ(Texts(early.ListAfter(0, 3)),
            (Strings{"2026-03-07 02:30:00", "2026-03-08 03:30:00", "2026-03-09 02:30:00"}));
  // Searched from 03:00, when the wall clock has passed 02:30 but the occurrence has not come.
  EXPECT_EQ(early.FirstAfter(MomentOf("2026-03-08 03:00:00")), 1772955000);
  // 01:30 happens twice on 1 November: the first.
  EXPECT_EQ(Series("2026-10-31 01:30:00", "FREQ=DAILY").ListAfter(0, 3)[1], 1793511000);
}

TEST(RepeatSeries, HoursAcrossTheChangesComeOnceEach) {
  TALLYO_IN_ZONE("America/New_York");
  // Spring: 02:00 is read as 03:00 EDT, which 03:00 is too: that moment once.
  EXPECT_EQ(Series("2026-03-08 00:00:00", "FREQ=HOURLY").ListAfter(0, 5),
            (std::vector<Time32>{1772946000, 1772949600, 1772953200, 1772956800, 1772960400}));
  // COUNT counts the wall times: four of them give three moments.
  EXPECT_EQ(Series("2026-03-08 00:00:00", "FREQ=HOURLY;COUNT=4").ListAfter(0, 9).size(), 3u);
  // Autumn: 01:00 is the first one (EDT); the hour after it in EST has none.
  EXPECT_EQ(Series("2026-11-01 00:00:00", "FREQ=HOURLY").ListAfter(0, 4),
            (std::vector<Time32>{1793505600, 1793509200, 1793516400, 1793520000}));
  // From 01:30 EST, the minutes of the repeated hour are behind: next is 02:00 EST.
  EXPECT_EQ(Series("2026-11-01 00:00:00", "FREQ=MINUTELY").FirstAfter(1793514600), 1793516400);
}

TEST(RepeatSeries, SetPositionsCountTheWholeFirstPeriodBeforeTheStart) {
  // The start's day holds 12:28, 12:34 and 12:53: position 2 is 12:34 that
  // day too, and 12:53 (second from the start) is no occurrence.
  EXPECT_EQ(
      FirstWalls("2035-10-30 12:34:00", "FREQ=DAILY;INTERVAL=3;BYDAY=TU;BYMINUTE=28,34,53;BYSETPOS=2", 2),
      (std::vector<std::string>{"2035-10-30 12:34:00", "2035-11-20 12:34:00"}));
  // Positions 2 and 3 of a day of 13:17, 13:28 and 13:47 take in a start at 13:47.
  EXPECT_EQ(FirstWalls("2011-12-09 13:47:00", "FREQ=DAILY;BYDAY=FR,SA;BYMINUTE=17,28,47;BYSETPOS=2,3", 3),
            (std::vector<std::string>{"2011-12-09 13:47:00", "2011-12-10 13:28:00", "2011-12-10 13:47:00"}));
  // Below a day: the seconds of the start's minute; COUNT counts from the start.
  EXPECT_EQ(FirstWalls("2026-12-08 09:00:30", "FREQ=MINUTELY;BYSECOND=0,30,45;BYSETPOS=-1;COUNT=2"),
            (std::vector<std::string>{"2026-12-08 09:00:45", "2026-12-08 09:01:45"}));
}
