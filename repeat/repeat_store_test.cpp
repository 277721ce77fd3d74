#include "repeat/repeat_store.h"

#include <gtest/gtest.h>

#include <vector>

#include "base/testing/memory_file_system.h"

namespace {

const std::string kPath = "repeat.ini";
const std::string kOneRule = "[100]\r\nstart=2026-12-08 09:00:00\r\nrule=FREQ=DAILY\r\n";

RepeatSeries Daily(const char* start) {
  WallSeconds wall = 0;
  EXPECT_TRUE(ParseWallTime(start, &wall));
  RepeatRule rule;
  return RepeatSeries(wall, rule);
}

}  // namespace

TEST(RepeatStore, NoRulesNoFileAndNoNeedlessWrites) {
  MemoryFileSystem fs;
  RepeatStore store(fs, kPath);
  RepeatRules rules;
  ASSERT_TRUE(store.Load(&rules).ok());
  EXPECT_FALSE(store.ChangedOnDisk());
  ASSERT_TRUE(store.Save(rules).ok());
  EXPECT_EQ(fs.replace_calls, 0);
  EXPECT_FALSE(fs.FileExists(kPath));

  rules.Set(100, Daily("2026-12-08 09:00:00"));
  ASSERT_TRUE(store.Save(rules).ok());
  EXPECT_EQ(fs.files[kPath], kOneRule);
  EXPECT_FALSE(store.ChangedOnDisk());
  ASSERT_TRUE(store.Save(rules).ok());
  EXPECT_EQ(fs.replace_calls, 1) << "the same bytes are not written again";

  // The last rule gone: the file stays, empty.
  rules.Remove(100);
  rules.CommitRemovals();
  ASSERT_TRUE(store.Save(rules).ok());
  EXPECT_EQ(fs.files[kPath], "");
}

TEST(RepeatStore, NoticesChangesFromOtherPrograms) {
  MemoryFileSystem fs;
  fs.files[kPath] = kOneRule;
  RepeatStore store(fs, kPath);
  EXPECT_TRUE(store.ChangedOnDisk()) << "a file this store has not loaded";
  RepeatRules rules;
  ASSERT_TRUE(store.Load(&rules).ok());
  ASSERT_NE(rules.SeriesOf(100), nullptr);
  EXPECT_FALSE(store.ChangedOnDisk());

  fs.Touch(kPath);  // the same bytes written again
  EXPECT_FALSE(store.ChangedOnDisk());
  fs.files[kPath] = kOneRule + "[200]\r\nstart=2026-12-08 10:00:00\r\nrule=FREQ=HOURLY\r\n";
  fs.Touch(kPath);
  EXPECT_TRUE(store.ChangedOnDisk());
  ASSERT_TRUE(store.Load(&rules).ok());
  EXPECT_NE(rules.SeriesOf(200), nullptr);
  EXPECT_FALSE(store.ChangedOnDisk());

  fs.files.erase(kPath);
  EXPECT_TRUE(store.ChangedOnDisk());
  ASSERT_TRUE(store.Load(&rules).ok());
  EXPECT_TRUE(rules.empty());
  EXPECT_FALSE(store.ChangedOnDisk());
}

TEST(RepeatStore, AFileThatCannotBeReadIsNeverReplaced) {
  MemoryFileSystem fs;
  fs.files[kPath] = kOneRule;
  RepeatStore store(fs, kPath);
  RepeatRules rules;
  rules.Set(300, Daily("2026-12-08 11:00:00"));
  fs.fail_reads = true;
  EXPECT_FALSE(store.Load(&rules).ok());
  EXPECT_NE(rules.SeriesOf(300), nullptr) << "the rules in memory stay";
  EXPECT_FALSE(store.Save(rules).ok());
  EXPECT_EQ(fs.files[kPath], kOneRule);
  EXPECT_EQ(fs.replace_calls, 0);

  fs.fail_reads = false;
  ASSERT_TRUE(store.Load(&rules).ok());
  rules.Set(300, Daily("2026-12-08 11:00:00"));
  ASSERT_TRUE(store.Save(rules).ok());
  EXPECT_EQ(fs.files[kPath], kOneRule + "[300]\r\nstart=2026-12-08 11:00:00\r\nrule=FREQ=DAILY\r\n");
}

TEST(RepeatStore, TheTickLoadsAChangedFileAndTellsOfAnUnreadableOneOnce) {
  MemoryFileSystem fs;
  RepeatStore store(fs, kPath);
  RepeatRules rules;
  bool reloaded = true;
  ASSERT_TRUE(store.ReloadIfChanged(&rules, &reloaded).ok());
  EXPECT_FALSE(reloaded);
  fs.files[kPath] = kOneRule;
  fs.Touch(kPath);
  ASSERT_TRUE(store.ReloadIfChanged(&rules, &reloaded).ok());
  EXPECT_TRUE(reloaded);
  EXPECT_NE(rules.SeriesOf(100), nullptr);

  fs.files[kPath] += "[200]\r\n";
  fs.Touch(kPath);
  fs.fail_reads = true;
  EXPECT_FALSE(store.ReloadIfChanged(&rules, &reloaded).ok());
  EXPECT_TRUE(store.ReloadIfChanged(&rules, &reloaded).ok()) << "told once";
  EXPECT_FALSE(reloaded);
  EXPECT_NE(rules.SeriesOf(100), nullptr);
  fs.fail_reads = false;
  ASSERT_TRUE(store.ReloadIfChanged(&rules, &reloaded).ok());
  EXPECT_TRUE(reloaded);
  EXPECT_NE(rules.Find(200), nullptr);
}

TEST(RepeatStore, AFailedSaveLeavesTheFileAndTheNextOneWritesTheChange) {
  MemoryFileSystem fs;
  fs.files[kPath] = kOneRule;
  RepeatStore store(fs, kPath);
  RepeatRules rules;
  ASSERT_TRUE(store.Load(&rules).ok());
  rules.Set(200, Daily("2026-12-08 10:00:00"));
  fs.fail_writes = true;
  EXPECT_FALSE(store.Save(rules).ok());
  EXPECT_EQ(fs.files[kPath], kOneRule);
  EXPECT_FALSE(store.ChangedOnDisk());
  fs.fail_writes = false;
  ASSERT_TRUE(store.Save(rules).ok());
  EXPECT_NE(fs.files[kPath].find("[200]"), std::string::npos);
}

TEST(RepeatStore, SavingDropsTheRulesOfVanishedEvents) {
  MemoryFileSystem fs;
  fs.files[kPath] = kOneRule + "[999]\r\nstart=bad\r\nrule=FREQ=DAILY\r\n";
  RepeatStore store(fs, kPath);
  RepeatRules rules;
  ASSERT_TRUE(store.Load(&rules).ok());
  ASSERT_TRUE(rules.DropVanished(std::vector<Time32>{999}));
  ASSERT_TRUE(store.Save(rules).ok());
  EXPECT_EQ(fs.files[kPath], "[999]\r\nstart=bad\r\nrule=FREQ=DAILY\r\n");
  EXPECT_EQ(rules.Find(100), nullptr);
}

TEST(RepeatStore, WhatCannotBeReadIsToldAllAtOnceAndAgainOnlyWhenItChanges) {
  MemoryFileSystem fs;
  std::string file;
  for (int i = 1; i <= 40; ++i)
    file.append("[")
        .append(std::to_string(i))
        .append("]\r\nstart=2026-12-08 09:00:00\r\nrule=FREQ=SECONDLY\r\n");
  file += "[200]\r\nrule=FREQ=DAILY\r\n";
  fs.files[kPath] = file;
  RepeatStore store(fs, kPath);
  RepeatRules rules;
  ASSERT_TRUE(store.Load(&rules).ok());
  RepeatProblems problems = store.TakeNewProblems(rules);
  ASSERT_EQ(problems.unreadable.size(), 41u);
  EXPECT_EQ(problems.unreadable[0].created, 1);
  EXPECT_EQ(problems.unreadable[0].rule_text, "FREQ=SECONDLY");
  EXPECT_NE(problems.unreadable[0].reason.find("SECONDLY"), std::string::npos);
  EXPECT_EQ(problems.unreadable[40].reason, "start= is missing");
  EXPECT_TRUE(problems.other_lines.empty());
  EXPECT_TRUE(store.TakeNewProblems(rules).empty());

  // Loaded again (another program touched the file): nothing new...
  fs.Touch(kPath);
  ASSERT_TRUE(store.Load(&rules).ok());
  EXPECT_TRUE(store.TakeNewProblems(rules).empty());
  // ...until what cannot be read changes: random bytes in front of a header glued after NUL bytes.
  fs.files[kPath] = std::string(
      "\x9b\x07garbage\xff\r\n\x01\x02\r\n\0\0[100]\r\nstart=2026-12-08 09:00:00\r\n"
      "rule=FREQ=DAILY\r\n",
      69);
  fs.Touch(kPath);
  ASSERT_TRUE(store.Load(&rules).ok());
  ASSERT_NE(rules.SeriesOf(100), nullptr) << "the header after the NUL bytes still counts";
  problems = store.TakeNewProblems(rules);
  EXPECT_TRUE(problems.unreadable.empty());
  EXPECT_EQ(problems.other_lines, (std::vector<std::size_t>{1, 2}));
  // All well again, then the same fault again: told again.
  fs.files[kPath] = kOneRule;
  fs.Touch(kPath);
  ASSERT_TRUE(store.Load(&rules).ok());
  EXPECT_TRUE(store.TakeNewProblems(rules).empty());
  fs.files[kPath] = "[100]\r\nrule=FREQ=DAILY\r\n";
  fs.Touch(kPath);
  ASSERT_TRUE(store.Load(&rules).ok());
  EXPECT_EQ(store.TakeNewProblems(rules).unreadable.size(), 1u);
}

TEST(RepeatProblems, OneMessageNamesTheFirstFewAndCountsTheRest) {
  RepeatProblems problems;
  for (Time32 t = 1; t <= 5; ++t) problems.unreadable.push_back({t, "FREQ=SECONDLY", "bad"});
  problems.other_lines = {1, 4, 9, 12};
  const std::string message = RepeatProblemsMessage(
      problems, [](Time32 t) { return std::string("e").append(std::to_string(t)); }, "D:\\repeat.ini");
  // 重复规则文件中有 5 条规则无法读取，这些事件只提醒一次：“e1”：... “e3”：... ……另有 2 条
  // 重复规则文件中有 4 行无法识别（第 1、4、9…… 行），已原样保留。
  EXPECT_EQ(message,
            "\xd6\xd8\xb8\xb4\xb9\xe6\xd4\xf2\xce\xc4\xbc\xfe\xd6\xd0\xd3\xd0 5 \xcc\xf5\xb9\xe6\xd4\xf2"
            "\xce\xde\xb7\xa8\xb6\xc1\xc8\xa1\xa3\xac\xd5\xe2\xd0\xa9\xca\xc2\xbc\xfe\xd6\xbb\xcc\xe1\xd0"
            "\xd1\xd2\xbb\xb4\xce\xa3\xba"
            "\r\n\xa1\xb0"
            "e1\xa1\xb1\xa3\xba"
            "FREQ=SECONDLY\r\n\xa1\xb0"
            "e2\xa1\xb1\xa3\xba"
            "FREQ=SECONDLY\r\n\xa1\xb0"
            "e3\xa1\xb1\xa3\xba"
            "FREQ=SECONDLY\r\n"
            "\xa1\xad\xa1\xad\xc1\xed\xd3\xd0 2 \xcc\xf5\r\n"
            "\xd6\xd8\xb8\xb4\xb9\xe6\xd4\xf2\xce\xc4\xbc\xfe\xd6\xd0\xd3\xd0 4 \xd0\xd0\xce\xde\xb7\xa8"
            "\xca\xb6\xb1\xf0\xa3\xa8\xb5\xda 1\xa1\xa2"
            "4\xa1\xa2"
            "9\xa1\xad\xa1\xad \xd0\xd0\xa3\xa9\xa3\xac\xd2\xd1\xd4\xad\xd1\xf9\xb1\xa3\xc1\xf4\xa1\xa3\r\n"
            "D:\\repeat.ini");
}

TEST(RepeatStore, TheFileLiesBesideEventDat) {
  EXPECT_EQ(RepeatFilePathBeside("event.dat"), "repeat.ini");
#ifdef _WIN32
  EXPECT_EQ(RepeatFilePathBeside("C:\\Tallyo\\event.dat"), "C:\\Tallyo\\repeat.ini");
  EXPECT_EQ(RepeatFilePathBeside("C:/Tallyo/event.dat"), "C:/Tallyo/repeat.ini");
  // The trail byte of a double-byte character may be 0x5C ("\x95\x5C" is one character).
  EXPECT_EQ(RepeatFilePathBeside("C:\\\x95\x5C\\event.dat"), "C:\\\x95\x5C\\repeat.ini");
  EXPECT_EQ(RepeatFilePathBeside("C:\\\x95\x5C"
                                 "event.dat"),
            "C:\\repeat.ini");
#else
  EXPECT_EQ(RepeatFilePathBeside("/home/li/tallyo/event.dat"), "/home/li/tallyo/repeat.ini");
  // UTF-8 names: bytes above 0x80 are never a separator.
  EXPECT_EQ(RepeatFilePathBeside("/home/\xe4\xb8\xad/event.dat"), "/home/\xe4\xb8\xad/repeat.ini");
#endif
}
