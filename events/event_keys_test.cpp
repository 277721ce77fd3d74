// Events made in the same second: each is found, changed and deleted by its
// key, never in place of its twin, and a new event takes a second of its own.
#include "events/event_key.h"

#include <gtest/gtest.h>

#include <map>
#include <random>

#include "base/testing/memory_file_system.h"
#include "events/event_list.h"
#include "events/testing/events_test_util.h"
#include "events/twin_places.h"

namespace {

const std::string kPath = "event.dat";

// Three events in second 50 (the second stored after one of second 10), one in 10.
class Twins : public ::testing::Test {
 protected:
  Twins() : list(fs, kPath) {
    list.Add(MakeEvent("first", 50, "a"));
    list.Add(MakeEvent("other", 10));
    list.Add(MakeEvent("second", 50, "b", 1, 500));
    list.Add(MakeEvent("third", 50, "c"));
  }
  std::vector<std::string> Titles() const {
    std::vector<std::string> titles;
    for (const CMyEvent& e : list.records()) titles.push_back(e.strTitle);
    return titles;
  }
  MemoryFileSystem fs;
  EventList list;
};

using Titles_ = std::vector<std::string>;

// The key of each record by the plain rule: its place among the earlier
// records of its second.
std::vector<EventKey> CountedKeys(std::span<const CMyEvent> records) {
  std::map<Time32, std::uint32_t> seen;
  std::vector<EventKey> keys;
  for (const CMyEvent& e : records) keys.push_back({e.timeCreate, seen[e.timeCreate]++});
  return keys;
}

}  // namespace

TEST_F(Twins, EachTwinIsFoundByItsKey) {
  EXPECT_EQ(list.Find({50, 0})->strTitle, "first");
  EXPECT_EQ(list.Find({50, 1})->strTitle, "second");
  EXPECT_EQ(list.Find({50, 2})->strTitle, "third");
  EXPECT_EQ(list.Find({10, 0})->strTitle, "other");
  EXPECT_EQ(list.Find({50, 3}), nullptr);
  EXPECT_EQ(list.Find({10, 1}), nullptr);
  EXPECT_EQ(list.Find({11, 0}), nullptr);
  // The creation time alone still means the first.
  EXPECT_EQ(list.FindByCreateTime(50), list.Find({50, 0}));
}

TEST_F(Twins, ChangingOrDeletingTheSecondLeavesTheFirstAlone) {
  list.Find({50, 1})->strTitle = "second, edited";
  EXPECT_EQ(Titles(), (Titles_{"first", "other", "second, edited", "third"}));

  ASSERT_TRUE(list.Delete({50, 1}));
  EXPECT_EQ(Titles(), (Titles_{"first", "other", "third"}));
  // The third is now the second of its second.
  EXPECT_EQ(list.Find({50, 1})->strTitle, "third");
  EXPECT_FALSE(list.Delete({50, 2}));
  EXPECT_EQ(list.size(), 3u);
}

TEST_F(Twins, KeysOfRecordsAndOfAViewInItsOrder) {
  const std::span<const CMyEvent> records = list.records();
  EXPECT_EQ(list.KeyOf(records[0]), (EventKey{50, 0}));
  EXPECT_EQ(list.KeyOf(records[1]), (EventKey{10, 0}));
  EXPECT_EQ(list.KeyOf(records[2]), (EventKey{50, 1}));
  EXPECT_EQ(list.KeyOf(records[3]), (EventKey{50, 2}));

  // The memo view, sorted by creation time: other, first, third.
  EventPtrList memos;
  list.QueryMemo(memos);
  EXPECT_EQ(list.KeysOf(memos), (std::vector<EventKey>{{10, 0}, {50, 0}, {50, 2}}));
  for (const CMyEvent* row : memos) EXPECT_EQ(list.Find(list.KeyOf(*row)), row);
  EXPECT_TRUE(list.KeysOf(EventPtrList{}).empty());
}

TEST_F(Twins, AFileWithTwinsRoundTripsByteForByte) {
  ASSERT_TRUE(list.SaveEvents().ok());
  const std::string image = fs.files[kPath];
  EventList again(fs, kPath);
  ASSERT_TRUE(again.LoadEvents().ok());
  EXPECT_EQ(again.Find({50, 2})->strContent, "c");
  ASSERT_TRUE(again.SaveEvents().ok());
  EXPECT_EQ(fs.files[kPath], image);

  // A change by key after the load writes exactly that change.
  again.Find({50, 1})->strContent = "B";
  ASSERT_TRUE(again.Delete({50, 0}));
  ASSERT_TRUE(again.SaveEvents().ok());
  EventVector expected;
  expected.push_back(MakeEvent("other", 10));
  expected.push_back(MakeEvent("second", 50, "B", 1, 500));
  expected.push_back(MakeEvent("third", 50, "c"));
  EXPECT_EQ(fs.files[kPath], WriteEventArchive(expected));
}

TEST(EventKeys, OneWalkGivesTheKeysTheCountingRuleGives) {
  // Rising times with runs of twins (the usual file), and times in any order.
  std::mt19937 rng(29);
  for (int round = 0; round < 200; ++round) {
    MemoryFileSystem fs;
    EventList list(fs, kPath);
    Time32 t = 1000;
    const bool rising = round % 2 == 0;
    for (int i = 0; i < 60; ++i) {
      t += rising ? static_cast<Time32>(rng() % 3) : 0;
      list.Add(MakeEvent("e", rising ? t : static_cast<Time32>(1000 + rng() % 20)));
    }
    EventPtrList all;
    list.GetAll(all);
    ASSERT_EQ(list.KeysOf(all), CountedKeys(list.records())) << round;
    const TwinPlaces places(list.records());
    for (const CMyEvent& e : list.records()) ASSERT_EQ(places.KeyOf(e), list.KeyOf(e)) << round;
  }
}

TEST(EventKeys, ANewRecordTakesTheNextFreeSecond) {
  MemoryFileSystem fs;
  EventList list(fs, kPath);
  EXPECT_EQ(list.FreeCreateTime(100), 100);
  list.Add(MakeEvent("taken", 100));
  list.Add(MakeEvent("taken too", 101));
  list.Add(MakeEvent("its twin", 101));
  list.Add(MakeEvent("and the next", 102));
  list.Add(MakeEvent("later", 105));
  EXPECT_EQ(list.FreeCreateTime(99), 99);
  EXPECT_EQ(list.FreeCreateTime(100), 103);
  EXPECT_EQ(list.FreeCreateTime(104), 104);
  EXPECT_EQ(list.FreeCreateTime(105), 106);

  // Three made in one second get three seconds.
  for (const char* title : {"a", "b", "c"}) list.AddNew(MakeEvent(title, 100));
  EXPECT_EQ(list.Find({103, 0})->strTitle, "a");
  EXPECT_EQ(list.Find({104, 0})->strTitle, "b");
  EXPECT_EQ(list.Find({106, 0})->strTitle, "c");
  EXPECT_EQ(list.Find({104, 1}), nullptr);
}

TEST(EventKeys, AtTheEndOfTheTimeRangeTheLastFreeSecondBefore) {
  MemoryFileSystem fs;
  EventList list(fs, kPath);
  const Time32 last = std::numeric_limits<Time32>::max();
  list.Add(MakeEvent("end", last));
  EXPECT_EQ(list.FreeCreateTime(last - 1), last - 1);
  list.Add(MakeEvent("before the end", last - 1));
  list.Add(MakeEvent("one more", last - 3));
  EXPECT_EQ(list.FreeCreateTime(last - 1), last - 2);
  list.Add(MakeEvent("gap filled", last - 2));
  EXPECT_EQ(list.FreeCreateTime(last), last - 4);
  EXPECT_EQ(list.AddNew(MakeEvent("new", last)).timeCreate, last - 4);
}
