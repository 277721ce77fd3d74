#include "reminders/next_reminder_tip.h"

#include <gtest/gtest.h>

#include "base/cp936.h"
#include "base/testing/memory_file_system.h"
#include "events/next_reminder.h"
#include "events/testing/events_test_util.h"

namespace {

std::size_t Characters(const std::string& cp936_text) {
  std::size_t count = 0;
  for (std::size_t i = 0; i < cp936_text.size(); i += cp936::CharLength(cp936_text, i)) ++count;
  return count;
}

}  // namespace

TEST(NextReminder, TheEarliestPendingReminderOverdueOnesFirst) {
  MemoryFileSystem fs;
  EventList events(fs, "event.dat");
  RepeatRules rules;
  EXPECT_EQ(NextReminder(events), nullptr);
  events.Add(MakeEvent("memo", 1, "", 0, At("2026-01-01 00:00:00")));  // a memo's old time counts for nothing
  EXPECT_EQ(NextReminderTip(events, rules), "");
  events.Add(MakeEvent("later", 2, "", 1, At("2026-12-09 08:00:00")));
  events.Add(MakeEvent("overdue", 3, "", 1, At("2026-12-01 08:00:00")));
  events.Add(MakeEvent("also overdue", 4, "", 1, At("2026-12-01 08:00:00")));
  EXPECT_EQ(NextReminder(events)->strTitle, "overdue");
  EXPECT_EQ(NextReminderTip(events, rules), "2026-12-01 08:00 overdue");
  events.DeleteByCreateTime(3);
  events.DeleteByCreateTime(4);
  EXPECT_EQ(NextReminderTip(events, rules), "2026-12-09 08:00 later");
}

TEST(NextReminder, TheTipNamesTheRuleAndCutsALongTitleToFit) {
  MemoryFileSystem fs;
  EventList events(fs, "event.dat");
  std::string title;
  for (int i = 0; i < 200; ++i) title += "\xd5\xbe\xbb\xe1";  // "站会" 200 times
  events.Add(MakeEvent(title, 100, "", 1, At("2026-12-08 09:00:00")));
  RepeatRules rules("[100]\r\nstart=2026-12-08 09:00:00\r\nrule=FREQ=DAILY\r\n");
  const std::string tip = NextReminderTip(events, rules);
  EXPECT_EQ(Characters(tip), kTrayTipCharacters);
  EXPECT_EQ(tip.substr(0, 21), "2026-12-08 09:00 \xd5\xbe\xbb\xe1");
  EXPECT_EQ(tip.substr(tip.size() - 10), "... (\xc3\xbf\xcc\xec)");  // "... (每天)"

  events.FindByCreateTime(100)->strTitle = "\xd5\xbe\xbb\xe1";
  EXPECT_EQ(NextReminderTip(events, rules),
            "2026-12-08 09:00 \xd5\xbe\xbb\xe1 (\xc3\xbf\xcc\xec)");  // 站会 (每天)
  events.FindByCreateTime(100)->strTitle = "";
  EXPECT_EQ(NextReminderTip(events, rules), "2026-12-08 09:00 (\xc3\xbf\xcc\xec)");
}
