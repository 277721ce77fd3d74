#include "base/wall_time.h"

#include <gtest/gtest.h>

#include "base/testing/zone_scope.h"

namespace {

WallSeconds Wall(const char* text) {
  WallSeconds wall = 0;
  EXPECT_TRUE(ParseWallTime(text, &wall)) << text;
  return wall;
}

Time32 MomentOf(const char* text) {
  std::optional<Time32> t = TimeOfWall(Wall(text));
  EXPECT_TRUE(t.has_value()) << text;
  return t.value_or(0);
}

}  // namespace

TEST(WallTime, CalendarArithmeticAroundTheEpochAndLeapYears) {
  EXPECT_EQ(Wall("1970-01-01 00:00:00"), 0);
  EXPECT_EQ(Wall("1969-12-31 23:59:59"), -1);
  LocalTime before = CivilFromWall(-1);
  EXPECT_EQ(before.year, 1969);
  EXPECT_EQ(before.day, 31);
  EXPECT_EQ(before.second, 59);
  EXPECT_EQ(before.day_of_week, 3);  // a Wednesday
  EXPECT_EQ(CivilFromWall(Wall("2026-12-08 09:00:00")).day_of_week, 2);
  EXPECT_EQ(DaysInMonth(2024, 2), 29);
  EXPECT_EQ(DaysInMonth(2100, 2), 28);
  EXPECT_EQ(DaysInMonth(2000, 2), 29);
  EXPECT_EQ(DaysInMonth(2026, 4), 30);
  EXPECT_EQ(FormatWallTime(Wall("2038-01-19 03:14:07")), "2038-01-19 03:14:07");
  EXPECT_EQ(FloorDiv(-1, 86400), -1);
  EXPECT_EQ(FloorDiv(86399, 86400), 0);
}

TEST(WallTime, ParseTakesOnlyWholeTimesThatExist) {
  WallSeconds wall = 0;
  EXPECT_TRUE(ParseWallTime("2024-02-29 23:59:59", &wall));
  for (const char* bad :
       {"2026-02-29 09:00:00", "2026-04-31 09:00:00", "2026-12-08 24:00:00", "2026-12-08 09:60:00",
        "2026-12-08 09:00:60", "2026-12-08", "2026-12-08 9:00:00", "2026-12-08T09:00:00",
        "2026-12-08 09:00:00 ", "+026-12-08 09:00:00", "2026-00-08 09:00:00", "0999-12-08 09:00:00", ""}) {
    EXPECT_FALSE(ParseWallTime(bad, &wall)) << bad;
  }
}

TEST(WallTime, ShanghaiIsEightHoursAheadAllYear) {
  TALLYO_IN_ZONE("Asia/Shanghai");
  EXPECT_EQ(MomentOf("2026-12-08 09:00:00"), 1796691600);
  EXPECT_EQ(MomentOf("2026-07-08 09:00:00"), 1783472400);
  WallSeconds wall = 0;
  ASSERT_TRUE(WallOfTime(1796691600, &wall));
  EXPECT_EQ(FormatWallTime(wall), "2026-12-08 09:00:00");
  // The ends of the range of a time value.
  EXPECT_EQ(MomentOf("2038-01-19 11:14:07"), INT32_MAX);
  EXPECT_FALSE(TimeOfWall(Wall("2038-01-19 11:14:08")).has_value());
  EXPECT_FALSE(TimeOfWall(Wall("1000-01-01 00:00:00")).has_value());
}

TEST(WallTime, SkippedWallTimeTakesTheOffsetFromBeforeTheChange) {
  TALLYO_IN_ZONE("America/New_York");
  // 2026-03-08: 02:00 EST is followed by 03:00 EDT.
  EXPECT_EQ(MomentOf("2026-03-08 01:59:59"), 1772953199);
  EXPECT_EQ(MomentOf("2026-03-08 02:00:00"), 1772953200);  // = 03:00 EDT
  EXPECT_EQ(MomentOf("2026-03-08 02:30:00"), 1772955000);  // = 03:30 EDT
  EXPECT_EQ(MomentOf("2026-03-08 03:30:00"), 1772955000);
  EXPECT_EQ(MomentOf("2026-03-09 02:30:00"), 1773037800);
}

TEST(WallTime, RepeatedWallTimeIsTheFirstOfTheTwo) {
  TALLYO_IN_ZONE("America/New_York");
  // 2026-11-01: 01:00 to 01:59:59 happen in EDT and again in EST.
  EXPECT_EQ(MomentOf("2026-11-01 01:30:00"), 1793511000);  // 01:30 EDT, not 1793514600 (EST)
  EXPECT_EQ(MomentOf("2026-11-01 00:59:59"), 1793509199);
  EXPECT_EQ(MomentOf("2026-11-01 02:00:00"), 1793516400);  // EST
  WallSeconds wall = 0;
  ASSERT_TRUE(WallOfTime(1793514600, &wall));
  EXPECT_EQ(FormatWallTime(wall), "2026-11-01 01:30:00");
  // No wall time before t's own minus its offset's lead over the lowest near can be later than t.
  EXPECT_EQ(LowestOffsetAround(1793514600), -5 * 3600);
  EXPECT_EQ(LowestOffsetAround(1783472400), -4 * 3600);  // July: EDT all around
}
