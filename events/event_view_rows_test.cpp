#include "events/event_view_rows.h"

#include <gtest/gtest.h>

#include "base/testing/memory_file_system.h"
#include "events/testing/events_test_util.h"

namespace {

const std::string kTitle = "\xb1\xea\xcc\xe2";                       // "标题"
const std::string kTime = "\xca\xb1\xbc\xe4";                        // "时间"
const std::string kRemindTime = "\xcc\xe1\xd0\xd1\xca\xb1\xbc\xe4";  // "提醒时间"
const std::string kCreateTime = "\xbd\xa8\xc1\xa2\xca\xb1\xbc\xe4";  // "建立时间"
const std::string kMemoEvent = "\xbc\xc7\xd2\xe4\xca\xc2\xbc\xfe";   // "记忆事件"

std::vector<std::pair<std::string, int>> Header(int view) {
  std::vector<std::pair<std::string, int>> out;
  for (const ViewColumn& c : ViewColumns(view)) out.emplace_back(c.caption, c.width);
  return out;
}

using Header_ = std::vector<std::pair<std::string, int>>;
using Cells = std::vector<std::string>;

}  // namespace

TEST(EventViewRows, ColumnsPerView) {
  EXPECT_EQ(Header(VIEW_BY_DATE), (Header_{{kTitle, 380}, {kTime, 130}}));
  EXPECT_EQ(Header(VIEW_REMIND), (Header_{{kTitle, 380}, {kRemindTime, 130}}));
  EXPECT_EQ(Header(VIEW_MEMO), (Header_{{kTitle, 380}, {kCreateTime, 130}}));
  Header_ three{{kTitle, 250}, {kCreateTime, 130}, {kRemindTime, 130}};
  EXPECT_EQ(Header(VIEW_KEYWORD), three);
  EXPECT_EQ(Header(VIEW_ALL), three);
  EXPECT_EQ(Header(5), Header(VIEW_MEMO));
  EXPECT_EQ(Header(-1), Header(VIEW_MEMO));
}

TEST(EventViewRows, CellsShowLocalTimesOrTheMemoText) {
  // TZ=Asia/Shanghai: 0 is 1970-01-01 08:00:00 local.
  auto memo = MakeEvent("memo", 0, "body", 0, 3600);
  auto reminder = MakeEvent("reminder", 0, "", 1, 1267769229);
  const std::string created = "1970-01-01 08:00:00";
  const std::string due = "2010-03-05 14:07:09";

  EXPECT_EQ(ViewRowCells(VIEW_BY_DATE, memo), (Cells{"memo", created}));
  EXPECT_EQ(ViewRowCells(VIEW_BY_DATE, reminder), (Cells{"reminder", due}));
  EXPECT_EQ(ViewRowCells(VIEW_REMIND, reminder), (Cells{"reminder", due}));
  EXPECT_EQ(ViewRowCells(VIEW_MEMO, memo), (Cells{"memo", created}));
  EXPECT_EQ(ViewRowCells(VIEW_KEYWORD, memo), (Cells{"memo", created, kMemoEvent}));
  EXPECT_EQ(ViewRowCells(VIEW_ALL, reminder), (Cells{"reminder", created, due}));
  for (int view = -1; view <= 5; ++view) {
    EXPECT_EQ(ViewRowCells(view, memo).size(), ViewColumns(view).size()) << view;
  }
}

TEST(EventViewRows, FillViewPicksTheQueryOfEachView) {
  MemoryFileSystem fs;
  EventList list(fs, "event.dat");
  list.Add(MakeEvent("b reminder", 86400 * 2, "", 1, 0));
  list.Add(MakeEvent("a memo", 86400, "find me"));
  auto titles = [&](int view, const std::string& keyword = "") {
    EventPtrList result;
    FillView(list, view, 86400, keyword, result);
    Cells out;
    for (const CMyEvent* e : result) out.push_back(e->strTitle);
    return out;
  };
  EXPECT_EQ(titles(VIEW_BY_DATE), (Cells{"a memo"}));
  EXPECT_EQ(titles(VIEW_REMIND), (Cells{"b reminder"}));
  EXPECT_EQ(titles(VIEW_MEMO), (Cells{"a memo"}));
  EXPECT_EQ(titles(VIEW_KEYWORD, "FIND"), (Cells{"a memo"}));
  EXPECT_EQ(titles(VIEW_KEYWORD), (Cells{"a memo", "b reminder"}));
  EXPECT_EQ(titles(VIEW_ALL), (Cells{"b reminder", "a memo"}));
  EXPECT_EQ(titles(7), Cells{});
}

TEST(EventViewRows, TheReminderTimeColumnIsWhereTheRowShowsIt) {
  CMyEvent memo(100);
  CMyEvent reminder(200);
  reminder.bRemind = 1;
  reminder.timeRemind = 1796605200;
  for (int view : {VIEW_BY_DATE, VIEW_REMIND, VIEW_MEMO, VIEW_KEYWORD, VIEW_ALL}) {
    EXPECT_EQ(ReminderTimeColumn(view, memo), -1) << view;
    const int column = ReminderTimeColumn(view, reminder);
    if (view == VIEW_MEMO) {
      EXPECT_EQ(column, -1);
      continue;
    }
    ASSERT_GE(column, 0) << view;
    EXPECT_EQ(ViewRowCells(view, reminder)[column], FormatTime(reminder.timeRemind)) << view;
  }
}
