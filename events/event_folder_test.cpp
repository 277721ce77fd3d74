#include "events/event_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
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
  EXPECT_FALSE(out.all_saved());
  EXPECT_TRUE(f.fs.written.empty());
  EXPECT_TRUE(f.fs.FileExists(kLock)) << "the other's lock stays";
}

TEST(EventFolder, NewRulesAreSavedBeforeTheirEventsAndRulesTakenAwayAfter) {
  Fixture f;
  // An add with a rule: repeat.ini first, then event.dat.
  FolderChangeOutcome out = f.writer.Make([](EventList& events, RepeatRules& rules) {
    events.Add(MakeEvent("water", 300, "", 1, At("2026-12-08 10:00:00")));
    return SetEventRepeat(events, rules, {300, 0}, Rule("FREQ=HOURLY")) == SetRepeatResult::kSet;
  });
  EXPECT_TRUE(out.all_saved());
  EXPECT_EQ(f.fs.written, (std::vector<std::string>{kRules, kEvents}));
  // A delete: event.dat first, then repeat.ini without the rule.
  f.fs.written.clear();
  out = f.writer.Make([](EventList& events, RepeatRules& rules) {
    return DeleteEventAndRule(events, rules, {300, 0});
  });
  EXPECT_EQ(f.fs.written, (std::vector<std::string>{kEvents, kRules}));
  EXPECT_EQ(f.fs.files[kRules], kDaily);
  // Nothing changed in the rules: repeat.ini is not written.
  f.fs.written.clear();
  out = f.writer.Make(NoChange);
  EXPECT_EQ(f.fs.written, (std::vector<std::string>{kEvents}));
}

TEST(EventFolder, WhenOneFileCannotBeSavedTheChangeStaysForTheNextSave) {
  Fixture f;
  f.fs.failing = kEvents;
  FolderChangeOutcome out = f.writer.Make([](EventList& events, RepeatRules& rules) {
    return SetEventRepeat(events, rules, {200, 0}, Rule("FREQ=WEEKLY")) == SetRepeatResult::kSet;
  });
  EXPECT_TRUE(out.rules_save.ok());
  EXPECT_FALSE(out.save.ok());
  EXPECT_FALSE(out.all_saved());
  f.fs.failing.clear();
  out = f.writer.Make(NoChange);
  EXPECT_TRUE(out.all_saved());
  EXPECT_NE(f.fs.files[kRules].find("[200]"), std::string::npos);

  // repeat.ini refused: event.dat waits too, so the event never goes without its rule.
  f.fs.failing = kRules;
  f.fs.written.clear();
  out = f.writer.Make([](EventList& events, RepeatRules& rules) {
    events.Add(MakeEvent("water", 300, "", 1, At("2026-12-08 10:00:00")));
    return SetEventRepeat(events, rules, {300, 0}, Rule("FREQ=HOURLY")) == SetRepeatResult::kSet;
  });
  EXPECT_FALSE(out.rules_save.ok());
  EXPECT_TRUE(f.fs.written.empty());
}

namespace {

// A writer killed after `writes_left` replaces: nothing more reaches the
// disk, not even the release of its lock.
class DyingFileSystem : public OrderedFileSystem {
 public:
  int writes_left = -1;  // below 0: never dies
  Status ReplaceFile(const std::string& path, std::string_view contents) override {
    if (writes_left == 0) return Status::IoError("killed");
    if (writes_left > 0) --writes_left;
    return OrderedFileSystem::ReplaceFile(path, contents);
  }
  Status RemoveFile(const std::string& path) override {
    if (writes_left == 0) return Status::IoError("killed");
    return OrderedFileSystem::RemoveFile(path);
  }
};

// What the disk holds: each event's creation time, and the rules' sections.
struct OnDisk {
  std::vector<Time32> events;
  std::string rules;
};

OnDisk ReadDisk(MemoryFileSystem& fs) {
  EventList events(fs, kEvents);
  EXPECT_TRUE(events.LoadEvents().ok());
  return {CreationTimes(events), fs.files[kRules]};
}

bool Has(const std::vector<Time32>& times, Time32 t) {
  return std::count(times.begin(), times.end(), t) != 0;
}

}  // namespace

TEST(EventFolder, AWriterKilledAtAnyMomentLeavesEveryEventWithItsRule) {
  for (int survived = 0; survived <= 3; ++survived) {
    SCOPED_TRACE(std::string("writes before the kill: ").append(std::to_string(survived)));
    DyingFileSystem fs;
    FolderLockTiming quick;
    quick.poll = std::chrono::milliseconds(2);
    quick.stale_after = std::chrono::milliseconds(30);
    {
      EventList events(fs, kEvents);
      RepeatRules rules;
      RepeatStore store(fs, kRules);
      EventFolder folder(fs, events, rules, store, quick);
      EventFolder::Options options;
      ASSERT_TRUE(folder
                      .Make(
                          [](EventList& list, RepeatRules& list_rules) {
                            list.Add(MakeEvent("stand-up", 100, "", 1, At("2026-12-08 09:00:00")));
                            return SetEventRepeat(list, list_rules, {100, 0}, Rule("FREQ=DAILY")) ==
                                   SetRepeatResult::kSet;
                          },
                          options)
                      .all_saved());
      // Killed while it adds a repeating reminder and deletes the stand-up.
      fs.writes_left = survived;
      folder.Make(
          [](EventList& list, RepeatRules& list_rules) {
            list.Add(MakeEvent("water", 300, "", 1, At("2026-12-08 10:00:00")));
            SetEventRepeat(list, list_rules, {300, 0}, Rule("FREQ=HOURLY"));
            return DeleteEventAndRule(list, list_rules, {100, 0});
          },
          options);
    }
    const OnDisk killed = ReadDisk(fs);
    if (Has(killed.events, 300)) {
      EXPECT_NE(killed.rules.find("[300]"), std::string::npos) << "water's rule";
    }
    if (Has(killed.events, 100)) {
      EXPECT_NE(killed.rules.find("[100]"), std::string::npos) << "stand-up's rule";
    }

    // The next writer finds the dead one's lock, takes it when stale, and adds
    // a one-off in second 300: a rule left there without its event is not its.
    fs.writes_left = -1;
    EventList events(fs, kEvents);
    RepeatRules rules;
    RepeatStore store(fs, kRules);
    EventFolder folder(fs, events, rules, store, quick);
    EventFolder::Options options;
    FolderChangeOutcome next = folder.Make(
        [](EventList& list, RepeatRules&) {
          if (list.FindByCreateTime(300) == nullptr) list.AddNew(MakeEvent("one-off", 300));
          return true;
        },
        options);
    ASSERT_TRUE(next.all_saved()) << next.lock.message();
    const OnDisk after = ReadDisk(fs);
    ASSERT_TRUE(Has(after.events, 300));
    const bool water = events.FindByCreateTime(300)->strTitle == "water";
    EXPECT_EQ(after.rules.find("[300]") != std::string::npos, water);
    EXPECT_EQ(after.rules.find("[100]") != std::string::npos, Has(after.events, 100));
    EXPECT_FALSE(fs.FileExists(kLock));
  }
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
