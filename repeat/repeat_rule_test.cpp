#include "repeat/repeat_rule.h"

#include <gtest/gtest.h>

namespace {

std::string Canonical(std::string_view text) {
  RepeatRule rule;
  Status status = ParseRepeatRule(text, &rule);
  EXPECT_TRUE(status.ok()) << text << ": " << status.message();
  return FormatRepeatRule(rule);
}

// The message for a rule that must be refused.
std::string Refusal(std::string_view text) {
  RepeatRule rule;
  rule.interval = 77;
  Status status = ParseRepeatRule(text, &rule);
  EXPECT_FALSE(status.ok()) << text;
  EXPECT_EQ(status.code(), Status::Code::kInvalidArgument);
  EXPECT_EQ(rule.interval, 77) << "a refused rule leaves the old one";
  return status.message();
}

}  // namespace

TEST(RepeatRule, ReadsEveryPartAndWritesOneCanonicalText) {
  EXPECT_EQ(Canonical("FREQ=DAILY"), "FREQ=DAILY");
  EXPECT_EQ(Canonical("freq=weekly;byday=th,mo;interval=2"), "FREQ=WEEKLY;INTERVAL=2;BYDAY=MO,TH");
  EXPECT_EQ(Canonical("FREQ=WEEKLY;BYDAY=SU,SA,FR,TH,WE,TU,MO"), "FREQ=WEEKLY;BYDAY=MO,TU,WE,TH,FR,SA,SU");
  EXPECT_EQ(Canonical("FREQ=WEEKLY;INTERVAL=1;WKST=MO"), "FREQ=WEEKLY");
  EXPECT_EQ(Canonical("WKST=SU;FREQ=WEEKLY;INTERVAL=2;BYDAY=TU"), "FREQ=WEEKLY;INTERVAL=2;BYDAY=TU;WKST=SU");
  EXPECT_EQ(Canonical("FREQ=MONTHLY;UNTIL=20271231T235959"), "FREQ=MONTHLY;UNTIL=20271231T235959");
  EXPECT_EQ(Canonical("FREQ=MINUTELY;INTERVAL=2147483647;COUNT=2147483647"),
            "FREQ=MINUTELY;INTERVAL=2147483647;COUNT=2147483647");
  for (const char* frequency : {"MINUTELY", "HOURLY", "DAILY", "WEEKLY", "MONTHLY", "YEARLY"}) {
    EXPECT_EQ(Canonical(std::string("FREQ=") + frequency), std::string("FREQ=") + frequency);
  }

  RepeatRule rule;
  ASSERT_TRUE(ParseRepeatRule("FREQ=WEEKLY;BYDAY=MO,FR;WKST=SA;COUNT=3", &rule).ok());
  EXPECT_EQ(rule.frequency, RepeatFrequency::kWeekly);
  EXPECT_EQ(rule.weekdays, (1 << 1) | (1 << 5));
  EXPECT_EQ(rule.week_start, 6);
  EXPECT_EQ(rule.count, 3);
  ASSERT_TRUE(ParseRepeatRule("FREQ=YEARLY;UNTIL=20280229T090000", &rule).ok());
  EXPECT_EQ(FormatWallTime(*rule.until), "2028-02-29 09:00:00");
  EXPECT_EQ(rule.weekdays, 0) << "a new read starts from the defaults";
}

TEST(RepeatRule, RefusalNamesThePartThatIsWrong) {
  EXPECT_NE(Refusal("").find("empty"), std::string::npos);
  EXPECT_NE(Refusal("INTERVAL=2").find("FREQ is missing"), std::string::npos);
  EXPECT_NE(Refusal("FREQ=SECONDLY").find("\"FREQ=SECONDLY\" is not supported"), std::string::npos);
  EXPECT_NE(Refusal("FREQ=DAILY;BYMONTHDAY=1").find("part \"BYMONTHDAY\" is not supported"),
            std::string::npos);
  EXPECT_NE(Refusal("FREQ=DAILY;bysetpos=1").find("\"bysetpos\""), std::string::npos) << "as written";
  EXPECT_NE(Refusal("FREQ=DAILY;FREQ=WEEKLY").find("\"FREQ\" is given twice"), std::string::npos);
  EXPECT_NE(Refusal("FREQ=DAILY;;COUNT=2").find("\"\" is not a NAME=VALUE part"), std::string::npos);
  EXPECT_NE(Refusal("FREQ=DAILY;").find("is not a NAME=VALUE part"), std::string::npos);
  EXPECT_NE(Refusal("FREQ=DAILY;COUNT").find("\"COUNT\" is not a NAME=VALUE part"), std::string::npos);
  EXPECT_NE(Refusal("=DAILY").find("is not a NAME=VALUE part"), std::string::npos);
  for (const char* interval : {"INTERVAL=0", "INTERVAL=-1", "INTERVAL=2147483648", "INTERVAL=", "INTERVAL=1x",
                               "INTERVAL=+2", "INTERVAL= 2"}) {
    EXPECT_NE(Refusal(std::string("FREQ=DAILY;") + interval).find("INTERVAL is a whole number"),
              std::string::npos)
        << interval;
  }
  EXPECT_NE(Refusal("FREQ=DAILY;COUNT=0").find("\"COUNT=0\": COUNT is a whole number"), std::string::npos);
  EXPECT_NE(Refusal("FREQ=DAILY;UNTIL=20271231T235959Z").find("without the Z"), std::string::npos);
  for (const char* until : {"UNTIL=20270230T090000", "UNTIL=20271231", "UNTIL=20271231T240000",
                            "UNTIL=2027-12-31T23:59:59", "UNTIL=20271231X235959"}) {
    EXPECT_NE(Refusal(std::string("FREQ=DAILY;") + until).find("UNTIL is a local date and time"),
              std::string::npos)
        << until;
  }
  EXPECT_NE(Refusal("FREQ=DAILY;UNTIL=20271231T235959;COUNT=3").find("UNTIL and COUNT cannot both"),
            std::string::npos);
  EXPECT_NE(Refusal("FREQ=DAILY;BYDAY=MO").find("BYDAY is supported with FREQ=WEEKLY only"),
            std::string::npos);
  EXPECT_NE(
      Refusal("FREQ=WEEKLY;BYDAY=1MO").find("plain weekdays here (MO, TU, WE, TH, FR, SA, SU), not \"1MO\""),
      std::string::npos);
  EXPECT_NE(Refusal("FREQ=WEEKLY;byday=mo,xx").find("not \"xx\""), std::string::npos);
  EXPECT_NE(Refusal("FREQ=WEEKLY;BYDAY=").find("not \"\""), std::string::npos);
  EXPECT_NE(Refusal("FREQ=WEEKLY;BYDAY=MO,,TU").find("not \"\""), std::string::npos);
  EXPECT_NE(Refusal("FREQ=WEEKLY;BYDAY=MO,TU,MO").find("MO is given twice"), std::string::npos);
  EXPECT_NE(Refusal("FREQ=WEEKLY;WKST=XX").find("WKST is one of"), std::string::npos);
}

TEST(RepeatRule, ShortNamesOfTheCommandLine) {
  auto text = [](const char* name) {
    std::optional<RepeatRule> rule = RepeatRuleOfShortName(name);
    return rule ? FormatRepeatRule(*rule) : "<none>";
  };
  EXPECT_EQ(text("daily"), "FREQ=DAILY");
  EXPECT_EQ(text("Weekdays"), "FREQ=WEEKLY;BYDAY=MO,TU,WE,TH,FR");
  EXPECT_EQ(text("WEEKLY"), "FREQ=WEEKLY");
  EXPECT_EQ(text("monthly"), "FREQ=MONTHLY");
  EXPECT_EQ(text("yearly"), "FREQ=YEARLY");
  EXPECT_EQ(text("hourly"), "FREQ=HOURLY");
  EXPECT_EQ(text("none"), "<none>");
  EXPECT_EQ(text("FREQ=DAILY"), "<none>");
  EXPECT_EQ(text(""), "<none>");
}
