// RDATE and EXDATE: their lists, their keys in repeat.ini (byte for byte),
// and the occurrences they add and take away.
#include "repeat/repeat_dates.h"

#include <gtest/gtest.h>

#include "base/testing/zone_scope.h"
#include "repeat/repeat_rules.h"

namespace {

WallSeconds Wall(const char* text) {
  WallSeconds wall = 0;
  EXPECT_TRUE(ParseWallTime(text, &wall)) << text;
  return wall;
}

RepeatRule Rule(const char* text) {
  RepeatRule rule;
  EXPECT_TRUE(ParseRepeatRule(text, &rule).ok()) << text;
  return rule;
}

std::vector<std::string> Texts(const std::vector<WallSeconds>& walls) {
  std::vector<std::string> texts;
  for (WallSeconds wall : walls) texts.push_back(FormatWallTime(wall));
  return texts;
}

}  // namespace

TEST(RepeatDates, ListsAreReadSortedAndWrittenOneWay) {
  std::vector<WallSeconds> walls;
  std::string bad;
  ASSERT_TRUE(
      ParseWallTimeList("2027-01-01 09:00:00 , 2026-12-25 09:00:00,2027-01-01 09:00:00", &walls, &bad));
  EXPECT_EQ(FormatWallTimeList(walls), "2026-12-25 09:00:00,2027-01-01 09:00:00");
  for (const char* wrong :
       {"", "2026-12-25", "2026-12-25 09:00:00,", "2026-02-30 09:00:00", "x,2026-12-25 09:00:00"}) {
    EXPECT_FALSE(ParseWallTimeList(wrong, &walls, &bad)) << wrong;
    EXPECT_EQ(walls.size(), 2u) << "a refused list leaves the old one";
  }
  ASSERT_FALSE(ParseWallTimeList("2026-12-25 09:00:00,2026-12-26", &walls, &bad));
  EXPECT_EQ(bad, "2026-12-26");
}

TEST(RepeatDates, AddedAndLeftOutOccurrences) {
  TALLYO_IN_ZONE("Asia/Shanghai");
  RepeatDates dates;
  dates.removed = {Wall("2026-12-25 09:00:00"), Wall("2026-12-27 09:00:00")};
  dates.added = {Wall("2026-12-20 18:00:00"), Wall("2026-12-26 09:00:00"), Wall("2026-12-26 12:00:00")};
  // The plain rule keeps its arithmetic; a rule past it goes through libical.
  for (const char* rule : {"FREQ=DAILY;COUNT=5", "FREQ=DAILY;BYHOUR=9;COUNT=5"}) {
    RepeatSeries series(Wall("2026-12-23 09:00:00"), Rule(rule), dates);
    EXPECT_EQ(Texts(series.FirstWalls(10)),
              (std::vector<std::string>{"2026-12-20 18:00:00", "2026-12-23 09:00:00", "2026-12-24 09:00:00",
                                        "2026-12-26 09:00:00", "2026-12-26 12:00:00"}))
        << rule << ": COUNT counts the rule's own, EXDATE takes away, RDATE adds once";
    EXPECT_EQ(series.FirstWallAtOrAfter(Wall("2026-12-24 09:00:01")), Wall("2026-12-26 09:00:00")) << rule;
    std::optional<Time32> after = TimeOfWall(Wall("2026-12-26 09:00:00"));
    EXPECT_EQ(series.FirstAfter(*after), TimeOfWall(Wall("2026-12-26 12:00:00"))) << rule;
    EXPECT_EQ(series.ListAfter(*after + 3 * 3600, 3), std::vector<Time32>{}) << rule;
  }
}

TEST(RepeatDates, KeysOfRepeatIniOnlyWhenGiven) {
  RepeatRules rules;
  RepeatDates dates;
  dates.removed = {Wall("2026-12-25 09:00:00"), Wall("2027-01-01 09:00:00")};
  dates.added = {Wall("2026-12-26 10:00:00")};
  rules.Set(100, RepeatSeries(Wall("2026-12-08 09:00:00"), Rule("FREQ=DAILY"), dates));
  rules.Set(200, RepeatSeries(Wall("2026-12-08 09:00:00"), Rule("FREQ=MONTHLY;BYDAY=2TU")));
  const std::string bytes =
      "[100]\r\nstart=2026-12-08 09:00:00\r\nrule=FREQ=DAILY\r\nrdate=2026-12-26 10:00:00\r\n"
      "exdate=2026-12-25 09:00:00,2027-01-01 09:00:00\r\n"
      "[200]\r\nstart=2026-12-08 09:00:00\r\nrule=FREQ=MONTHLY;BYDAY=2TU\r\n";
  EXPECT_EQ(rules.ToBytes(), bytes);

  RepeatRules read(bytes);
  ASSERT_NE(read.SeriesOf(100), nullptr);
  EXPECT_EQ(read.SeriesOf(100)->dates(), dates);
  EXPECT_EQ(read.Find(100)->exdate_text, "2026-12-25 09:00:00,2027-01-01 09:00:00");
  EXPECT_TRUE(read.SeriesOf(200)->dates().empty());
  EXPECT_EQ(read.ToBytes(), bytes);

  RepeatRules bad("[300]\r\nstart=2026-12-08 09:00:00\r\nrule=FREQ=DAILY\r\nexdate=2026-12-25\r\n");
  ASSERT_NE(bad.Find(300), nullptr);
  EXPECT_EQ(bad.SeriesOf(300), nullptr);
  EXPECT_NE(bad.Find(300)->problem.find("exdate=: \"2026-12-25\""), std::string::npos)
      << bad.Find(300)->problem;
}
