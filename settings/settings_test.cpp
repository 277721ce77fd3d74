#include "settings/settings.h"

#include <gtest/gtest.h>

#include "base/testing/memory_file_system.h"
#include "settings/path_helper.h"
#include "settings/testing/settings_test_util.h"

namespace {

// "您可以在设置对话框中设置这里的文字"
const std::string kDefaultNote =
    "\xC4\xFA\xBF\xC9\xD2\xD4\xD4\xDA\xC9\xE8\xD6\xC3\xB6\xD4\xBB\xB0"
    "\xBF\xF2\xD6\xD0\xC9\xE8\xD6\xC3\xD5\xE2\xC0\xEF\xB5\xC4\xCE\xC4\xD7\xD6";

std::string ConfigPath() { return PathHelper().MakeAppPath("config.ini"); }

Settings LoadFrom(MemoryFileSystem& fs) {
  Settings settings;
  settings.LoadSettings(fs);
  return settings;
}

Settings Sample() {
  Settings s;
  s.nTipType = 0;
  s.strMark = "first\r\nsecond";
  s.bPlaySound = 1;
  s.nSoundType = 1;
  s.strSoundFileName = "C:\\Sounds\\ding.wav";
  s.bAutoRun = 1;
  s.bTray = 0;
  return s;
}

TEST(SettingsLoad, DefaultsWithoutAFile) {
  MemoryFileSystem fs;
  Settings s = LoadFrom(fs);
  EXPECT_EQ(s.nTipType, 1);  // flashing icon
  EXPECT_EQ(s.strMark, kDefaultNote);
  EXPECT_EQ(s.bPlaySound, 0);
  EXPECT_EQ(s.nSoundType, 0);  // beep
  EXPECT_EQ(s.strSoundFileName, "");
  EXPECT_EQ(s.bAutoRun, 0);
  EXPECT_EQ(s.bTray, 1);
}

TEST(SettingsLoad, UnreadableFileOrMissingSectionGivesDefaults) {
  MemoryFileSystem fs;
  fs.files[ConfigPath()] = "[common]\r\nnTipType=0\r\nbTray=0\r\n";
  fs.fail_reads = true;
  EXPECT_EQ(LoadFrom(fs).nTipType, 1);
  EXPECT_EQ(LoadFrom(fs).bTray, 1);

  fs.fail_reads = false;
  fs.files[ConfigPath()] = "[update]\r\nnTipType=0\r\n";
  EXPECT_EQ(LoadFrom(fs).nTipType, 1);
  EXPECT_EQ(LoadFrom(fs).strMark, kDefaultNote);
}

TEST(SettingsLoad, NumbersByAtoiRules) {
  MemoryFileSystem fs;
  fs.files[ConfigPath()] =
      "[common]\r\nnTipType=2\r\nbTray=abc\r\nbPlaySound= 1x\r\nnSoundType=-3\r\nbAutoRun=\r\n";
  Settings s = LoadFrom(fs);
  EXPECT_EQ(s.nTipType, 2);
  EXPECT_EQ(s.bTray, 0);
  EXPECT_EQ(s.bPlaySound, 1);
  EXPECT_EQ(s.nSoundType, -3);
  EXPECT_EQ(s.bAutoRun, 0);
}

TEST(SettingsLoad, MarkerInTheFileBecomesALineBreak) {
  MemoryFileSystem fs;
  fs.files[ConfigPath()] = "[common]\r\nstrMark=a<vorlumen_rn>b<vorlumen_rn><vorlumen_rn>c<vorlumen_r\r\n";
  EXPECT_EQ(LoadFrom(fs).strMark, "a\r\nb\r\n\r\nc<vorlumen_r");
}

TEST(SettingsSave, FileWrittenFromScratch) {
  MemoryFileSystem fs;
  ASSERT_TRUE(Sample().SaveSettings(fs).ok());
  EXPECT_EQ(fs.files[ConfigPath()],
            "[common]\r\n"
            "nTipType=0\r\n"
            "strMark=first<vorlumen_rn>second\r\n"
            "bPlaySound=1\r\n"
            "nSoundType=1\r\n"
            "strSoundFileName=C:\\Sounds\\ding.wav\r\n"
            "bAutoRun=1\r\n"
            "bTray=0\r\n");
  ExpectSameSettings(LoadFrom(fs), Sample());
}

TEST(SettingsSave, DefaultsWrittenFromScratch) {
  MemoryFileSystem fs;
  Settings s = LoadFrom(fs);
  s.nTipType = -5;
  ASSERT_TRUE(s.SaveSettings(fs).ok());
  EXPECT_EQ(fs.files[ConfigPath()], "[common]\r\nnTipType=-5\r\nstrMark=" + kDefaultNote +
                                        "\r\nbPlaySound=0\r\nnSoundType=0\r\nstrSoundFileName=\r\n"
                                        "bAutoRun=0\r\nbTray=1\r\n");
}

TEST(SettingsSave, UpdatesAnExistingFileInPlace) {
  MemoryFileSystem fs;
  fs.files[ConfigPath()] =
      "; Tallyo\r\n"
      "[common]\r\n"
      "BTRAY = 1\r\n"
      "extra=kept\r\n"
      "nTipType=1\r\n"
      "\r\n"
      "[update]\r\n"
      "host=127.0.0.1\r\n"
      "port=8080\r\n";
  ASSERT_TRUE(Sample().SaveSettings(fs).ok());
  EXPECT_EQ(fs.files[ConfigPath()],
            "; Tallyo\r\n"
            "[common]\r\n"
            "BTRAY=0\r\n"
            "extra=kept\r\n"
            "nTipType=0\r\n"
            "strMark=first<vorlumen_rn>second\r\n"
            "bPlaySound=1\r\n"
            "nSoundType=1\r\n"
            "strSoundFileName=C:\\Sounds\\ding.wav\r\n"
            "bAutoRun=1\r\n"
            "\r\n"
            "[update]\r\n"
            "host=127.0.0.1\r\n"
            "port=8080\r\n");
  ExpectSameSettings(LoadFrom(fs), Sample());
}

TEST(SettingsMark, LineBreaksTravelAsTheMarker) {
  EXPECT_EQ(EncodeMarkLineBreaks("first\r\nsecond"), "first<vorlumen_rn>second");
  EXPECT_EQ(EncodeMarkLineBreaks("\r\n\r\n"), "<vorlumen_rn><vorlumen_rn>");
  // Only CR LF pairs are line breaks of the note.
  EXPECT_EQ(EncodeMarkLineBreaks("a\rb\nc\n\rd"), "a\rb\nc\n\rd");
  EXPECT_EQ(EncodeMarkLineBreaks("a\r\r\nb"), "a\r<vorlumen_rn>b");
  EXPECT_EQ(DecodeMarkLineBreaks("x<vorlumen_rn>y"), "x\r\ny");
}

TEST(SettingsMark, NoteHoldingTheMarkerTextComesBackAsALineBreak) {
  MemoryFileSystem fs;
  Settings s = Sample();
  s.strMark = "see <vorlumen_rn> here";
  ASSERT_TRUE(s.SaveSettings(fs).ok());
  EXPECT_EQ(LoadFrom(fs).strMark, "see \r\n here");
}

TEST(SettingsMark, LoneLineBreakCharactersCannotSplitTheLine) {
  MemoryFileSystem fs;
  Settings s = Sample();
  s.strMark = "one\ntwo\r\nthree\rbTray=1";
  ASSERT_TRUE(s.SaveSettings(fs).ok());
  EXPECT_NE(fs.files[ConfigPath()].find("strMark=one two<vorlumen_rn>three bTray=1\r\n"), std::string::npos);
  Settings back = LoadFrom(fs);
  EXPECT_EQ(back.strMark, "one two\r\nthree bTray=1");
  EXPECT_EQ(back.bTray, 0);
}

TEST(SettingsRoundTrip, ChineseTextInCodePage936) {
  MemoryFileSystem fs;
  Settings s = Sample();
  // "提醒我\r\n开会" and a path whose characters end in the bytes "\" and "]".
  s.strMark = "\xCC\xE1\xD0\xD1\xCE\xD2\r\n\xBF\xAA\xBB\xE1";
  s.strSoundFileName = "D:\\\xC9\xF9\xD2\xF4\\\x81\x5C\x81\x5D.wav";
  ASSERT_TRUE(s.SaveSettings(fs).ok());
  EXPECT_NE(fs.files[ConfigPath()].find("strMark=\xCC\xE1\xD0\xD1\xCE\xD2<vorlumen_rn>\xBF\xAA\xBB\xE1\r\n"),
            std::string::npos);
  ExpectSameSettings(LoadFrom(fs), s);
}

TEST(SettingsRoundTrip, BlanksAndQuotesAtTheEndsSurvive) {
  MemoryFileSystem fs;
  Settings s = Sample();
  s.strMark = "  indented\r\n";
  s.strSoundFileName = "\"C:\\quoted.wav\"";
  ASSERT_TRUE(s.SaveSettings(fs).ok());
  ExpectSameSettings(LoadFrom(fs), s);
}

TEST(SettingsRoundTrip, LongValuesAreCutAt4999Bytes) {
  MemoryFileSystem fs;
  Settings s = Sample();
  s.strSoundFileName = std::string(6000, 'p');
  s.strMark = std::string(4999, 'm');
  ASSERT_TRUE(s.SaveSettings(fs).ok());
  Settings back = LoadFrom(fs);
  EXPECT_EQ(back.strSoundFileName, std::string(4999, 'p'));
  EXPECT_EQ(back.strMark, s.strMark);
}

TEST(SettingsSave, FailedWriteReportsAndKeepsTheOldFileAndTheValues) {
  MemoryFileSystem fs;
  const std::string old = "[common]\r\nnTipType=1\r\n[update]\r\nport=1\r\n";
  fs.files[ConfigPath()] = old;
  Settings s = Sample();
  fs.fail_writes = true;
  Status status = s.SaveSettings(fs);
  EXPECT_FALSE(status.ok());
  EXPECT_FALSE(status.message().empty());
  EXPECT_EQ(fs.files[ConfigPath()], old);
  ExpectSameSettings(s, Sample());
}

TEST(SettingsSave, UnreadableFileIsNotOverwritten) {
  MemoryFileSystem fs;
  const std::string old = "[common]\r\nnTipType=1\r\n[update]\r\nport=1\r\n";
  fs.files[ConfigPath()] = old;
  fs.fail_reads = true;
  EXPECT_FALSE(Sample().SaveSettings(fs).ok());
  EXPECT_EQ(fs.replace_calls, 0);
  EXPECT_EQ(fs.files[ConfigPath()], old);
}

TEST(SettingsSave, ExtremeNumbersRoundTrip) {
  for (int value : {0, 1, -1, 2147483647, -2147483647 - 1}) {
    MemoryFileSystem fs;
    Settings s = Sample();
    s.nTipType = value;
    s.bAutoRun = value;
    ASSERT_TRUE(s.SaveSettings(fs).ok());
    EXPECT_EQ(LoadFrom(fs).nTipType, value);
    EXPECT_EQ(LoadFrom(fs).bAutoRun, value);
  }
}

}  // namespace
