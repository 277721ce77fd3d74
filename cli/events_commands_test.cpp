// Runs the built tallyo-cli's event commands on a fresh folder and checks the
// output, the exit code and the event.dat they leave behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "base/testing/memory_file_system.h"
#include "base/text_convert.h"
#include "cli/testing/cli_test_folder.h"
#include "events/event_list.h"
#include "events/event_view_rows.h"
#include "events/testing/events_test_util.h"

namespace {

namespace fs = std::filesystem;

// Three events in code page 936: "会议" (meeting) created 2026-12-07 09:00:00,
// a memo, and a reminder due 2026-12-08 08:30:00 (Asia/Shanghai).
std::string ThreeEventFile() {
  EventVector v;
  v.push_back(MakeEvent("\xbb\xe1\xd2\xe9", 1796605200, "Room 4", 1, 1796689800));
  v.push_back(MakeEvent("shopping list", 1796600000, "", 0, 123));  // stale; a memo shows no reminder time
  v.push_back(MakeEvent("third", 1796700000));
  return WriteEventArchive(v);
}

class EventCommands : public CliTestFolder {
 protected:
  // Runs the event commands: `args` starts with the subcommand.
  CliRun Run(const std::vector<std::string>& args) { return RunCli(args); }

  std::string EventFile() const { return (dir_ / "event.dat").string(); }

  // The events on disk, read back with the store.
  std::vector<CMyEvent> Stored() {
    MemoryFileSystem memory;
    memory.files["event.dat"] = ReadFileBytes(EventFile());
    EventList list(memory, "event.dat");
    EXPECT_TRUE(list.LoadEvents().ok());
    return std::vector<CMyEvent>(list.records().begin(), list.records().end());
  }

  std::vector<std::string> AsideFiles() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir_)) {
      std::string name = entry.path().filename().string();
      if (name.rfind("event.dat.damaged-", 0) == 0) names.push_back(name);
    }
    return names;
  }
};

}  // namespace

TEST_F(EventCommands, MissingFileIsAnEmptyList) {
  CliRun check = Run({"check"});
  EXPECT_EQ(check.exit_code, 0) << check.err;
  EXPECT_EQ(check.out, "0\n");
  CliRun list = Run({"list", "--all"});
  EXPECT_EQ(list.exit_code, 0) << list.err;
  EXPECT_EQ(list.out, "标题\t建立时间\t提醒时间\t重复\n");
  EXPECT_FALSE(fs::exists(EventFile()));
}

TEST_F(EventCommands, ListShowsTheColumnsOfEachView) {
  WriteFileBytes(EventFile(), ThreeEventFile());
  CliRun all = Run({"list", "--all"});
  EXPECT_EQ(all.exit_code, 0) << all.err;
  EXPECT_EQ(all.out,
            "标题\t建立时间\t提醒时间\t重复\n"
            "会议\t2026-12-07 09:00:00\t2026-12-08 08:30:00\t\n"
            "shopping list\t2026-12-07 07:33:20\t记忆事件\t\n"
            "third\t2026-12-08 11:20:00\t记忆事件\t\n");
  EXPECT_EQ(Run({"list", "--remind"}).out, "标题\t提醒时间\t重复\n会议\t2026-12-08 08:30:00\t\n");
  EXPECT_EQ(Run({"list", "--memo"}).out,
            "标题\t建立时间\t重复\nshopping list\t2026-12-07 07:33:20\t\nthird\t2026-12-08 11:20:00\t\n");
  EXPECT_EQ(Run({"list", "--day", "2026-12-07"}).out,
            "标题\t时间\t重复\nshopping list\t2026-12-07 07:33:20\t\n会议\t2026-12-08 08:30:00\t\n");
  EXPECT_EQ(Run({"list", "--find", "ROOM"}).out,
            "标题\t建立时间\t提醒时间\t重复\n会议\t2026-12-07 09:00:00\t2026-12-08 08:30:00\t\n");
  EXPECT_EQ(Run({"list", "--find", "会"}).out,
            "标题\t建立时间\t提醒时间\t重复\n会议\t2026-12-07 09:00:00\t2026-12-08 08:30:00\t\n");
  CliRun empty_keyword = Run({"list", "--find", ""});
  EXPECT_EQ(empty_keyword.exit_code, 0) << empty_keyword.err;
  EXPECT_EQ(empty_keyword.out.substr(empty_keyword.out.find('\n') + 1, 13), "shopping list");
  EXPECT_EQ(Run({"list", "--memo", "--with-created"}).out,
            "标题\t建立时间\t重复\ttimeCreate\nshopping list\t2026-12-07 07:33:20\t\t1796600000\n"
            "third\t2026-12-08 11:20:00\t\t1796700000\n");
}

TEST_F(EventCommands, LongListsShowEveryRowAsTheGridDoes) {
  // Enough rows for the output to be written in several pieces, with texts
  // that need converting, cells that hold tabs and line breaks, and times in
  // many windows of the time conversion (a few events per hour over months);
  // titles longer than the output's buffer, and bytes that are no character.
  EventVector v;
  Time32 t = 1790000000;
  std::string long_title;
  for (int i = 0; i < 100000; ++i) long_title += "\xbb\xe1";
  for (int i = 0; i < 4000; ++i) {
    t += (i * 7919) % 5000;
    std::string title = i % 3 == 0 ? "\xbb\xe1\xd2\xe9 " + std::to_string(i) : "row\t" + std::to_string(i);
    if (i % 1000 == 7) title = long_title + "\r\n" + title;
    if (i % 1000 == 8) title = long_title + "\xff" + title;
    if (i % 500 == 9) title += "\x80\t";
    v.push_back(MakeEvent(title, t, "body\r\nline", i % 4 == 0, t + 600));
  }
  WriteFileBytes(EventFile(), WriteEventArchive(v));
  CliRun all = Run({"list", "--all", "--with-created"});
  ASSERT_EQ(all.exit_code, 0) << all.err;
  std::string expected = "标题\t建立时间\t提醒时间\t重复\ttimeCreate\n";
  for (const auto& e : v) {
    std::vector<std::string> cells = ViewRowCells(VIEW_ALL, e);
    std::string title = cp936::ToUtf8(cells[0]);
    std::replace_if(
        title.begin(), title.end(), [](char c) { return c == '\t' || c == '\r' || c == '\n'; }, ' ');
    expected += title + "\t" + cells[1] + "\t" + cp936::ToUtf8(cells[2]) + "\t\t" +
                std::to_string(e.timeCreate) + "\n";
  }
  EXPECT_EQ(all.out, expected);
}

TEST_F(EventCommands, ListRefusesWrongViews) {
  EXPECT_EQ(Run({"list", "--day", "2026-13-01"}).exit_code, 2);
  EXPECT_EQ(Run({"list", "--day", "yesterday"}).exit_code, 2);
  EXPECT_NE(Run({"list"}).exit_code, 0);
  EXPECT_NE(Run({"list", "--memo", "--all"}).exit_code, 0);
}

TEST_F(EventCommands, AddMemoAndRemindersThenDelete) {
  const Time32 before = NowTime();
  CliRun memo = Run({"add", "--title", "买菜", "--body", "eggs\nmilk"});
  ASSERT_EQ(memo.exit_code, 0) << memo.err;
  CliRun at = Run({"add", "--title", "dentist", "--at", "2026-12-09 14:00:00"});
  ASSERT_EQ(at.exit_code, 0) << at.err;
  CliRun in = Run({"add", "--title", "", "--in", "30"});
  ASSERT_EQ(in.exit_code, 0) << in.err;

  std::vector<CMyEvent> stored = Stored();
  ASSERT_EQ(stored.size(), 3u);
  EXPECT_EQ(stored[0].strTitle, "\xc2\xf2\xb2\xcb");  // "买菜" in code page 936
  EXPECT_EQ(stored[0].strContent, "eggs\r\nmilk");
  EXPECT_EQ(stored[0].bRemind, 0);
  EXPECT_EQ(memo.out, std::to_string(stored[0].timeCreate) + "\n");
  EXPECT_EQ(stored[1].bRemind, 1);
  EXPECT_EQ(stored[1].timeRemind, 1796796000);
  EXPECT_EQ(stored[2].strTitle, "");
  // Thirty minutes from the moment of the add, whatever second the event then took.
  EXPECT_GE(stored[2].timeRemind, before + 1800);
  EXPECT_LE(stored[2].timeRemind, stored[2].timeCreate + 1800);

  EXPECT_EQ(Run({"check"}).out, "3\n");
  // Made within a second or two, yet each in a second of its own.
  EXPECT_LT(stored[0].timeCreate, stored[1].timeCreate);
  EXPECT_LT(stored[1].timeCreate, stored[2].timeCreate);
  CliRun removed = Run({"delete", "--created", std::to_string(stored[1].timeCreate)});
  EXPECT_EQ(removed.exit_code, 0) << removed.err;
  stored = Stored();
  ASSERT_EQ(stored.size(), 2u);
  EXPECT_EQ(stored[1].strTitle, "");

  CliRun missing = Run({"delete", "--created", "12345"});
  EXPECT_EQ(missing.exit_code, 1);
  EXPECT_NE(missing.err.find("12345"), std::string::npos);
  EXPECT_EQ(Stored().size(), 2u);
}

TEST_F(EventCommands, AddTakesTheNextSecondNoEventHas) {
  // The next ten seconds are taken already (another program's adds, a
  // clock set back): three adds get three seconds after them.
  const Time32 now = NowTime();
  EventVector v;
  for (Time32 t = now; t < now + 10; ++t) v.push_back(MakeEvent("taken", t));
  WriteFileBytes(EventFile(), WriteEventArchive(v));
  std::vector<Time32> printed;
  for (const char* title : {"one", "two", "three"}) {
    CliRun add = Run({"add", "--title", title});
    ASSERT_EQ(add.exit_code, 0) << add.err;
    printed.push_back(static_cast<Time32>(std::stol(add.out)));
  }
  EXPECT_GE(printed[0], now + 10);
  EXPECT_LT(printed[0], printed[1]);
  EXPECT_LT(printed[1], printed[2]);
  std::vector<CMyEvent> stored = Stored();
  ASSERT_EQ(stored.size(), 13u);
  for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(stored[10 + i].timeCreate, printed[i]);
}

TEST_F(EventCommands, TwinsOfOneSecondAreNamedAndDeletedOneByOne) {
  // Three events of one second, as older versions and other tools made them.
  EventVector v;
  v.push_back(MakeEvent("first", 1796605200));
  v.push_back(MakeEvent("elsewhere", 1796600000));
  v.push_back(MakeEvent("second", 1796605200));
  v.push_back(MakeEvent("third", 1796605200));
  WriteFileBytes(EventFile(), WriteEventArchive(v));
  EXPECT_EQ(Run({"list", "--memo", "--with-created"}).out,
            "标题\t建立时间\t重复\ttimeCreate\n"
            "elsewhere\t2026-12-07 07:33:20\t\t1796600000\n"
            "first\t2026-12-07 09:00:00\t\t1796605200\n"
            "second\t2026-12-07 09:00:00\t\t1796605200-1\n"
            "third\t2026-12-07 09:00:00\t\t1796605200-2\n");

  CliRun second = Run({"delete", "--created", "1796605200-1"});
  EXPECT_EQ(second.exit_code, 0) << second.err;
  std::vector<CMyEvent> stored = Stored();
  ASSERT_EQ(stored.size(), 3u);
  EXPECT_EQ(stored[0].strTitle, "first");
  EXPECT_EQ(stored[2].strTitle, "third");

  CliRun beyond = Run({"delete", "--created", "1796605200-2"});
  EXPECT_EQ(beyond.exit_code, 1);
  EXPECT_NE(beyond.err.find("1796605200-2"), std::string::npos) << beyond.err;
  EXPECT_EQ(Stored().size(), 3u);

  // The plain creation time is the first, as "-0" is.
  EXPECT_EQ(Run({"delete", "--created", "1796605200"}).exit_code, 0);
  EXPECT_EQ(Run({"delete", "--created", "1796605200-0"}).exit_code, 0);
  stored = Stored();
  ASSERT_EQ(stored.size(), 1u);
  EXPECT_EQ(stored[0].strTitle, "elsewhere");
}

TEST_F(EventCommands, WrongInputChangesNothing) {
  const std::vector<std::vector<std::string>> bad = {
      {"add", "--title", "x", "--at", "2026-02-30 10:00:00"},
      {"add", "--title", "x", "--at", "tomorrow"},
      {"add", "--title", "x", "--in", "-5"},
      {"add", "--title", "x", "--in", "abc"},
      {"add", "--title", "x", "--in", "1.5"},
      {"add", "--title", "x", "--in", ""},
      {"add", "--title", "x", "--in", "99999999999"},
      {"add", "--title", "x", "--in", "40000000"},  // beyond 2038
      {"add", "--title", "x", "--in", "5", "--at", "2026-12-09 14:00:00"},
      {"add", "--body", "no title"},
      {"add", "--title", "two\nlines"},
      {"add", "--title", "\xF0\x9F\x98\x80"},  // an emoji: not in code page 936
      {"add", "--title", "x", "--body", "\xFF"},
      {"delete", "--created", "abc"},
      {"delete", "--created", "99999999999"},
      {"delete", "--created", "5-"},
      {"delete", "--created", "5-x"},
      {"delete", "--created", "5--1"},
      {"delete", "--created", "5-1-2"},
      {"delete", "--created", "5-99999999999"},
  };
  for (const auto& args : bad) {
    CliRun run = Run(args);
    EXPECT_EQ(run.exit_code, 2) << args[1] << " " << args.back();
    EXPECT_FALSE(run.err.empty()) << args.back();
    EXPECT_TRUE(run.out.empty()) << args.back();
    EXPECT_FALSE(fs::exists(EventFile())) << args.back();
  }
}

TEST_F(EventCommands, DamagedFileIsReportedAndSetAsideBeforeAChange) {
  std::string image = ThreeEventFile();
  std::string damaged = image.substr(0, image.size() - 4);  // cut inside the third event
  WriteFileBytes(EventFile(), damaged);
  const std::string message = "试图越过其尾端对 " + EventFile() + " 进行读写。";

  CliRun list = Run({"list", "--all"});
  EXPECT_EQ(list.exit_code, 1);
  EXPECT_EQ(list.out,
            "标题\t建立时间\t提醒时间\t重复\n"
            "会议\t2026-12-07 09:00:00\t2026-12-08 08:30:00\t\n"
            "shopping list\t2026-12-07 07:33:20\t记忆事件\t\n");
  EXPECT_NE(list.err.find(message), std::string::npos) << list.err;

  CliRun check = Run({"check"});
  EXPECT_EQ(check.exit_code, 1);
  EXPECT_TRUE(check.out.empty());
  EXPECT_NE(check.err.find(message), std::string::npos) << check.err;
  EXPECT_EQ(ReadFileBytes(EventFile()), damaged);

  // A folder given relative to the current one: the message still names the full path.
  CliRun relative = RunCliIn(fs::relative(dir_), {"check"});
  EXPECT_NE(relative.err.find(message), std::string::npos) << relative.err;

  CliRun add = Run({"add", "--title", "after the fault"});
  EXPECT_EQ(add.exit_code, 0) << add.err;
  EXPECT_NE(add.err.find("kept as"), std::string::npos) << add.err;
  std::vector<std::string> aside = AsideFiles();
  ASSERT_EQ(aside.size(), 1u);
  EXPECT_EQ(ReadFileBytes(dir_ / aside[0]), damaged);
  EXPECT_NE(add.err.find(aside[0]), std::string::npos) << add.err;
  std::vector<CMyEvent> stored = Stored();
  ASSERT_EQ(stored.size(), 3u);
  EXPECT_EQ(stored[2].strTitle, "after the fault");
  EXPECT_EQ(Run({"check"}).out, "3\n");
}

TEST_F(EventCommands, EachFaultHasItsMessage) {
  std::string image = ThreeEventFile();
  std::string schema = image;
  schema[4] = 2;
  WriteFileBytes(EventFile(), schema);
  EXPECT_NE(Run({"check"}).err.find(EventFile() + " 包含错误的模式。"), std::string::npos);
  std::string name = image;
  name[8] = 'X';
  WriteFileBytes(EventFile(), name);
  EXPECT_NE(Run({"check"}).err.find(EventFile() + " 含有非预期的对象。"), std::string::npos);
  WriteFileBytes(EventFile(), std::string("\x01\x00\x00\x00", 4));
  EXPECT_NE(Run({"check"}).err.find(EventFile() + " 格式错。"), std::string::npos);

  // A delete that finds nothing changes nothing, not even the damaged file.
  CliRun missing = Run({"delete", "--created", "1"});
  EXPECT_EQ(missing.exit_code, 1);
  EXPECT_TRUE(AsideFiles().empty());
}
