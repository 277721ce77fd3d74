#include "sync/item_merge.h"

#include <gtest/gtest.h>

#include "sync/todo_status.h"

namespace {

CalendarItem Reminder(std::string title, Time32 at) {
  CalendarItem item;
  item.title = std::move(title);
  item.reminds = true;
  item.remind_at = at;
  return item;
}

RepeatRule Daily() {
  RepeatRule rule;
  rule.frequency = RepeatFrequency::kDaily;
  return rule;
}

}  // namespace

TEST(ItemMerge, ASeriesIsMovedByItsStartNotByTheOccurrenceAwaited) {
  CalendarItem agreed = Reminder("t", 1000);
  agreed.rule = Daily();
  agreed.series_start = 500;
  CalendarItem answered = agreed;
  answered.remind_at = 1000 + 86400;  // answered: only the next time moved
  EXPECT_EQ(ChangedFields(agreed, answered), 0);
  CalendarItem moved = agreed;
  moved.series_start = 600;
  EXPECT_EQ(ChangedFields(agreed, moved), kFieldTime);
  CalendarItem one_off = agreed;
  one_off.rule.reset();
  EXPECT_EQ(ChangedFields(agreed, one_off), kFieldRule | kFieldTime);
  CalendarItem memo = Reminder("t", 1000);
  memo.reminds = false;
  EXPECT_EQ(ChangedFields(Reminder("t", 1000), memo), kFieldTime);
  CalendarItem other_memo = memo;
  other_memo.remind_at = 5;  // a memo's old time means nothing
  EXPECT_EQ(ChangedFields(memo, other_memo), 0);
}

TEST(ItemMerge, EachSideKeepsWhatItAloneChanged) {
  const CalendarItem agreed = Reminder("title", 1000);
  CalendarItem local = agreed;
  local.body = "local body";
  CalendarItem server = agreed;
  server.remind_at = 2000;
  ItemMerge merge = MergeItems(agreed, local, server);
  EXPECT_EQ(merge.merged.body, "local body");
  EXPECT_EQ(merge.merged.remind_at, 2000);
  EXPECT_EQ(merge.conflicts, 0);
  EXPECT_EQ(merge.to_server, kFieldBody);
  EXPECT_EQ(merge.to_local, kFieldTime);
}

TEST(ItemMerge, TheSameFieldChangedBothWaysIsAConflictUnlessBothAgree) {
  const CalendarItem agreed = Reminder("title", 1000);
  CalendarItem local = agreed, server = agreed;
  local.title = "mine";
  server.title = "theirs";
  server.body = "their body";
  ItemMerge merge = MergeItems(agreed, local, server);
  EXPECT_EQ(merge.conflicts, kFieldTitle);
  EXPECT_EQ(merge.merged.title, "mine");
  EXPECT_EQ(merge.merged.body, "their body");
  EXPECT_EQ(merge.to_server, kFieldTitle);
  EXPECT_EQ(merge.to_local, kFieldBody);
  // A write that went through before a pass was stopped: both sides hold it.
  server.title = "mine";
  merge = MergeItems(agreed, local, server);
  EXPECT_EQ(merge.conflicts, 0);
  EXPECT_EQ(merge.to_server, 0);
}

TEST(TodoStatus, ReplacesTheToDosOwnStatusOnly) {
  EXPECT_EQ(MarkTodoCompleted("BEGIN:VCALENDAR\r\nBEGIN:VTODO\r\nUID:1\r\nSTATUS:NEEDS-ACTION\r\n BLAH\r\n"
                              "BEGIN:VALARM\r\nSTATUS:X\r\nEND:VALARM\r\nEND:VTODO\r\nEND:VCALENDAR\r\n"),
            "BEGIN:VCALENDAR\r\nBEGIN:VTODO\r\nUID:1\r\nBEGIN:VALARM\r\nSTATUS:X\r\nEND:VALARM\r\n"
            "STATUS:COMPLETED\r\nEND:VTODO\r\nEND:VCALENDAR\r\n");
  const std::string event = "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nUID:1\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n";
  EXPECT_EQ(MarkTodoCompleted(event), event);
}
