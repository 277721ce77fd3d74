#include "app/main_controller.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/testing/memory_file_system.h"
#include "events/testing/events_test_util.h"
#include "repeat/repeat_rule.h"

namespace {

constexpr Time32 kNoon = 1796616000;  // 2026-12-07 12:00:00 in Shanghai
constexpr char kPath[] = "event.dat";

CMyEvent Event(std::string title, Time32 created, int remind = 0, Time32 remind_at = 0) {
  CMyEvent e(created);
  e.strTitle = std::move(title);
  e.strContent = "body";
  e.bRemind = remind;
  e.timeRemind = remind_at;
  return e;
}

class Controller : public ::testing::Test {
 protected:
  Controller() { controller.Load(); }

  // What another program (a second copy, tallyo-cli) writes to event.dat.
  void WriteFromOutside(const std::vector<CMyEvent>& events) {
    EventList other(fs, kPath);
    other.LoadEvents();
    for (const CMyEvent& e : events) other.Add(e);
    fs.fail_writes = false;
    ASSERT_TRUE(other.SaveEvents().ok());
  }
  // The titles event.dat holds now, in stored order.
  std::vector<std::string> TitlesOnDisk() {
    EventList disk(fs, kPath);
    disk.LoadEvents();
    std::vector<std::string> titles;
    for (const CMyEvent& e : disk.records()) titles.push_back(e.strTitle);
    return titles;
  }
  std::vector<std::string> TitlesInMemory() {
    std::vector<std::string> titles;
    for (const CMyEvent& e : list.records()) titles.push_back(e.strTitle);
    return titles;
  }

  MemoryFileSystem fs;
  MainController controller{fs, kPath, std::chrono::milliseconds(20)};
  const EventList& list = controller.events();
};

using Titles = std::vector<std::string>;

TEST_F(Controller, AChangeThatCannotBeSavedIsToldOnceKeptAndWrittenByTheTick) {
  fs.fail_writes = true;
  ControllerResult added = controller.Add(Event("call Li", kNoon));
  ASSERT_EQ(added.notices.size(), 1u);
  EXPECT_EQ(added.notices[0].kind, Notice::Kind::kSaveFailed);
  EXPECT_NE(added.notices[0].text.find("event.dat"), std::string::npos);
  EXPECT_TRUE(added.list_changed);
  EXPECT_TRUE(controller.HasUnsavedChanges());
  EXPECT_EQ(TitlesInMemory(), Titles{"call Li"});

  // The ticks try again quietly while the disk still refuses.
  for (int tick = 0; tick < 5; ++tick) EXPECT_TRUE(controller.Tick().notices.empty());
  EXPECT_FALSE(fs.FileExists(kPath));

  fs.fail_writes = false;
  for (int tick = 0; tick < 20 && controller.HasUnsavedChanges(); ++tick) controller.Tick();
  EXPECT_FALSE(controller.HasUnsavedChanges());
  EXPECT_EQ(TitlesOnDisk(), Titles{"call Li"});
}

// The background sync follows this program's own saves, never what it took
// in from others (a sync's own writes among them).
TEST_F(Controller, SaysWhenItsOwnChangesReachedTheFiles) {
  EXPECT_TRUE(controller.Add(Event("mine", kNoon)).saved);
  EXPECT_FALSE(controller.Tick().saved);
  WriteFromOutside({Event("theirs", kNoon + 5)});
  const ControllerResult taken_in = controller.Tick();
  EXPECT_TRUE(taken_in.list_changed);
  EXPECT_FALSE(taken_in.saved);
  EXPECT_FALSE(controller.Delete({kNoon + 99, 0}).saved);  // nothing to delete: nothing written

  fs.fail_writes = true;
  EXPECT_FALSE(controller.Delete({kNoon, 0}).saved);
  fs.fail_writes = false;
  bool saved_by_a_tick = false;
  for (int tick = 0; tick < 20 && controller.HasUnsavedChanges(); ++tick)
    saved_by_a_tick |= controller.Tick().saved;
  EXPECT_TRUE(saved_by_a_tick);
}

TEST_F(Controller, RetriesBackOffWhileTheDiskKeepsRefusing) {
  fs.fail_writes = true;
  controller.Add(Event("a", kNoon));
  const int before = fs.replace_calls;
  for (int tick = 0; tick < 120; ++tick) controller.Tick();
  const int retries = fs.replace_calls - before;
  EXPECT_GT(retries, 5);
  EXPECT_LT(retries, 20);
}

TEST_F(Controller, AnOutsideWriteKeepsTheChangesNotSavedYet) {
  WriteFromOutside({Event("first", kNoon - 100)});
  controller.Tick();
  fs.fail_writes = true;
  controller.Add(Event("mine", kNoon));
  controller.Delete({kNoon - 100, 0});
  EXPECT_EQ(TitlesInMemory(), Titles{"mine"});

  // Another program adds an event; this program's add and delete survive it.
  WriteFromOutside({Event("theirs", kNoon + 5)});
  fs.fail_writes = true;
  ControllerResult tick = controller.Tick();
  EXPECT_TRUE(tick.list_changed);
  EXPECT_EQ(TitlesInMemory(), (Titles{"theirs", "mine"}));

  fs.fail_writes = false;
  EXPECT_TRUE(controller.SaveBeforeExit());
  EXPECT_EQ(TitlesOnDisk(), (Titles{"theirs", "mine"}));
}

TEST_F(Controller, AChangeWhileAnotherWriterHoldsTheFolderWaitsQuietlyInMemory) {
  std::unique_ptr<FolderLock> other;
  ASSERT_TRUE(FolderLock::Acquire(fs, "event.dat.lock", std::chrono::milliseconds(0), &other).ok());
  ControllerResult added = controller.Add(Event("call Li", kNoon));
  EXPECT_TRUE(added.notices.empty()) << "a busy folder is not an error";
  EXPECT_TRUE(added.list_changed);
  EXPECT_EQ(TitlesInMemory(), Titles{"call Li"});
  EXPECT_TRUE(controller.HasUnsavedChanges());
  EXPECT_FALSE(fs.FileExists(kPath));

  // The other writer adds an event and lets go: the next tick saves both.
  EventList theirs(fs, kPath);
  theirs.Add(Event("theirs", kNoon - 100));
  ASSERT_TRUE(theirs.SaveEvents().ok());
  other.reset();
  EXPECT_TRUE(controller.Tick().notices.empty());
  EXPECT_FALSE(controller.HasUnsavedChanges());
  EXPECT_EQ(TitlesOnDisk(), (Titles{"theirs", "call Li"}));
}

TEST_F(Controller, SaveBeforeExitSaysWhetherAnythingIsLeft) {
  EXPECT_TRUE(controller.SaveBeforeExit());
  fs.fail_writes = true;
  controller.Add(Event("a", kNoon));
  EXPECT_FALSE(controller.SaveBeforeExit());
  EXPECT_TRUE(controller.HasUnsavedChanges());
  fs.fail_writes = false;
  EXPECT_TRUE(controller.SaveBeforeExit());
  EXPECT_EQ(TitlesOnDisk(), Titles{"a"});
}

TEST_F(Controller, ANewEventTakesTheNextFreeSecond) {
  WriteFromOutside({Event("a", kNoon), Event("b", kNoon + 1)});
  controller.Add(Event("c", kNoon));
  ASSERT_EQ(list.size(), 3u);
  EXPECT_EQ(list.records()[2].timeCreate, kNoon + 2);
}

TEST_F(Controller, ModifyKeepsWhatTheUserDidNotChange) {
  WriteFromOutside({Event("stand-up", kNoon - 60, 1, kNoon)});
  controller.Tick();
  const CMyEvent before = *list.FindByCreateTime(kNoon - 60);

  // While the modify dialog is open the reminder is answered: again in 5 minutes.
  ReminderAnswer snooze;
  snooze.fields.nChoice = kRemindAfterMinutes;
  snooze.fields.nMinutes = 5;
  snooze.strContent = "body";
  controller.Answer({kNoon - 60, 0}, snooze, kNoon);

  // The dialog confirms a new title and the reminder as it showed it.
  CMyEvent after = before;
  after.strTitle = "daily stand-up";
  controller.Modify({kNoon - 60, 0}, before, after);

  const CMyEvent* now = list.FindByCreateTime(kNoon - 60);
  ASSERT_NE(now, nullptr);
  EXPECT_EQ(now->strTitle, "daily stand-up");
  EXPECT_EQ(now->timeRemind, kNoon + 300);
  EXPECT_EQ(TitlesOnDisk(), Titles{"daily stand-up"});

  // A reminder the user did change in the dialog is taken as changed.
  CMyEvent memo = *now;
  memo.bRemind = 0;
  controller.Modify({kNoon - 60, 0}, *now, memo);
  EXPECT_EQ(list.FindByCreateTime(kNoon - 60)->bRemind, 0);
}

TEST_F(Controller, ChangesToAnEventDeletedMeanwhileWriteNothing) {
  WriteFromOutside({Event("a", kNoon)});
  controller.Tick();
  const CMyEvent before = *list.FindByCreateTime(kNoon);
  EventList empty(fs, kPath);
  ASSERT_TRUE(empty.SaveEvents().ok());  // another program deleted it
  const int writes = fs.replace_calls;
  CMyEvent after = before;
  after.strTitle = "b";
  ControllerResult result = controller.Modify({kNoon, 0}, before, after);
  EXPECT_TRUE(result.notices.empty());
  EXPECT_TRUE(result.event_gone);  // the window offers to keep the edit as a new event
  EXPECT_EQ(fs.replace_calls, writes);
  EXPECT_TRUE(list.empty());
  EXPECT_FALSE(controller.HasUnsavedChanges());

  // Kept as a new event, with the rule the dialog showed.
  CMyEvent kept = after;
  kept.timeCreate = kNoon + 60;
  kept.bRemind = 1;
  kept.timeRemind = kNoon + 3600;
  EXPECT_FALSE(controller.Add(kept, Rule("FREQ=DAILY")).event_gone);
  EXPECT_EQ(TitlesOnDisk(), Titles{"b"});
  EXPECT_NE(controller.RuleOf({kNoon + 60, 0}), nullptr);
  // A change to an event that is there is not told as gone.
  const CMyEvent now = *list.FindByCreateTime(kNoon + 60);
  EXPECT_FALSE(controller.Modify({kNoon + 60, 0}, now, now).event_gone);
}

TEST_F(Controller, SaysWhetherTheSaveStoppedAtTheRuleFile) {
  WriteFromOutside({Event("water", kNoon - 700, 1, kNoon + 600)});
  controller.Tick();
  EXPECT_FALSE(controller.RuleFileBehind());
  const CMyEvent before = *list.Find({kNoon - 700, 0});

  // repeat.ini refused: it is written first, so event.dat waits with it.
  fs.fail_writes_of = "repeat.ini";
  controller.Modify({kNoon - 700, 0}, before, before, RepeatEdit{true, Rule("FREQ=DAILY")});
  EXPECT_TRUE(controller.HasUnsavedChanges());
  EXPECT_TRUE(controller.RuleFileBehind());
  EXPECT_FALSE(controller.SaveBeforeExit());
  EXPECT_TRUE(controller.RuleFileBehind());

  // repeat.ini written now, event.dat refused: the event file is behind.
  fs.fail_writes_of = "event.dat";
  EXPECT_FALSE(controller.SaveBeforeExit());
  EXPECT_TRUE(controller.HasUnsavedChanges());
  EXPECT_FALSE(controller.RuleFileBehind());

  fs.fail_writes_of.clear();
  EXPECT_TRUE(controller.SaveBeforeExit());
  EXPECT_FALSE(controller.RuleFileBehind());
}

TEST_F(Controller, ADamagedFileIsToldOnceAndSetAsideBeforeTheNextSave) {
  WriteFromOutside({Event("a", kNoon), Event("b", kNoon + 1)});
  controller.Tick();
  fs.files[kPath].resize(fs.files[kPath].size() - 3);
  fs.Touch(kPath);
  ControllerResult first = controller.Tick();
  ASSERT_EQ(first.notices.size(), 1u);
  EXPECT_EQ(first.notices[0].kind, Notice::Kind::kDamagedFile);
  EXPECT_TRUE(controller.Tick().notices.empty());
  EXPECT_EQ(list.size(), 2u);  // the list in memory is kept

  ControllerResult added = controller.Add(Event("c", kNoon + 2));
  ASSERT_EQ(added.notices.size(), 1u);
  EXPECT_EQ(added.notices[0].kind, Notice::Kind::kDamagedKeptAs);
  EXPECT_EQ(TitlesOnDisk(), (Titles{"a", "b", "c"}));
}

TEST_F(Controller, EventsOfOneSecondAreChangedOneByOne) {
  // Three adds in one second (tallyo-cli, another copy): one creation time.
  WriteFromOutside({Event("first", kNoon, 1, kNoon + 600), Event("second", kNoon, 1, kNoon - 5),
                    Event("third", kNoon, 1, kNoon + 600)});
  controller.Tick();
  controller.ShowView(VIEW_ALL);
  EventPtrList rows;
  std::vector<EventKey> keys;
  controller.FillRows(rows, keys);
  ASSERT_EQ(keys, (std::vector<EventKey>{{kNoon, 0}, {kNoon, 1}, {kNoon, 2}}));

  // "Again in 5 minutes" for the second moves the second only.
  ReminderAnswer snooze;
  snooze.fields.nChoice = kRemindAfterMinutes;
  snooze.fields.nMinutes = 5;
  snooze.strContent = "body";
  controller.Answer(keys[1], snooze, kNoon);
  EXPECT_EQ(list.records()[0].timeRemind, kNoon + 600);
  EXPECT_EQ(list.records()[1].timeRemind, kNoon + 300);

  // Modify of the third leaves the others alone.
  CMyEvent after = list.records()[2];
  after.strTitle = "third, renamed";
  controller.Modify(keys[2], list.records()[2], after);
  // Delete of the second deletes the second.
  controller.Delete(keys[1]);
  EXPECT_EQ(TitlesOnDisk(), (Titles{"first", "third, renamed"}));
}

TEST_F(Controller, ARepeatingReminderMovesToItsNextOccurrenceWhenDone) {
  // Due every day at noon from today on.
  controller.Add(Event("stand-up", kNoon - 600, 1, kNoon), Rule("FREQ=DAILY"));
  const EventKey key{kNoon - 600, 0};
  ASSERT_NE(controller.RuleOf(key), nullptr);
  EXPECT_NE(fs.files["repeat.ini"].find("[1796615400]\r\nstart=2026-12-07 12:00:00\r\nrule=FREQ=DAILY\r\n"),
            std::string::npos)
      << fs.files["repeat.ini"];
  EXPECT_FALSE(controller.RepeatLine(key, kNoon).empty());

  // Snoozed: this alert moves, the series does not.
  ReminderAnswer snooze;
  snooze.fields.nChoice = kRemindAfterMinutes;
  snooze.fields.nMinutes = 5;
  snooze.strContent = "body";
  controller.Answer(key, snooze, kNoon);
  EXPECT_EQ(list.Find(key)->timeRemind, kNoon + 300);
  // Done, late and after missing days: the next noon after the answer.
  ReminderAnswer done;
  done.strContent = "notes";
  controller.Answer(key, done, kNoon + 3 * 86400 + 60);
  ASSERT_NE(list.Find(key), nullptr);
  EXPECT_EQ(list.Find(key)->timeRemind, kNoon + 4 * 86400);
  EXPECT_EQ(list.Find(key)->strContent, "notes");
  EXPECT_NE(fs.files["repeat.ini"].find("start=2026-12-07 12:00:00"), std::string::npos);

  // Delete takes the rule with it.
  controller.Delete(key);
  EXPECT_TRUE(list.empty());
  EXPECT_EQ(fs.files["repeat.ini"].find("1796615400"), std::string::npos);
}

TEST_F(Controller, AWorkdayReminderDoneOnFridayComesBackOnMonday) {
  const Time32 friday_nine = kNoon + 4 * 86400 - 3 * 3600;  // 2026-12-11 09:00, a Friday
  controller.Add(Event("stand-up", kNoon - 600, 1, friday_nine), Rule("FREQ=WEEKLY;BYDAY=MO,TU,WE,TH,FR"));
  const EventKey key{kNoon - 600, 0};
  ReminderAnswer done;
  done.strContent = "body";
  controller.Answer(key, done, friday_nine + 60);
  EXPECT_EQ(list.Find(key)->timeRemind, friday_nine + 3 * 86400);  // Monday 09:00
}

TEST_F(Controller, ModifyKeepsReplacesOrDropsTheRule) {
  controller.Add(Event("report", kNoon - 600, 1, kNoon + 3600), Rule("FREQ=WEEKLY"));
  const EventKey key{kNoon - 600, 0};
  CMyEvent before = *list.Find(key);
  // A new title alone leaves the rule as it is.
  CMyEvent after = before;
  after.strTitle = "weekly report";
  controller.Modify(key, before, after, RepeatEdit{});
  ASSERT_NE(controller.RuleOf(key), nullptr);
  EXPECT_EQ(*controller.RuleOf(key), Rule("FREQ=WEEKLY"));
  // Another entry replaces it.
  before = *list.Find(key);
  controller.Modify(key, before, before, RepeatEdit{true, Rule("FREQ=MONTHLY")});
  EXPECT_EQ(*controller.RuleOf(key), Rule("FREQ=MONTHLY"));
  // No reminder, no rule.
  before = *list.Find(key);
  after = before;
  after.bRemind = 0;
  controller.Modify(key, before, after, RepeatEdit{false, Rule("FREQ=MONTHLY")});
  EXPECT_EQ(controller.RuleOf(key), nullptr);
  EXPECT_EQ(fs.files["repeat.ini"].find("1796615400"), std::string::npos);
}

TEST_F(Controller, ARuleWrittenByAnotherProgramIsHonouredAtTheNextAnswer) {
  WriteFromOutside({Event("water", kNoon - 600, 1, kNoon)});
  controller.Tick();
  // tallyo-cli repeat --created ... daily, while the program runs.
  fs.files["repeat.ini"] = "[1796615400]\r\nstart=2026-12-07 12:00:00\r\nrule=FREQ=DAILY\r\n";
  fs.Touch("repeat.ini");
  EXPECT_TRUE(controller.Tick().list_changed);
  ReminderAnswer done;
  done.strContent = "body";
  controller.Answer({kNoon - 600, 0}, done, kNoon + 10);
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list.records()[0].timeRemind, kNoon + 86400);
}

TEST_F(Controller, RuleChangesNotSavedYetSurviveAnotherProgramsRules) {
  WriteFromOutside({Event("water", kNoon - 700, 1, kNoon), Event("stand-up", kNoon - 600, 1, kNoon + 3600)});
  controller.Tick();
  const std::string water_daily = "[1796615300]\r\nstart=2026-12-07 12:00:00\r\nrule=FREQ=DAILY\r\n";
  const std::string water_weekly = "[1796615300]\r\nstart=2026-12-07 12:00:00\r\nrule=FREQ=WEEKLY\r\n";
  const std::string stand_up_daily = "[1796615400]\r\nstart=2026-12-07 13:00:00\r\nrule=FREQ=DAILY\r\n";
  auto give_rule_to_stand_up = [&] {
    const CMyEvent before = *list.Find({kNoon - 600, 0});
    controller.Modify({kNoon - 600, 0}, before, before, RepeatEdit{true, Rule("FREQ=DAILY")});
  };
  auto written_by_cli = [&](const std::string& bytes) {
    fs.files["repeat.ini"] = bytes;
    fs.Touch("repeat.ini");
  };
  auto save_when_the_disk_takes_it = [&] {
    fs.fail_writes = false;
    fs.fail_writes_of.clear();
    for (int tick = 0; tick < 40 && controller.HasUnsavedChanges(); ++tick) controller.Tick();
    EXPECT_FALSE(controller.HasUnsavedChanges());
  };

  // Nothing can be saved; tallyo-cli gives the other event a rule meanwhile.
  fs.fail_writes = true;
  give_rule_to_stand_up();
  written_by_cli(water_daily);
  EXPECT_TRUE(controller.Tick().list_changed);
  EXPECT_NE(controller.RuleOf({kNoon - 700, 0}), nullptr);
  EXPECT_NE(controller.RuleOf({kNoon - 600, 0}), nullptr);
  save_when_the_disk_takes_it();
  EXPECT_EQ(fs.files["repeat.ini"], water_daily + stand_up_daily);

  // event.dat is saved, repeat.ini not; tallyo-cli changes the other rule.
  fs.fail_writes_of = "repeat.ini";
  {
    const CMyEvent before = *list.Find({kNoon - 600, 0});
    controller.Modify({kNoon - 600, 0}, before, before, RepeatEdit{true, std::nullopt});
  }
  EXPECT_TRUE(controller.HasUnsavedChanges());
  written_by_cli(water_weekly + stand_up_daily);
  controller.Tick();
  EXPECT_EQ(controller.RuleOf({kNoon - 600, 0}), nullptr);  // taken away here, and it stays so
  ASSERT_NE(controller.RuleOf({kNoon - 700, 0}), nullptr);
  EXPECT_EQ(*controller.RuleOf({kNoon - 700, 0}), Rule("FREQ=WEEKLY"));
  save_when_the_disk_takes_it();
  EXPECT_EQ(fs.files["repeat.ini"], water_weekly);
}

TEST_F(Controller, ARuleThatCannotBeReadIsToldOnceAndRemindsOnce) {
  WriteFromOutside({Event("odd", kNoon - 600, 1, kNoon)});
  fs.files["repeat.ini"] = "[1796615400]\r\nstart=2026-12-07 12:00:00\r\nrule=FREQ=FORTNIGHTLY\r\n";
  fs.Touch("repeat.ini");
  ControllerResult first = controller.Tick();
  ASSERT_EQ(first.notices.size(), 1u);
  EXPECT_EQ(first.notices[0].kind, Notice::Kind::kRepeatProblem);
  EXPECT_NE(first.notices[0].text.find("odd"), std::string::npos);
  EXPECT_TRUE(controller.Tick().notices.empty());
  ReminderAnswer done;
  done.strContent = "body";
  controller.Answer({kNoon - 600, 0}, done, kNoon + 10);
  EXPECT_TRUE(list.empty());  // a one-off
}

TEST_F(Controller, ManyRulesThatCannotBeReadAreToldInOneMessageOncePerChange) {
  std::vector<CMyEvent> events;
  std::string rules;
  for (Time32 i = 1; i <= 40; ++i) {
    events.push_back(Event(std::string("odd ").append(std::to_string(i)), kNoon - 1000 + i, 1, kNoon));
    rules.append("[").append(std::to_string(kNoon - 1000 + i));
    rules.append("]\r\nstart=2026-12-07 12:00:00\r\nrule=FREQ=FORTNIGHTLY\r\n");
  }
  WriteFromOutside(events);
  fs.files["repeat.ini"] = rules;
  fs.Touch("repeat.ini");
  ControllerResult first = controller.Tick();
  ASSERT_EQ(first.notices.size(), 1u);
  EXPECT_NE(first.notices[0].text.find(" 40 "), std::string::npos) << "how many";
  EXPECT_NE(first.notices[0].text.find("odd 1"), std::string::npos) << "the first by title";
  EXPECT_EQ(first.notices[0].text.find("odd 40"), std::string::npos) << "not all of them";
  // Another program adds a rule: the same problems are not told again.
  fs.files["repeat.ini"] +=
      "[" + std::to_string(kNoon - 1000 + 1) + "0]\r\nstart=2026-12-07 12:00:00\r\nrule=FREQ=DAILY\r\n";
  fs.Touch("repeat.ini");
  EXPECT_TRUE(controller.Tick().notices.empty());
  // A file of random bytes is told too.
  fs.files["repeat.ini"] = "\x8f\x01\x7f\xfe\r\n\x13\x37";
  fs.Touch("repeat.ini");
  ControllerResult garbage = controller.Tick();
  ASSERT_EQ(garbage.notices.size(), 1u);
  EXPECT_NE(garbage.notices[0].text.find("repeat.ini"), std::string::npos);
}

TEST_F(Controller, ViewsListTheirEvents) {
  WriteFromOutside(
      {Event("memo", kNoon), Event("reminder", kNoon + 1, 1, kNoon + 60), Event("yesterday", kNoon - 86400)});
  controller.Tick();
  auto titles = [&] {
    EventPtrList rows;
    std::vector<EventKey> keys;
    controller.FillRows(rows, keys);
    Titles t;
    for (const CMyEvent* e : rows) t.push_back(e->strTitle);
    return t;
  };
  controller.ShowDay(kNoon);
  EXPECT_EQ(titles(), (Titles{"memo", "reminder"}));
  controller.ShowView(VIEW_REMIND);
  EXPECT_EQ(titles(), Titles{"reminder"});
  controller.ShowMatches("YESTER");
  EXPECT_EQ(titles(), Titles{"yesterday"});
  controller.ShowView(VIEW_ALL);
  EXPECT_EQ(titles(), (Titles{"memo", "reminder", "yesterday"}));
}

}  // namespace
