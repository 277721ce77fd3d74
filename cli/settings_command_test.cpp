// Runs the built tallyo-cli on a fresh folder and checks its output, exit
// code and the config.ini it leaves behind.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

namespace fs = std::filesystem;

struct CliRun {
  int exit_code = -1;
  std::string out, err;
};

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteAll(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// Single-quotes an argument for the shell.
std::string Quote(const std::string& arg) {
  std::string out = "'";
  for (char c : arg) out += (c == '\'') ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

class SettingsCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/tallyo-settings-cli-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
  }
  void TearDown() override { fs::remove_all(dir_); }

  CliRun RunCli(std::initializer_list<std::string> args) {
    std::string command = Quote(TALLYO_CLI_PATH) + " --dir " + Quote(dir_.string()) + " settings";
    for (const std::string& arg : args) command += " " + Quote(arg);
    command += " 2>" + Quote((dir_ / "stderr.txt").string());
    CliRun run;
    FILE* pipe = popen(command.c_str(), "r");
    EXPECT_NE(pipe, nullptr);
    char buffer[4096];
    for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) run.out.append(buffer, n);
    int status = pclose(pipe);
    run.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.err = ReadAll(dir_ / "stderr.txt");
    fs::remove(dir_ / "stderr.txt");
    return run;
  }

  std::string Config() { return ReadAll(dir_ / "config.ini"); }

  fs::path dir_;
};

TEST_F(SettingsCommand, WithoutChangesSavesAndShowsTheDefaults) {
  CliRun run = RunCli({});
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
  WriteAll(dir_ / "config.ini", "[common]\r\nBTRAY=1\r\n[update]\r\nport=8080\r\n");
  CliRun run = RunCli({"--set", "nTipType=-2", "ntiptype=0", "strMark=开会\\n带上笔记本", "--set", "bTray=0",
                       "strSoundFileName=D:\\声音\\铃.wav", "bPlaySound=+1"});
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
  CliRun run = RunCli({"--set", "strMark=one\ntwo\r\nthree"});
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_NE(run.out.find("strMark=one<vorlumen_rn>two<vorlumen_rn>three\n"), std::string::npos);
}

TEST_F(SettingsCommand, BadChangesExitWithTwoAndWriteNothing) {
  WriteAll(dir_ / "config.ini", "[common]\nnTipType=1\n");
  for (std::string bad : {"nTipType=abc", "bTray=", "bTray=1.5", "bTray= 1", "nSoundType=2147483648",
                          "nSoundType=+-1", "nSoundType=0x1", "colour=red", "nTipType", "=1",
                          "strMark=\xF0\x9F\x98\x80", "strSoundFileName=\xFF"}) {
    CliRun run = RunCli({"--set", "bAutoRun=1", bad});
    EXPECT_EQ(run.exit_code, 2) << bad;
    EXPECT_TRUE(run.out.empty()) << bad;
    EXPECT_FALSE(run.err.empty()) << bad;
    EXPECT_EQ(Config(), "[common]\nnTipType=1\n") << bad;
  }
  CliRun run = RunCli({"--set", "nTipType=abc"});
  EXPECT_NE(run.err.find("nTipType"), std::string::npos) << run.err;
}

TEST_F(SettingsCommand, ExtremeNumbersAreAccepted) {
  CliRun run = RunCli({"--set", "nTipType=-2147483648", "bAutoRun=2147483647"});
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_NE(run.out.find("nTipType=-2147483648\n"), std::string::npos);
  EXPECT_NE(run.out.find("bAutoRun=2147483647\n"), std::string::npos);
}

TEST_F(SettingsCommand, UnwritableFolderReportsAndExitsWithOne) {
  fs::path missing = dir_ / "no" / "such" / "folder";
  std::string command = Quote(TALLYO_CLI_PATH) + " --dir " + Quote(missing.string()) +
                        " settings --set bTray=0 >/dev/null 2>/dev/null";
  int status = std::system(command.c_str());
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 1);
  EXPECT_FALSE(fs::exists(missing));
}

}  // namespace
