// tallyo-cli sync end to end: the built tool against radicale on 127.0.0.1
// (started by ctest), its output and exit codes.
#include <cstdlib>

#include "caldav/testing/radicale_test_server.h"
#include "cli/testing/cli_test_folder.h"

namespace {

class CliSync : public CliTestFolder {
 protected:
  void SetUp() override {
    CliTestFolder::SetUp();
    ASSERT_EQ(server_.problem(), "");
    setenv("TALLYO_CALDAV_PASSWORD", RadicaleTestServer::kPassword, 1);
    HttpTransportOptions options;
    options.user = RadicaleTestServer::kUser;
    options.password = RadicaleTestServer::kPassword;
    transport_ = MakeHttpTransport(options);
    name_ = std::string("cli-") + testing::UnitTest::GetInstance()->current_test_info()->name();
    calendar_ = server_.MakeCalendar(*transport_, name_, name_, {"VEVENT", "VTODO"});
    ASSERT_NE(calendar_, "");
  }
  CliRun SetUpSync() {
    return RunCli({"sync", "setup", "--url", server_.Url("/"), "--user", "tallyo", "--calendar", name_});
  }

  RadicaleTestServer server_;
  std::unique_ptr<HttpTransport> transport_;
  std::string name_;
  std::string calendar_;
};

}  // namespace

TEST_F(CliSync, SetsUpFindsTheCalendarByNameAndNeverWritesThePassword) {
  ASSERT_NE(server_.MakeCalendar(*transport_, name_ + "-2", name_ + " 2", {"VEVENT"}), "");
  CliRun several = RunCli({"sync", "setup", "--url", server_.Url("/"), "--user", "tallyo"});
  EXPECT_EQ(several.exit_code, 2);
  EXPECT_NE(several.err.find("choose one with --calendar NAME"), std::string::npos) << several.err;
  EXPECT_NE(several.err.find(name_ + " 2"), std::string::npos) << several.err;
  CliRun unknown =
      RunCli({"sync", "setup", "--url", server_.Url("/"), "--user", "tallyo", "--calendar", "nope"});
  EXPECT_EQ(unknown.exit_code, 2);
  EXPECT_NE(unknown.err.find("no calendar of that name"), std::string::npos) << unknown.err;
  EXPECT_FALSE(std::filesystem::exists(dir_ / "sync.ini"));

  CliRun done = SetUpSync();
  ASSERT_EQ(done.exit_code, 0) << done.err;
  EXPECT_EQ(done.out, "calendar: " + name_ + "\n");
  const std::string settings = ReadFileBytes(dir_ / "sync.ini");
  EXPECT_NE(settings.find("calendar_url=" + calendar_), std::string::npos) << settings;
  EXPECT_EQ(settings.find(RadicaleTestServer::kPassword), std::string::npos);

  CliRun status = RunCli({"sync", "--status"});
  EXPECT_EQ(status.exit_code, 0);
  EXPECT_NE(status.out.find("sync: on"), std::string::npos) << status.out;
  EXPECT_NE(status.out.find(calendar_), std::string::npos) << status.out;
}

TEST_F(CliSync, PassesPrintTheirCountsAndADryRunWritesNothing) {
  ASSERT_EQ(SetUpSync().exit_code, 0);
  ASSERT_EQ(RunCli({"add", "--title", "dentist", "--in", "600"}).exit_code, 0);
  const std::string events = ReadFileBytes(dir_ / "event.dat");
  CliRun dry = RunCli({"sync", "--dry-run"});
  EXPECT_EQ(dry.exit_code, 0) << dry.err;
  EXPECT_EQ(dry.out, "dry run: up 1, down 0, deleted 0, conflicts 0\n");
  EXPECT_FALSE(std::filesystem::exists(dir_ / "sync-state.dat"));
  CliRun pass = RunCli({"sync"});
  EXPECT_EQ(pass.exit_code, 0) << pass.err;
  EXPECT_EQ(pass.out, "up 1, down 0, deleted 0, conflicts 0\n");
  EXPECT_EQ(ReadFileBytes(dir_ / "event.dat"), events);
  EXPECT_EQ(ReadFileBytes(dir_ / "sync-state.dat").find(RadicaleTestServer::kPassword), std::string::npos);
  EXPECT_EQ(RunCli({"sync"}).out, "up 0, down 0, deleted 0, conflicts 0\n");
  CliRun status = RunCli({"sync", "--status"});
  EXPECT_NE(status.out.find("in step: 1 events"), std::string::npos) << status.out;

  // Off: the server is forgotten, every event stays.
  CliRun off = RunCli({"sync", "off"});
  EXPECT_EQ(off.exit_code, 0) << off.err;
  EXPECT_FALSE(std::filesystem::exists(dir_ / "sync-state.dat"));
  EXPECT_EQ(ReadFileBytes(dir_ / "event.dat"), events);
  CliRun after = RunCli({"sync"});
  EXPECT_EQ(after.exit_code, 1);
  EXPECT_NE(after.err.find("not set up"), std::string::npos) << after.err;
}

TEST_F(CliSync, AServerThatCannotBeUsedExitsWithOneAndBadArgumentsWithTwo) {
  EXPECT_EQ(RunCli({"sync", "setup"}).exit_code, 2);
  EXPECT_EQ(RunCli({"sync", "--frobnicate"}).exit_code, 2);
  setenv("TALLYO_CALDAV_PASSWORD", "wrong", 1);
  CliRun refused = SetUpSync();
  EXPECT_EQ(refused.exit_code, 1);
  EXPECT_NE(refused.err.find("401"), std::string::npos) << refused.err;
  EXPECT_FALSE(std::filesystem::exists(dir_ / "sync.ini"));
  setenv("TALLYO_CALDAV_PASSWORD", RadicaleTestServer::kPassword, 1);
  ASSERT_EQ(SetUpSync().exit_code, 0);
  ASSERT_TRUE(server_.Control("stop"));
  CliRun away = RunCli({"sync"});
  ASSERT_TRUE(server_.Control("start"));
  EXPECT_EQ(away.exit_code, 1);
  EXPECT_NE(away.err.find("the pass stopped"), std::string::npos) << away.err;
  setenv("TALLYO_CALDAV_PASSWORD", "wrong", 1);
  CliRun wrong = RunCli({"sync"});
  EXPECT_EQ(wrong.exit_code, 1);
  setenv("TALLYO_CALDAV_PASSWORD", RadicaleTestServer::kPassword, 1);
  EXPECT_EQ(RunCli({"sync"}).exit_code, 0);
}
