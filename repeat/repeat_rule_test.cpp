#include "repeat/repeat_rule.h"

#include <gtest/gtest.h>

#include "base/testing/zone_scope.h"

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
  EXPECT_NE(Refusal("FREQ=DAILY;RSCALE=CHINESE").find("part \"RSCALE\" is not supported"), std::string::npos);
  EXPECT_NE(Refusal("FREQ=DAILY;rscale=chinese").find("\"rscale\""), std::string::npos) << "as written";
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
  for (const char* until :
       {"UNTIL=20270230T090000", "UNTIL=20270230", "UNTIL=20271231T240000", "UNTIL=2027-12-31T23:59:59",
        "UNTIL=20271231X235959", "UNTIL=20271231T235959X", "UNTIL=2027123", "UNTIL=20271231T235959ZZ"}) {
    EXPECT_NE(Refusal(std::string("FREQ=DAILY;") + until).find("UNTIL is a date and time that exists"),
              std::string::npos)
        << until;
  }
  EXPECT_NE(Refusal("FREQ=DAILY;UNTIL=20271231T235959;COUNT=3").find("UNTIL and COUNT cannot both"),
            std::string::npos);
  EXPECT_NE(Refusal("FREQ=WEEKLY;BYDAY=1MO").find("ordinal (such as 2TU or -1FR) with FREQ=MONTHLY or "),
            std::string::npos);
  EXPECT_NE(Refusal("FREQ=MONTHLY;BYDAY=0MO").find("not \"0MO\""), std::string::npos);
  EXPECT_NE(Refusal("FREQ=YEARLY;BYDAY=54MO").find("not \"54MO\""), std::string::npos);
  EXPECT_NE(Refusal("FREQ=MONTHLY;BYDAY=6MO").find("at most 5"), std::string::npos);
  EXPECT_NE(Refusal("FREQ=YEARLY;BYMONTH=3;BYDAY=-6SU").find("at most 5"), std::string::npos);
  EXPECT_NE(Refusal("FREQ=YEARLY;BYWEEKNO=1;BYDAY=1MO").find("together with BYWEEKNO"), std::string::npos);
  EXPECT_NE(Refusal("FREQ=MONTHLY;BYDAY=2TU,2tu").find("2tu is given twice"), std::string::npos);
  EXPECT_NE(Refusal("FREQ=WEEKLY;byday=mo,xx").find("not \"xx\""), std::string::npos);
  EXPECT_NE(Refusal("FREQ=WEEKLY;BYDAY=").find("not \"\""), std::string::npos);
  EXPECT_NE(Refusal("FREQ=WEEKLY;BYDAY=MO,,TU").find("not \"\""), std::string::npos);
  EXPECT_NE(Refusal("FREQ=WEEKLY;BYDAY=MO,TU,MO").find("MO is given twice"), std::string::npos);
  EXPECT_NE(Refusal("FREQ=WEEKLY;WKST=XX").find("WKST is one of"), std::string::npos);
}

TEST(RepeatRule, ReadsTheByPartsAndWritesThemInOneOrder) {
  EXPECT_EQ(Canonical("FREQ=MONTHLY;BYDAY=2TU"), "FREQ=MONTHLY;BYDAY=2TU");
  EXPECT_EQ(Canonical("FREQ=MONTHLY;BYDAY=-1FR,+1mo,FR,2TU"), "FREQ=MONTHLY;BYDAY=FR,-1FR,1MO,2TU");
  EXPECT_EQ(Canonical("FREQ=YEARLY;BYDAY=-1SU;BYMONTH=3"), "FREQ=YEARLY;BYMONTH=3;BYDAY=-1SU");
  EXPECT_EQ(Canonical("FREQ=YEARLY;BYDAY=20MO"), "FREQ=YEARLY;BYDAY=20MO");
  EXPECT_EQ(Canonical("FREQ=DAILY;BYDAY=SA,SU"), "FREQ=DAILY;BYDAY=SA,SU") << "plain weekdays under any FREQ";
  EXPECT_EQ(Canonical("FREQ=MONTHLY;BYMONTHDAY=15,-1,1"), "FREQ=MONTHLY;BYMONTHDAY=-1,1,15");
  EXPECT_EQ(Canonical("bysetpos=-1;freq=monthly;byday=mo,tu,we,th,fr"),
            "FREQ=MONTHLY;BYDAY=MO,TU,WE,TH,FR;BYSETPOS=-1");
  EXPECT_EQ(
      Canonical("FREQ=YEARLY;BYSECOND=0;BYMINUTE=30;BYHOUR=9,17;BYYEARDAY=-366,1,366;BYWEEKNO=-53,20;"
                "BYMONTH=12,1;WKST=SU;COUNT=3"),
      "FREQ=YEARLY;BYMONTH=1,12;BYWEEKNO=-53,20;BYYEARDAY=-366,1,366;BYHOUR=9,17;BYMINUTE=30;BYSECOND=0;"
      "WKST=SU;COUNT=3");
  EXPECT_EQ(Canonical("FREQ=MINUTELY;BYHOUR=0,23;BYMINUTE=0,59;BYSECOND=0,59"),
            "FREQ=MINUTELY;BYHOUR=0,23;BYMINUTE=0,59;BYSECOND=0,59");

  RepeatRule rule;
  ASSERT_TRUE(ParseRepeatRule("FREQ=MONTHLY;BYDAY=MO,2TU,-1FR", &rule).ok());
  EXPECT_EQ(rule.weekdays, 1 << 1);
  EXPECT_EQ(rule.ordinal_weekdays, (std::vector<OrdinalWeekday>{{-1, 5}, {2, 2}}));
  EXPECT_FALSE(rule.IsPlain());
  ASSERT_TRUE(ParseRepeatRule("FREQ=WEEKLY;INTERVAL=2;BYDAY=MO,TH;UNTIL=20271231", &rule).ok());
  EXPECT_TRUE(rule.IsPlain()) << "weekdays with WEEKLY are the arithmetic's";
  EXPECT_TRUE(rule.ordinal_weekdays.empty()) << "a new read starts from the defaults";
}

TEST(RepeatRule, UntilAsALocalTimeAUtcTimeOrADate) {
  RepeatRule rule;
  ASSERT_TRUE(ParseRepeatRule("FREQ=DAILY;UNTIL=20271231", &rule).ok());
  EXPECT_EQ(rule.until_form, UntilForm::kDate);
  EXPECT_EQ(FormatRepeatRule(rule), "FREQ=DAILY;UNTIL=20271231");
  EXPECT_FALSE(rule.EndsBefore(WallFromCivil(2027, 12, 31, 23, 59, 59))) << "the whole day is in";
  EXPECT_TRUE(rule.EndsBefore(WallFromCivil(2028, 1, 1, 0, 0, 0)));

  ASSERT_TRUE(ParseRepeatRule("FREQ=DAILY;UNTIL=20271231T090000", &rule).ok());
  EXPECT_EQ(rule.until_form, UntilForm::kLocal);
  EXPECT_FALSE(rule.EndsBefore(WallFromCivil(2027, 12, 31, 9, 0, 0)));
  EXPECT_TRUE(rule.EndsBefore(WallFromCivil(2027, 12, 31, 9, 0, 1)));

  ASSERT_TRUE(ParseRepeatRule("FREQ=DAILY;until=20271231t010000z", &rule).ok());
  EXPECT_EQ(rule.until_form, UntilForm::kUtc);
  EXPECT_EQ(FormatRepeatRule(rule), "FREQ=DAILY;UNTIL=20271231T010000Z");
  {
    TALLYO_IN_ZONE("Asia/Shanghai");  // 01:00 UTC is 09:00 there
    EXPECT_FALSE(rule.EndsBefore(WallFromCivil(2027, 12, 31, 9, 0, 0)));
    EXPECT_TRUE(rule.EndsBefore(WallFromCivil(2027, 12, 31, 9, 0, 1)));
  }
  {
    TALLYO_IN_ZONE("America/New_York");  // and 20:00 the day before
    EXPECT_FALSE(rule.EndsBefore(WallFromCivil(2027, 12, 30, 20, 0, 0)));
    EXPECT_TRUE(rule.EndsBefore(WallFromCivil(2027, 12, 30, 20, 0, 1)));
  }
}

TEST(RepeatRule, ByPartsOutOfRangeOrWithTheWrongFrequencyAreRefused) {
  const std::pair<const char*, const char*> cases[] = {
      {"FREQ=YEARLY;BYMONTH=13", "BYMONTH takes whole numbers from 1 to 12, not \"13\""},
      {"FREQ=YEARLY;BYMONTH=-1", "not \"-1\""},
      {"FREQ=YEARLY;BYMONTH=0", "not \"0\""},
      {"FREQ=MONTHLY;BYMONTHDAY=32", "BYMONTHDAY takes whole numbers from 1 to 31 or -31 to -1, not \"32\""},
      {"FREQ=MONTHLY;BYMONTHDAY=0", "not \"0\""},
      {"FREQ=MONTHLY;BYMONTHDAY=1,x", "not \"x\""},
      {"FREQ=MONTHLY;BYMONTHDAY=1,,2", "not \"\""},
      {"FREQ=MONTHLY;BYMONTHDAY=--1", "not \"--1\""},
      {"FREQ=MONTHLY;BYMONTHDAY=1,01", "1 is given twice"},
      {"FREQ=YEARLY;BYYEARDAY=367", "not \"367\""},
      {"FREQ=YEARLY;BYWEEKNO=54", "not \"54\""},
      {"FREQ=DAILY;BYHOUR=24", "BYHOUR takes whole numbers from 0 to 23, not \"24\""},
      {"FREQ=DAILY;BYMINUTE=60", "not \"60\""},
      {"FREQ=DAILY;BYSECOND=60", "BYSECOND takes whole numbers from 0 to 59, not \"60\""},
      {"FREQ=MONTHLY;BYDAY=MO;BYSETPOS=0", "not \"0\""},
      {"FREQ=WEEKLY;BYMONTHDAY=1", "BYMONTHDAY cannot be used with FREQ=WEEKLY"},
      {"FREQ=MONTHLY;BYYEARDAY=1", "BYYEARDAY cannot be used with FREQ=DAILY, WEEKLY or MONTHLY"},
      {"FREQ=MONTHLY;BYWEEKNO=1", "BYWEEKNO is supported with FREQ=YEARLY only"},
      {"FREQ=MONTHLY;BYSETPOS=1", "BYSETPOS needs another BY part"},
  };
  for (const auto& [rule, message] : cases) EXPECT_NE(Refusal(rule).find(message), std::string::npos) << rule;
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
