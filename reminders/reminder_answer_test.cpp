#include "reminders/reminder_answer.h"

#include <gtest/gtest.h>

#include "base/testing/memory_file_system.h"

namespace {

struct AnswerFixture {
  AnswerFixture() {
    for (Time32 created : {100, 200, 300}) {
      CMyEvent e(created);
      e.strTitle = std::string("t").append(std::to_string(created));
      e.strContent = "old body";
      e.bRemind = 1;
      e.timeRemind = 50;
      list.Add(std::move(e));
    }
  }
  MemoryFileSystem fs;
  EventList list{fs, "event.dat"};
};

ReminderAnswer Answer(int choice, std::int32_t minutes = 0, std::string body = "new body") {
  ReminderAnswer a;
  a.fields.nChoice = choice;
  a.fields.nMinutes = minutes;
  a.strContent = std::move(body);
  return a;
}

}  // namespace

TEST(ReminderAnswer, DoneDeletesTheEventAndNothingElse) {
  AnswerFixture f;
  EXPECT_TRUE(ApplyReminderAnswer(f.list, EventKey{200, 0}, Answer(kNoReminder), 1000));
  ASSERT_EQ(f.list.size(), 2u);
  EXPECT_EQ(f.list.FindByCreateTime(200), nullptr);
  EXPECT_EQ(f.list.records()[1].timeCreate, 300);
}

TEST(ReminderAnswer, AgainAfterMinutesMovesTheReminderAndTakesTheBody) {
  AnswerFixture f;
  EXPECT_TRUE(ApplyReminderAnswer(f.list, EventKey{100, 0}, Answer(kRemindAfterMinutes, 10), 1000));
  const CMyEvent& e = *f.list.FindByCreateTime(100);
  EXPECT_EQ(e.bRemind, 1);
  EXPECT_EQ(e.timeRemind, 1600);
  EXPECT_EQ(e.strContent, "new body");
  EXPECT_EQ(e.strTitle, "t100");
  // 0 or fewer minutes: due again at once.
  EXPECT_TRUE(ApplyReminderAnswer(f.list, EventKey{100, 0}, Answer(kRemindAfterMinutes, -5), 1000));
  EXPECT_EQ(f.list.FindDue(1000)->timeCreate, 100);
}

TEST(ReminderAnswer, AgainAtADateAndTime) {
  AnswerFixture f;
  ReminderAnswer a = Answer(kRemindAtDateTime);
  Time32 day = 0, clock = 0;
  ASSERT_TRUE(ParseLocalTime("2027-01-02 00:00:00", &day));
  ASSERT_TRUE(ParseLocalTime("2026-12-07 09:15:00", &clock));
  a.fields.timeDate = day;
  a.fields.timeOfDay = clock;
  EXPECT_TRUE(ApplyReminderAnswer(f.list, EventKey{300, 0}, a, 1000));
  EXPECT_EQ(FormatTime(f.list.FindByCreateTime(300)->timeRemind), "2027-01-02 09:15:00");
  EXPECT_EQ(f.list.FindByCreateTime(300)->strContent, "new body");
}

TEST(ReminderAnswer, AnEventGoneMeanwhileIsLeftAlone) {
  AnswerFixture f;
  f.list.DeleteByCreateTime(200);
  EXPECT_FALSE(ApplyReminderAnswer(f.list, EventKey{200, 0}, Answer(kNoReminder), 1000));
  EXPECT_FALSE(ApplyReminderAnswer(f.list, EventKey{200, 0}, Answer(kRemindAfterMinutes, 5), 1000));
  EXPECT_EQ(f.list.size(), 2u);
  for (const CMyEvent& e : f.list.records()) EXPECT_EQ(e.strContent, "old body");
}
