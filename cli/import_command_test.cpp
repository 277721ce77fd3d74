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

}  // namespace
