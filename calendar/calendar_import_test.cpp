// The import on the lists: what is added, updated, kept and skipped, the
// same file twice, a file changed, an event the user changed, and the texts.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

#include "base/testing/memory_file_system.h"
#include "base/testing/zone_scope.h"
#include "calendar/import_steps.h"
#include "calendar/testing/memory_uid_book.h"
#include "events/event_folder.h"
#include "events/event_repeats.h"

namespace {

constexpr Time32 kNow = 1796688000;  // 2026-12-08 00:00 UTC

std::string Component(const std::string& uid, const std::string& lines, const std::string& kind = "VEVENT") {
  return "BEGIN:" + kind + "\r\nUID:" + uid + "\r\n" + lines + "END:" + kind + "\r\n";
}

std::string Calendar(const std::string& components) {
  return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Tallyo//import test//EN\r\n" + components +
         "END:VCALENDAR\r\n";
}

// Five events of every fate, with one damaged among them.
std::string MixedCalendar(const std::string& meeting_title = "Meeting") {
  return Calendar(Component("meeting", "SUMMARY:" + meeting_title + "\r\nDTSTART:20261210T100000\r\n") +
                  Component("weekly", "SUMMARY:Weekly\r\nDTSTART:20261201T090000\r\nRRULE:FREQ=WEEKLY\r\n") +
                  Component("gone", "SUMMARY:Gone\r\nDTSTART:20261101T090000\r\n") +
                  Component("done", "SUMMARY:Done\r\nSTATUS:COMPLETED\r\n", "VTODO") +
                  Component("emoji", "SUMMARY:\xf0\x9f\x8e\x82\r\n", "VJOURNAL") +
                  Component("damaged", "SUMMARY:Damaged\r\n", "VEVENT"));
}

class ImportTest : public ::testing::Test {
 protected:
  ImportPlan Plan(const std::string& ics, bool past = false) {
    return PlanImportInto(ics, events, rules, uids, Options(past));
  }
  ImportCounts PlanAndApply(const std::string& ics, bool past = false) {
    ImportPlan plan = Plan(ics, past);
    return ApplyImportTo(plan, events, rules, uids, plan.options, {});
  }
  static ImportOptions Options(bool past) {
    ImportOptions options;
    options.now = kNow;
    options.past = past;
    return options;
  }
  CMyEvent* EventOf(const std::string& uid) {
    std::optional<EventKey> key = uids.Find(uid);
    return key ? events.Find(*key) : nullptr;
  }

  ZoneScope zone{"Asia/Shanghai"};
  MemoryFileSystem files;
  EventList events{files, "/dir/event.dat"};
  RepeatRules rules;
  MemoryUidBook uids;
};

TEST_F(ImportTest, APlanCountsEveryFateAndWritesNothing) {
  ImportPlan plan = Plan(MixedCalendar());
  EXPECT_FALSE(plan.unreadable);
  EXPECT_EQ(plan.counts.to_add, 3);  // meeting, weekly, the journal
  EXPECT_EQ(plan.counts.repeating, 1);
  EXPECT_EQ(plan.counts.skipped_past, 1);
  EXPECT_EQ(plan.counts.skipped_done, 1);
  EXPECT_EQ(plan.counts.bad, 1);
  EXPECT_EQ(plan.counts.marked_events, 1);
  ASSERT_EQ(plan.problems.size(), 1u);
  EXPECT_EQ(plan.problems[0].component,
            "\xca\xc2\xbc\xfe \xa1\xb0"
            "Damaged\xa1\xb1");  // 事件 “Damaged”
  EXPECT_TRUE(events.empty());
  EXPECT_TRUE(uids.keys.empty());
  // 导入 3 个事件（其中 1 个重复）？
  EXPECT_EQ(ImportQuestion(plan.counts),
            "\xb5\xbc\xc8\xeb 3 \xb8\xf6\xca\xc2\xbc\xfe\xa3\xa8\xc6\xe4\xd6\xd0 1 "
            "\xb8\xf6\xd6\xd8\xb8\xb4\xa3\xa9\xa3\xbf");
}

TEST_F(ImportTest, AppliedEventsCarryTheirFieldsRulesAndUids) {
  ImportCounts counts = PlanAndApply(MixedCalendar());
  EXPECT_EQ(counts.to_add, 3);
  EXPECT_EQ(counts.repeating, 1);
  ASSERT_EQ(events.size(), 3u);
  const CMyEvent* meeting = EventOf("meeting");
  ASSERT_NE(meeting, nullptr);
  EXPECT_EQ(std::string(meeting->strTitle), "Meeting");
  EXPECT_EQ(meeting->bRemind, 1);
  EXPECT_EQ(FormatTime(meeting->timeRemind), "2026-12-10 10:00:00");
  const CMyEvent* weekly = EventOf("weekly");
  ASSERT_NE(weekly, nullptr);
  EXPECT_EQ(FormatTime(weekly->timeRemind), "2026-12-08 09:00:00");
  const RepeatSeries* series = SeriesOfEvent(rules, *weekly, *uids.Find("weekly"));
  ASSERT_NE(series, nullptr);
  EXPECT_EQ(FormatRepeatRule(series->rule()), "FREQ=WEEKLY");
  EXPECT_EQ(FormatWallTime(series->start()), "2026-12-01 09:00:00");
  const CMyEvent* journal = EventOf("emoji");
  ASSERT_NE(journal, nullptr);
  EXPECT_EQ(journal->bRemind, 0);
  // Each in a second of its own, from now on.
  EXPECT_GE(meeting->timeCreate, kNow);
  EXPECT_NE(meeting->timeCreate, weekly->timeCreate);
}

TEST_F(ImportTest, TheSameFileAgainChangesNothing) {
  PlanAndApply(MixedCalendar());
  const std::string before = rules.ToBytes();
  ImportCounts again = PlanAndApply(MixedCalendar());
  EXPECT_EQ(again.to_add, 0);
  EXPECT_EQ(again.to_update, 0);
  EXPECT_EQ(again.unchanged, 3);
  EXPECT_EQ(events.size(), 3u);
  EXPECT_EQ(rules.ToBytes(), before);
}

TEST_F(ImportTest, AChangedComponentUpdatesItsEvent) {
  PlanAndApply(MixedCalendar());
  const Time32 created = EventOf("meeting")->timeCreate;
  ImportCounts counts = PlanAndApply(MixedCalendar("Meeting moved"));
  EXPECT_EQ(counts.to_update, 1);
  EXPECT_EQ(counts.unchanged, 2);
  EXPECT_EQ(std::string(EventOf("meeting")->strTitle), "Meeting moved");
  EXPECT_EQ(EventOf("meeting")->timeCreate, created);
  EXPECT_EQ(events.size(), 3u);
}

TEST_F(ImportTest, AnEventTheUserChangedIsKept) {
  PlanAndApply(MixedCalendar());
  EventOf("meeting")->strTitle = SharedText(std::string("My meeting"));
  // A series the user answered moves on: that is no change of theirs.
  EventOf("weekly")->timeRemind += 7 * 86400;
  ImportCounts counts = PlanAndApply(MixedCalendar("Meeting moved"));
  EXPECT_EQ(counts.kept_user_changes, 1);
  EXPECT_EQ(counts.to_update, 0);
  EXPECT_EQ(counts.unchanged, 2);
  EXPECT_EQ(std::string(EventOf("meeting")->strTitle), "My meeting");
}

TEST_F(ImportTest, ATallyoEventMatchedByItsUidIsNotDoubled) {
  // A Tallyo event exported before: its UID is known, it never came from an import.
  events.Add(CMyEvent(SharedText(std::string("Mine")), 1000, SharedText(), 1, kNow + 3600));
  uids.keys["1000-0@tallyo.example"] = EventKey{1000, 0};
  ImportCounts counts = PlanAndApply(
      Calendar(Component("1000-0@tallyo.example", "SUMMARY:Mine, renamed\r\nDTSTART:20261208T090000\r\n")));
  EXPECT_EQ(counts.kept_user_changes, 1);
  EXPECT_EQ(events.size(), 1u);
}

TEST_F(ImportTest, PastOneOffsBecomeMemosWithPast) {
  ImportCounts counts = PlanAndApply(MixedCalendar(), /*past=*/true);
  EXPECT_EQ(counts.to_add, 4);
  EXPECT_EQ(counts.skipped_past, 0);
  ASSERT_NE(EventOf("gone"), nullptr);
  EXPECT_EQ(EventOf("gone")->bRemind, 0);
}

TEST_F(ImportTest, AFileThatIsNoCalendarIsUnreadable) {
  ImportPlan plan = Plan("PK\x03\x04 a zip file");
  EXPECT_TRUE(plan.unreadable);
  EXPECT_FALSE(plan.unreadable_reason.empty());
  EXPECT_TRUE(plan.items.empty());
}

TEST_F(ImportTest, TheSameUidTwiceIsAProblemAndTheFirstComes) {
  ImportPlan plan = Plan(Calendar(Component("a", "SUMMARY:First\r\nDTSTART:20261210T100000\r\n") +
                                  Component("a", "SUMMARY:Second\r\nDTSTART:20261211T100000\r\n")));
  EXPECT_EQ(plan.counts.to_add, 1);
  EXPECT_EQ(plan.counts.bad, 1);
  ASSERT_EQ(plan.items.size(), 1u);
  EXPECT_EQ(plan.items[0].title, "First");
}

TEST_F(ImportTest, AComponentWithoutUidIsFoundAgainByItsText) {
  const std::string ics =
      Calendar("BEGIN:VEVENT\r\nSUMMARY:No uid\r\nDTSTART:20261210T100000\r\nEND:VEVENT\r\n");
  EXPECT_EQ(PlanAndApply(ics).to_add, 1);
  EXPECT_EQ(PlanAndApply(ics).unchanged, 1);
}

// A calendar of the usual shape is read a component at a time; any other
// shape whole. Both readings plan the same.
TEST_F(ImportTest, ReadingByComponentsPlansAsReadingWhole) {
  int files_read = 0;
  for (const auto& entry : std::filesystem::directory_iterator(CALENDAR_TEST_FILES)) {
    std::ifstream in(entry.path(), std::ios::binary);
    const std::string ics((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // A second, empty calendar after it makes the shape unusual.
    const std::string twice = ics + "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nEND:VCALENDAR\r\n";
    const ImportPlan by_components = Plan(ics);
    const ImportPlan whole = Plan(twice);
    EXPECT_EQ(by_components.items, whole.items) << entry.path();
    EXPECT_EQ(ImportSummary(by_components.counts, by_components.problems),
              ImportSummary(whole.counts, whole.problems))
        << entry.path();
    ++files_read;
  }
  EXPECT_GE(files_read, 6);
}

TEST_F(ImportTest, AComponentLibicalCannotReadIsNamedByItsPlace) {
  ImportPlan plan = Plan(Calendar(Component("a", "SUMMARY:First\r\nDTSTART:20261210T100000\r\n") +
                                  "BEGIN:VEVENT\r\nBEGIN:VALARM\r\nEND:VEVENT\r\nEND:VALARM\r\n"));
  EXPECT_EQ(plan.counts.to_add, 1);
}

// Through the folder's door: saved with the UIDs in uids.ini, and a second
// program's import of the same file finds every event.
TEST(FolderImport, SavedWithItsUidsAndFoundAgainByAnotherWriter) {
  ZoneScope zone("Asia/Shanghai");
  MemoryFileSystem files;
  ImportOptions options;
  options.now = kNow;
  auto import_once = [&](const std::string& ics, ImportCounts* planned) {
    EventList events(files, "/dir/event.dat");
    events.LoadEvents();
    RepeatRules rules;
    RepeatStore store(files, RepeatFilePathBeside(events.FilePath()));
    store.Load(&rules);
    BindRules(events, rules);
    EventFolder folder(files, events, rules, store);
    ImportPlan plan = PlanImport(ics, folder, options);
    *planned = plan.counts;
    return ApplyImport(plan, folder);
  };
  ImportCounts planned;
  ImportOutcome first = import_once(MixedCalendar(), &planned);
  EXPECT_TRUE(first.saved) << first.message;
  EXPECT_EQ(first.counts.to_add, 3);
  EXPECT_EQ(files.files.count("/dir/uids.ini"), 1u);
  EXPECT_NE(files.files["/dir/uids.ini"].find("uid=weekly"), std::string::npos);

  ImportOutcome second = import_once(MixedCalendar(), &planned);
  EXPECT_TRUE(second.saved);
  EXPECT_EQ(planned.unchanged, 3);
  EXPECT_EQ(second.counts.unchanged, 3);
  EXPECT_EQ(second.counts.to_add, 0);
  const std::string before = files.files["/dir/event.dat"];
  ImportOutcome third = import_once(MixedCalendar("Meeting moved"), &planned);
  EXPECT_EQ(third.counts.to_update, 1);
  EXPECT_NE(files.files["/dir/event.dat"], before);
}

// Many new events at once: their UIDs written as one piece, also beside
// UIDs kept before and UIDs that need quoting; found again by the next import.
TEST(FolderImport, ManyNewEventsKeepTheirUids) {
  ZoneScope zone("Asia/Shanghai");
  MemoryFileSystem files;
  ImportOptions options;
  options.now = kNow;
  auto import_once = [&](const std::string& ics) {
    EventList events(files, "/dir/event.dat");
    events.LoadEvents();
    RepeatRules rules;
    RepeatStore store(files, RepeatFilePathBeside(events.FilePath()));
    store.Load(&rules);
    BindRules(events, rules);
    EventFolder folder(files, events, rules, store);
    return ApplyImport(PlanImport(ics, folder, options), folder);
  };
  auto calendar_of = [](int from, int to) {
    std::string components;
    for (int i = from; i < to; ++i) {
      const std::string uid = i % 10 == 3 ? " odd; \"uid\" " + std::to_string(i) : "uid-" + std::to_string(i);
      components += Component(uid, "SUMMARY:Event " + std::to_string(i) + "\r\nDTSTART:20270101T100000\r\n");
    }
    return Calendar(components);
  };
  EXPECT_EQ(import_once(calendar_of(0, 5)).counts.to_add, 5);
  EXPECT_EQ(import_once(calendar_of(0, 40)).counts.to_add, 35);
  ImportOutcome again = import_once(calendar_of(0, 40));
  EXPECT_EQ(again.counts.to_add, 0);
  EXPECT_EQ(again.counts.unchanged, 40);
  EventUids read(files.files["/dir/uids.ini"]);
  EXPECT_EQ(read.size(), 40u);
}

TEST(ImportTexts, TheSummaryNamesWhatHappenedAndWhatCouldNotBeRead) {
  ImportCounts counts;
  counts.to_add = 2;
  counts.repeating = 1;
  counts.skipped_past = 4;
  counts.bad = 1;
  counts.marked_events = 1;
  const std::string summary = ImportSummary(counts, {ImportProblem{"X", "why"}});
  // 新增 2 个事件（其中 1 个重复）
  EXPECT_EQ(summary.substr(0, summary.find("\r\n")),
            "\xd0\xc2\xd4\xf6 2 \xb8\xf6\xca\xc2\xbc\xfe\xa3\xa8\xc6\xe4\xd6\xd0 1 "
            "\xb8\xf6\xd6\xd8\xb8\xb4\xa3\xa9");
  EXPECT_NE(summary.find("\xcc\xf8\xb9\xfd 4 "), std::string::npos);                 // 跳过 4
  EXPECT_NE(summary.find("X\xa3\xbawhy"), std::string::npos);                        // X：why
  EXPECT_NE(summary.find("1 \xb8\xf6\xca\xc2\xbc\xfe\xd6\xd0"), std::string::npos);  // 1 个事件中 (marked)
  // Nothing at all.
  EXPECT_EQ(ImportSummary(ImportCounts(), {}),
            "\xc3\xbb\xd3\xd0\xd0\xe8\xd2\xaa\xb5\xbc\xc8\xeb\xb5\xc4\xca\xc2\xbc\xfe");
}

}  // namespace
