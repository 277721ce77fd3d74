// Writes new calendar objects for a set of Tallyo events, each with what it
// should read back as, for the comparison with Python's icalendar and
// dateutil (calendar/testing/icalendar_reference.py). One JSON object a
// line: the case's name, the object's text, its kind, title and body in
// UTF-8, the moment of its start (DTSTART or DUE), the alarm's offset, and
// the first occurrences of a series as moments. The zone is the process's (TZ).
#include <cstdio>
#include <string>
#include <vector>

#include "base/text_convert.h"
#include "calendar/calendar_object.h"
#include "events/my_event.h"
#include "repeat/repeat_series.h"

namespace {

std::string Json(const std::string& text) {
  std::string out = "\"";
  for (unsigned char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", c);
      out += escape;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

std::string Expected(const std::string& cp936_text) {
  std::string utf8 = cp936::ToUtf8(cp936_text);
  std::string out;
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    if (utf8.compare(i, 2, "\r\n") == 0) continue;
    out += utf8[i];
  }
  return out;
}

void Dump(const char* name, const CalendarItem& item, const RepeatSeries* series) {
  const bool todo = !item.reminds || (item.kind == CalendarKind::kTodo && !item.rule);
  std::string occurrences;
  if (series != nullptr) {
    for (Time32 t : series->ListAfter(*TimeOfWall(series->start()) - 1, 40)) {
      occurrences += (occurrences.empty() ? "" : ",") + std::to_string(t - item.alarm_offset);
    }
  }
  const std::string start =
      item.reminds
          ? std::to_string((item.rule ? *TimeOfWall(item.series_start) : item.remind_at) - item.alarm_offset)
          : "null";
  std::printf(
      "{\"name\": %s, \"object\": %s, \"kind\": %s, \"summary\": %s, \"description\": %s, \"start\": %s, "
      "\"alarm_offset\": %d, \"occurrences\": [%s]}\n",
      Json(name).c_str(), Json(NewCalendarObject(item)).c_str(), Json(todo ? "VTODO" : "VEVENT").c_str(),
      Json(Expected(item.title)).c_str(), Json(Expected(item.body)).c_str(), start.c_str(), item.alarm_offset,
      occurrences.c_str());
}

void DumpSeries(const char* name, const char* rule_text, WallSeconds start, RepeatDates dates = {}) {
  RepeatRule rule;
  if (!ParseRepeatRule(rule_text, &rule).ok()) std::abort();
  RepeatSeries series(start, rule, dates);
  const Time32 first = *TimeOfWall(start);
  // "每周例会" with an emoji's marker, and a body of two lines.
  CalendarItem item = ItemOfEvent(CMyEvent("\xC3\xBF\xD6\xDC\xC0\xFD\xBB\xE1 \xA1\xFE", first,
                                           "\xB5\xD8\xB5\xE3: A;B,C\r\n\\n", 1, first),
                                  &series, std::string(name) + "@tallyo.example");
  Dump(name, item, &series);
}

}  // namespace

int main() {
  Time32 at = 0;
  ParseLocalTime("2026-12-08 09:30:00", &at);
  // "开会, 带上; 文件\" and "第一行" CR LF "第二行".
  const CMyEvent reminder("\xBF\xAA\xBB\xE1, \xB4\xF8\xC9\xCF; \xCE\xC4\xBC\xFE\\", at - 60,
                          "\xB5\xDA\xD2\xBB\xD0\xD0\r\n\xB5\xDA\xB6\xFE\xD0\xD0", 1, at);
  Dump("one-off", ItemOfEvent(reminder, nullptr, "one-off@tallyo.example"), nullptr);
  Dump("memo", ItemOfEvent(CMyEvent("\xBF\xAA\xBB\xE1", at, "", 0, 0), nullptr, "memo@tallyo.example"),
       nullptr);
  CalendarItem early = ItemOfEvent(reminder, nullptr, "early@tallyo.example");
  early.alarm_offset = -900;
  Dump("alarm-before", early, nullptr);
  CalendarItem todo = ItemOfEvent(reminder, nullptr, "todo@tallyo.example");
  todo.kind = CalendarKind::kTodo;
  Dump("todo-due", todo, nullptr);
  // Across the daylight-saving changes of New York, where the zone has them.
  DumpSeries("weekly-until-date", "FREQ=WEEKLY;BYDAY=MO,TH;UNTIL=20270430",
             WallFromCivil(2027, 2, 1, 9, 30, 0),
             {{WallFromCivil(2027, 3, 13, 9, 30, 0)}, {WallFromCivil(2027, 3, 18, 9, 30, 0)}});
  DumpSeries("second-tuesday", "FREQ=MONTHLY;BYDAY=2TU;COUNT=12", WallFromCivil(2027, 1, 12, 8, 0, 0));
  DumpSeries("last-sunday-of-march", "FREQ=YEARLY;BYMONTH=3;BYDAY=-1SU;COUNT=5",
             WallFromCivil(2027, 3, 28, 2, 30, 0));
  DumpSeries("daily-until-local", "FREQ=DAILY;INTERVAL=3;UNTIL=20270320T070000",
             WallFromCivil(2027, 3, 1, 7, 0, 0));
  DumpSeries("last-day-of-month", "FREQ=MONTHLY;BYMONTHDAY=-1;COUNT=14",
             WallFromCivil(2027, 1, 31, 23, 59, 0));
  return 0;
}
