#include "repeat/repeat_rules.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

RepeatSeries Series(const char* start, const char* rule_text) {
  WallSeconds wall = 0;
  EXPECT_TRUE(ParseWallTime(start, &wall));
  RepeatRule rule;
  EXPECT_TRUE(ParseRepeatRule(rule_text, &rule).ok());
  return RepeatSeries(wall, rule);
}

// A file as another program or a hand may leave it: comments, a rule this
// program cannot read, a section of its own, and a second copy of a section.
const std::string kMixed =
    "; repeating reminders\r\n"
    "[1796605200]\r\n"
    "start=2026-12-08 09:00:00\r\n"
    "rule=FREQ=WEEKLY;BYDAY=MO,TU,WE,TH,FR\r\n"
    "[1796605300]\r\n"
    "Start = 2026-12-31 18:00:00 \r\n"
    "rule=FREQ=MONTHLY;RSCALE=CHINESE\r\n"
    "note=the last day of every month\r\n"
    "[options]\r\n"
    "colour=blue\r\n"
    "[1796605200]\r\n"
    "start=2030-01-01 00:00:00\r\n"
    "rule=FREQ=YEARLY\r\n";

}  // namespace

TEST(RepeatRules, NewRulesAreWrittenAsTheirOwnSections) {
  RepeatRules rules;
  rules.Set(1796605200, Series("2026-12-08 09:00:00", "FREQ=WEEKLY;BYDAY=MO,TU,WE,TH,FR"));
  rules.Set(-5, Series("1970-01-01 08:00:00", "freq=daily;interval=2;until=19700110T000000"));
  EXPECT_EQ(rules.ToBytes(),
            "[1796605200]\r\n"
            "start=2026-12-08 09:00:00\r\n"
            "rule=FREQ=WEEKLY;BYDAY=MO,TU,WE,TH,FR\r\n"
            "[-5]\r\n"
            "start=1970-01-01 08:00:00\r\n"
            "rule=FREQ=DAILY;INTERVAL=2;UNTIL=19700110T000000\r\n");
  // Setting again replaces the section, at the end of the file.
  rules.Set(1796605200, Series("2026-12-09 10:00:00", "FREQ=DAILY"));
  EXPECT_EQ(rules.ToBytes(),
            "[-5]\r\n"
            "start=1970-01-01 08:00:00\r\n"
            "rule=FREQ=DAILY;INTERVAL=2;UNTIL=19700110T000000\r\n"
            "[1796605200]\r\n"
            "start=2026-12-09 10:00:00\r\n"
            "rule=FREQ=DAILY\r\n");
  EXPECT_EQ(RepeatRules(rules.ToBytes()).ToBytes(), rules.ToBytes());
  ASSERT_NE(RepeatRules(rules.ToBytes()).SeriesOf(-5), nullptr);
  EXPECT_EQ(RepeatRules(rules.ToBytes()).SeriesOf(-5)->rule().interval, 2);
}

TEST(RepeatRules, ReadsWhatItCanAndKeepsEveryLine) {
  RepeatRules rules(kMixed);
  EXPECT_EQ(rules.ToBytes(), kMixed);
  EXPECT_EQ(rules.size(), 2u);

  const RepeatSeries* workdays = rules.SeriesOf(1796605200);
  ASSERT_NE(workdays, nullptr);
  EXPECT_EQ(FormatWallTime(workdays->start()), "2026-12-08 09:00:00") << "the first section of a name counts";
  EXPECT_EQ(workdays->rule().weekdays, kWorkdays);

  EXPECT_EQ(rules.SeriesOf(1796605300), nullptr);
  const RepeatEntry* unreadable = rules.Find(1796605300);
  ASSERT_NE(unreadable, nullptr);
  EXPECT_EQ(unreadable->start_text, "2026-12-31 18:00:00");
  EXPECT_EQ(unreadable->rule_text, "FREQ=MONTHLY;RSCALE=CHINESE");
  EXPECT_NE(unreadable->problem.find("\"RSCALE\" is not supported"), std::string::npos);
  ASSERT_EQ(rules.Unreadable().size(), 1u);
  EXPECT_EQ(rules.Find(42), nullptr);
}

TEST(RepeatRules, AnUnreadableRuleSurvivesEveryOtherChange) {
  RepeatRules rules(kMixed);
  rules.Set(1796605400, Series("2026-12-08 07:00:00", "FREQ=DAILY"));
  ASSERT_TRUE(rules.Remove(1796605200));
  EXPECT_FALSE(rules.Remove(1796605200));
  EXPECT_FALSE(rules.DropVanished(std::vector<Time32>{1796605300, 1796605400, 7}));
  EXPECT_EQ(rules.Find(1796605200), nullptr);
  EXPECT_NE(rules.ToBytes().find("[1796605200]"), std::string::npos) << "until its event is saved gone";
  EXPECT_TRUE(rules.CommitRemovals());
  EXPECT_FALSE(rules.CommitRemovals());
  EXPECT_EQ(rules.ToBytes(),
            "; repeating reminders\r\n"
            "[1796605300]\r\n"
            "Start = 2026-12-31 18:00:00 \r\n"
            "rule=FREQ=MONTHLY;RSCALE=CHINESE\r\n"
            "note=the last day of every month\r\n"
            "[options]\r\n"
            "colour=blue\r\n"
            "[1796605400]\r\n"
            "start=2026-12-08 07:00:00\r\n"
            "rule=FREQ=DAILY\r\n");
  // A rule set over it (the user chose another) replaces it whole.
  rules.Set(1796605300, Series("2026-12-31 18:00:00", "FREQ=MONTHLY"));
  EXPECT_TRUE(rules.Unreadable().empty());
  EXPECT_EQ(rules.ToBytes().find("RSCALE"), std::string::npos);
  EXPECT_EQ(rules.ToBytes().find("note="), std::string::npos);
}

TEST(RepeatRules, SectionsOfVanishedEventsAreDropped) {
  RepeatRules rules(kMixed);
  EXPECT_TRUE(rules.DropVanished(std::vector<Time32>{1, 2, 3}));
  EXPECT_EQ(rules.ToBytes(), "; repeating reminders\r\n[options]\r\ncolour=blue\r\n");
  EXPECT_TRUE(rules.empty());
  EXPECT_FALSE(rules.DropVanished(std::vector<Time32>{}));
}

TEST(RepeatRules, EachWayASectionCannotBeRead) {
  auto problem = [](const std::string& body) {
    RepeatRules rules("[100]\r\n" + body);
    const RepeatEntry* entry = rules.Find(100);
    EXPECT_NE(entry, nullptr) << body;
    EXPECT_EQ(rules.SeriesOf(100), nullptr) << body;
    return entry != nullptr ? entry->problem : "";
  };
  EXPECT_EQ(problem("rule=FREQ=DAILY\r\n"), "start= is missing");
  EXPECT_EQ(problem("start=2026-12-08 09:00:00\r\n"), "rule= is missing");
  EXPECT_EQ(problem("start=2026-02-30 09:00:00\r\nrule=FREQ=DAILY\r\n"),
            "start=2026-02-30 09:00:00 is not a local time as YYYY-MM-DD HH:MM:SS");
  EXPECT_EQ(problem("start=2026-12-08 09:00:00\r\nrule=FREQ=DAILY;COUNT=0\r\n"),
            "rule: \"COUNT=0\": COUNT is a whole number from 1 to 2147483647");
  EXPECT_EQ(problem("start=2026-12-08 09:00:00\r\nrule=\r\n"),
            "rule: the rule is empty (it needs at least FREQ, such as FREQ=DAILY)");
}

TEST(RepeatRules, SectionNamesThatAreCreationTimes) {
  EXPECT_EQ(CreationTimeOfSection("1796605200"), 1796605200);
  EXPECT_EQ(CreationTimeOfSection("-2147483648"), INT32_MIN);
  EXPECT_EQ(CreationTimeOfSection("2147483647"), INT32_MAX);
  EXPECT_EQ(CreationTimeOfSection("0"), 0);
  for (const char* name : {"", "-", "+5", "2147483648", "12345678901", "12a", " 12", "options", "1.5"}) {
    EXPECT_EQ(CreationTimeOfSection(name), std::nullopt) << name;
  }
}
