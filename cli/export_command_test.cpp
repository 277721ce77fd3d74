// Runs the built tallyo-cli's export on a fresh folder and reads what it
// wrote back with libical.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "cli/testing/cli_test_folder.h"
#include "cli/testing/ics_reading.h"
#include "events/event_archive.h"
#include "events/testing/events_test_util.h"

namespace {

namespace fs = std::filesystem;

// "会议" (meeting), a reminder; a memo "shopping list" created earlier on the
// same local day (2026-12-07, Asia/Shanghai); a memo of the next day; and two
// records made within one second.
EventVector FiveEvents() {
  EventVector v;
  v.push_back(
      MakeEvent("\xbb\xe1\xd2\xe9", 1796605200, "Room 4\r\nBring the slides; and pens", 1, 1796689800));
  v.push_back(MakeEvent("shopping list", 1796600000, "eggs, milk", 0, 123));
  v.push_back(MakeEvent("third", 1796700000));
  v.push_back(MakeEvent("same second A", 1796700500));
  v.push_back(MakeEvent("same second B", 1796700500, "", 1, 1796800000));
  return v;
}

class ExportCommand : public CliTestFolder {
 protected:
  fs::path EventFile() const { return dir_ / "event.dat"; }

  void Store(const EventVector& events) { WriteFileBytes(EventFile(), WriteEventArchive(events)); }

  // The calendar on standard output, read back; expects the exit code.
  ReadCalendar Export(const std::vector<std::string>& view, int exit_code = 0) {
    std::vector<std::string> args = {"export", "--ics"};
    args.insert(args.end(), view.begin(), view.end());
    CliRun run = RunCli(args);
    EXPECT_EQ(run.exit_code, exit_code) << run.err;
    ReadCalendar read = ReadIcs(run.out);
    EXPECT_TRUE(read.parsed) << run.out;
    EXPECT_EQ(read.errors, 0) << read.first_error;
    return read;
  }

  static std::vector<std::string> Summaries(const ReadCalendar& read) {
    std::vector<std::string> out;
    for (const ReadComponent& c : read.components) out.push_back(c.summary);
    return out;
  }
};

}  // namespace

TEST_F(ExportCommand, AllEventsInStoredOrderReadBack) {
  EventVector events = FiveEvents();
  Store(events);
  CliRun run = RunCli({"export", "--ics"});
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_TRUE(run.err.empty()) << run.err;
  EXPECT_EQ(run.out.rfind("BEGIN:VCALENDAR\r\nVERSION:2.0\r\n", 0), 0u);
  ReadCalendar read = ReadIcs(run.out);
  ASSERT_EQ(read.components.size(), events.size());
  for (std::size_t i = 0; i < events.size(); ++i) ExpectReadsBackAs(read.components[i], events[i]);
  EXPECT_EQ(read.components[0].summary, "会议");
  EXPECT_EQ(read.components[0].description, "Room 4\nBring the slides; and pens");
  EXPECT_EQ(read.components[0].uid, "1796605200-0@tallyo.example");
  EXPECT_EQ(read.components[3].uid, "1796700500-0@tallyo.example");
  EXPECT_EQ(read.components[4].uid, "1796700500-1@tallyo.example");
  // --all is the default.
  EXPECT_EQ(RunCli({"export", "--ics", "--all"}).out, run.out);
}

TEST_F(ExportCommand, ViewsChooseTheEventsAndKeepTheirUids) {
  Store(FiveEvents());
  ReadCalendar all = Export({});
  auto uid_of = [&](const std::string& summary) {
    for (const ReadComponent& c : all.components) {
      if (c.summary == summary) return c.uid;
    }
    return std::string("none");
  };

  ReadCalendar remind = Export({"--remind"});
  EXPECT_EQ(Summaries(remind), (std::vector<std::string>{"会议", "same second B"}));
  for (const ReadComponent& c : remind.components) EXPECT_EQ(c.uid, uid_of(c.summary));
  EXPECT_EQ(remind.components[1].uid, "1796700500-1@tallyo.example");

  ReadCalendar memo = Export({"--memo"});
  EXPECT_EQ(Summaries(memo), (std::vector<std::string>{"shopping list", "third", "same second A"}));
  for (const ReadComponent& c : memo.components) {
    EXPECT_EQ(c.kind, "VJOURNAL");
    EXPECT_EQ(c.uid, uid_of(c.summary));
  }

  EXPECT_EQ(Summaries(Export({"--day", "2026-12-07"})), (std::vector<std::string>{"shopping list", "会议"}));
  EXPECT_EQ(Summaries(Export({"--find", "SLIDES"})), std::vector<std::string>{"会议"});
  EXPECT_EQ(Summaries(Export({"--find", "会"})), std::vector<std::string>{"会议"});
  EXPECT_TRUE(Export({"--day", "2030-01-01"}).components.empty());
}

TEST_F(ExportCommand, AnEditKeepsTheUids) {
  EventVector events = FiveEvents();
  Store(events);
  ReadCalendar before = Export({});
  events[4].strTitle = "renamed";
  events[4].strContent = "and a body";
  events[4].timeRemind += 3600;
  events[0].bRemind = 0;
  Store(events);
  ReadCalendar after = Export({});
  ASSERT_EQ(after.components.size(), before.components.size());
  for (std::size_t i = 0; i < events.size(); ++i) {
    EXPECT_EQ(after.components[i].uid, before.components[i].uid) << i;
    ExpectReadsBackAs(after.components[i], events[i]);
  }
}

TEST_F(ExportCommand, DeletingATwinChangesNoOtherUid) {
  EventVector events = FiveEvents();
  events.push_back(MakeEvent("same second C", 1796700500));
  Store(events);
  ReadCalendar before = Export({});
  ASSERT_EQ(before.components.size(), 6u);
  EXPECT_EQ(before.components[4].uid, "1796700500-1@tallyo.example");
  ASSERT_EQ(RunCli({"delete", "--created", "1796700500"}).exit_code, 0);
  EXPECT_TRUE(fs::exists(dir_ / "uids.ini"));
  ReadCalendar after = Export({});
  ASSERT_EQ(after.components.size(), 5u);
  EXPECT_EQ(after.components[3].summary, "same second B");
  EXPECT_EQ(after.components[3].uid, before.components[4].uid);
  EXPECT_EQ(after.components[4].uid, before.components[5].uid);
  // An older tool that rewrites event.dat (knowing nothing of uids.ini)
  // and deletes B too: C keeps its UID, found by its title.
  events.erase(events.begin() + 3, events.begin() + 5);
  Store(events);
  after = Export({});
  ASSERT_EQ(after.components.size(), 4u);
  EXPECT_EQ(after.components[3].summary, "same second C");
  EXPECT_EQ(after.components[3].uid, before.components[5].uid);
}

TEST_F(ExportCommand, MissingFileGivesAnEmptyCalendar) {
  ReadCalendar read = Export({});
  EXPECT_TRUE(read.components.empty());
  EXPECT_FALSE(fs::exists(EventFile()));
}

TEST_F(ExportCommand, OutReplacesTheFileInOneStep) {
  Store(FiveEvents());
  fs::path out = dir_ / "日历.ics";
  WriteFileBytes(out, "an older export");
  CliRun run = RunCli({"export", "--ics", "--remind", "--out", out.string()});
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_TRUE(run.out.empty());
  std::string written = ReadFileBytes(out);
  EXPECT_EQ(written, RunCli({"export", "--ics", "--remind"}).out);
  EXPECT_EQ(ReadIcs(written).components.size(), 2u);
  EXPECT_FALSE(fs::exists(out.string() + ".tmp"));

  // A folder that does not exist: a message, and nothing else changes.
  CliRun nowhere = RunCli({"export", "--ics", "--out", (dir_ / "missing" / "x.ics").string()});
  EXPECT_EQ(nowhere.exit_code, 1);
  EXPECT_NE(nowhere.err.find("not written"), std::string::npos) << nowhere.err;
  EXPECT_FALSE(fs::exists(dir_ / "missing"));
}

TEST_F(ExportCommand, ALongListReadsBackInOrderOnStandardOutputAndInAFile) {
  // Several thousand events: standard output gets the calendar in pieces,
  // a file gets it in one; both alike.
  EventVector events;
  for (int i = 0; i < 5000; ++i) {
    events.push_back(
        MakeEvent(i % 3 ? "report " + std::to_string(i) : "\xbb\xe1\xd2\xe9 " + std::to_string(i),
                  1796600000 + i / 2, i % 4 ? "" : "a; b, c\r\nd", i % 2, 1796700000 + i));
  }
  Store(events);
  CliRun run = RunCli({"export", "--ics"});
  ASSERT_EQ(run.exit_code, 0) << run.err;
  fs::path out = dir_ / "calendar.ics";
  ASSERT_EQ(RunCli({"export", "--ics", "--out", out.string()}).exit_code, 0);
  EXPECT_EQ(ReadFileBytes(out), run.out);
  ReadCalendar read = ReadIcs(run.out);
  EXPECT_EQ(read.errors, 0) << read.first_error;
  ASSERT_EQ(read.components.size(), events.size());
  for (std::size_t i = 0; i < events.size(); i += 7) ExpectReadsBackAs(read.components[i], events[i]);
}

TEST_F(ExportCommand, NeverOverwritesTallyosOwnFiles) {
  Store(FiveEvents());
  const std::string stored = ReadFileBytes(EventFile());
  WriteFileBytes(dir_ / "config.ini", "[common]\r\nbTray=1\r\n");
  for (const std::string name :
       {"event.dat", "EVENT.DAT", "event.dat.damaged-20261207-090000", "config.ini", "uids.ini"}) {
    CliRun run = RunCli({"export", "--ics", "--out", (dir_ / name).string()});
    EXPECT_EQ(run.exit_code, 2) << name;
    EXPECT_NE(run.err.find("Tallyo's own files"), std::string::npos) << run.err;
  }
  EXPECT_EQ(ReadFileBytes(EventFile()), stored);
  EXPECT_EQ(ReadFileBytes(dir_ / "config.ini"), "[common]\r\nbTray=1\r\n");
  EXPECT_FALSE(fs::exists(dir_ / "EVENT.DAT"));
  // A name that merely begins alike is an ordinary file.
  EXPECT_EQ(RunCli({"export", "--ics", "--out", (dir_ / "event.data.ics").string()}).exit_code, 0);
}

TEST_F(ExportCommand, DamagedFileExportsWhatWasReadAndFails) {
  EventVector events = FiveEvents();
  std::string image = WriteEventArchive(events);
  std::string damaged = image.substr(0, image.size() - 4);  // cut inside the fifth event
  WriteFileBytes(EventFile(), damaged);
  const std::string message = "试图越过其尾端对 " + EventFile().string() + " 进行读写。";

  CliRun run = RunCli({"export", "--ics"});
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_NE(run.err.find(message), std::string::npos) << run.err;
  ReadCalendar read = ReadIcs(run.out);
  EXPECT_EQ(read.errors, 0) << read.first_error;
  ASSERT_EQ(read.components.size(), 4u);
  for (std::size_t i = 0; i < 4; ++i) ExpectReadsBackAs(read.components[i], events[i]);

  fs::path out = dir_ / "calendar.ics";
  CliRun to_file = RunCli({"export", "--ics", "--out", out.string()});
  EXPECT_EQ(to_file.exit_code, 1);
  EXPECT_NE(to_file.err.find(message), std::string::npos) << to_file.err;
  EXPECT_EQ(ReadFileBytes(out), run.out);

  // An export only reads: the damaged file stays as it is, and is not set aside.
  EXPECT_EQ(ReadFileBytes(EventFile()), damaged);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 2);
}

TEST_F(ExportCommand, UnreadableFileExportsNothing) {
  fs::create_directory(EventFile());  // there, but it cannot be read as a file
  fs::path out = dir_ / "calendar.ics";
  CliRun run = RunCli({"export", "--ics", "--out", out.string()});
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_NE(run.err.find("nothing was exported"), std::string::npos) << run.err;
  EXPECT_FALSE(fs::exists(out));
  CliRun to_stdout = RunCli({"export", "--ics"});
  EXPECT_EQ(to_stdout.exit_code, 1);
  EXPECT_TRUE(to_stdout.out.empty());
}

TEST_F(ExportCommand, WrongArgumentsWriteNothing) {
  Store(FiveEvents());
  fs::path out = dir_ / "calendar.ics";
  const std::vector<std::vector<std::string>> bad = {
      {"export"},  // the format must be named
      {"export", "--ics", "--remind", "--memo"},
      {"export", "--ics", "--day", "2026-02-30"},
      {"export", "--ics", "--find", "\xF0\x9F\x98\x80"},  // an emoji: not in code page 936
      {"export", "--ics", "--out", ""},
  };
  for (std::vector<std::string> args : bad) {
    if (args.back() != "") {
      args.push_back("--out");
      args.push_back(out.string());
    }
    CliRun run = RunCli(args);
    EXPECT_NE(run.exit_code, 0) << args[2];
    EXPECT_FALSE(run.err.empty()) << args.size();
    EXPECT_TRUE(run.out.empty());
    EXPECT_FALSE(fs::exists(out));
  }
}
