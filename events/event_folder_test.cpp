#include "events/event_folder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/testing/memory_file_system.h"
#include "events/event_repeats.h"
#include "events/testing/events_test_util.h"

namespace {

const std::string kEvents = "event.dat";
const std::string kRules = "repeat.ini";
const std::string kLock = "event.dat.lock";
const std::string kDaily = "[100]\r\nstart=2026-12-08 09:00:00\r\nrule=FREQ=DAILY\r\n";

Time32 At(const char* local) {
  Time32 t = 0;
  EXPECT_TRUE(ParseLocalTime(local, &t)) << local;
  return t;
}

RepeatRule Rule(const char* text) {
  RepeatRule rule;
  EXPECT_TRUE(ParseRepeatRule(text, &rule).ok()) << text;
  return rule;
}

// Remembers the order in which files were replaced, whether the lock was
// held each time, and can fail the writes of one file.
class OrderedFileSystem : public MemoryFileSystem {
 public:
  std::vector<std::string> written;
  std::string failing;
  std::string unreadable;
  bool written_unlocked = false;
  Status ReadFile(const std::string& path, std::string* contents) override {
    if (path == unreadable) return Status::IoError(path + ": read error");
    return MemoryFileSystem::ReadFile(path, contents);
  }
  Status ReplaceFile(const std::string& path, std::string_view contents) override {
    if (path == failing) return Status::IoError(path + ": no space left on device");
    written.push_back(path);
    if (!FileExists(kLock)) written_unlocked = true;
    return MemoryFileSystem::ReplaceFile(path, contents);
  }
};

bool NoChange(EventList&, RepeatRules&) { return true; }

// A daily reminder at 09:00 created at 100, and a one-off created at 200, as a writer of the folder sees
// them.
struct Writer {
  explicit Writer(OrderedFileSystem& fs) : fs(fs) {}
  OrderedFileSystem& fs;
  EventList events{fs, kEvents};
  RepeatRules rules;
  RepeatStore store{fs, kRules};
  EventFolder folder{fs, events, rules, store};

  FolderChangeOutcome Make(const EventFolder::Change& change, SaveWhen save_when = SaveWhen::kAlways) {
    EventFolder::Options options;
    options.save_when = save_when;
    options.wait = std::chrono::milliseconds(100);
    return folder.Make(change, options);
  }
};

struct Fixture {
  OrderedFileSystem fs;
  Writer writer{fs};
  Fixture() {
    FolderChangeOutcome first = writer.Make([](EventList& events, RepeatRules& rules) {
      events.Add(MakeEvent("stand-up", 100, "", 1, At("2026-12-08 09:00:00")));
      events.Add(MakeEvent("dentist", 200, "", 1, At("2026-12-09 15:00:00")));
      return SetEventRepeat(events, rules, {100, 0}, Rule("FREQ=DAILY")) == SetRepeatResult::kSet;
    });
    EXPECT_TRUE(first.all_saved());
    fs.written.clear();
  }
};

}  // namespace

TEST(EventFolder, EveryFileIsWrittenUnderTheLockAndTheLockGoesAfter) {
  Fixture f;
  EXPECT_EQ(f.fs.files[kRules], kDaily);
  EXPECT_FALSE(f.fs.written_unlocked);
  EXPECT_FALSE(f.fs.FileExists(kLock));

  // Another writer holds the lock: nothing is read, changed or written.
  std::unique_ptr<FolderLock> other;
  ASSERT_TRUE(FolderLock::Acquire(f.fs, kLock, std::chrono::milliseconds(0), &other).ok());
  bool called = false;
  FolderChangeOutcome busy = f.writer.Make([&](EventList&, RepeatRules&) { return called = true; });
  EXPECT_EQ(busy.lock.code(), Status::Code::kBusy);
  EXPECT_FALSE(called);
  EXPECT_FALSE(busy.all_saved());
  EXPECT_TRUE(f.fs.written.empty());
}

TEST(EventFolder, AWriterThatLostTheLockReplacesNothing) {
  Fixture f;
  FolderChangeOutcome out = f.writer.Make([&](EventList& events, RepeatRules&) {
    // Taken for killed meanwhile: another program broke the lock and holds it now.
    f.fs.files[kLock] = "Tallyo lock\r\npid=2\r\nid=00000000cafebabe\r\nbeat=0000000000\r\n";
    events.Add(MakeEvent("late", 300));
    return true;
  });
  EXPECT_FALSE(out.save.ok());
  EXPECT_TRUE(f.fs.written.empty());
  EXPECT_TRUE(f.fs.FileExists(kLock)) << "the other's lock stays";
}

TEST(EventFolder, EventDatIsSavedFirstAndRepeatIniAfterIt) {
  Fixture f;
  FolderChangeOutcome out = f.writer.Make(NoChange);
  EXPECT_TRUE(out.all_saved());
  EXPECT_EQ(f.fs.written, (std::vector<std::string>{kEvents}));
  f.fs.written.clear();

  // When event.dat cannot be saved, repeat.ini waits: the change stays in memory for the next save.
  f.fs.failing = kEvents;
  out = f.writer.Make([](EventList& events, RepeatRules& rules) {
    return SetEventRepeat(events, rules, {200, 0}, Rule("FREQ=WEEKLY")) == SetRepeatResult::kSet;
  });
  EXPECT_FALSE(out.save.ok());
  EXPECT_TRUE(f.fs.written.empty());
  EXPECT_EQ(f.fs.files[kRules].find("[200]"), std::string::npos);
  f.fs.failing.clear();
  out = f.writer.Make(NoChange);
  EXPECT_EQ(f.fs.written, (std::vector<std::string>{kEvents, kRules}));
  EXPECT_NE(f.fs.files[kRules].find("[200]"), std::string::npos);
}

TEST(EventFolder, AChangeTakesInWhatOtherProgramsWroteAndDropsRulesOfDeletedEvents) {
  Fixture f;
  // Another copy gives the dentist a yearly rule...
  Writer theirs(f.fs);
  FolderChangeOutcome out = theirs.Make([](EventList& events, RepeatRules& rules) {
    return SetEventRepeat(events, rules, {200, 0}, Rule("FREQ=YEARLY")) == SetRepeatResult::kSet;
  });
  ASSERT_TRUE(out.all_saved());

  // ...while this one deletes the stand-up: its rule goes, theirs stays.
  out = f.writer.Make([](EventList& events, RepeatRules&) { return events.DeleteByCreateTime(100); },
                      SaveWhen::kIfApplied);
  EXPECT_TRUE(out.rules_save.ok());
  EXPECT_EQ(f.fs.files[kRules], "[200]\r\nstart=2026-12-09 15:00:00\r\nrule=FREQ=YEARLY\r\n");

  // A change that finds nothing saves nothing.
  f.fs.written.clear();
  out = f.writer.Make([](EventList& events, RepeatRules&) { return events.DeleteByCreateTime(100); },
                      SaveWhen::kIfApplied);
  EXPECT_FALSE(out.applied);
  EXPECT_TRUE(f.fs.written.empty());
}

TEST(EventFolder, ARepeatIniThatCannotBeReadIsNotReplaced) {
  Fixture f;
  f.fs.files[kRules] = "[100]\r\nstart=2026-12-08 09:00:00\r\nrule=FREQ=HOURLY\r\n";
  f.fs.Touch(kRules);
  f.fs.unreadable = kRules;
  FolderChangeOutcome out = f.writer.Make([](EventList& events, RepeatRules& rules) {
    return SetEventRepeat(events, rules, {200, 0}, Rule("FREQ=WEEKLY")) == SetRepeatResult::kSet;
  });
  EXPECT_FALSE(out.rules_load.ok());
  EXPECT_FALSE(out.rules_save.ok());
  EXPECT_EQ(f.fs.files[kRules], "[100]\r\nstart=2026-12-08 09:00:00\r\nrule=FREQ=HOURLY\r\n");
}
