// What is written is what is read: a new object read back is the item it
// was written for, and a server's object patched reads as the item wanted,
// in two zones.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "base/testing/zone_scope.h"
#include "calendar/calendar_object.h"
#include "events/my_event.h"
#include "repeat/repeat_series.h"

// Failures name the fields.
void PrintTo(const CalendarItem& item, std::ostream* out) {
  *out << "{kind " << static_cast<int>(item.kind) << ", uid " << item.uid << ", title "
       << testing::PrintToString(item.title) << ", body " << testing::PrintToString(item.body) << ", reminds "
       << item.reminds << " at " << FormatTime(item.remind_at) << ", rule "
       << (item.rule ? FormatRepeatRule(*item.rule) : "-") << " from " << FormatWallTime(item.series_start)
       << ", added " << FormatWallTimeList(item.dates.added) << ", removed "
       << FormatWallTimeList(item.dates.removed) << ", alarm " << item.alarm_offset << ", all day "
       << item.all_day << ", done " << item.done << ", marked " << item.marked_characters << "}";
}

namespace {

constexpr Time32 kNow = 1796000000;  // 2026-11-30

// The item as reading gives it: a series' next reminder and whether it is
// past depend on when it is read, and are not written; what is counted of
// the text and a series' fields without a series are no fields of it.
CalendarItem Comparable(CalendarItem item) {
  if (item.rule) {
    item.remind_at = 0;
  } else {
    item.series_start = 0;
    item.dates = {};
  }
  item.past = false;
  item.marked_characters = 0;
  return item;
}

CalendarItem Read(const std::string& text) {
  std::string problem;
  std::optional<CalendarItem> item = ReadCalendarObject(text, kNow, &problem);
  EXPECT_TRUE(item) << problem << "\n" << text;
  return item ? Comparable(*item) : CalendarItem{};
}

RepeatSeries Series(const char* rule_text, WallSeconds start, RepeatDates dates = {}) {
  RepeatRule rule;
  EXPECT_TRUE(ParseRepeatRule(rule_text, &rule).ok()) << rule_text;
  return RepeatSeries(start, rule, dates);
}

// "开会" and "第一行" CR LF "第二行; a,b\c".
const std::string kTitle = "\xBF\xAA\xBB\xE1";
const std::string kBody = "\xB5\xDA\xD2\xBB\xD0\xD0\r\n\xB5\xDA\xB6\xFE\xD0\xD0; a,b\\c";

TEST(ObjectRoundTrip, NewObjectsReadBackAsTheirItems) {
  for (const char* zone : {"Asia/Shanghai", "America/New_York"}) {
    TALLYO_IN_ZONE(zone);
    SCOPED_TRACE(zone);
    const Time32 at = *TimeOfWall(WallFromCivil(2027, 3, 14, 2, 30, 0));  // skipped in New York: 03:30
    std::vector<CalendarItem> items;
    items.push_back(ItemOfEvent(CMyEvent(kTitle, at, kBody, 1, at), nullptr, "one-off"));
    items.push_back(ItemOfEvent(CMyEvent(kTitle, at, kBody, 0, 0), nullptr, "memo"));
    CalendarItem early = ItemOfEvent(CMyEvent(kTitle, at, "", 1, at), nullptr, "early");
    early.alarm_offset = -900;
    items.push_back(early);
    CalendarItem todo = ItemOfEvent(CMyEvent(kTitle, at, "", 1, at), nullptr, "todo");
    todo.kind = CalendarKind::kTodo;
    items.push_back(todo);
    const RepeatSeries weekly =
        Series("FREQ=WEEKLY;BYDAY=MO,TH;UNTIL=20270430", WallFromCivil(2027, 2, 1, 9, 30, 0),
               {{WallFromCivil(2027, 3, 13, 9, 30, 0)}, {WallFromCivil(2027, 3, 18, 9, 30, 0)}});
    const RepeatSeries monthly =
        Series("FREQ=MONTHLY;BYDAY=-1FR;COUNT=12", WallFromCivil(2027, 1, 29, 23, 0, 0));
    const RepeatSeries daily =
        Series("FREQ=DAILY;INTERVAL=2;UNTIL=20270320T070000", WallFromCivil(2027, 3, 1, 7, 0, 0));
    for (const RepeatSeries* series : {&weekly, &monthly, &daily}) {
      const Time32 first = *TimeOfWall(series->start());
      items.push_back(ItemOfEvent(CMyEvent(kTitle, first, kBody, 1, first), series, "series"));
    }
    CalendarItem early_series = items.back();
    early_series.alarm_offset = -3600;
    items.push_back(early_series);
    for (const CalendarItem& item : items) {
      SCOPED_TRACE(item.uid);
      EXPECT_EQ(Read(NewCalendarObject(item)), Comparable(item));
    }
    // An all-day series (a conflict copy of one) stays all-day, and reminds
    // at the same time, now by an alarm of its own.
    CalendarItem day = Read(
        "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Phone//EN\r\nBEGIN:VEVENT\r\nUID:b@phone.example\r\n"
        "DTSTAMP:20261201T080000Z\r\nDTSTART;VALUE=DATE:20270105\r\nRRULE:FREQ=YEARLY;COUNT=9\r\n"
        "EXDATE;VALUE=DATE:20290105\r\nSUMMARY:Birthday\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n");
    ASSERT_TRUE(day.all_day);
    const std::string all_day = NewCalendarObject(day);
    EXPECT_NE(all_day.find("DTSTART;VALUE=DATE:20270105\r\n"), std::string::npos) << all_day;
    day.alarm_offset = 9 * 3600;
    EXPECT_EQ(Read(all_day), day);
  }
}

// A phone's weekly lunch in Berlin (see component_patching_test.cpp for
// one like it, whose lines are compared): here each change in Tallyo must
// read back from the patched object as Tallyo has it.
const std::string kLunch =
    "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Phone//EN\r\n"
    "BEGIN:VEVENT\r\nUID:lunch@phone.example\r\nDTSTAMP:20261201T080000Z\r\nSEQUENCE:2\r\n"
    "DTSTART;TZID=Europe/Berlin:20261210T233000\r\nDTEND;TZID=Europe/Berlin:20261211T003000\r\n"
    "RRULE:FREQ=WEEKLY;UNTIL=20270301T000000Z;BYDAY=TH\r\nEXDATE;TZID=Europe/Berlin:20261224T233000\r\n"
    "SUMMARY:\xF0\x9F\x8E\x89 Late lunch\r\nDESCRIPTION:Bring \xF0\x9F\x8D\x95\r\nLOCATION:Room 5\r\n"
    "ATTENDEE;CN=Bob:mailto:bob@example.com\r\nCATEGORIES:Work\r\nX-PHONE-COLOR:#ff0000\r\n"
    "BEGIN:VALARM\r\nACTION:DISPLAY\r\nTRIGGER:-PT15M\r\nDESCRIPTION:Lunch soon\r\nEND:VALARM\r\n"
    "BEGIN:VALARM\r\nACTION:EMAIL\r\nTRIGGER:-P1D\r\nSUMMARY:x\r\nDESCRIPTION:y\r\n"
    "ATTENDEE:mailto:me@example.com\r\nEND:VALARM\r\nEND:VEVENT\r\n"
    "BEGIN:VEVENT\r\nUID:lunch@phone.example\r\nDTSTAMP:20261201T080000Z\r\n"
    "RECURRENCE-ID;TZID=Europe/Berlin:20261217T233000\r\nDTSTART;TZID=Europe/Berlin:20261218T010000\r\n"
    "DTEND;TZID=Europe/Berlin:20261218T020000\r\nSUMMARY:Later lunch\r\nEND:VEVENT\r\n"
    "END:VCALENDAR\r\n";

TEST(ObjectRoundTrip, PatchedObjectsReadBackAsTheItemWanted) {
  for (const char* zone : {"Asia/Shanghai", "America/New_York"}) {
    TALLYO_IN_ZONE(zone);
    SCOPED_TRACE(zone);
    const CalendarItem agreed = Read(kLunch);
    ASSERT_TRUE(agreed.rule);
    std::vector<std::pair<std::string, CalendarItem>> changes;
    auto change = [&](const char* what) -> CalendarItem& {
      return changes.emplace_back(what, agreed).second;
    };
    change("title").title = "\xA1\xFE Early lunch";
    change("body").body = "\xB5\xDA\xD2\xBB\xD0\xD0\r\n" + agreed.body;
    change("location").body = agreed.body.substr(0, agreed.body.rfind("\r\n")) + "\r\nRoom 6";
    change("body without location").body = "Nothing";
    change("time").series_start += 86400 + 5400;
    CalendarItem& weekdays = change("rule");
    weekdays.rule->weekdays =
        static_cast<WeekdaySet>(weekdays.rule->weekdays | (weekdays.rule->weekdays << 1));
    weekdays.rule->until.reset();
    weekdays.rule->until_form = UntilForm::kLocal;
    weekdays.rule->count = 20;
    CalendarItem& dates = change("dates");
    dates.dates.removed.push_back(agreed.series_start + 7 * 86400 * 4);
    dates.dates.added.push_back(agreed.series_start + 86400 * 40);
    CalendarItem& one_off = change("one-off");
    one_off.rule.reset();
    one_off.remind_at = *TimeOfWall(agreed.series_start + 3600);
    CalendarItem& memo = change("memo");
    memo.reminds = false;
    memo.rule.reset();
    memo.kind = CalendarKind::kTodo;
    memo.alarm_offset = 0;
    for (const auto& [what, wanted] : changes) {
      SCOPED_TRACE(what);
      const std::string patched = PatchCalendarObject(kLunch, agreed, wanted);
      EXPECT_EQ(Read(patched), Comparable(wanted)) << patched;
    }
  }
}

// Times of other shapes: a yearly all-day event without an alarm (09:00 in
// Tallyo), and a to-do due at a UTC time.
TEST(ObjectRoundTrip, DaysAndDueTimesMovedReadBackAsWanted) {
  for (const char* zone : {"Asia/Shanghai", "America/New_York"}) {
    TALLYO_IN_ZONE(zone);
    SCOPED_TRACE(zone);
    const std::string birthday =
        "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Phone//EN\r\nBEGIN:VEVENT\r\nUID:b@phone.example\r\n"
        "DTSTAMP:20261201T080000Z\r\nDTSTART;VALUE=DATE:20270105\r\nDTEND;VALUE=DATE:20270106\r\n"
        "RRULE:FREQ=YEARLY\r\nEXDATE;VALUE=DATE:20290105\r\nSUMMARY:Birthday\r\nEND:VEVENT\r\nEND:"
        "VCALENDAR\r\n";
    const CalendarItem day = Read(birthday);
    CalendarItem later = day;
    later.series_start += 2 * 86400 + 1800;  // two days later, at 09:30: an alarm then
    later.alarm_offset = 34200;
    later.dates.removed = {WallFromCivil(2029, 1, 7, 9, 30, 0), WallFromCivil(2031, 1, 7, 9, 30, 0)};
    EXPECT_EQ(Read(PatchCalendarObject(birthday, day, later)), Comparable(later));

    const std::string todo =
        "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Other//EN\r\nBEGIN:VTODO\r\nUID:t@example.com\r\n"
        "DTSTAMP:20261201T080000Z\r\nDUE:20261210T090000Z\r\nSUMMARY:Pay\r\nPRIORITY:2\r\nEND:VTODO\r\n"
        "END:VCALENDAR\r\n";
    const CalendarItem due = Read(todo);
    CalendarItem again = due;  // reminded again an hour and ten minutes later
    again.remind_at += 4200;
    EXPECT_EQ(Read(PatchCalendarObject(todo, due, again)), Comparable(again));
  }
}

}  // namespace
