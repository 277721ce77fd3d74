#include "base/ini_file.h"

#include <gtest/gtest.h>

#include <climits>

#include "base/testing/memory_file_system.h"

namespace {

std::string Get(std::string_view bytes, std::string_view section, std::string_view key) {
  return IniFile(bytes).GetString(section, key, "<missing>");
}

std::string AfterSet(std::string_view bytes, std::string_view section, std::string_view key,
                     std::string_view value) {
  IniFile file(bytes);
  file.SetString(section, key, value);
  return file.ToBytes();
}

TEST(IniFileLookup, NamesCompareWithoutCaseAndBlanksAreTrimmed) {
  const char* text = "[Common]\r\n  NTIPTYPE \t=\t 2  \r\n";
  EXPECT_EQ(Get(text, "common", "nTipType"), "2");
  EXPECT_EQ(Get(text, "COMMON", "ntiptype"), "2");
  EXPECT_EQ(Get("[ common ]\r\nk=v\r\n", "common", "k"), "v");
  EXPECT_EQ(Get(text, "common", "nSoundType"), "<missing>");
  EXPECT_EQ(Get(text, "other", "nTipType"), "<missing>");
  EXPECT_EQ(Get("[common]\r\nk=\r\n", "common", "k"), "");
  // Trail bytes in the letter range belong to their character and keep their case.
  EXPECT_EQ(Get("[\x81\x41]\r\n\x81Key=v\r\n", "\x81\x41", "\x81kEY"), "<missing>");
  EXPECT_EQ(Get("[\x81\x41]\r\n\x81Key=v\r\n", "\x81\x61", "\x81Key"), "<missing>");
  EXPECT_EQ(Get("[\x81\x41x]\r\n\x81KeyA=v\r\n", "\x81\x41X", "\x81Keya"), "v");
}

TEST(IniFileLookup, FirstKeyOfFirstSectionWins) {
  const char* text =
      "[common]\r\nk=first\r\nk=second\r\n"
      "[other]\r\nj=x\r\n"
      "[COMMON]\r\nk=third\r\nonly_later=y\r\n";
  EXPECT_EQ(Get(text, "common", "k"), "first");
  EXPECT_EQ(Get(text, "common", "only_later"), "<missing>");
  EXPECT_EQ(Get(text, "other", "k"), "<missing>");
  EXPECT_EQ(Get(text, "other", "j"), "x");
}

TEST(IniFileLookup, CommentsLinesWithoutEqualsAndKeysBeforeAnySectionAreNoKeys) {
  const char* text = "k=before\r\n[common]\r\n;k=comment\r\nk\r\n  ; j=also comment\r\nj=real\r\n";
  EXPECT_EQ(Get(text, "common", "k"), "<missing>");
  EXPECT_EQ(Get(text, "common", "j"), "real");
  EXPECT_EQ(Get(text, "common", ";k"), "<missing>");
}

TEST(IniFileLookup, ValueKeepsEverythingAfterTheFirstEquals) {
  EXPECT_EQ(Get("[s]\r\nk=a=b = c\r\n", "s", "k"), "a=b = c");
  EXPECT_EQ(Get("[s]\r\nk==\r\n", "s", "k"), "=");
}

TEST(IniFileLookup, MatchingQuotesAreRemoved) {
  EXPECT_EQ(Get("[s]\r\nk=\"abc\"\r\n", "s", "k"), "abc");
  EXPECT_EQ(Get("[s]\r\nk='abc'\r\n", "s", "k"), "abc");
  EXPECT_EQ(Get("[s]\r\nk=  \" a b \"  \r\n", "s", "k"), " a b ");
  EXPECT_EQ(Get("[s]\r\nk=\"\"\r\n", "s", "k"), "");
  EXPECT_EQ(Get("[s]\r\nk=\"\r\n", "s", "k"), "\"");
  EXPECT_EQ(Get("[s]\r\nk=\"abc'\r\n", "s", "k"), "\"abc'");
  EXPECT_EQ(Get("[s]\r\nk=\"abc\r\n", "s", "k"), "\"abc");
  EXPECT_EQ(Get("[s]\r\nk=a\"b\"\r\n", "s", "k"), "a\"b\"");
}

TEST(IniFileLookup, ValuesAreCutAt4999BytesWithoutSplittingACharacter) {
  for (std::size_t length : {4998u, 4999u, 5000u, 5001u, 20000u}) {
    std::string value(length, 'x');
    std::string got = Get("[s]\r\nk=" + value + "\r\n", "s", "k");
    EXPECT_EQ(got, value.substr(0, 4999)) << length;
  }
  // A double-byte character that would straddle the limit is left out whole.
  std::string straddling = std::string(4998, 'x') + "\xC4\xFA" + "yy";
  EXPECT_EQ(Get("[s]\r\nk=" + straddling + "\r\n", "s", "k"), std::string(4998, 'x'));
  std::string fitting = std::string(4997, 'x') + "\xC4\xFA" + "yy";
  EXPECT_EQ(Get("[s]\r\nk=" + fitting + "\r\n", "s", "k"), std::string(4997, 'x') + "\xC4\xFA");
  // Quotes come off before the cut.
  std::string quoted = "\"" + std::string(4999, 'q') + "\"";
  EXPECT_EQ(Get("[s]\r\nk=" + quoted + "\r\n", "s", "k"), std::string(4999, 'q'));
}

TEST(IniFileLookup, EveryKindOfLineEndSeparatesLines) {
  for (std::string end : {"\r\n", "\n", "\r"}) {
    std::string text = "[s]" + end + "a=1" + end + end + "b=2" + end;
    EXPECT_EQ(Get(text, "s", "a"), "1");
    EXPECT_EQ(Get(text, "s", "b"), "2");
  }
  EXPECT_EQ(Get("[s]\r\na=1\nb=2\rc=3", "s", "c"), "3");
}

TEST(IniFileLookup, SectionHeaders) {
  EXPECT_EQ(Get("[com]mon]\r\nk=v\r\n", "com]mon", "k"), "v");
  EXPECT_EQ(Get("[common] trailing\r\nk=v\r\n", "common", "k"), "v");
  // No closing bracket: no section header, so the keys stay in the section before.
  EXPECT_EQ(Get("[common\r\nk=v\r\n", "common", "k"), "<missing>");
  EXPECT_EQ(Get("[a]\r\n[common\r\nk=v\r\n", "a", "k"), "v");
  // A "]" that is the trail byte of a double-byte character closes nothing.
  EXPECT_EQ(Get("[\x81]\r\nk=v\r\n", "\x81]", "k"), "<missing>");
  EXPECT_EQ(Get("[\xC4]]\r\nk=v\r\n", "\xC4]", "k"), "v");
}

TEST(IniFileLookup, Utf8ByteOrderMarkIsSkipped) {
  EXPECT_EQ(Get("\xEF\xBB\xBF[common]\r\nk=v\r\n", "common", "k"), "v");
}

TEST(IniFileLookup, GetIntFollowsAtoiAndDefaultsOnlyWhenMissing) {
  IniFile file("[s]\r\nn=42abc\r\nbad=abc\r\nempty=\r\n");
  EXPECT_EQ(file.GetInt("s", "n", 7), 42);
  EXPECT_EQ(file.GetInt("s", "bad", 7), 0);
  EXPECT_EQ(file.GetInt("s", "empty", 7), 0);
  EXPECT_EQ(file.GetInt("s", "missing", 7), 7);
}

TEST(IniFileUpdate, ReplacesTheKeyLineInPlaceAndKeepsEverythingElse) {
  const std::string before =
      "; settings of the program\r\n"
      "[other]\r\n"
      "k=untouched\r\n"
      "\r\n"
      "[common]\r\n"
      "a=1\r\n"
      "  K = old value  \r\n"
      "k=second\r\n"
      "; note\r\n"
      "z=9\r\n";
  EXPECT_EQ(AfterSet(before, "COMMON", "k", "new"),
            "; settings of the program\r\n"
            "[other]\r\n"
            "k=untouched\r\n"
            "\r\n"
            "[common]\r\n"
            "a=1\r\n"
            "K=new\r\n"
            "k=second\r\n"
            "; note\r\n"
            "z=9\r\n");
}

TEST(IniFileUpdate, AppendsAMissingKeyToTheEndOfItsSectionNotAfterTheNext) {
  const std::string before =
      "[common]\r\n"
      "a=1\r\n"
      "\r\n"
      "; the server\r\n"
      "[update]\r\n"
      "host=127.0.0.1\r\n";
  EXPECT_EQ(AfterSet(before, "common", "b", "2"),
            "[common]\r\n"
            "a=1\r\n"
            "b=2\r\n"
            "\r\n"
            "; the server\r\n"
            "[update]\r\n"
            "host=127.0.0.1\r\n");
  EXPECT_EQ(AfterSet("[common]\r\n[update]\r\n", "common", "b", "2"), "[common]\r\nb=2\r\n[update]\r\n");
  EXPECT_EQ(AfterSet(before, "update", "port", "8080"), before + "port=8080\r\n");
}

TEST(IniFileUpdate, AppendsAMissingSectionToTheEndOfTheFile) {
  EXPECT_EQ(AfterSet("", "common", "a", "1"), "[common]\r\na=1\r\n");
  EXPECT_EQ(AfterSet("[update]\r\nport=80", "common", "a", "1"),
            "[update]\r\nport=80\r\n[common]\r\na=1\r\n");
}

TEST(IniFileUpdate, WritesEveryLineEndAsCrLfAndKeepsTheByteOrderMark) {
  EXPECT_EQ(AfterSet("[s]\na=1\rb=2\r\n\n", "s", "a", "3"), "[s]\r\na=3\r\nb=2\r\n\r\n");
  EXPECT_EQ(AfterSet("\xEF\xBB\xBF[s]\na=1", "s", "a", "3"), "\xEF\xBB\xBF[s]\r\na=3\r\n");
  EXPECT_EQ(IniFile("").ToBytes(), "");
  EXPECT_EQ(IniFile("\xEF\xBB\xBF").ToBytes(), "\xEF\xBB\xBF");
}

TEST(IniFileUpdate, LineBreaksInsideAValueCannotBreakTheFile) {
  IniFile file;
  file.SetString("s", "k", "one\nbTray=0\rtwo\r\nthree");
  EXPECT_EQ(file.ToBytes(), "[s]\r\nk=one bTray=0 two  three\r\n");
  EXPECT_EQ(IniFile(file.ToBytes()).GetString("s", "bTray", "<missing>"), "<missing>");
}

TEST(IniFileUpdate, ValuesThatAReaderWouldTrimOrUnquoteComeBackExactly) {
  for (std::string value : {" lead", "trail ", "\tboth\t", "\"quoted\"", "'single'", "\"", "'", "\"\"",
                            "\"half", "plain \"inner\" text", ""}) {
    IniFile file;
    file.SetString("s", "k", value);
    EXPECT_EQ(IniFile(file.ToBytes()).GetString("s", "k", "<missing>"), value) << value;
  }
  IniFile file;
  file.SetString("s", "k", " x ");
  EXPECT_EQ(file.ToBytes(), "[s]\r\nk=\" x \"\r\n");
}

TEST(IniFileFiles, LoadTreatsMissingAndUnreadableFilesAsEmpty) {
  MemoryFileSystem fs;
  Status status = Status::IoError("unset");
  EXPECT_EQ(IniFile::Load(fs, "c.ini", &status).ToBytes(), "");
  EXPECT_TRUE(status.ok());

  fs.files["c.ini"] = "[s]\r\nk=v\r\n";
  EXPECT_EQ(IniFile::Load(fs, "c.ini", &status).GetString("s", "k", ""), "v");
  EXPECT_TRUE(status.ok());

  fs.fail_reads = true;
  EXPECT_EQ(IniFile::Load(fs, "c.ini", &status).GetString("s", "k", "default"), "default");
  EXPECT_FALSE(status.ok());
  EXPECT_FALSE(status.IsNotFound());
}

TEST(IniFileFiles, FailedSaveReportsAndLeavesTheOldFile) {
  MemoryFileSystem fs;
  fs.files["c.ini"] = "[s]\nk=old\n";
  IniFile file = IniFile::Load(fs, "c.ini");
  file.SetString("s", "k", "new");
  fs.fail_writes = true;
  EXPECT_FALSE(file.Save(fs, "c.ini").ok());
  EXPECT_EQ(fs.files["c.ini"], "[s]\nk=old\n");
  fs.fail_writes = false;
  EXPECT_TRUE(file.Save(fs, "c.ini").ok());
  EXPECT_EQ(fs.files["c.ini"], "[s]\r\nk=new\r\n");
}

TEST(IniFileFiles, FindLineGivesTheLineAsItStands) {
  IniFile file("[common]\r\n  Key = \"v\"  \r\n");
  EXPECT_EQ(file.FindLine("common", "key"), std::optional<std::string>("  Key = \"v\"  "));
  EXPECT_EQ(file.FindLine("common", "other"), std::nullopt);
  EXPECT_EQ(file.FindLine("none", "key"), std::nullopt);
}

TEST(IniFileSections, ListsEverySectionWithItsKeysInOnePass) {
  IniFile file(
      "top=ignored\r\n"
      "[One]\r\n; comment\r\nA = \"x\" \r\nno equals\r\nb=\r\n"
      "[two]\r\n"
      "[one]\r\na=second\r\n");
  std::vector<IniFile::Section> sections = file.Sections();
  ASSERT_EQ(sections.size(), 3u);
  EXPECT_EQ(sections[0].name, "one");
  ASSERT_EQ(sections[0].keys.size(), 2u);
  EXPECT_EQ(sections[0].keys[0].key, "a");
  EXPECT_EQ(sections[0].keys[0].value, "x");
  EXPECT_EQ(sections[0].keys[1].key, "b");
  EXPECT_EQ(sections[0].keys[1].value, "");
  EXPECT_EQ(sections[1].name, "two");
  EXPECT_TRUE(sections[1].keys.empty());
  EXPECT_EQ(sections[2].keys[0].value, "second");
}

TEST(IniFileSections, RemovesEveryCopyOfASectionAndLeavesTheRest) {
  IniFile file("; head\r\n[a]\r\nk=1\r\n\r\n[B]\r\nk=2\r\n; about c\r\n[c]\r\nk=3\r\n[b]\r\nk=4");
  file.RemoveSections([](std::string_view name) { return name == "b"; });
  EXPECT_EQ(file.ToBytes(), "; head\r\n[a]\r\nk=1\r\n\r\n[c]\r\nk=3\r\n");
  file.RemoveSections([](std::string_view) { return true; });
  EXPECT_EQ(file.ToBytes(), "; head\r\n");
  file.SetString("d", "k", "5");
  EXPECT_EQ(file.GetString("d", "k", ""), "5");
}

}  // namespace
