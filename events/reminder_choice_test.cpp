#include "events/reminder_choice.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

constexpr Time32 kMax = std::numeric_limits<Time32>::max();
constexpr Time32 kMin = std::numeric_limits<Time32>::min();

Time32 Local(const char* text) {
  Time32 t = 0;
  EXPECT_TRUE(ParseLocalTime(text, &t)) << text;
  return t;
}

}  // namespace

// The tests run with TZ=Asia/Shanghai.
TEST(ReminderChoice, DateAndTimeComeFromTheirOwnPickers) {
  EXPECT_EQ(CombineDateAndTime(Local("2026-12-24 23:59:59"), Local("2001-01-01 08:30:05")),
            Local("2026-12-24 08:30:05"));
  EXPECT_EQ(CombineDateAndTime(Local("1970-01-01 00:00:00"), Local("1970-01-01 07:59:59")), -1);
  // The last day that can be stored: past 11:14:07 local it is out of range.
  EXPECT_EQ(CombineDateAndTime(Local("2038-01-19 00:00:00"), Local("2000-01-01 11:14:07")), kMax);
  EXPECT_EQ(CombineDateAndTime(Local("2038-01-19 00:00:00"), Local("2000-01-01 23:00:00")), kMax);
}

TEST(ReminderChoice, MinutesAreClampedNeverWrapped) {
  EXPECT_EQ(TimeAfterMinutes(1000, 10), 1600);
  EXPECT_EQ(TimeAfterMinutes(1000, 0), 1000);
  EXPECT_EQ(TimeAfterMinutes(1000, -1), 940);
  EXPECT_EQ(TimeAfterMinutes(1796605200, std::numeric_limits<std::int32_t>::max()), kMax);
  EXPECT_EQ(TimeAfterMinutes(kMax - 59, 1), kMax);
  EXPECT_EQ(TimeAfterMinutes(kMax - 60, 1), kMax);
  EXPECT_EQ(TimeAfterMinutes(kMax - 61, 1), kMax - 1);
  EXPECT_EQ(TimeAfterMinutes(-100, std::numeric_limits<std::int32_t>::min()), kMin);
}

TEST(ReminderChoice, EditorChoiceSetsOrClearsTheReminder) {
  CMyEvent e(500);
  e.timeRemind = 777;
  ReminderFields fields;
  fields.nChoice = kNoReminder;
  ApplyEditorChoice(fields, 1000, e);
  EXPECT_EQ(e.bRemind, 0);
  EXPECT_EQ(e.timeRemind, 777);  // kept in the record

  fields.nChoice = kRemindAfterMinutes;
  fields.nMinutes = 30;
  ApplyEditorChoice(fields, 1000, e);
  EXPECT_EQ(e.bRemind, 1);
  EXPECT_EQ(e.timeRemind, 2800);

  fields.nChoice = kRemindAtDateTime;
  fields.timeDate = Local("2027-03-05 00:00:00");
  fields.timeOfDay = Local("2026-12-07 14:07:09");
  ApplyEditorChoice(fields, 1000, e);
  EXPECT_EQ(e.bRemind, 1);
  EXPECT_EQ(e.timeRemind, Local("2027-03-05 14:07:09"));
}

TEST(ReminderChoice, TheMinutesFieldTakesDigitsOnly) {
  EXPECT_EQ(ParseMinutesField("30"), 30);
  EXPECT_EQ(ParseMinutesField(" 0 "), 0);
  EXPECT_EQ(ParseMinutesField("007"), 7);
  EXPECT_EQ(ParseMinutesField("99999999999999999999"), 2147483647);
  for (const char* refused : {"", "  ", "-5", "+5", "x", "5x", "1 2", "\xa3\xb5"}) {
    EXPECT_EQ(ParseMinutesField(refused), std::nullopt) << refused;
  }
}
