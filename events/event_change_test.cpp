#include "events/event_change.h"

#include <gtest/gtest.h>

#include "base/testing/memory_file_system.h"
#include "events/testing/events_test_util.h"

namespace {

const std::string kPath = "event.dat";

bool Rename(EventList& list, Time32 created, const std::string& title) {
  CMyEvent* e = list.FindByCreateTime(created);
  if (e == nullptr) return false;
  e->strTitle = title;
  return true;
}

}  // namespace

TEST(ChangeEvents, AppliesOnTopOfWhatAnotherProgramWrote) {
  MemoryFileSystem fs;
  EventList mine(fs, kPath);
  mine.Add(MakeEvent("a", 1));
  ASSERT_TRUE(mine.SaveEvents().ok());

  EventList theirs(fs, kPath);
  ASSERT_TRUE(theirs.LoadEvents().ok());
  theirs.Add(MakeEvent("theirs", 2));
  ASSERT_TRUE(theirs.SaveEvents().ok());

  ChangeOutcome out = ChangeEvents(mine, [](EventList& l) {
    l.Add(MakeEvent("mine", 3));
    return true;
  });
  EXPECT_TRUE(out.reloaded);
  EXPECT_TRUE(out.applied);
  EXPECT_TRUE(out.save.ok());
  EventList check(fs, kPath);
  ASSERT_TRUE(check.LoadEvents().ok());
  ASSERT_EQ(check.size(), 3u);
  EXPECT_EQ(check.records()[1].strTitle, "theirs");
  EXPECT_EQ(check.records()[2].strTitle, "mine");
}

TEST(ChangeEvents, ARecordDeletedElsewhereIsNotBroughtBack) {
  MemoryFileSystem fs;
  EventList mine(fs, kPath);
  mine.Add(MakeEvent("a", 1));
  mine.Add(MakeEvent("b", 2));
  ASSERT_TRUE(mine.SaveEvents().ok());
  EventList theirs(fs, kPath);
  ASSERT_TRUE(theirs.LoadEvents().ok());
  theirs.DeleteByCreateTime(2);
  ASSERT_TRUE(theirs.SaveEvents().ok());

  const int writes = fs.replace_calls;
  ChangeOutcome out = ChangeEvents(
      mine, [](EventList& l) { return Rename(l, 2, "edited"); }, SaveWhen::kIfApplied);
  EXPECT_FALSE(out.applied);
  EXPECT_TRUE(out.save.ok());
  EXPECT_EQ(fs.replace_calls, writes);  // nothing to write
  ASSERT_EQ(mine.size(), 1u);
  EXPECT_EQ(mine.FindByCreateTime(2), nullptr);
  // A delete that matched nothing still writes the list.
  out = ChangeEvents(mine, [](EventList& l) { return l.DeleteByCreateTime(2); });
  EXPECT_FALSE(out.applied);
  EXPECT_EQ(fs.replace_calls, writes + 1);
}

TEST(ChangeEvents, AFailedSaveKeepsTheChangeForTheNextSave) {
  MemoryFileSystem fs;
  EventList list(fs, kPath);
  list.Add(MakeEvent("a", 1));
  ASSERT_TRUE(list.SaveEvents().ok());
  const std::string before = fs.files[kPath];

  fs.fail_writes = true;
  ChangeOutcome out = ChangeEvents(list, [](EventList& l) { return Rename(l, 1, "edited"); });
  EXPECT_TRUE(out.applied);
  EXPECT_FALSE(out.save.ok());
  EXPECT_EQ(fs.files[kPath], before);
  EXPECT_EQ(list.FindByCreateTime(1)->strTitle, "edited");

  // The old file is still what the list last saw: the next change does not
  // reload it over the kept edit.
  fs.fail_writes = false;
  out = ChangeEvents(list, [](EventList&) { return true; });
  EXPECT_FALSE(out.reloaded);
  EXPECT_TRUE(out.save.ok());
  EventList check(fs, kPath);
  ASSERT_TRUE(check.LoadEvents().ok());
  EXPECT_EQ(check.records()[0].strTitle, "edited");
}

TEST(ChangeEvents, ADamagedFileMetOnTheWayIsSetAsideAndReported) {
  MemoryFileSystem fs;
  EventList list(fs, kPath);
  list.Add(MakeEvent("a", 1));
  ASSERT_TRUE(list.SaveEvents().ok());
  fs.files[kPath] = "\x05";
  fs.Touch(kPath);

  ChangeOutcome out = ChangeEvents(list, [](EventList& l) {
    l.Add(MakeEvent("b", 2));
    return true;
  });
  EXPECT_EQ(out.reload.kind, LoadResult::Kind::kDamaged);
  EXPECT_FALSE(out.reloaded);
  EXPECT_TRUE(out.save.ok());
  ASSERT_FALSE(out.aside_path.empty());
  EXPECT_EQ(fs.files[out.aside_path], "\x05");
  EventList check(fs, kPath);
  ASSERT_TRUE(check.LoadEvents().ok());
  EXPECT_EQ(check.size(), 2u);
}
