#include "repeat/repeat_store.h"

#include <gtest/gtest.h>

#include <vector>

#include "base/testing/memory_file_system.h"

namespace {

const std::string kPath = "repeat.ini";
const std::string kOneRule = "[100]\r\nstart=2026-12-08 09:00:00\r\nrule=FREQ=DAILY\r\n";
const std::vector<Time32> kEvents = {100, 200, 300};

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
  ASSERT_TRUE(store.Save(rules, kEvents).ok());
  EXPECT_EQ(fs.replace_calls, 0);
  EXPECT_FALSE(fs.FileExists(kPath));

  rules.Set(100, Daily("2026-12-08 09:00:00"));
  ASSERT_TRUE(store.Save(rules, kEvents).ok());
  EXPECT_EQ(fs.files[kPath], kOneRule);
  EXPECT_FALSE(store.ChangedOnDisk());
  ASSERT_TRUE(store.Save(rules, kEvents).ok());
  EXPECT_EQ(fs.replace_calls, 1) << "the same bytes are not written again";

  // The last rule gone: the file stays, empty.
  rules.Remove(100);
  ASSERT_TRUE(store.Save(rules, kEvents).ok());
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
  EXPECT_FALSE(store.Save(rules, kEvents).ok());
  EXPECT_EQ(fs.files[kPath], kOneRule);
  EXPECT_EQ(fs.replace_calls, 0);

  fs.fail_reads = false;
  ASSERT_TRUE(store.Load(&rules).ok());
  rules.Set(300, Daily("2026-12-08 11:00:00"));
  ASSERT_TRUE(store.Save(rules, kEvents).ok());
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
  EXPECT_FALSE(store.Save(rules, kEvents).ok());
  EXPECT_EQ(fs.files[kPath], kOneRule);
  EXPECT_FALSE(store.ChangedOnDisk());
  fs.fail_writes = false;
  ASSERT_TRUE(store.Save(rules, kEvents).ok());
  EXPECT_NE(fs.files[kPath].find("[200]"), std::string::npos);
}

TEST(RepeatStore, SavingDropsTheRulesOfVanishedEvents) {
  MemoryFileSystem fs;
  fs.files[kPath] = kOneRule + "[999]\r\nstart=bad\r\nrule=FREQ=DAILY\r\n";
  RepeatStore store(fs, kPath);
  RepeatRules rules;
  ASSERT_TRUE(store.Load(&rules).ok());
  ASSERT_TRUE(store.Save(rules, std::vector<Time32>{999}).ok());
  EXPECT_EQ(fs.files[kPath], "[999]\r\nstart=bad\r\nrule=FREQ=DAILY\r\n");
  EXPECT_EQ(rules.Find(100), nullptr);
}

TEST(RepeatStore, EachUnreadableRuleIsReportedOnce) {
  MemoryFileSystem fs;
  fs.files[kPath] =
      "[100]\r\nstart=2026-12-08 09:00:00\r\nrule=FREQ=SECONDLY\r\n[200]\r\nrule=FREQ=DAILY\r\n";
  RepeatStore store(fs, kPath);
  RepeatRules rules;
  ASSERT_TRUE(store.Load(&rules).ok());
  std::vector<RepeatProblem> problems = store.TakeNewProblems(rules);
  ASSERT_EQ(problems.size(), 2u);
  EXPECT_EQ(problems[0].created, 100);
  EXPECT_EQ(problems[0].rule_text, "FREQ=SECONDLY");
  EXPECT_NE(problems[0].reason.find("SECONDLY"), std::string::npos);
  EXPECT_EQ(problems[1].reason, "start= is missing");
  EXPECT_TRUE(store.TakeNewProblems(rules).empty());

  // Loaded again (another program touched the file): still nothing new...
  fs.Touch(kPath);
  ASSERT_TRUE(store.Load(&rules).ok());
  EXPECT_TRUE(store.TakeNewProblems(rules).empty());
  // ...until an event gets another rule that cannot be read either.
  fs.files[kPath] = "[100]\r\nstart=2026-12-08 09:00:00\r\nrule=FREQ=DAILY;RSCALE=GREGORIAN\r\n";
  fs.Touch(kPath);
  ASSERT_TRUE(store.Load(&rules).ok());
  problems = store.TakeNewProblems(rules);
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_EQ(problems[0].rule_text, "FREQ=DAILY;RSCALE=GREGORIAN");
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
