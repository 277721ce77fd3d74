// Runs the built tallyo-cli on a fresh folder and checks its output, exit
// code and the config.ini it leaves behind.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "cli/testing/cli_test_folder.h"

namespace {

namespace fs = std::filesystem;

class SettingsCommand : public CliTestFolder {
 protected:
  CliRun RunSettings(std::vector<std::string> args) {
    args.insert(args.begin(), "settings");
    return RunCli(args);
  }

  std::string Config() { return ReadFileBytes(dir_ / "config.ini"); }
};

TEST_F(SettingsCommand, WithoutChangesSavesAndShowsTheDefaults) {
  CliRun run = RunSettings({});
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(run.out,
            "nTipType=1\n"
            "strMark=您可以在设置对话框中设置这里的文字\n"
            "bPlaySound=0\nnSoundType=0\nstrSoundFileName=\nbAutoRun=0\nbTray=1\n");
  EXPECT_EQ(Config(),
            "[common]\r\nnTipType=1\r\n"
            "strMark=\xC4\xFA\xBF\xC9\xD2\xD4\xD4\xDA\xC9\xE8\xD6\xC3\xB6\xD4\xBB\xB0"
            "\xBF\xF2\xD6\xD0\xC9\xE8\xD6\xC3\xD5\xE2\xC0\xEF\xB5\xC4\xCE\xC4\xD7\xD6\r\n"
            "bPlaySound=0\r\nnSoundType=0\r\nstrSoundFileName=\r\nbAutoRun=0\r\nbTray=1\r\n");
}

TEST_F(SettingsCommand, SetsValuesAndKeepsTheRestOfTheFile) {
  WriteFileBytes(dir_ / "config.ini", "[common]\r\nBTRAY=1\r\n[update]\r\nport=8080\r\n");
  CliRun run = RunSettings({"--set", "nTipType=-2", "ntiptype=0", "strMark=开会\\n带上笔记本", "--set",
                            "bTray=0", "strSoundFileName=D:\\声音\\铃.wav", "bPlaySound=+1"});
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(run.out,
            "nTipType=0\n"
            "strMark=开会<vorlumen_rn>带上笔记本\n"
            "bPlaySound=1\nnSoundType=0\nstrSoundFileName=D:\\声音\\铃.wav\nbAutoRun=0\nBTRAY=0\n");
  std::string config = Config();
  EXPECT_EQ(config.substr(0, 19), "[common]\r\nBTRAY=0\r\n");
  EXPECT_NE(config.find("strMark=\xBF\xAA\xBB\xE1<vorlumen_rn>"), std::string::npos);
  EXPECT_EQ(config.substr(config.size() - 21), "[update]\r\nport=8080\r\n");
}

TEST_F(SettingsCommand, RealLineBreaksInTheNoteBecomeTheMarker) {
  CliRun run = RunSettings({"--set", "strMark=one\ntwo\r\nthree"});
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_NE(run.out.find("strMark=one<vorlumen_rn>two<vorlumen_rn>three\n"), std::string::npos);
}

TEST_F(SettingsCommand, BadChangesExitWithTwoAndWriteNothing) {
  WriteFileBytes(dir_ / "config.ini", "[common]\nnTipType=1\n");
  for (std::string bad : {"nTipType=abc", "bTray=", "bTray=1.5", "bTray= 1", "nSoundType=2147483648",
                          "nSoundType=+-1", "nSoundType=0x1", "colour=red", "nTipType", "=1",
                          "strMark=\xF0\x9F\x98\x80", "strSoundFileName=\xFF"}) {
    CliRun run = RunSettings({"--set", "bAutoRun=1", bad});
    EXPECT_EQ(run.exit_code, 2) << bad;
    EXPECT_TRUE(run.out.empty()) << bad;
    EXPECT_FALSE(run.err.empty()) << bad;
    EXPECT_EQ(Config(), "[common]\nnTipType=1\n") << bad;
  }
  CliRun run = RunSettings({"--set", "nTipType=abc"});
  EXPECT_NE(run.err.find("nTipType"), std::string::npos) << run.err;
}

TEST_F(SettingsCommand, ExtremeNumbersAreAccepted) {
  CliRun run = RunSettings({"--set", "nTipType=-2147483648", "bAutoRun=2147483647"});
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_NE(run.out.find("nTipType=-2147483648\n"), std::string::npos);
  EXPECT_NE(run.out.find("bAutoRun=2147483647\n"), std::string::npos);
}

TEST_F(SettingsCommand, UnwritableFolderReportsAndExitsWithOne) {
  fs::path missing = dir_ / "no" / "such" / "folder";
  EXPECT_EQ(RunCliIn(missing, {"settings", "--set", "bTray=0"}).exit_code, 1);
  EXPECT_FALSE(fs::exists(missing));
}

}  // namespace
