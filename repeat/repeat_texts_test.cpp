#include "repeat/repeat_texts.h"

#include <gtest/gtest.h>

#include "base/text_convert.h"

using cp936::ToUtf8;

#include <utility>
#include <vector>

namespace {

RepeatRule Rule(const char* text) {
  RepeatRule rule;
  EXPECT_TRUE(ParseRepeatRule(text, &rule).ok()) << text;
  return rule;
}

}  // namespace

TEST(RepeatTexts, TheDropDownAndTheRuleOfEachEntry) {
  std::vector<std::pair<const char*, const char*>> expected = {
      {"\xb2\xbb\xd6\xd8\xb8\xb4", nullptr},  // 不重复
      {"\xc3\xbf\xcc\xec", "FREQ=DAILY"},     // 每天
      // 每个工作日（周一至周五）
      {"\xc3\xbf\xb8\xf6\xb9\xa4\xd7\xf7\xc8\xd5\xa3\xa8\xd6\xdc\xd2\xbb\xd6\xc1\xd6\xdc\xce\xe5\xa3\xa9",
       "FREQ=WEEKLY;BYDAY=MO,TU,WE,TH,FR"},
      {"\xc3\xbf\xd6\xdc", "FREQ=WEEKLY"},   // 每周
      {"\xc3\xbf\xd4\xc2", "FREQ=MONTHLY"},  // 每月
      {"\xc3\xbf\xc4\xea", "FREQ=YEARLY"},   // 每年
  };
  auto choices = RepeatChoices();
  ASSERT_EQ(choices.size(), expected.size());
  for (std::size_t i = 0; i < choices.size(); ++i) {
    EXPECT_STREQ(choices[i].label, expected[i].first) << i;
    EXPECT_EQ(choices[i].rule ? FormatRepeatRule(*choices[i].rule) : "",
              expected[i].second ? expected[i].second : "");
    EXPECT_EQ(RepeatChoiceOf(choices[i].rule ? &*choices[i].rule : nullptr), static_cast<int>(i));
  }
  EXPECT_STREQ(kCustomRepeatLabel, "\xd7\xd4\xb6\xa8\xd2\xe5");  // 自定义

  // What an editor keeps for each entry: 自定义 keeps the rule the event had.
  RepeatRule custom = Rule("FREQ=DAILY;INTERVAL=3");
  EXPECT_EQ(RepeatRuleForChoice(0, &custom), std::nullopt);
  EXPECT_EQ(RepeatRuleForChoice(4, &custom), choices[4].rule);
  EXPECT_EQ(RepeatRuleForChoice(kCustomRepeatChoice, &custom), custom);
  EXPECT_EQ(RepeatRuleForChoice(kCustomRepeatChoice, nullptr), std::nullopt);
  EXPECT_EQ(RepeatRuleForChoice(7, &custom), std::nullopt);
  EXPECT_EQ(RepeatRuleForChoice(-1, &custom), std::nullopt);

  // Written another way, the same rule is the same entry; any other rule is custom.
  RepeatRule weekly = Rule("FREQ=WEEKLY;INTERVAL=1;WKST=SU");
  EXPECT_EQ(RepeatChoiceOf(&weekly), 3);
  RepeatRule workdays = Rule("FREQ=WEEKLY;BYDAY=FR,TH,WE,TU,MO;WKST=SA");
  EXPECT_EQ(RepeatChoiceOf(&workdays), 2);
  for (const char* custom : {"FREQ=DAILY;COUNT=5", "FREQ=HOURLY", "FREQ=WEEKLY;BYDAY=MO",
                             "FREQ=WEEKLY;INTERVAL=2;BYDAY=MO,TU,WE,TH,FR",
                             "FREQ=MONTHLY;UNTIL=20300101T000000", "FREQ=YEARLY;INTERVAL=2"}) {
    RepeatRule rule = Rule(custom);
    EXPECT_EQ(RepeatChoiceOf(&rule), kCustomRepeatChoice) << custom;
  }
}

TEST(RepeatTexts, ShortNames) {
  std::vector<std::pair<const char*, const char*>> cases = {
      {"FREQ=DAILY", "\xc3\xbf\xcc\xec"},                                                // 每天
      {"FREQ=WEEKLY;BYDAY=MO,TU,WE,TH,FR", "\xc3\xbf\xb8\xf6\xb9\xa4\xd7\xf7\xc8\xd5"},  // 每个工作日
      {"FREQ=WEEKLY", "\xc3\xbf\xd6\xdc"},                                               // 每周
      {"FREQ=MONTHLY", "\xc3\xbf\xd4\xc2"},                                              // 每月
      {"FREQ=YEARLY", "\xc3\xbf\xc4\xea"},                                               // 每年
      {"FREQ=HOURLY", "\xc3\xbf\xd0\xa1\xca\xb1"},                                       // 每小时
      {"FREQ=MINUTELY", "\xc3\xbf\xb7\xd6\xd6\xd3"},                                     // 每分钟
      {"FREQ=MINUTELY;INTERVAL=15",
       "\xc3\xbf"
       "15\xb7\xd6\xd6\xd3"},  // 每15分钟
      {"FREQ=HOURLY;INTERVAL=2",
       "\xc3\xbf"
       "2\xd0\xa1\xca\xb1"},  // 每2小时
      {"FREQ=DAILY;INTERVAL=3",
       "\xc3\xbf"
       "3\xcc\xec"},  // 每3天
      {"FREQ=WEEKLY;INTERVAL=2;BYDAY=MO,TH",
       "\xc3\xbf"
       "2\xd6\xdc\xd2\xbb\xa1\xa2\xcb\xc4"},  // 每2周一、四
      {"FREQ=WEEKLY;BYDAY=MO,WE,FR",
       "\xc3\xbf\xd6\xdc\xd2\xbb\xa1\xa2\xc8\xfd\xa1\xa2\xce\xe5"},  // 每周一、三、五
      {"FREQ=WEEKLY;BYDAY=SA,SU;WKST=SU", "\xc3\xbf\xd6\xdc\xc1\xf9\xa1\xa2\xc8\xd5"},  // 每周六、日
      {"FREQ=WEEKLY;INTERVAL=2",
       "\xc3\xbf"
       "2\xd6\xdc"},  // 每2周
      {"FREQ=MONTHLY;INTERVAL=6",
       "\xc3\xbf"
       "6\xb8\xf6\xd4\xc2"},  // 每6个月
      {"FREQ=YEARLY;INTERVAL=4",
       "\xc3\xbf"
       "4\xc4\xea"},  // 每4年
      {"FREQ=DAILY;COUNT=5",
       "\xc3\xbf\xcc\xec\xa3\xac\xb9\xb2"
       "5\xb4\xce"},  // 每天，共5次
      // 每个工作日，至2027-06-30
      {"FREQ=WEEKLY;BYDAY=MO,TU,WE,TH,FR;UNTIL=20270630T235959",
       "\xc3\xbf\xb8\xf6\xb9\xa4\xd7\xf7\xc8\xd5\xa3\xac\xd6\xc1"
       "2027-06-30"},
      // 每月，至2027-06-30 09:00
      {"FREQ=MONTHLY;UNTIL=20270630T090000",
       "\xc3\xbf\xd4\xc2\xa3\xac\xd6\xc1"
       "2027-06-30 09:00"},
      // 每2周一、二、三、四、五
      {"FREQ=WEEKLY;INTERVAL=2;BYDAY=MO,TU,WE,TH,FR",
       "\xc3\xbf"
       "2\xd6\xdc\xd2\xbb\xa1\xa2\xb6\xfe\xa1\xa2\xc8\xfd\xa1\xa2\xcb\xc4\xa1\xa2\xce\xe5"},
  };
  for (const auto& [rule, name] : cases) EXPECT_EQ(RepeatShortName(Rule(rule)), name) << rule;

  // The days within a month or year that rules past the drop-down name.
  std::vector<std::pair<const char*, const char*>> days = {
      {"FREQ=MONTHLY;BYDAY=2TU",
       "\xc3\xbf\xd4\xc2\xb5\xda\xb6\xfe\xb8\xf6\xd0\xc7\xc6\xda\xb6\xfe"},  // 每月第二个星期二
      // 每年 3 月最后一个星期日
      {"FREQ=YEARLY;BYMONTH=3;BYDAY=-1SU",
       "\xc3\xbf\xc4\xea 3 \xd4\xc2\xd7\xee\xba\xf3\xd2\xbb\xb8\xf6\xd0\xc7\xc6\xda\xc8\xd5"},
      {"FREQ=MONTHLY;BYMONTHDAY=15", "\xc3\xbf\xd4\xc2 15 \xc8\xd5"},  // 每月 15 日
      // 每月 1 日、最后一天
      {"FREQ=MONTHLY;BYMONTHDAY=1,-1", "\xc3\xbf\xd4\xc2 1 \xc8\xd5\xa1\xa2\xd7\xee\xba\xf3\xd2\xbb\xcc\xec"},
      // 每年 2、8 月倒数第三天
      {"FREQ=YEARLY;BYMONTH=2,8;BYMONTHDAY=-3",
       "\xc3\xbf\xc4\xea 2\xa1\xa2"
       "8 \xd4\xc2\xb5\xb9\xca\xfd\xb5\xda\xc8\xfd\xcc\xec"},
      // 每2个月第一个星期一、最后一个星期五
      {"FREQ=MONTHLY;INTERVAL=2;BYDAY=1MO,-1FR",
       "\xc3\xbf"
       "2\xb8\xf6\xd4\xc2\xb5\xda\xd2\xbb\xb8\xf6\xd0\xc7\xc6\xda\xd2\xbb\xa1\xa2\xd7\xee\xba\xf3\xd2\xbb\xb8"
       "\xf6"
       "\xd0\xc7\xc6\xda\xce\xe5"},
      // 每年第20个星期一
      {"FREQ=YEARLY;BYDAY=20MO",
       "\xc3\xbf\xc4\xea\xb5\xda"
       "20\xb8\xf6\xd0\xc7\xc6\xda\xd2\xbb"},
  };
  for (const auto& [rule, name] : days) EXPECT_EQ(RepeatShortName(Rule(rule)), name) << rule;

  std::string cell = "2026-12-08 09:00:00";
  AppendRepeatShortName(Rule("FREQ=DAILY"), &cell);
  EXPECT_EQ(cell, "2026-12-08 09:00:00 (\xc3\xbf\xcc\xec)");  // (每天)
}

TEST(RepeatTexts, EveryPartOfARuleIsNamed) {
  // Compared in UTF-8, to be read here.
  std::vector<std::pair<const char*, const char*>> cases = {
      {"FREQ=YEARLY;BYWEEKNO=20", "每年第 20 周"},
      {"FREQ=YEARLY;BYWEEKNO=1,-1,-2,20", "每年第 1、20 周、倒数第二周、最后一周"},
      {"FREQ=YEARLY;BYYEARDAY=100", "每年第 100 天"},
      {"FREQ=YEARLY;BYYEARDAY=-1", "每年最后一天"},
      {"FREQ=DAILY;BYHOUR=9,17;BYMINUTE=0,30", "每天 9:00、9:30、17:00、17:30"},
      {"FREQ=DAILY;BYHOUR=8,12,18;BYMINUTE=0,30", "每天 8、12、18 点 0、30 分"},
      {"FREQ=DAILY;BYHOUR=9", "每天 9 点"},
      {"FREQ=HOURLY;BYMINUTE=0,30", "每小时 0、30 分"},
      {"FREQ=MINUTELY;INTERVAL=5;BYSECOND=0,30", "每5分钟 0、30 秒"},
      {"FREQ=MONTHLY;BYDAY=MO,TU,WE,TH,FR;BYSETPOS=-1", "每月一、二、三、四、五，取其中最后一个"},
      {"FREQ=MONTHLY;BYDAY=MO,WE;BYSETPOS=1,3,-2", "每月一、三，取其中第一个、第三个、倒数第二个"},
      {"FREQ=DAILY;BYHOUR=9,17;BYSETPOS=1;COUNT=4", "每天 9、17 点，取其中第一个，共4次"},
  };
  for (const auto& [rule, name] : cases) EXPECT_EQ(ToUtf8(RepeatShortName(Rule(rule))), name) << rule;
}

TEST(RepeatTexts, ASeriesNamesTheDatesItLeavesOutAndAdds) {
  auto series = [](const char* rule, const char* added, const char* removed) {
    WallSeconds start = 0;
    EXPECT_TRUE(ParseWallTime("2026-12-08 09:00:00", &start));
    RepeatDates dates;
    std::string bad;
    if (*added) {
      EXPECT_TRUE(ParseWallTimeList(added, &dates.added, &bad)) << bad;
    }
    if (*removed) {
      EXPECT_TRUE(ParseWallTimeList(removed, &dates.removed, &bad)) << bad;
    }
    return RepeatSeries(start, Rule(rule), dates);
  };
  EXPECT_EQ(ToUtf8(RepeatShortName(series("FREQ=DAILY", "", ""))), "每天");
  EXPECT_EQ(ToUtf8(RepeatShortName(series("FREQ=DAILY", "", "2026-12-25 09:00:00"))), "每天，除 12-25");
  EXPECT_EQ(ToUtf8(RepeatShortName(series("FREQ=WEEKLY;COUNT=10", "2026-12-26 10:00:00,2027-01-02 09:00:00",
                                          "2027-01-01 09:00:00"))),
            "每周，共10次，除 2027-01-01，另加 12-26 10:00、2027-01-02");
  EXPECT_EQ(ToUtf8(RepeatShortName(series("FREQ=DAILY", "",
                                          "2026-12-24 09:00:00,2026-12-25 09:00:00,2026-12-26 09:00:00,"
                                          "2026-12-31 08:00:00,2027-01-01 09:00:00"))),
            "每天，除 12-24、12-25、12-26 等5次");
  std::string cell = "2026-12-08 09:00:00";
  AppendRepeatShortName(series("FREQ=DAILY", "", "2026-12-25 09:00:00"), &cell);
  EXPECT_EQ(ToUtf8(cell), "2026-12-08 09:00:00 (每天，除 12-25)");
  EXPECT_EQ(ToUtf8(RepeatPopupLine(series("FREQ=DAILY", "", "2026-12-25 09:00:00"), std::nullopt)),
            "每天，除 12-25重复 · 这是最后一次");
}

TEST(RepeatTexts, PopupLineAndTheMessageForAnUnreadableRule) {
  Time32 next = 0;
  ASSERT_TRUE(ParseLocalTime("2026-12-08 09:00:00", &next));
  // 每天重复 · 下次 2026-12-08 09:00
  EXPECT_EQ(RepeatPopupLine(Rule("FREQ=DAILY"), next),
            "\xc3\xbf\xcc\xec\xd6\xd8\xb8\xb4 \xa1\xa4 \xcf\xc2\xb4\xce 2026-12-08 09:00");
  // 每2周一、四，共5次重复 · 这是最后一次
  EXPECT_EQ(RepeatPopupLine(Rule("FREQ=WEEKLY;INTERVAL=2;BYDAY=MO,TH;COUNT=5"), std::nullopt),
            "\xc3\xbf"
            "2\xd6\xdc\xd2\xbb\xa1\xa2\xcb\xc4\xa3\xac\xb9\xb2"
            "5\xb4\xce\xd6\xd8\xb8\xb4 \xa1\xa4 "
            "\xd5\xe2\xca\xc7\xd7\xee\xba\xf3\xd2\xbb\xb4\xce");
}
