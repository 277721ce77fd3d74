#include "events/event_repeats.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/testing/memory_file_system.h"
#include "events/testing/events_test_util.h"

namespace {

const std::string kEvents = "event.dat";
const std::string kRules = "repeat.ini";

// Remembers the order in which files were replaced, and can fail the writes of one file.
class OrderedFileSystem : public MemoryFileSystem {
 public:
  std::vector<std::string> written;
  std::string failing;
  Status ReplaceFile(const std::string& path, std::string_view contents) override {
    if (path == failing) return Status::IoError(path + ": no space left on device");
    written.push_back(path);
    return MemoryFileSystem::ReplaceFile(path, contents);
  }
};

// A daily reminder at 09:00 created at 100, and a one-off created at 200.
struct Fixture {
  OrderedFileSystem fs;
  EventList events{fs, kEvents};
  RepeatRules rules;
  RepeatStore store{fs, kRules};

  Fixture() {
    events.Add(MakeEvent("stand-up", 100, "", 1, At("2026-12-08 09:00:00")));
    events.Add(MakeEvent("dentist", 200, "", 1, At("2026-12-09 15:00:00")));
    EXPECT_EQ(SetEventRepeat(events, rules, {100, 0}, Rule("FREQ=DAILY")), SetRepeatResult::kSet);
  }
};

}  // namespace

TEST(EventRepeats, AcknowledgingMovesARepeatingReminderToItsNextOccurrence) {
  Fixture f;
  EXPECT_EQ(AcknowledgeReminder(f.events, f.rules, {100, 0}, At("2026-12-08 09:00:30")),
            AcknowledgeResult::kMoved);
  EXPECT_EQ(f.events.FindByCreateTime(100)->timeRemind, At("2026-12-09 09:00:00"));
  // Three days off: one alert, then on to the first occurrence after the answer.
  EXPECT_EQ(AcknowledgeReminder(f.events, f.rules, {100, 0}, At("2026-12-12 17:00:00")),
            AcknowledgeResult::kMoved);
  EXPECT_EQ(f.events.FindByCreateTime(100)->timeRemind, At("2026-12-13 09:00:00"));
  EXPECT_EQ(FormatWallTime(f.rules.SeriesOf(100)->start()), "2026-12-08 09:00:00") << "the start stays";

  EXPECT_EQ(AcknowledgeReminder(f.events, f.rules, {200, 0}, At("2026-12-09 15:00:00")),
            AcknowledgeResult::kDeleted);
  EXPECT_EQ(f.events.FindByCreateTime(200), nullptr);
  EXPECT_EQ(AcknowledgeReminder(f.events, f.rules, {200, 0}, At("2026-12-09 15:00:00")),
            AcknowledgeResult::kGone);
}

TEST(EventRepeats, ASeriesWithNothingLeftOrARuleThatCannotBeReadEndsLikeAOneOff) {
  Fixture f;
  ASSERT_EQ(SetEventRepeat(f.events, f.rules, {100, 0}, Rule("FREQ=DAILY;COUNT=2")), SetRepeatResult::kSet);
  EXPECT_EQ(AcknowledgeReminder(f.events, f.rules, {100, 0}, At("2026-12-08 09:01:00")),
            AcknowledgeResult::kMoved);
  EXPECT_EQ(AcknowledgeReminder(f.events, f.rules, {100, 0}, At("2026-12-09 09:01:00")),
            AcknowledgeResult::kDeleted);
  EXPECT_EQ(f.events.FindByCreateTime(100), nullptr);
  EXPECT_EQ(f.rules.Find(100), nullptr);

  f.rules = RepeatRules("[200]\r\nstart=2026-12-09 15:00:00\r\nrule=FREQ=FORTNIGHTLY\r\n");
  EXPECT_EQ(SeriesOfEvent(f.rules, *f.events.FindByCreateTime(200), {200, 0}), nullptr);
  EXPECT_EQ(AcknowledgeReminder(f.events, f.rules, {200, 0}, At("2026-12-09 15:00:00")),
            AcknowledgeResult::kDeleted);
}

TEST(EventRepeats, ASeriesStartsAtTheReminderTimeOrTheFirstDayItNames) {
  Fixture f;
  f.events.Add(MakeEvent("report", 300, "", 1, At("2026-12-12 18:00:00")));  // a Saturday
  ASSERT_EQ(SetEventRepeat(f.events, f.rules, {300, 0}, Rule("FREQ=WEEKLY;BYDAY=MO,TU,WE,TH,FR")),
            SetRepeatResult::kSet);
  EXPECT_EQ(f.events.FindByCreateTime(300)->timeRemind, At("2026-12-14 18:00:00"));
  EXPECT_EQ(FormatWallTime(f.rules.SeriesOf(300)->start()), "2026-12-14 18:00:00");

  // A rule without an occurrence from there on changes nothing.
  EXPECT_EQ(SetEventRepeat(f.events, f.rules, {200, 0}, Rule("FREQ=DAILY;UNTIL=20261201T000000")),
            SetRepeatResult::kNoOccurrence);
  EXPECT_EQ(f.rules.Find(200), nullptr);
  EXPECT_EQ(f.events.FindByCreateTime(200)->timeRemind, At("2026-12-09 15:00:00"));

  EXPECT_EQ(SetEventRepeat(f.events, f.rules, {300, 0}, std::nullopt), SetRepeatResult::kRemoved);
  EXPECT_EQ(f.rules.Find(300), nullptr);
  EXPECT_EQ(SetEventRepeat(f.events, f.rules, {999, 0}, Rule("FREQ=DAILY")), SetRepeatResult::kNoSuchEvent);

  // A memo has no reminder time; one that lost its reminder loses its rule.
  f.events.FindByCreateTime(100)->bRemind = 0;
  EXPECT_EQ(SeriesOfEvent(f.rules, *f.events.FindByCreateTime(100), {100, 0}), nullptr);
  EXPECT_EQ(SetEventRepeat(f.events, f.rules, {100, 0}, Rule("FREQ=DAILY")), SetRepeatResult::kNotAReminder);
  EXPECT_EQ(f.rules.Find(100), nullptr);
}

TEST(EventRepeats, ASeriesWithDatesStartsAtItsFirstOccurrenceLeft) {
  Fixture f;
  RepeatDates dates;
  std::string bad;
  ASSERT_TRUE(ParseWallTimeList("2026-12-09 15:00:00,2026-12-10 15:00:00", &dates.removed, &bad));
  ASSERT_TRUE(ParseWallTimeList("2026-12-10 08:00:00", &dates.added, &bad));
  ASSERT_EQ(SetEventRepeat(f.events, f.rules, {200, 0}, Rule("FREQ=DAILY"), dates), SetRepeatResult::kSet);
  EXPECT_EQ(f.events.FindByCreateTime(200)->timeRemind, At("2026-12-10 08:00:00"));
  EXPECT_EQ(FormatWallTime(f.rules.SeriesOf(200)->start()), "2026-12-09 15:00:00");
  EXPECT_EQ(f.rules.SeriesOf(200)->dates(), dates);
  EXPECT_EQ(f.rules.Find(200)->exdate_text, "2026-12-09 15:00:00,2026-12-10 15:00:00");

  // Every occurrence taken away: nothing changes.
  ASSERT_TRUE(ParseWallTimeList("2026-12-10 08:00:00", &dates.removed, &bad));
  dates.added.clear();
  EXPECT_EQ(SetEventRepeat(f.events, f.rules, {200, 0}, Rule("FREQ=DAILY;COUNT=1"), dates),
            SetRepeatResult::kNoOccurrence);
  EXPECT_EQ(f.events.FindByCreateTime(200)->timeRemind, At("2026-12-10 08:00:00"));
}

TEST(EventRepeats, EveryEventOfASecondMayRepeatAndKeepsItsOwnRule) {
  Fixture f;
  // An older file's second event of second 100 (key 100-1).
  f.events.Add(MakeEvent("twin", 100, "", 1, At("2026-12-08 10:00:00")));
  const CMyEvent& twin = f.events.records().back();
  EXPECT_EQ(SeriesOfEvent(f.rules, twin, {100, 1}), nullptr);
  EXPECT_EQ(SetEventRepeat(f.events, f.rules, {100, 1}, Rule("FREQ=WEEKLY")), SetRepeatResult::kSet);
  ASSERT_NE(SeriesOfEvent(f.rules, twin, {100, 1}), nullptr);
  EXPECT_EQ(SeriesOfEvent(f.rules, twin, {100, 1})->rule(), Rule("FREQ=WEEKLY"));
  EXPECT_EQ(f.rules.SeriesOf(100)->rule(), Rule("FREQ=DAILY")) << "the first one's rule stays";

  // The first one deleted: the twin takes its place, with its own rule.
  f.events.Add(MakeEvent("third", 100, "", 1, At("2026-12-08 11:00:00")));
  EXPECT_TRUE(DeleteEventAndRule(f.events, f.rules, {100, 0}));
  EXPECT_EQ(f.events.Find({100, 0})->strTitle, "twin");
  ASSERT_NE(f.rules.SeriesOf(RuleKey{100, 0}), nullptr);
  EXPECT_EQ(f.rules.SeriesOf(RuleKey{100, 0})->rule(), Rule("FREQ=WEEKLY"));
  EXPECT_EQ(f.rules.Find(RuleKey{100, 1}), nullptr) << "the third never had one";
  EXPECT_FALSE(DeleteEventAndRule(f.events, f.rules, {100, 2}));
}

TEST(EventRepeats, ARuleFindsItsEventAfterAnOlderToolDeletedOneOfItsSecond) {
  // Three events of second 100 and their rules, as a save wrote them.
  MemoryFileSystem fs;
  EventList list(fs, kEvents);
  list.Add(MakeEvent("a", 100, "", 1, At("2026-12-08 09:00:00")));
  list.Add(MakeEvent("b", 100, "", 1, At("2026-12-08 10:00:00")));
  list.Add(MakeEvent("c", 100, "", 1, At("2026-12-08 11:00:00")));
  RepeatRules rules;
  ASSERT_EQ(SetEventRepeat(list, rules, {100, 0}, Rule("FREQ=DAILY")), SetRepeatResult::kSet);
  ASSERT_EQ(SetEventRepeat(list, rules, {100, 2}, Rule("FREQ=WEEKLY")), SetRepeatResult::kSet);
  EXPECT_TRUE(NameAndFingerprintRules(list, rules));
  const std::string saved = rules.ToBytes();
  EXPECT_EQ(saved, "[100]\r\nstart=2026-12-08 09:00:00\r\nrule=FREQ=DAILY\r\nevents=3\r\ntitle=" +
                       std::string("e40c292c") +
                       "\r\n[100-2]\r\nstart=2026-12-08 11:00:00\r\nrule=FREQ=WEEKLY\r\nevents=3\r\ntitle=" +
                       "e60c2c52\r\n");
  EXPECT_FALSE(NameAndFingerprintRules(list, rules)) << "written once";

  // An older tool deletes "a": its daily rule does not pass to "b", and
  // "c" (now in place 1) keeps its weekly one.
  ASSERT_TRUE(list.Delete({100, 0}));
  RepeatRules loaded(saved);
  BindRules(list, loaded);
  EXPECT_EQ(loaded.Find(RuleKey{100, 0}), nullptr);
  ASSERT_NE(loaded.SeriesOf(RuleKey{100, 1}), nullptr);
  EXPECT_EQ(loaded.SeriesOf(RuleKey{100, 1})->rule(), Rule("FREQ=WEEKLY"));
  // The next save names the section by the place it has now.
  EXPECT_TRUE(NameAndFingerprintRules(list, loaded));
  EXPECT_EQ(loaded.ToBytes(),
            "[100-1]\r\nstart=2026-12-08 11:00:00\r\nrule=FREQ=WEEKLY\r\nevents=2\r\ntitle=" +
                std::string("e60c2c52") + "\r\n");

  // Another deletes "b" too: "c" is alone in its second, without a fingerprint.
  ASSERT_TRUE(list.Delete({100, 0}));
  BindRules(list, loaded);
  EXPECT_TRUE(NameAndFingerprintRules(list, loaded));
  EXPECT_EQ(loaded.ToBytes(), "[100]\r\nstart=2026-12-08 11:00:00\r\nrule=FREQ=WEEKLY\r\n");
  // A section without fingerprint keeps its place, as older versions read it.
  RepeatRules old(
      "[100]\r\nstart=2026-12-08 11:00:00\r\nrule=FREQ=HOURLY\r\n[100-1]\r\nstart=x\r\nrule=y\r\n");
  BindRules(list, old);
  EXPECT_NE(old.Find(RuleKey{100, 0}), nullptr);
  EXPECT_EQ(old.Find(RuleKey{100, 1}), nullptr) << "no event in place 1";
}
