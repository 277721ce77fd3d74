#include "base/local_time.h"

#include <gtest/gtest.h>

#include <cstdint>

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

TEST(LocalTime, ConverterAgreesWithTheSystemEveryWhere) {
  // Shanghai kept daylight saving time from 1986 to 1991: windows that hold a
  // change of offset, and the ones around them, are all in this sweep.
  LocalTimeConverter converter;
  auto check = [&](Time32 t) {
    LocalTime expected, got;
    ASSERT_TRUE(ToLocalTime(t, &expected));
    ASSERT_TRUE(converter.ToLocalTime(t, &got)) << t;
    ASSERT_TRUE(expected.year == got.year && expected.month == got.month && expected.day == got.day &&
                expected.hour == got.hour && expected.minute == got.minute && expected.second == got.second &&
                expected.day_of_week == got.day_of_week)
        << t;
    std::string text;
    converter.AppendFormatted(t, &text);
    ASSERT_EQ(text, FormatTime(t)) << t;
  };
  Time32 from = 0, to = 0;
  ASSERT_TRUE(ParseLocalTime("1985-06-01", &from));
  ASSERT_TRUE(ParseLocalTime("1992-06-01", &to));
  for (Time32 t = from; t < to; t += 1997) check(t);
  // Backwards, and at the ends of the range of a time value.
  for (Time32 t = to; t > from; t -= 86413) check(t);
  for (Time32 t : {Time32{INT32_MIN}, Time32{INT32_MIN + 1}, Time32{-1}, Time32{0}, Time32{INT32_MAX - 1},
                   Time32{INT32_MAX}}) {
    check(t);
  }
  // A list's rows jump between the times of its two columns: times whose
  // windows and days share a place in the converter's memory, taken in turns.
  const Time32 apart = 256 * 6 * 3600;  // the same place for both windows and days
  for (Time32 t = from; t < from + 400 * 86400; t += 86400 / 3 + 7) {
    check(t);
    check(t + apart);
    check(t + 3 * apart + 3600);
    check(t - 5 * apart);
  }
}

TEST(LocalTime, FormatsEveryFieldWithItsWidth) {
  LocalTime lt{987, 1, 2, 3, 4, 5, 0};
  std::string text = "at ";
  AppendFormattedTime(lt, &text);
  EXPECT_EQ(text, "at 0987-01-02 03:04:05");
  text.clear();
  AppendFormattedTime(LocalTime{2038, 12, 31, 23, 59, 59, 0}, &text);
  EXPECT_EQ(text, "2038-12-31 23:59:59");
}
