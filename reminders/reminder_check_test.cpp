#include "reminders/reminder_check.h"

#include <gtest/gtest.h>

#include <vector>

#include "base/testing/memory_file_system.h"
#include "events/event_change.h"

namespace {

constexpr Time32 kNoon = 1796616000;  // 2026-12-07 12:00:00 in Shanghai

// The world of the check, recorded: a clock the test sets, sounds, popups
// (the test answers them through the check), the tray icon, and answers
// applied to the list and saved the way the program does.
class FakeHost : public ReminderHost {
 public:
  explicit FakeHost(EventList& events) : events_(events) {}

  Time32 now = kNoon;
  std::vector<std::string> sounds;  // "beep" or the file name
  std::vector<std::string> asked;   // titles shown in popups
  bool popup_open = false;
  int popups_closed = 0;
  int flash_starts = 0, flash_stops = 0;
  std::vector<ChangeOutcome> commits;

  Time32 Now() override { return now; }
  void Beep() override { sounds.push_back("beep"); }
  void PlaySoundFile(const std::string& path) override { sounds.push_back(path); }
  void ShowPopup(const CMyEvent& due, EventKey) override {
    asked.push_back(due.strTitle);
    popup_open = true;
  }
  void ClosePopup() override {
    popup_open = false;
    ++popups_closed;
  }
  void StartFlash() override { ++flash_starts; }
  void StopFlash() override { ++flash_stops; }
  void CommitAnswer(EventKey key, const ReminderAnswer& answer) override {
    commits.push_back(ChangeEvents(
        events_, [&](EventList& list) { return ApplyReminderAnswer(list, key, answer, now); },
        SaveWhen::kIfApplied));
  }

 private:
  EventList& events_;
};

ReminderAnswer Done() { return ReminderAnswer{}; }
ReminderAnswer After(std::int32_t minutes, std::string body = "edited") {
  ReminderAnswer a;
  a.fields.nChoice = kRemindAfterMinutes;
  a.fields.nMinutes = minutes;
  a.strContent = std::move(body);
  return a;
}

struct CheckFixture {
  CheckFixture() { settings.bPlaySound = 1; }
  void AddReminder(std::string title, Time32 created, Time32 due) {
    CMyEvent e(created);
    e.strTitle = std::move(title);
    e.strContent = "body";
    e.bRemind = 1;
    e.timeRemind = due;
    events.Add(std::move(e));
  }
  void AddMemo(std::string title, Time32 created) {
    CMyEvent e(created);
    e.strTitle = std::move(title);
    e.timeRemind = kNoon - 100;  // kept, but no reminder
    events.Add(std::move(e));
  }
  Status SavedOk() { return events.SaveEvents(); }

  MemoryFileSystem fs;
  EventList events{fs, "event.dat"};
  Settings settings;
  FakeHost host{events};
  ReminderCheck check{events, settings, host};

  // The user answers the open popup.
  void Answer(const ReminderAnswer& answer) {
    ASSERT_TRUE(host.popup_open);
    host.popup_open = false;
    check.Answered(answer);
  }
  void Cancel() {
    ASSERT_TRUE(host.popup_open);
    host.popup_open = false;
    check.Dismissed();
  }
};

}  // namespace

TEST(ReminderCheck, NothingDueNothingHappens) {
  CheckFixture f;
  f.check.Tick();
  f.AddMemo("memo", 1);
  f.AddReminder("tomorrow", 2, kNoon + 86400);
  f.check.Tick();
  EXPECT_TRUE(f.host.asked.empty());
  EXPECT_TRUE(f.host.sounds.empty());
  EXPECT_EQ(f.check.bCheckEnabled, 1);
}

TEST(ReminderCheck, DueAtTheSecondAndNotBefore) {
  CheckFixture f;
  f.AddReminder("noon", 1, kNoon);
  f.host.now = kNoon - 1;
  f.check.Tick();
  EXPECT_TRUE(f.host.asked.empty());
  f.host.now = kNoon;
  f.check.Tick();
  EXPECT_EQ(f.host.asked, std::vector<std::string>{"noon"});
  f.Answer(Done());
  EXPECT_TRUE(f.events.empty());
}

TEST(ReminderCheck, OneSoundPerAlertOfTheChosenKind) {
  CheckFixture f;
  f.AddReminder("a", 1, kNoon);
  f.check.Tick();
  f.Cancel();  // due again
  f.check.Tick();
  f.Cancel();
  EXPECT_EQ(f.host.sounds, (std::vector<std::string>{"beep", "beep"}));
  EXPECT_EQ(f.host.asked.size(), 2u);

  f.settings.nSoundType = 1;
  f.settings.strSoundFileName = "C:\\ding.wav";
  f.check.Tick();
  f.Cancel();
  EXPECT_EQ(f.host.sounds.back(), "C:\\ding.wav");

  f.settings.bPlaySound = 0;
  f.check.Tick();
  EXPECT_EQ(f.host.sounds.size(), 3u);
  EXPECT_EQ(f.host.asked.size(), 4u);
}

TEST(ReminderCheck, NoSecondAlertWhileOneIsPending) {
  CheckFixture f;
  f.AddReminder("first", 1, kNoon - 10);
  f.AddReminder("second", 2, kNoon - 20);
  f.check.Tick();
  // Ticks that come while the popup is open change nothing.
  f.check.Tick();
  f.check.Tick();
  EXPECT_EQ(f.host.asked, std::vector<std::string>{"first"});
  EXPECT_EQ(f.host.sounds.size(), 1u);
  EXPECT_EQ(f.check.bCheckEnabled, 0);
  f.Answer(After(10));
  EXPECT_EQ(f.check.bCheckEnabled, 1);
  // The next one in stored order, a second later.
  f.check.Tick();
  EXPECT_EQ(f.host.asked, (std::vector<std::string>{"first", "second"}));
  f.Answer(Done());
  ASSERT_EQ(f.events.size(), 1u);
  EXPECT_EQ(f.events.records()[0].strTitle, "first");
}

TEST(ReminderCheck, AnswersMoveOrDeleteAndAreSaved) {
  CheckFixture f;
  f.AddReminder("a", 1, kNoon);
  ASSERT_TRUE(f.SavedOk().ok());
  f.check.Tick();
  f.Answer(After(10, "new body"));
  const CMyEvent& e = *f.events.FindByCreateTime(1);
  EXPECT_EQ(e.timeRemind, kNoon + 600);
  EXPECT_EQ(e.bRemind, 1);
  EXPECT_EQ(e.strContent, "new body");
  ASSERT_EQ(f.host.commits.size(), 1u);
  EXPECT_TRUE(f.host.commits[0].applied);
  EXPECT_TRUE(f.host.commits[0].save.ok());
  EventList on_disk(f.fs, "event.dat");
  ASSERT_TRUE(on_disk.LoadEvents().ok());
  EXPECT_EQ(on_disk.records()[0].timeRemind, kNoon + 600);

  // At a date and time.
  f.host.now = kNoon + 600;
  ReminderAnswer at;
  at.fields.nChoice = kRemindAtDateTime;
  at.fields.timeDate = kNoon + 86400;
  at.fields.timeOfDay = kNoon - 3600;
  at.strContent = "x";
  f.check.Tick();
  f.Answer(at);
  EXPECT_EQ(f.events.FindByCreateTime(1)->timeRemind, kNoon + 86400 - 3600);
}

TEST(ReminderCheck, TheAnswerGoesToTheTwinThatWasDue) {
  CheckFixture f;
  // Three events made in one second; only the second is due.
  f.AddReminder("first", 7, kNoon + 600);
  f.AddReminder("second", 7, kNoon - 5);
  f.AddReminder("third", 7, kNoon + 600);
  f.check.Tick();
  ASSERT_EQ(f.host.asked, std::vector<std::string>{"second"});
  f.Answer(After(5));
  EXPECT_EQ(f.events.records()[0].timeRemind, kNoon + 600);
  EXPECT_EQ(f.events.records()[1].timeRemind, kNoon + 300);
  f.host.now = kNoon + 300;
  f.check.Tick();
  f.Answer(Done());
  ASSERT_EQ(f.events.size(), 2u);
  EXPECT_EQ(f.events.records()[0].strTitle, "first");
  EXPECT_EQ(f.events.records()[1].strTitle, "third");
  // Nothing else is due: no popup comes back.
  f.check.Tick();
  EXPECT_EQ(f.host.asked.size(), 2u);
}

TEST(ReminderCheck, CancelBringsTheSameEventBack) {
  CheckFixture f;
  f.AddReminder("a", 1, kNoon);
  f.check.Tick();
  f.Cancel();
  EXPECT_EQ(f.check.bCheckEnabled, 1);
  EXPECT_TRUE(f.host.commits.empty());
  f.check.Tick();
  f.Answer(Done());
  EXPECT_EQ(f.host.asked, (std::vector<std::string>{"a", "a"}));
  EXPECT_TRUE(f.events.empty());
}

TEST(ReminderCheck, APopupWhoseEventWasAnsweredOrDeletedElsewhereCloses) {
  CheckFixture f;
  f.AddReminder("a", 1, kNoon);
  f.AddReminder("b", 2, kNoon);
  f.check.Tick();
  ASSERT_EQ(f.host.asked, std::vector<std::string>{"a"});
  // Another copy of the program answered "again in 5 minutes".
  f.events.FindByCreateTime(1)->timeRemind = kNoon + 300;
  f.check.Tick();
  EXPECT_EQ(f.host.popups_closed, 1);
  // The same tick goes on to the next due event.
  EXPECT_EQ(f.host.asked, (std::vector<std::string>{"a", "b"}));
  EXPECT_TRUE(f.host.popup_open);
  // Deleted elsewhere.
  f.events.DeleteByCreateTime(2);
  f.check.Tick();
  EXPECT_EQ(f.host.popups_closed, 2);
  EXPECT_FALSE(f.host.popup_open);
  EXPECT_EQ(f.check.bCheckEnabled, 1);
  // A late answer from a closed popup is ignored.
  f.check.Answered(Done());
  EXPECT_TRUE(f.host.commits.empty());
}

TEST(ReminderCheck, EventDeletedWhileItsPopupWasOpenTakesNoAnswer) {
  CheckFixture f;
  f.AddReminder("a", 1, kNoon);
  f.AddReminder("b", 2, kNoon + 3600);
  f.check.Tick();
  f.events.DeleteByCreateTime(1);
  f.Answer(After(5));
  ASSERT_EQ(f.host.commits.size(), 1u);
  EXPECT_FALSE(f.host.commits[0].applied);
  ASSERT_EQ(f.events.size(), 1u);
  EXPECT_EQ(f.events.records()[0].timeRemind, kNoon + 3600);
}

TEST(ReminderCheck, AnEventChangedElsewhereWhileOpenIsAnsweredOnTheNewList) {
  CheckFixture f;
  f.AddReminder("a", 1, kNoon);
  ASSERT_TRUE(f.SavedOk().ok());
  f.check.Tick();
  EventList other(f.fs, "event.dat");  // tallyo-cli adds an event meanwhile
  ASSERT_TRUE(other.LoadEvents().ok());
  other.Add(CMyEvent(50));
  ASSERT_TRUE(other.SaveEvents().ok());
  f.Answer(Done());
  ASSERT_EQ(f.events.size(), 1u);
  EXPECT_EQ(f.events.records()[0].timeCreate, 50);
}

TEST(ReminderCheck, AFailedSaveStillResumesTheCheck) {
  CheckFixture f;
  f.AddReminder("a", 1, kNoon);
  f.AddReminder("b", 2, kNoon + 60);
  f.fs.fail_writes = true;
  f.check.Tick();
  f.Answer(After(10));
  ASSERT_EQ(f.host.commits.size(), 1u);
  EXPECT_FALSE(f.host.commits[0].save.ok());
  EXPECT_EQ(f.check.bCheckEnabled, 1);
  EXPECT_EQ(f.events.FindByCreateTime(1)->timeRemind, kNoon + 600);  // kept in memory
  f.host.now = kNoon + 60;
  f.check.Tick();
  EXPECT_EQ(f.host.asked, (std::vector<std::string>{"a", "b"}));
}

TEST(ReminderCheck, FlashingWaitsForTheUserThenAsksWithoutSound) {
  CheckFixture f;
  f.settings.nTipType = 1;
  f.AddReminder("a", 1, kNoon);
  f.AddReminder("b", 2, kNoon);
  f.check.Tick();
  f.check.Tick();
  f.check.Tick();
  EXPECT_EQ(f.host.flash_starts, 1);
  EXPECT_EQ(f.host.sounds.size(), 1u);
  EXPECT_TRUE(f.host.asked.empty());
  EXPECT_EQ(f.check.bCheckEnabled, 0);

  EXPECT_TRUE(f.check.AnswerFlashingAlert());
  EXPECT_EQ(f.host.flash_stops, 1);
  EXPECT_EQ(f.host.asked, std::vector<std::string>{"a"});
  EXPECT_EQ(f.check.bPopupOpen, 1);
  // "Show" while the popup it opened is showing shows the main window.
  EXPECT_FALSE(f.check.AnswerFlashingAlert());
  f.Answer(Done());
  EXPECT_EQ(f.host.sounds.size(), 1u);
  EXPECT_EQ(f.check.bCheckEnabled, 1);
  EXPECT_EQ(f.check.bPopupOpen, 0);
  // Nothing pending any more: "show" shows the window.
  EXPECT_FALSE(f.check.AnswerFlashingAlert());
  f.check.Tick();
  EXPECT_EQ(f.host.flash_starts, 2);  // "b"
}

TEST(ReminderCheck, FlashingForAnEventGoneMeanwhileJustStops) {
  CheckFixture f;
  f.settings.nTipType = 1;
  f.AddReminder("a", 1, kNoon);
  f.check.Tick();
  f.events.DeleteByCreateTime(1);
  EXPECT_TRUE(f.check.AnswerFlashingAlert());
  EXPECT_TRUE(f.host.asked.empty());
  EXPECT_EQ(f.check.bCheckEnabled, 1);

  // Answered elsewhere while flashing: the next tick stops the flashing.
  f.AddReminder("b", 2, kNoon);
  f.check.Tick();
  EXPECT_TRUE(f.check.flashing());
  f.events.FindByCreateTime(2)->timeRemind = kNoon + 600;
  f.check.Tick();
  EXPECT_FALSE(f.check.flashing());
  EXPECT_EQ(f.host.flash_stops, 2);
  EXPECT_EQ(f.check.bCheckEnabled, 1);
}

TEST(ReminderCheck, AnyOtherAlertKindFlashesAndCanBeAnswered) {
  CheckFixture f;
  f.settings.nTipType = 2;  // from a hand-edited config.ini
  f.AddReminder("a", 1, kNoon);
  f.check.Tick();
  EXPECT_EQ(f.host.flash_starts, 1);
  EXPECT_TRUE(f.check.AnswerFlashingAlert());
  f.Answer(Done());
  EXPECT_TRUE(f.events.empty());
  EXPECT_EQ(f.check.bCheckEnabled, 1);
}

TEST(ReminderCheck, SwitchingToPopupsWhileFlashingStillLetsTheAlertBeAnswered) {
  CheckFixture f;
  f.settings.nTipType = 1;
  f.AddReminder("a", 1, kNoon);
  f.check.Tick();
  f.settings.nTipType = 0;  // the settings dialog, meanwhile
  EXPECT_TRUE(f.check.AnswerFlashingAlert());
  f.Answer(Done());
  EXPECT_TRUE(f.events.empty());
}
