#include "base/local_time.h"

#include <gtest/gtest.h>

// The tests run with TZ=Asia/Shanghai (UTC+8, no daylight saving).
TEST(LocalTime, FormatsInLocalTime) {
  EXPECT_EQ(FormatTime(0), "1970-01-01 08:00:00");
  EXPECT_EQ(FormatTime(1796601599), "2026-12-07 07:59:59");
  EXPECT_EQ(FormatTime(-28800), "1970-01-01 00:00:00");
}

TEST(LocalTime, RoundTripsThroughTheCalendar) {
  for (Time32 t : {Time32{0}, Time32{86399}, Time32{1796601599}, Time32{2147483647}}) {
    LocalTime lt;
    ASSERT_TRUE(ToLocalTime(t, &lt));
    Time32 back = 0;
    ASSERT_TRUE(FromLocalTime(lt, &back));
    EXPECT_EQ(back, t);
  }
}

TEST(LocalTime, DayBoundaryIsLocal) {
  Time32 last_second = 0;  // 2026-12-07 23:59:59 local
  ASSERT_TRUE(ParseLocalTime("2026-12-07 23:59:59", &last_second));
  EXPECT_TRUE(SameLocalDay(last_second, last_second - 86399));
  EXPECT_FALSE(SameLocalDay(last_second, last_second + 1));
}

TEST(LocalTime, ParseRefusesMalformedAndNonexistentDates) {
  Time32 t = 0;
  EXPECT_TRUE(ParseLocalTime("2026-12-07", &t));
  EXPECT_EQ(FormatTime(t), "2026-12-07 00:00:00");
  EXPECT_FALSE(ParseLocalTime("2026-02-30 00:00:00", &t));
  EXPECT_FALSE(ParseLocalTime("2026-12-07 24:00:00", &t));
  EXPECT_FALSE(ParseLocalTime("2026-12-07 10:00:00x", &t));
  EXPECT_FALSE(ParseLocalTime("tomorrow", &t));
  EXPECT_FALSE(ParseLocalTime("2040-01-01 00:00:00", &t));  // beyond a 32-bit time value
}
