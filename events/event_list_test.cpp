#include "events/event_list.h"

#include <gtest/gtest.h>

#include <random>

#include "base/cp936.h"
#include "base/testing/memory_file_system.h"
#include "events/testing/events_test_util.h"

namespace {

class Events {
 public:
  Events() : list(fs, "event.dat") {}
  const CMyEvent* Add(std::string title, Time32 created, std::string content = "", int remind = 0,
                      Time32 remind_at = 0) {
    return &list.Add(MakeEvent(std::move(title), created, std::move(content), remind, remind_at));
  }
  MemoryFileSystem fs;
  EventList list;
};

std::vector<std::string> Titles(const EventPtrList& result) {
  std::vector<std::string> titles;
  for (const CMyEvent* e : result) titles.push_back(e->strTitle);
  return titles;
}

using Titles_ = std::vector<std::string>;

Time32 Local(const char* text) {
  Time32 t = 0;
  EXPECT_TRUE(ParseLocalTime(text, &t)) << text;
  return t;
}

}  // namespace

TEST(EventList, EmptyListAnswersNothing) {
  Events ev;
  EventPtrList result;
  ev.list.QueryByDate(NowTime(), result);
  ev.list.QueryRemind(result);
  ev.list.QueryMemo(result);
  ev.list.QueryKeyword("", result);
  ev.list.GetAll(result);
  EXPECT_TRUE(result.empty());
  EXPECT_EQ(ev.list.FindByCreateTime(0), nullptr);
  EXPECT_FALSE(ev.list.DeleteByCreateTime(0));
  EXPECT_EQ(ev.list.FindDue(), nullptr);
}

TEST(EventList, NewRecordIsCreatedNowWithDefaults) {
  Time32 before = NowTime();
  CMyEvent e;
  Time32 after = NowTime();
  EXPECT_GE(e.timeCreate, before);
  EXPECT_LE(e.timeCreate, after);
  EXPECT_EQ(e.strTitle, "");
  EXPECT_EQ(e.strContent, "");
  EXPECT_EQ(e.bRemind, 0);
  EXPECT_EQ(e.timeRemind, 0);
}

TEST(EventList, AllViewKeepsStoredOrderWhateverTheTimes) {
  Events ev;
  ev.Add("late", 300);
  ev.Add("early", 100);
  ev.Add("middle", 200);
  EventPtrList all;
  ev.list.GetAll(all);
  EXPECT_EQ(Titles(all), (Titles_{"late", "early", "middle"}));
  EventPtrList sorted;
  ev.list.QueryKeyword("", sorted);
  EXPECT_EQ(Titles(sorted), (Titles_{"early", "middle", "late"}));
}

TEST(EventList, SameCreationTimeActsOnTheFirstInStoredOrder) {
  Events ev;
  ev.Add("first", 50);
  ev.Add("other", 10);
  ev.Add("second", 50);
  EXPECT_EQ(ev.list.FindByCreateTime(50)->strTitle, "first");
  EventPtrList memos;
  ev.list.QueryMemo(memos);
  EXPECT_EQ(Titles(memos), (Titles_{"other", "first", "second"}));

  EXPECT_TRUE(ev.list.DeleteByCreateTime(50));
  EXPECT_EQ(ev.list.FindByCreateTime(50)->strTitle, "second");
  EXPECT_TRUE(ev.list.DeleteByCreateTime(50));
  EXPECT_FALSE(ev.list.DeleteByCreateTime(50));
  EXPECT_EQ(ev.list.size(), 1u);
}

TEST(EventList, ARecordFoundAgainAfterOthersWereAddedAndDeletedIsChangedInPlace) {
  Events ev;
  ev.Add("kept", 7);
  ev.Add("gone", 8);
  for (int i = 0; i < 1000; ++i) ev.Add("filler", 100 + i);
  ev.list.DeleteByCreateTime(8);
  ev.list.FindByCreateTime(7)->strTitle = "changed in place";
  EXPECT_EQ(ev.list.records()[0].strTitle, "changed in place");
  EXPECT_EQ(ev.list.records()[1].timeCreate, 100);
  EXPECT_EQ(ev.list.size(), 1001u);
}

TEST(EventList, InsertSortedIsStableAndSigned) {
  CMyEvent a(5), b(-3), c(5), d(INT32_MIN), e(INT32_MAX);
  EventPtrList result;
  for (const CMyEvent* x : {&a, &b, &c, &d, &e}) EventList::InsertSorted(result, x);
  EXPECT_EQ(result, (EventPtrList{&d, &b, &a, &c, &e}));

  // On a list that is not sorted it inserts before the first later entry.
  CMyEvent five(5), one(1), three(3);
  EventPtrList unsorted{&five, &one};
  EventList::InsertSorted(unsorted, &three);
  EXPECT_EQ(unsorted, (EventPtrList{&three, &five, &one}));
}

TEST(EventList, QueriesMergeIntoAResultListLikeRepeatedInsertSorted) {
  Events ev;
  ev.Add("m20", 20);
  ev.Add("m10", 10);
  ev.Add("m10b", 10);
  CMyEvent held10(10), held15(15), held30(30);

  EventPtrList sorted{&held10, &held15, &held30};
  ev.list.QueryMemo(sorted);
  EventPtrList expected{&held10, &held15, &held30};
  for (const CMyEvent& e : ev.list.records()) EventList::InsertSorted(expected, &e);
  EXPECT_EQ(sorted, expected);
  EXPECT_EQ(Titles(EventPtrList(sorted.begin(), sorted.begin() + 3)), (Titles_{"", "m10", "m10b"}));

  EventPtrList unsorted{&held30, &held10};
  ev.list.QueryMemo(unsorted);
  EventPtrList expected_unsorted{&held30, &held10};
  for (const CMyEvent& e : ev.list.records()) EventList::InsertSorted(expected_unsorted, &e);
  EXPECT_EQ(unsorted, expected_unsorted);
}

TEST(EventList, QueryByDateFollowsTheLocalCalendarDay) {
  // Tests run with TZ=Asia/Shanghai (UTC+8, no daylight saving).
  Events ev;
  ev.Add("last second", Local("2026-12-07 23:59:59"));
  ev.Add("next day", Local("2026-12-08 00:00:00"));
  ev.Add("first second", Local("2026-12-07 00:00:00"));
  ev.Add("day before", Local("2026-12-06 23:59:59"));
  ev.Add("a year later", Local("2027-12-07 12:00:00"));
  ev.Add("a month later", Local("2027-01-07 12:00:00"));
  ev.Add("noon", Local("2026-12-07 12:00:00"));

  EventPtrList result;
  ev.list.QueryByDate(Local("2026-12-07 18:30:00"), result);
  EXPECT_EQ(Titles(result), (Titles_{"first second", "noon", "last second"}));

  result.clear();
  ev.list.QueryByDate(Local("2026-12-08 23:59:59"), result);
  EXPECT_EQ(Titles(result), (Titles_{"next day"}));

  // 2026-12-07 16:00 UTC is already the 8th in Shanghai.
  result.clear();
  ev.list.QueryByDate(1796659200, result);
  EXPECT_EQ(Titles(result), (Titles_{"next day"}));
}

TEST(EventList, QueryRemindAndMemoPartitionTheList) {
  Events ev;
  ev.Add("memo", 4);
  ev.Add("remind", 3, "", 1, 100);
  ev.Add("odd flag", 2, "", -7, 100);  // any nonzero flag is a reminder
  ev.Add("memo with stale time", 1, "", 0, 50);
  EventPtrList remind, memo;
  ev.list.QueryRemind(remind);
  ev.list.QueryMemo(memo);
  EXPECT_EQ(Titles(remind), (Titles_{"odd flag", "remind"}));
  EXPECT_EQ(Titles(memo), (Titles_{"memo with stale time", "memo"}));
}

TEST(EventList, QueryKeywordIgnoresLatinCaseOnly) {
  Events ev;
  ev.Add("xxabcxx", 3);
  ev.Add("nothing", 2, "but the body has AbC");
  ev.Add("ab c", 1);
  // "会议abc" and "会议ABC" (meeting).
  ev.Add(
      "\xbb\xe1\xd2\xe9"
      "abc",
      0);
  EventPtrList result;
  ev.list.QueryKeyword("ABC", result);
  EXPECT_EQ(Titles(result), (Titles_{"\xbb\xe1\xd2\xe9"
                                     "abc",
                                     "nothing", "xxabcxx"}));

  result.clear();
  ev.list.QueryKeyword(
      "\xbb\xe1\xd2\xe9"
      "A",
      result);
  EXPECT_EQ(result.size(), 1u);

  result.clear();
  ev.list.QueryKeyword("", result);
  EXPECT_EQ(Titles(result), (Titles_{"\xbb\xe1\xd2\xe9"
                                     "abc",
                                     "ab c", "nothing", "xxabcxx"}));
}

TEST(EventList, QueryKeywordMatchesOnlyAtCharacterBoundaries) {
  Events ev;
  // B0 41 is one double-byte character whose trail byte is 'A'.
  ev.Add("\xb0\x41", 1);
  // D6 D0 CE C4 is "中文"; D0 CE spans two characters.
  ev.Add("\xd6\xd0\xce\xc4", 2);
  auto count = [&](const std::string& keyword) {
    EventPtrList result;
    ev.list.QueryKeyword(keyword, result);
    return result.size();
  };
  EXPECT_EQ(count("A"), 0u);
  EXPECT_EQ(count("a"), 0u);
  EXPECT_EQ(count("\xb0\x41"), 1u);
  EXPECT_EQ(count("\xb0\x61"), 0u);  // the trail byte is not a letter to lower
  EXPECT_EQ(count("\xd0\xce"), 0u);
  EXPECT_EQ(count("\xce\xc4"), 1u);
}

TEST(EventList, QueryKeywordAgreesWithLowerCasedCopies) {
  // The search walks the texts without copying them; compare it with the
  // plain rule (lower-case both copies, search by characters) on random text.
  const char alphabet[] = {'a', 'A', 'b', 'B', ' ', '\x41', '\x61', '\xb0', '\x81', '\xfe', '\x7f'};
  std::mt19937 rng(12345);
  auto random_text = [&](std::size_t max_length) {
    std::string s(rng() % (max_length + 1), ' ');
    for (char& c : s) c = alphabet[rng() % sizeof alphabet];
    return s;
  };
  for (int round = 0; round < 3000; ++round) {
    Events ev;
    // Short texts, and longer ones where the quick pass skips far between candidates.
    std::size_t length = round % 2 == 0 ? 8 : 60;
    std::string title = random_text(length), body = random_text(length), keyword = random_text(3);
    ev.Add(title, 1, body);
    EventPtrList result;
    ev.list.QueryKeyword(keyword, result);
    std::string needle = cp936::AsciiLower(keyword);
    bool expected =
        cp936::Contains(cp936::AsciiLower(title), needle) || cp936::Contains(cp936::AsciiLower(body), needle);
    ASSERT_EQ(result.size() == 1, expected) << round;
  }
}

TEST(EventList, FindDueAtTheSecondNotBefore) {
  Events one;
  one.Add("memo in the past", 1, "", 0, 10);
  one.Add("due at 1000", 2, "", 1, 1000);
  EXPECT_EQ(one.list.FindDue(999), nullptr);
  ASSERT_NE(one.list.FindDue(1000), nullptr);
  EXPECT_EQ(one.list.FindDue(1000)->strTitle, "due at 1000");

  // Several due at once: the first in stored order, not the earliest.
  Events ev;
  ev.Add("later", 2, "", 1, 1001);
  ev.Add("due", 3, "", 1, 1000);
  ev.Add("due earlier", 4, "", 1, 500);
  EXPECT_EQ(ev.list.FindDue(999)->strTitle, "due earlier");
  EXPECT_EQ(ev.list.FindDue(1000)->strTitle, "due");
  EXPECT_EQ(ev.list.FindDue(2000)->strTitle, "later");

  Events negative;
  negative.Add("before 1970", 1, "", 1, -100);
  EXPECT_EQ(negative.list.FindDue(-101), nullptr);
  EXPECT_NE(negative.list.FindDue(-100), nullptr);
  EXPECT_NE(negative.list.FindDue(), nullptr);  // now
}
