#include "events/event_view_rows.h"

namespace {

const char kTitle[] = "\xb1\xea\xcc\xe2";                       // "标题"
const char kTime[] = "\xca\xb1\xbc\xe4";                        // "时间"
const char kRemindTime[] = "\xcc\xe1\xd0\xd1\xca\xb1\xbc\xe4";  // "提醒时间"
const char kCreateTime[] = "\xbd\xa8\xc1\xa2\xca\xb1\xbc\xe4";  // "建立时间"
const char kMemoEvent[] = "\xbc\xc7\xd2\xe4\xca\xc2\xbc\xfe";   // "记忆事件"

}  // namespace

void FillView(const EventList& events, int view, Time32 view_date, const std::string& keyword,
              EventPtrList& result) {
  switch (view) {
    case VIEW_BY_DATE:
      events.QueryByDate(view_date, result);
      break;
    case VIEW_REMIND:
      events.QueryRemind(result);
      break;
    case VIEW_MEMO:
      events.QueryMemo(result);
      break;
    case VIEW_KEYWORD:
      events.QueryKeyword(keyword, result);
      break;
    case VIEW_ALL:
      events.GetAll(result);
      break;
    default:
      break;
  }
}

int ReminderTimeColumn(int view, const CMyEvent& event) {
  if (event.bRemind == 0) return -1;
  switch (view) {
    case VIEW_BY_DATE:
    case VIEW_REMIND:
      return 1;
    case VIEW_KEYWORD:
    case VIEW_ALL:
      return 2;
    default:
      return -1;
  }
}

std::vector<ViewColumn> ViewColumns(int view) {
  switch (view) {
    case VIEW_BY_DATE:
      return {{kTitle, 380}, {kTime, 130}};
    case VIEW_REMIND:
      return {{kTitle, 380}, {kRemindTime, 130}};
    case VIEW_KEYWORD:
    case VIEW_ALL:
      return {{kTitle, 250}, {kCreateTime, 130}, {kRemindTime, 130}};
    default:
      return {{kTitle, 380}, {kCreateTime, 130}};
  }
}

namespace {

// `append_time(t, &text)` appends the text of time t.
template <typename AppendTime>
void FillCells(int view, const CMyEvent& event, AppendTime append_time, std::vector<std::string>& cells) {
  bool remind = event.bRemind != 0;
  bool three_columns = view == VIEW_KEYWORD || view == VIEW_ALL;
  cells.resize(three_columns ? 3 : 2);
  cells[0].assign(event.strTitle.view());
  cells[1].clear();
  switch (view) {
    case VIEW_BY_DATE:
      append_time(remind ? event.timeRemind : event.timeCreate, &cells[1]);
      break;
    case VIEW_REMIND:
      append_time(event.timeRemind, &cells[1]);
      break;
    case VIEW_KEYWORD:
    case VIEW_ALL:
      append_time(event.timeCreate, &cells[1]);
      cells[2].clear();
      if (remind) {
        append_time(event.timeRemind, &cells[2]);
      } else {
        cells[2].assign(kMemoEvent);
      }
      break;
    default:
      append_time(event.timeCreate, &cells[1]);
      break;
  }
}

}  // namespace

std::vector<std::string> ViewRowCells(int view, const CMyEvent& event) {
  std::vector<std::string> cells;
  FillCells(
      view, event,
      [](Time32 t, std::string* text) {
        LocalTime local;
        if (ToLocalTime(t, &local)) AppendFormattedTime(local, text);
      },
      cells);
  return cells;
}

void ViewRowCells(int view, const CMyEvent& event, LocalTimeConverter& times,
                  std::vector<std::string>& cells) {
  FillCells(
      view, event, [&](Time32 t, std::string* text) { times.AppendFormatted(t, text); }, cells);
}
