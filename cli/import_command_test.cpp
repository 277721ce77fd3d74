// tallyo-cli import end to end: exit codes, --dry-run, --past, and a file
// imported twice.
#include <algorithm>
#include <string>

#include "cli/testing/cli_test_folder.h"

namespace {

class ImportCommand : public CliTestFolder {
 protected:
  std::string Calendar(const std::string& components) {
    const std::string path = (dir_ / "in.ics").string();
    WriteFileBytes(path, "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Tallyo//cli test//EN\r\n" + components +
                             "END:VCALENDAR\r\n");
    return path;
  }
  static std::string Event(const std::string& uid, const std::string& start) {
    return "BEGIN:VEVENT\r\nUID:" + uid + "\r\nSUMMARY:" + uid + "\r\nDTSTART:" + start +
           "\r\nEND:VEVENT\r\n";
  }
  int Rows() {
    CliRun list = RunCli({"list", "--all"});
    return static_cast<int>(std::count(list.out.begin(), list.out.end(), '\n')) - 1;
  }
};

TEST_F(ImportCommand, ImportsAndPrintsTheSummary) {
  const std::string ics = Calendar(Event("future", "20330101T100000") + Event("past", "20200101T100000"));
  CliRun run = RunCli({"import", "--ics", ics});
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_NE(run.out.find("\xe6\x96\xb0\xe5\xa2\x9e 1 "), std::string::npos) << run.out;  // 新增 1
  EXPECT_NE(run.out.find("\xe8\xb7\xb3\xe8\xbf\x87 1 "), std::string::npos) << run.out;  // 跳过 1
  EXPECT_EQ(Rows(), 1);
}

TEST_F(ImportCommand, DryRunPrintsTheSameAndWritesNothing) {
  const std::string ics = Calendar(Event("future", "20330101T100000"));
  CliRun dry = RunCli({"import", "--ics", ics, "--dry-run"});
  EXPECT_EQ(dry.exit_code, 0) << dry.err;
  EXPECT_FALSE(std::filesystem::exists(dir_ / "event.dat"));
  CliRun real = RunCli({"import", "--ics", ics});
  EXPECT_EQ(real.out, dry.out);
  EXPECT_TRUE(std::filesystem::exists(dir_ / "event.dat"));
}

TEST_F(ImportCommand, PastOneOffsComeInAsMemosWithPast) {
  const std::string ics = Calendar(Event("past", "20200101T100000"));
  EXPECT_EQ(RunCli({"import", "--ics", ics, "--past"}).exit_code, 0);
  CliRun list = RunCli({"list", "--memo"});
  EXPECT_NE(list.out.find("past"), std::string::npos) << list.out;
}

TEST_F(ImportCommand, ExitCodesSayWhatWentWrong) {
  EXPECT_EQ(RunCli({"import"}).exit_code, 2);
  EXPECT_EQ(RunCli({"import", "--ics", (dir_ / "missing.ics").string()}).exit_code, 1);
  WriteFileBytes(dir_ / "text.ics", "just some text\n");
  CliRun unreadable = RunCli({"import", "--ics", (dir_ / "text.ics").string()});
  EXPECT_EQ(unreadable.exit_code, 1);
  EXPECT_NE(unreadable.err.find("cannot be read as a calendar"), std::string::npos) << unreadable.err;
  EXPECT_FALSE(std::filesystem::exists(dir_ / "event.dat"));
  // A calendar with nothing in it: nothing was needed.
  EXPECT_EQ(RunCli({"import", "--ics", Calendar("")}).exit_code, 0);
  // A bad component beside a good one: the good one comes in.
  CliRun mixed = RunCli(
      {"import", "--ics", Calendar(Event("good", "20330101T100000") + Event("bad", "19600101T100000Z"))});
  EXPECT_EQ(mixed.exit_code, 0);
  EXPECT_NE(mixed.out.find("bad"), std::string::npos) << mixed.out;
  EXPECT_EQ(Rows(), 1);
}

TEST_F(ImportCommand, AFileImportedAgainIsMatchedByUid) {
  const std::string first = Calendar(Event("meeting", "20330101T100000") + Event("daily", "20330101T080000"));
  ASSERT_EQ(RunCli({"import", "--ics", first}).exit_code, 0);
  CliRun again = RunCli({"import", "--ics", first});
  EXPECT_EQ(again.exit_code, 0);
  EXPECT_NE(again.out.find("2 \xe4\xb8\xaa\xe4\xba\x8b\xe4\xbb\xb6\xe6\x9c\xaa\xe5\x8f\x98"),
            std::string::npos)
      << again.out;  // 2 个事件未变
  EXPECT_EQ(Rows(), 2);

  // The calendar moves the meeting: the event follows, and no other comes.
  const std::string moved = Calendar(Event("meeting", "20330102T100000") + Event("daily", "20330101T080000"));
  CliRun update = RunCli({"import", "--ics", moved});
  EXPECT_NE(update.out.find("\xe6\x9b\xb4\xe6\x96\xb0 1 "), std::string::npos) << update.out;  // 更新 1
  EXPECT_EQ(Rows(), 2);
  CliRun list = RunCli({"list", "--all"});
  EXPECT_NE(list.out.find("2033-01-02 10:00:00"), std::string::npos) << list.out;
  EXPECT_TRUE(std::filesystem::exists(dir_ / "uids.ini"));
}

TEST_F(ImportCommand, AnEventChangedInTallyoIsKeptAsTheUserLeftIt) {
  const std::string weekly =
      "BEGIN:VEVENT\r\nUID:weekly\r\nSUMMARY:weekly\r\nDTSTART:20330101T100000\r\n"
      "RRULE:FREQ=WEEKLY\r\nEND:VEVENT\r\n";
  ASSERT_EQ(RunCli({"import", "--ics", Calendar(weekly)}).exit_code, 0);
  CliRun list = RunCli({"list", "--all", "--with-created"});
  const std::string key =
      list.out.substr(list.out.rfind('\t') + 1, list.out.size() - list.out.rfind('\t') - 2);
  // The user makes it a one-off.
  ASSERT_EQ(RunCli({"repeat", "--created", key, "none"}).exit_code, 0);
  CliRun again = RunCli({"import", "--ics", Calendar(weekly)});
  EXPECT_NE(again.out.find("1 \xe4\xb8\xaa\xe4\xba\x8b\xe4\xbb\xb6\xe5\x9c\xa8 Tallyo"), std::string::npos)
      << again.out;                                            // 1 个事件在 Tallyo 中改过
  EXPECT_EQ(RunCli({"next", "--created", key}).exit_code, 1);  // still no rule
}

}  // namespace
