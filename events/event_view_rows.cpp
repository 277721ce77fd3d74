#include "events/event_view_rows.h"

namespace {

const char kTitle[] = "\xb1\xea\xcc\xe2";                 // "标题"
const char kTime[] = "\xca\xb1\xbc\xe4";                  // "时间"
const char kRemindTime[] = "\xcc\xe1\xd0\xd1\xca\xb1\xbc\xe4";  // "提醒时间"
const char kCreateTime[] = "\xbd\xa8\xc1\xa2\xca\xb1\xbc\xe4";  // "建立时间"
const char kMemoEvent[] = "\xbc\xc7\xd2\xe4\xca\xc2\xbc\xfe";   // "记忆事件"

}  // namespace

void FillView(const EventList& events, int view, Time32 view_date, const std::string& keyword,
              EventPtrList& result) {
  switch (view) {
    case VIEW_BY_DATE: events.QueryByDate(view_date, result); break;
    case VIEW_REMIND: events.QueryRemind(result); break;
    case VIEW_MEMO: events.QueryMemo(result); break;
    case VIEW_KEYWORD: events.QueryKeyword(keyword, result); break;
    case VIEW_ALL: events.GetAll(result); break;
    default: break;
  }
}

std::vector<ViewColumn> ViewColumns(int view) {
  switch (view) {
    case VIEW_BY_DATE: return {{kTitle, 380}, {kTime, 130}};
    case VIEW_REMIND: return {{kTitle, 380}, {kRemindTime, 130}};
    case VIEW_KEYWORD:
    case VIEW_ALL: return {{kTitle, 250}, {kCreateTime, 130}, {kRemindTime, 130}};
    default: return {{kTitle, 380}, {kCreateTime, 130}};
  }
}

std::vector<std::string> ViewRowCells(int view, const CMyEvent& event) {
  bool remind = event.bRemind != 0;
  switch (view) {
    case VIEW_BY_DATE:
      return {event.strTitle, FormatTime(remind ? event.timeRemind : event.timeCreate)};
    case VIEW_REMIND: return {event.strTitle, FormatTime(event.timeRemind)};
    case VIEW_KEYWORD:
    case VIEW_ALL:
      return {event.strTitle, FormatTime(event.timeCreate),
              remind ? FormatTime(event.timeRemind) : std::string(kMemoEvent)};
    default: return {event.strTitle, FormatTime(event.timeCreate)};
  }
}
