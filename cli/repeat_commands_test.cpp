// Runs the built tallyo-cli's repeat commands on a fresh folder (Asia/Shanghai)
// and checks the output, the exit codes and both files they leave behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "cli/testing/cli_test_folder.h"
#include "cli/testing/ics_reading.h"
#include "events/event_archive.h"
#include "events/testing/events_test_util.h"

namespace {

namespace fs = std::filesystem;

std::string Lines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

class RepeatCommands : public CliTestFolder {
 protected:
  fs::path EventFile() const { return dir_ / "event.dat"; }
  fs::path RuleFile() const { return dir_ / "repeat.ini"; }

  // Runs a command that must succeed and returns its output.
  std::string Ok(const std::vector<std::string>& args) {
    CliRun run = RunCli(args);
    EXPECT_EQ(run.exit_code, 0) << args[0] << ": " << run.err;
    return run.out;
  }

  // Adds an event and returns its creation time.
  std::string Add(const std::vector<std::string>& args) {
    std::vector<std::string> all = {"add"};
    all.insert(all.end(), args.begin(), args.end());
    std::string out = Ok(all);
    return out.substr(0, out.find('\n'));
  }

  // Three reminders created at 100, 200 and 300; the first repeats daily,
  // the second has a rule this program cannot read.
  void StoreThreeReminders() {
    EventVector v;
    v.push_back(MakeEvent("daily", 100, "", 1, At("2026-12-14 09:00:00")));
    v.push_back(MakeEvent("odd", 200, "", 1, At("2026-12-15 10:00:00")));
    v.push_back(MakeEvent("plain", 300, "", 1, At("2026-12-16 11:00:00")));
    WriteFileBytes(EventFile(), WriteEventArchive(v));
    WriteFileBytes(RuleFile(), kThreeRules);
  }
  static constexpr char kUnreadable[] =
      "[200]\r\n; by hand\r\nstart=2026-12-15 10:00:00\r\nrule=FREQ=MONTHLY;RSCALE=CHINESE;BYDAY=MO\r\n";
  static inline const std::string kThreeRules =
      "[100]\r\nstart=2026-12-14 09:00:00\r\nrule=FREQ=DAILY\r\n" + std::string(kUnreadable);
};

}  // namespace

TEST_F(RepeatCommands, AddWithARuleWritesBothFiles) {
  // 2026-12-12 is a Saturday: a workday rule starts on Monday.
  std::string created = Add({"--title", "站会", "--at", "2026-12-12 09:00:00", "--repeat", "weekdays"});
  EXPECT_EQ(ReadFileBytes(RuleFile()),
            "[" + created + "]\r\nstart=2026-12-14 09:00:00\r\nrule=FREQ=WEEKLY;BYDAY=MO,TU,WE,TH,FR\r\n");
  EXPECT_EQ(Ok({"list", "--remind", "--with-created"}),
            "标题\t提醒时间\t重复\ttimeCreate\n站会\t2026-12-14 09:00:00\t每个工作日 "
            "FREQ=WEEKLY;BYDAY=MO,TU,WE,TH,FR\t" +
                created + "\n");
  EXPECT_EQ(Ok({"next", "--created", created, "--count", "3", "--after", "2026-12-14 09:00:00"}),
            Lines({"2026-12-15 09:00:00", "2026-12-16 09:00:00", "2026-12-17 09:00:00"}));
  EXPECT_EQ(Ok({"next", "--created", created, "--after", "2026-12-13 00:00:00"}),
            Lines({"2026-12-14 09:00:00", "2026-12-15 09:00:00", "2026-12-16 09:00:00", "2026-12-17 09:00:00",
                   "2026-12-18 09:00:00"}));
}

TEST_F(RepeatCommands, BadRulesAreRefusedBeforeAnyFileIsWritten) {
  const std::vector<std::pair<std::vector<std::string>, std::string>> bad = {
      {{"--at", "2026-12-12 09:00:00", "--repeat", "FREQ=WEEKLY;BYDAY=1MO"}, "BYDAY takes an ordinal"},
      {{"--at", "2026-12-12 09:00:00", "--repeat", "FREQ=SECONDLY"}, "FREQ=SECONDLY"},
      {{"--at", "2026-12-12 09:00:00", "--repeat", "FREQ=DAILY;RSCALE=CHINESE"}, "\"RSCALE\""},
      {{"--at", "2026-12-12 09:00:00", "--repeat", "fortnightly"}, "\"fortnightly\""},
      {{"--at", "2026-12-12 09:00:00", "--repeat", "FREQ=DAILY;COUNT=0"}, "COUNT"},
      {{"--at", "2026-12-12 09:00:00", "--repeat", "FREQ=DAILY;UNTIL=20261201T000000"}, "UNTIL"},
      {{"--at", "2026-12-12 09:00:00", "--repeat", "FREQ=WEEKLY;BYMONTHDAY=1"}, "BYMONTHDAY"},
      {{"--repeat", "daily"}, "--at or --in"},
  };
  for (const auto& [options, named] : bad) {
    std::vector<std::string> args = {"add", "--title", "x"};
    args.insert(args.end(), options.begin(), options.end());
    CliRun run = RunCli(args);
    EXPECT_EQ(run.exit_code, 2) << options.back();
    EXPECT_NE(run.err.find(named), std::string::npos) << run.err;
    EXPECT_TRUE(run.out.empty()) << options.back();
    EXPECT_FALSE(fs::exists(EventFile())) << options.back();
    EXPECT_FALSE(fs::exists(RuleFile())) << options.back();
  }
}

TEST_F(RepeatCommands, RepeatTakesAnyRuleWithDatesAddedAndLeftOut) {
  std::string created = Add({"--title", "standup", "--at", "2026-12-09 09:00:00"});
  Ok({"repeat", "--created", created, "FREQ=MONTHLY;BYDAY=MO,TU,WE,TH,FR;BYSETPOS=-1", "--exdate",
      "2026-12-31", "--rdate", "2027-01-02 10:00:00, 2026-12-30"});
  EXPECT_EQ(ReadFileBytes(RuleFile()),
            "[" + created +
                "]\r\nstart=2026-12-31 09:00:00\r\nrule=FREQ=MONTHLY;BYDAY=MO,TU,WE,TH,FR;"
                "BYSETPOS=-1\r\nrdate=2026-12-30 09:00:00,2027-01-02 10:00:00\r\n"
                "exdate=2026-12-31 09:00:00\r\n");
  EXPECT_EQ(Ok({"list", "--remind"}),
            "标题\t提醒时间\t重复\nstandup\t2026-12-30 09:00:00\t每月一、二、三、四、五，取其中最后一个，除 "
            "12-31，另加 12-30、2027-01-02 10:00 FREQ=MONTHLY;BYDAY=MO,TU,WE,TH,FR;BYSETPOS=-1\n");
  EXPECT_EQ(Ok({"next", "--created", created, "--after", "2026-12-01 00:00:00", "--count", "4"}),
            "2026-12-30 09:00:00\n2027-01-02 10:00:00\n2027-01-29 09:00:00\n2027-02-26 09:00:00\n");

  const std::string rules_before = ReadFileBytes(RuleFile());
  for (const auto& [option, value] : std::vector<std::pair<std::string, std::string>>{
           {"--exdate", "2026-12-32"}, {"--rdate", "tomorrow"}, {"--rdate", "2026-12-30,"}}) {
    CliRun run = RunCli({"repeat", "--created", created, "daily", option, value});
    EXPECT_EQ(run.exit_code, 2) << value;
    EXPECT_NE(run.err.find(option + " expects local times"), std::string::npos) << run.err;
  }
  EXPECT_EQ(RunCli({"repeat", "--created", created, "none", "--exdate", "2026-12-31"}).exit_code, 2);
  EXPECT_EQ(ReadFileBytes(RuleFile()), rules_before);
}

TEST_F(RepeatCommands, RepeatSetsReplacesAndRemovesTheRuleOfAReminder) {
  std::string created = Add({"--title", "dentist", "--at", "2026-12-09 15:00:00"});
  EXPECT_FALSE(fs::exists(RuleFile())) << "a one-off needs no repeat.ini";
  Ok({"repeat", "--created", created, "monthly"});
  EXPECT_EQ(ReadFileBytes(RuleFile()),
            "[" + created + "]\r\nstart=2026-12-09 15:00:00\r\nrule=FREQ=MONTHLY\r\n");

  // A rule that does not name the reminder's day (a Wednesday) starts on the first it names.
  Ok({"repeat", "--created", created, "freq=weekly;byday=fr"});
  EXPECT_EQ(ReadFileBytes(RuleFile()),
            "[" + created + "]\r\nstart=2026-12-11 15:00:00\r\nrule=FREQ=WEEKLY;BYDAY=FR\r\n");
  EXPECT_EQ(Ok({"list", "--remind"}),
            "标题\t提醒时间\t重复\ndentist\t2026-12-11 15:00:00\t每周五 FREQ=WEEKLY;BYDAY=FR\n");

  const std::string events_before = ReadFileBytes(EventFile()), rules_before = ReadFileBytes(RuleFile());
  for (const char* bad : {"FREQ=WEEKLY;BYDAY=XX", "FREQ=DAILY;UNTIL=20261201T000000", ""}) {
    CliRun run = RunCli({"repeat", "--created", created, bad});
    EXPECT_EQ(run.exit_code, 2) << bad;
    EXPECT_NE(run.err.find("bad rule"), std::string::npos) << run.err;
  }
  CliRun missing = RunCli({"repeat", "--created", "12345", "daily"});
  EXPECT_EQ(missing.exit_code, 1);
  EXPECT_NE(missing.err.find("no event was created at 12345"), std::string::npos) << missing.err;
  EXPECT_EQ(RunCli({"repeat", "--created", "abc", "daily"}).exit_code, 2);
  EXPECT_EQ(ReadFileBytes(EventFile()), events_before);
  EXPECT_EQ(ReadFileBytes(RuleFile()), rules_before);

  Ok({"repeat", "--created", created, "none"});
  EXPECT_EQ(ReadFileBytes(RuleFile()), "");
  EXPECT_EQ(Ok({"list", "--remind"}), "标题\t提醒时间\t重复\ndentist\t2026-12-11 15:00:00\t\n");
  CliRun next = RunCli({"next", "--created", created});
  EXPECT_EQ(next.exit_code, 1);
  EXPECT_NE(next.err.find("does not repeat"), std::string::npos) << next.err;
}

TEST_F(RepeatCommands, AMemoHasNoReminderTimeToStartFrom) {
  WriteFileBytes(EventFile(), WriteEventArchive([] {
                   EventVector v;
                   v.push_back(MakeEvent("memo", 100));
                   return v;
                 }()));
  CliRun run = RunCli({"repeat", "--created", "100", "daily"});
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_NE(run.err.find("memo"), std::string::npos) << run.err;
  EXPECT_FALSE(fs::exists(RuleFile()));
}

TEST_F(RepeatCommands, NextListsOccurrencesStrictlyAfterTheMoment) {
  std::string minutely = Add({"--title", "m", "--at", "2000-01-01 00:00:00", "--repeat", "FREQ=MINUTELY"});
  CliRun thousand =
      RunCli({"next", "--created", minutely, "--count", "1000", "--after", "2026-12-08 09:00:30"});
  ASSERT_EQ(thousand.exit_code, 0) << thousand.err;
  EXPECT_EQ(std::count(thousand.out.begin(), thousand.out.end(), '\n'), 1000);
  EXPECT_EQ(thousand.out.substr(0, 20), "2026-12-08 09:01:00\n");
  EXPECT_EQ(thousand.out.substr(thousand.out.size() - 20), "2026-12-09 01:40:00\n");
  EXPECT_EQ(Ok({"next", "--created", minutely, "--count", "2", "--after", "2026-12-08 09:01:00"}),
            Lines({"2026-12-08 09:02:00", "2026-12-08 09:03:00"}));
  // Without --after: from now on, five of them.
  std::string from_now = Ok({"next", "--created", minutely});
  EXPECT_EQ(std::count(from_now.begin(), from_now.end(), '\n'), 5);

  std::string leap = Add({"--title", "l", "--at", "2024-02-29 07:30:00", "--repeat", "FREQ=YEARLY;COUNT=2"});
  EXPECT_EQ(Ok({"next", "--created", leap, "--count", "9", "--after", "2000-01-01 00:00:00"}),
            Lines({"2024-02-29 07:30:00", "2028-02-29 07:30:00"}));
  EXPECT_EQ(Ok({"next", "--created", leap, "--after", "2028-02-29 07:30:00"}), "");

  for (const std::vector<std::string>& bad : {std::vector<std::string>{"--count", "0"},
                                              {"--count", "abc"},
                                              {"--count", "1000001"},
                                              {"--after", "tomorrow"},
                                              {"--after", "2040-01-01 00:00:00"},
                                              {"--after", "2026-02-30 00:00:00"}}) {
    std::vector<std::string> args = {"next", "--created", minutely};
    args.insert(args.end(), bad.begin(), bad.end());
    CliRun run = RunCli(args);
    EXPECT_EQ(run.exit_code, 2) << bad.back();
    EXPECT_TRUE(run.out.empty()) << bad.back();
  }
}

TEST_F(RepeatCommands, DeleteTakesTheRuleAlongAndAnUnreadableRuleIsKept) {
  StoreThreeReminders();
  CliRun list = RunCli({"list", "--remind"});
  EXPECT_EQ(list.exit_code, 0) << list.err;
  EXPECT_EQ(list.out,
            "标题\t提醒时间\t重复\n"
            "daily\t2026-12-14 09:00:00\t每天 FREQ=DAILY\n"
            "odd\t2026-12-15 10:00:00\t\n"
            "plain\t2026-12-16 11:00:00\t\n");
  EXPECT_NE(list.err.find("created at 200"), std::string::npos) << list.err;
  EXPECT_NE(list.err.find("RSCALE"), std::string::npos) << list.err;
  CliRun next = RunCli({"next", "--created", "200"});
  EXPECT_EQ(next.exit_code, 1);
  EXPECT_NE(next.err.find("cannot be read"), std::string::npos) << next.err;

  Ok({"repeat", "--created", "300", "yearly"});
  EXPECT_EQ(ReadFileBytes(RuleFile()),
            kThreeRules + "[300]\r\nstart=2026-12-16 11:00:00\r\nrule=FREQ=YEARLY\r\n");
  Ok({"delete", "--created", "100"});
  EXPECT_EQ(ReadFileBytes(RuleFile()),
            std::string(kUnreadable) + "[300]\r\nstart=2026-12-16 11:00:00\r\nrule=FREQ=YEARLY\r\n");
  Ok({"delete", "--created", "200"});
  EXPECT_EQ(ReadFileBytes(RuleFile()), "[300]\r\nstart=2026-12-16 11:00:00\r\nrule=FREQ=YEARLY\r\n");
}

TEST_F(RepeatCommands, EveryEventOfASecondMayRepeatAndItsRuleStaysWithIt) {
  EventVector v;
  v.push_back(MakeEvent("first", 100, "", 1, At("2026-12-14 09:00:00")));
  v.push_back(MakeEvent("twin", 100, "", 1, At("2026-12-14 10:00:00")));
  WriteFileBytes(EventFile(), WriteEventArchive(v));
  WriteFileBytes(RuleFile(), "[100]\r\nstart=2026-12-14 09:00:00\r\nrule=FREQ=DAILY\r\n");
  EXPECT_EQ(Ok({"list", "--remind", "--with-created"}),
            "标题\t提醒时间\t重复\ttimeCreate\n"
            "first\t2026-12-14 09:00:00\t每天 FREQ=DAILY\t100\n"
            "twin\t2026-12-14 10:00:00\t\t100-1\n");
  CliRun next = RunCli({"next", "--created", "100-1"});
  EXPECT_EQ(next.exit_code, 1);
  EXPECT_NE(next.err.find("does not repeat"), std::string::npos) << next.err;
  Ok({"repeat", "--created", "100-1", "weekly"});
  // Each section of the shared second carries how many events it held and its title's hash.
  EXPECT_EQ(ReadFileBytes(RuleFile()),
            "[100]\r\nstart=2026-12-14 09:00:00\r\nrule=FREQ=DAILY\r\nevents=2\r\ntitle=4881d841\r\n"
            "[100-1]\r\nstart=2026-12-14 10:00:00\r\nrule=FREQ=WEEKLY\r\nevents=2\r\ntitle=9a8704f3\r\n");
  EXPECT_EQ(Ok({"next", "--created", "100-1", "--count", "2", "--after", "2026-12-14 10:00:00"}),
            Lines({"2026-12-21 10:00:00", "2026-12-28 10:00:00"}));
  CliRun beyond = RunCli({"next", "--created", "100-2"});
  EXPECT_EQ(beyond.exit_code, 1);
  EXPECT_NE(beyond.err.find("no 100-2"), std::string::npos) << beyond.err;
  // Deleting the first makes the twin the first of its second: its own rule
  // goes along, the first one's goes with the first.
  Ok({"delete", "--created", "100"});
  EXPECT_EQ(Ok({"list", "--remind"}), "标题\t提醒时间\t重复\ntwin\t2026-12-14 10:00:00\t每周 FREQ=WEEKLY\n");
  EXPECT_EQ(ReadFileBytes(RuleFile()), "[100]\r\nstart=2026-12-14 10:00:00\r\nrule=FREQ=WEEKLY\r\n");
}

TEST_F(RepeatCommands, ARuleDoesNotPassToAnotherEventWhenAnOlderToolDeletesItsOwn) {
  // What a save wrote for two events of one second, the first repeating daily.
  EventVector v;
  v.push_back(MakeEvent("first", 100, "", 1, At("2026-12-14 09:00:00")));
  v.push_back(MakeEvent("twin", 100, "", 1, At("2026-12-14 10:00:00")));
  WriteFileBytes(RuleFile(),
                 "[100]\r\nstart=2026-12-14 09:00:00\r\nrule=FREQ=DAILY\r\nevents=2\r\ntitle=4881d841\r\n");
  // An older tool, which knows no repeat.ini, deleted the first.
  v.erase(v.begin());
  WriteFileBytes(EventFile(), WriteEventArchive(v));
  EXPECT_EQ(Ok({"list", "--remind"}), "标题\t提醒时间\t重复\ntwin\t2026-12-14 10:00:00\t\n");
  Ok({"add", "--title", "other"});
  EXPECT_EQ(ReadFileBytes(RuleFile()), "") << "the rule went with its event";
}

TEST_F(RepeatCommands, ACalendarExpandsTheExportedSeriesToTheSameOccurrences) {
  const std::vector<std::pair<const char*, const char*>> series = {
      {"2026-12-14 09:00:00", "FREQ=WEEKLY;INTERVAL=2;BYDAY=MO,TH;COUNT=7"},
      {"2027-01-31 08:00:00", "FREQ=MONTHLY;COUNT=12"},
      {"2028-02-29 07:30:00", "FREQ=YEARLY;COUNT=3"},
      {"2027-03-01 23:30:00", "FREQ=DAILY;INTERVAL=3;UNTIL=20270320T233000"},
      {"2027-06-01 06:00:00", "FREQ=HOURLY;INTERVAL=5;COUNT=20"},
  };
  for (const auto& [start, rule] : series) {
    SCOPED_TRACE(rule);
    EventVector v;
    v.push_back(MakeEvent("\xd5\xbe\xbb\xe1", 100, "", 1, At(start)));  // "站会"
    v.push_back(MakeEvent("once", 200, "", 1, At("2026-12-20 10:00:00")));
    WriteFileBytes(EventFile(), WriteEventArchive(v));
    WriteFileBytes(RuleFile(), "[100]\r\nstart=" + std::string(start) + "\r\nrule=" + rule + "\r\n");

    CliRun run = RunCli({"export", "--ics"});
    ASSERT_EQ(run.exit_code, 0) << run.err;
    ReadCalendar calendar = ReadIcs(run.out);
    ASSERT_TRUE(calendar.parsed);
    EXPECT_EQ(calendar.errors, 0) << calendar.first_error;
    ASSERT_EQ(calendar.components.size(), 2u);
    const ReadComponent& repeating = calendar.components[0];
    std::string floating(start);
    floating.erase(
        std::remove_if(floating.begin(), floating.end(), [](char c) { return c == '-' || c == ':'; }),
        floating.end());
    floating[8] = 'T';
    EXPECT_EQ(repeating.floating_start, floating);
    EXPECT_FALSE(repeating.rrule.empty());
    EXPECT_GE(repeating.first_occurrences.size(), 3u);
    ASSERT_EQ(repeating.alarms.size(), 1u);
    EXPECT_EQ(repeating.alarms[0], "DISPLAY at +0 of START: 站会");
    Time32 before_start = At(start) - 1;
    std::string ours = Ok({"next", "--created", "100", "--count", "20", "--after", FormatTime(before_start)});
    EXPECT_EQ(Lines(repeating.first_occurrences), ours);

    const ReadComponent& once = calendar.components[1];
    EXPECT_TRUE(once.rrule.empty());
    EXPECT_TRUE(once.floating_start.empty());
    EXPECT_EQ(once.start, At("2026-12-20 10:00:00"));
  }
  CliRun refused = RunCli({"export", "--ics", "--out", (dir_ / "repeat.ini").string()});
  EXPECT_EQ(refused.exit_code, 2);
}

TEST_F(RepeatCommands, WritersAtOnceLoseNoEventAndNoRule) {
  // Three shell loops add repeating reminders to one folder at the same time.
  constexpr int kLoops = 3, kAdds = 12;
  std::string script;
  for (int loop = 0; loop < kLoops; ++loop) {
    script += "(for i in $(seq " + std::to_string(kAdds) + "); do '" + CliPath() + "' --dir '" +
              dir_.string() + "' add --title w" + std::to_string(loop) +
              "-$i --in 600 --repeat daily || echo failed; done >'" +
              (dir_ / ("out" + std::to_string(loop))).string() + "') & ";
  }
  script += "wait\n";
  WriteFileBytes(dir_ / "writers.sh", script);
  ASSERT_EQ(std::system(("bash '" + (dir_ / "writers.sh").string() + "'").c_str()), 0);
  std::vector<std::string> created;
  for (int loop = 0; loop < kLoops; ++loop) {
    std::string out = ReadFileBytes(dir_ / ("out" + std::to_string(loop)));
    EXPECT_EQ(out.find("failed"), std::string::npos) << out;
    for (std::size_t at = 0, end; (end = out.find('\n', at)) != std::string::npos; at = end + 1)
      created.push_back(out.substr(at, end - at));
  }
  ASSERT_EQ(created.size(), std::size_t{kLoops * kAdds});
  const std::string list = Ok({"list", "--all", "--with-created"});
  const std::string rules = ReadFileBytes(RuleFile());
  for (const std::string& time : created) {
    EXPECT_NE(list.find(" FREQ=DAILY\t" + time + "\n"), std::string::npos) << time << " with its rule";
    EXPECT_NE(rules.find("[" + time + "]"), std::string::npos) << time;
  }
  EXPECT_FALSE(fs::exists(dir_ / "event.dat.lock"));
}

TEST_F(RepeatCommands, ALockLeftByAKilledWriterHoldsTheNextOneUpForSecondsOnly) {
  WriteFileBytes(dir_ / "event.dat.lock",
                 "Tallyo lock\r\npid=1\r\nid=00000000deadbeef\r\nbeat=0000000003\r\n");
  const auto start = std::chrono::steady_clock::now();
  const std::string created = Add({"--title", "after", "--in", "60", "--repeat", "daily"});
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::seconds(4)) << "a live writer gets 5 s";
  EXPECT_NE(ReadFileBytes(RuleFile()).find("[" + created + "]"), std::string::npos);
  EXPECT_FALSE(fs::exists(dir_ / "event.dat.lock"));
}

TEST_F(RepeatCommands, ManyRulesThatCannotBeReadAreToldInOneMessage) {
  EventVector v;
  std::string rules = "\x01\x02 not a line of an INI file\r\n";
  for (Time32 t = 1; t <= 40; ++t) {
    v.push_back(
        MakeEvent(std::string("odd ").append(std::to_string(t)), t, "", 1, At("2026-12-15 10:00:00")));
    rules.append("[").append(std::to_string(t));
    rules.append("]\r\nstart=2026-12-15 10:00:00\r\nrule=FREQ=SECONDLY\r\n");
  }
  WriteFileBytes(EventFile(), WriteEventArchive(v));
  WriteFileBytes(RuleFile(), rules);
  for (const char* command : {"list", "check"}) {
    CliRun run = command == std::string("list") ? RunCli({"list", "--all"}) : RunCli({"check"});
    EXPECT_EQ(run.exit_code, 0) << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 2) << run.err;
    EXPECT_NE(run.err.find("40 rules in"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("(\"odd 1\")"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("and 37 more"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("1 line of"), std::string::npos) << run.err;
  }
  CliRun add = RunCli({"add", "--title", "new"});
  EXPECT_EQ(add.exit_code, 0) << add.err;
  EXPECT_EQ(std::count(add.err.begin(), add.err.end(), '\n'), 2) << add.err;
}
