#include "reminders/reminder_check.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <vector>

#include "base/testing/memory_file_system.h"

namespace {

constexpr Time32 kNoon = 1796616000;  // 2026-12-07 12:00:00 in Shanghai

// The world of the check, recorded: a clock the test sets, sounds, popups
// answered from a script, the tray icon and the list view's refreshes.
class FakeHost : public ReminderHost {
 public:
  Time32 now = kNoon;
  std::vector<std::string> sounds;  // "beep" or the file name
  std::vector<std::string> asked;   // titles shown in popups
  // Answers for the next popups: nullopt cancels. Without one, cancel.
  std::deque<std::optional<ReminderAnswer>> answers;
  // Runs while a popup is open (a tick, a change elsewhere...).
  std::function<void()> while_open;
  int flash_starts = 0, flash_stops = 0;
  std::vector<ChangeOutcome> commits;

  Time32 Now() override { return now; }
  void Beep() override { sounds.push_back("beep"); }
  void PlaySoundFile(const std::string& path) override { sounds.push_back(path); }
  bool AskUser(const CMyEvent& due, ReminderAnswer* answer) override {
    asked.push_back(due.strTitle);
    if (while_open) while_open();
    if (answers.empty()) return false;
    std::optional<ReminderAnswer> next = answers.front();
    answers.pop_front();
    if (!next) return false;
    *answer = *next;
    return true;
  }
  void StartFlash() override { ++flash_starts; }
  void StopFlash() override { ++flash_stops; }
  void ChangeCommitted(const ChangeOutcome& outcome) override { commits.push_back(outcome); }
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
  FakeHost host;
  ReminderCheck check{events, settings, host};
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
  f.host.answers.push_back(Done());
  f.check.Tick();
  EXPECT_EQ(f.host.asked, std::vector<std::string>{"noon"});
  EXPECT_TRUE(f.events.empty());
}

TEST(ReminderCheck, OneSoundPerAlertOfTheChosenKind) {
  CheckFixture f;
  f.AddReminder("a", 1, kNoon);
  f.check.Tick();  // cancelled: due again
  f.check.Tick();
  EXPECT_EQ(f.host.sounds, (std::vector<std::string>{"beep", "beep"}));
  EXPECT_EQ(f.host.asked.size(), 2u);

  f.settings.nSoundType = 1;
  f.settings.strSoundFileName = "C:\\ding.wav";
  f.check.Tick();
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
  // Ticks that come while the popup is open return at once.
  f.host.while_open = [&] {
    f.check.Tick();
    f.check.Tick();
  };
  f.host.answers = {After(10), Done()};
  f.check.Tick();
  EXPECT_EQ(f.host.asked, std::vector<std::string>{"first"});
  EXPECT_EQ(f.host.sounds.size(), 1u);
  EXPECT_EQ(f.check.bCheckEnabled, 1);
  // The next one in stored order, a second later.
  f.host.while_open = nullptr;
  f.check.Tick();
  EXPECT_EQ(f.host.asked, (std::vector<std::string>{"first", "second"}));
  ASSERT_EQ(f.events.size(), 1u);
  EXPECT_EQ(f.events.records()[0].strTitle, "first");
}

TEST(ReminderCheck, AnswersMoveOrDeleteAndAreSaved) {
  CheckFixture f;
  f.AddReminder("a", 1, kNoon);
  ASSERT_TRUE(f.SavedOk().ok());
  f.host.answers = {After(10, "new body")};
  f.check.Tick();
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
  f.host.answers = {at};
  f.check.Tick();
  EXPECT_EQ(f.events.FindByCreateTime(1)->timeRemind, kNoon + 86400 - 3600);
}

TEST(ReminderCheck, CancelBringsTheSameEventBack) {
  CheckFixture f;
  f.AddReminder("a", 1, kNoon);
  f.check.Tick();
  EXPECT_EQ(f.check.bCheckEnabled, 1);
  EXPECT_TRUE(f.host.commits.empty());
  f.host.answers = {Done()};
  f.check.Tick();
  EXPECT_EQ(f.host.asked, (std::vector<std::string>{"a", "a"}));
  EXPECT_TRUE(f.events.empty());
}

TEST(ReminderCheck, EventDeletedWhileItsPopupWasOpenTakesNoAnswer) {
  CheckFixture f;
  f.AddReminder("a", 1, kNoon);
  f.AddReminder("b", 2, kNoon + 3600);
  f.host.while_open = [&] { f.events.DeleteByCreateTime(1); };
  f.host.answers = {After(5)};
  f.check.Tick();
  ASSERT_EQ(f.host.commits.size(), 1u);
  EXPECT_FALSE(f.host.commits[0].applied);
  ASSERT_EQ(f.events.size(), 1u);
  EXPECT_EQ(f.events.records()[0].timeRemind, kNoon + 3600);
}

TEST(ReminderCheck, AnEventChangedElsewhereWhileOpenIsAnsweredOnTheNewList) {
  CheckFixture f;
  f.AddReminder("a", 1, kNoon);
  ASSERT_TRUE(f.SavedOk().ok());
  f.host.while_open = [&] {
    EventList other(f.fs, "event.dat");  // tallyo-cli adds an event meanwhile
    ASSERT_TRUE(other.LoadEvents().ok());
    other.Add(CMyEvent(50));
    ASSERT_TRUE(other.SaveEvents().ok());
  };
  f.host.answers = {Done()};
  f.check.Tick();
  ASSERT_EQ(f.events.size(), 1u);
  EXPECT_EQ(f.events.records()[0].timeCreate, 50);
}

TEST(ReminderCheck, AFailedSaveStillResumesTheCheck) {
  CheckFixture f;
  f.AddReminder("a", 1, kNoon);
  f.AddReminder("b", 2, kNoon + 60);
  f.fs.fail_writes = true;
  f.host.answers = {After(10)};
  f.check.Tick();
  ASSERT_EQ(f.host.commits.size(), 1u);
  EXPECT_FALSE(f.host.commits[0].save.ok());
  EXPECT_EQ(f.check.bCheckEnabled, 1);
  EXPECT_EQ(f.events.FindByCreateTime(1)->timeRemind, kNoon + 600);  // kept in memory
  f.host.now = kNoon + 60;
  f.host.answers = {Done()};
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

  // "Show" while the popup it opened is showing shows the main window.
  f.host.while_open = [&] { EXPECT_FALSE(f.check.AnswerFlashingAlert()); };
  f.host.answers = {Done()};
  EXPECT_TRUE(f.check.AnswerFlashingAlert());
  EXPECT_EQ(f.host.flash_stops, 1);
  EXPECT_EQ(f.host.asked, std::vector<std::string>{"a"});
  EXPECT_EQ(f.host.sounds.size(), 1u);
  EXPECT_EQ(f.check.bCheckEnabled, 1);
  EXPECT_EQ(f.check.bPopupOpen, 0);
  // Nothing pending any more: "show" shows the window.
  f.host.while_open = nullptr;
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
}

TEST(ReminderCheck, AnyOtherAlertKindFlashesAndCanBeAnswered) {
  CheckFixture f;
  f.settings.nTipType = 2;  // from a hand-edited config.ini
  f.AddReminder("a", 1, kNoon);
  f.check.Tick();
  EXPECT_EQ(f.host.flash_starts, 1);
  f.host.answers = {Done()};
  EXPECT_TRUE(f.check.AnswerFlashingAlert());
  EXPECT_TRUE(f.events.empty());
  EXPECT_EQ(f.check.bCheckEnabled, 1);
}

TEST(ReminderCheck, SwitchingToPopupsWhileFlashingStillLetsTheAlertBeAnswered) {
  CheckFixture f;
  f.settings.nTipType = 1;
  f.AddReminder("a", 1, kNoon);
  f.check.Tick();
  f.settings.nTipType = 0;  // the settings dialog, meanwhile
  f.host.answers = {Done()};
  EXPECT_TRUE(f.check.AnswerFlashingAlert());
  EXPECT_TRUE(f.events.empty());
}
