// New calendar objects for Tallyo's events, read back by libical: the
// fields, the moments (in a zone the object defines), the alarm, the series.
#include <libical/ical.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/testing/zone_scope.h"
#include "base/text_convert.h"
#include "calendar/calendar_object.h"
#include "calendar/testing/parsed_object.h"
#include "events/my_event.h"
#include "repeat/repeat_series.h"

namespace {

// "开会, 带上; 文件\" in code page 936: every character TEXT escapes.
const std::string kTitle = "\xBF\xAA\xBB\xE1, \xB4\xF8\xC9\xCF; \xCE\xC4\xBC\xFE\\";
// "第一行" CR LF "第二行"
const std::string kBody = "\xB5\xDA\xD2\xBB\xD0\xD0\r\n\xB5\xDA\xB6\xFE\xD0\xD0";

Time32 Local(const char* text) {
  Time32 t = 0;
  EXPECT_TRUE(ParseLocalTime(text, &t)) << text;
  return t;
}

std::string Utf8(const std::string& cp936_text) { return cp936::ToUtf8(cp936_text); }

std::string Text(icalcomponent* component, icalproperty_kind kind) {
  icalproperty* p = icalcomponent_get_first_property(component, kind);
  return p != nullptr ? icalvalue_get_text(icalproperty_get_value(p)) : "";
}

// DTSTART (or DUE) as the moment it names, through the calendar's VTIMEZONE.
std::int64_t MomentOf(icalcomponent* component, icalproperty_kind kind) {
  icalproperty* p = icalcomponent_get_first_property(component, kind);
  if (p == nullptr) return -1;
  icaltimetype t = icalproperty_get_datetime_with_component(p, component);
  return icaltime_as_timet_with_zone(t, t.zone != nullptr ? t.zone : icaltimezone_get_utc_timezone());
}

// What the object's VTIMEZONE says: its TZID, and that the start names it.
void ExpectDefinedZone(const ParsedObject& object, icalcomponent* component, icalproperty_kind kind,
                       const std::string& tzid) {
  icalcomponent* vtimezone = icalcomponent_get_first_component(object.calendar(), ICAL_VTIMEZONE_COMPONENT);
  ASSERT_NE(vtimezone, nullptr);
  EXPECT_EQ(Text(vtimezone, ICAL_TZID_PROPERTY), tzid);
  icalproperty* start = icalcomponent_get_first_property(component, kind);
  ASSERT_NE(start, nullptr);
  icalparameter* parameter = icalproperty_get_first_parameter(start, ICAL_TZID_PARAMETER);
  ASSERT_NE(parameter, nullptr) << "a floating time";
  EXPECT_EQ(std::string(icalparameter_get_tzid(parameter)), tzid);
  EXPECT_EQ(icalproperty_get_datetime_with_component(start, component).zone,
            icalcomponent_get_timezone(object.calendar(), tzid.c_str()));
}

CalendarItem ReminderItem(Time32 at) {
  return ItemOfEvent(CMyEvent(kTitle, at - 3600, kBody, 1, at), nullptr, "1-0@tallyo.example");
}

TEST(ItemOfEvent, TakesTheFieldsOfTheEventAndItsSeries) {
  const Time32 at = 1796693400;  // 2026-12-08 01:30:00 UTC
  CalendarItem memo = ItemOfEvent(CMyEvent(kTitle, at, kBody, 0, at), nullptr, "u");
  EXPECT_EQ(memo.kind, CalendarKind::kTodo);
  EXPECT_FALSE(memo.reminds);
  EXPECT_EQ(memo.remind_at, 0);  // kept by a memo, but no field of it
  EXPECT_EQ(memo.title, kTitle);
  EXPECT_EQ(memo.body, kBody);
  EXPECT_EQ(memo.uid, "u");

  RepeatRule rule;
  ASSERT_TRUE(ParseRepeatRule("FREQ=WEEKLY;BYDAY=MO,TH;UNTIL=20270131T093000", &rule).ok());
  RepeatSeries series(WallFromCivil(2026, 12, 10, 9, 30, 0), rule,
                      RepeatDates{{WallFromCivil(2026, 12, 12, 9, 30, 0)}, {}});
  CalendarItem reminder = ItemOfEvent(CMyEvent(kTitle, at, kBody, 1, at), &series, "u");
  EXPECT_EQ(reminder.kind, CalendarKind::kEvent);
  EXPECT_TRUE(reminder.reminds);
  EXPECT_EQ(reminder.remind_at, at);
  EXPECT_EQ(reminder.series_start, series.start());
  EXPECT_EQ(reminder.dates, series.dates());
  EXPECT_EQ(reminder.alarm_offset, 0);
  ASSERT_TRUE(reminder.rule);
  // UNTIL as the object holds it: the same moment, in UTC.
  EXPECT_EQ(reminder.rule->until_form, UntilForm::kUtc);
  EXPECT_EQ(*reminder.rule->until, *TimeOfWall(WallFromCivil(2027, 1, 31, 9, 30, 0)));
  rule.until.reset();
  RepeatRule without_until = *reminder.rule;
  without_until.until.reset();
  without_until.until_form = UntilForm::kLocal;
  EXPECT_EQ(without_until, rule);
}

TEST(ItemOfEvent, TextsAreWhatTheObjectGivesBack) {
  // libical trims blanks at a value's ends; a title is one line.
  CalendarItem item = ItemOfEvent(CMyEvent(" a\r\nb\t", 0, "\tx\ny \x01\r\n\r\n ", 0, 0), nullptr, "u");
  EXPECT_EQ(item.title, "a  b");
  EXPECT_EQ(item.body, "x\r\ny \r\n\r\n");
  ParsedObject object(NewCalendarObject(item));
  EXPECT_EQ(Text(object.main(), ICAL_SUMMARY_PROPERTY), "a  b");
  EXPECT_EQ(Text(object.main(), ICAL_DESCRIPTION_PROPERTY), "x\ny \n\n");
  EXPECT_EQ(ItemOfEvent(CMyEvent(" \t ", 0, "\r\n", 0, 0), nullptr, "u").title, "");
  ParsedObject breaks(NewCalendarObject(ItemOfEvent(CMyEvent("", 0, "\r\n", 0, 0), nullptr, "u")));
  EXPECT_EQ(Text(breaks.main(), ICAL_DESCRIPTION_PROPERTY), "\n");
}

TEST(NewCalendarObject, ReminderIsAnEventInThisPcsZoneWithAnAlarmAtItsTime) {
  for (const char* zone : {"Asia/Shanghai", "America/New_York"}) {
    TALLYO_IN_ZONE(zone);
    for (const char* when : {"2026-12-08 09:30:00", "2026-07-01 18:05:07"}) {
      SCOPED_TRACE(std::string(zone) + " " + when);
      const Time32 at = Local(when);
      ParsedObject object(NewCalendarObject(ReminderItem(at)));
      icalcomponent* event = object.main();
      ASSERT_NE(event, nullptr);
      EXPECT_EQ(icalcomponent_isa(event), ICAL_VEVENT_COMPONENT);
      ExpectDefinedZone(object, event, ICAL_DTSTART_PROPERTY, zone);
      EXPECT_EQ(MomentOf(event, ICAL_DTSTART_PROPERTY), at);
      EXPECT_EQ(Text(event, ICAL_UID_PROPERTY), "1-0@tallyo.example");
      EXPECT_EQ(Text(event, ICAL_SUMMARY_PROPERTY), Utf8(kTitle));
      EXPECT_EQ(Text(event, ICAL_DESCRIPTION_PROPERTY),
                Utf8("\xB5\xDA\xD2\xBB\xD0\xD0\n\xB5\xDA\xB6\xFE\xD0\xD0"));
      EXPECT_NE(icalcomponent_get_first_property(event, ICAL_DTSTAMP_PROPERTY), nullptr);

      icalcomponent* alarm = icalcomponent_get_first_component(event, ICAL_VALARM_COMPONENT);
      ASSERT_NE(alarm, nullptr);
      EXPECT_EQ(icalcomponent_get_next_component(event, ICAL_VALARM_COMPONENT), nullptr);
      EXPECT_EQ(icalproperty_get_action(icalcomponent_get_first_property(alarm, ICAL_ACTION_PROPERTY)),
                ICAL_ACTION_DISPLAY);
      icaltriggertype trigger =
          icalproperty_get_trigger(icalcomponent_get_first_property(alarm, ICAL_TRIGGER_PROPERTY));
      EXPECT_EQ(icaldurationtype_as_int(trigger.duration), 0);
      EXPECT_EQ(Text(alarm, ICAL_DESCRIPTION_PROPERTY), Utf8(kTitle));
    }
  }
}

TEST(NewCalendarObject, MemoIsATodoWithoutTimes) {
  ParsedObject object(
      NewCalendarObject(ItemOfEvent(CMyEvent(kTitle, 1796693400, kBody, 0, 1796693400), nullptr, "m")));
  icalcomponent* todo = object.main();
  ASSERT_NE(todo, nullptr);
  EXPECT_EQ(icalcomponent_isa(todo), ICAL_VTODO_COMPONENT);
  EXPECT_EQ(Text(todo, ICAL_SUMMARY_PROPERTY), Utf8(kTitle));
  for (icalproperty_kind kind : {ICAL_DUE_PROPERTY, ICAL_DTSTART_PROPERTY, ICAL_STATUS_PROPERTY}) {
    EXPECT_EQ(icalcomponent_get_first_property(todo, kind), nullptr) << icalproperty_kind_to_string(kind);
  }
  EXPECT_EQ(icalcomponent_get_first_component(todo, ICAL_VALARM_COMPONENT), nullptr);
  EXPECT_EQ(icalcomponent_get_first_component(object.calendar(), ICAL_VTIMEZONE_COMPONENT), nullptr);
}

TEST(NewCalendarObject, AlarmBeforeTheStartKeepsItsOffsetAndAnUntitledAlarmHasTheCaption) {
  TALLYO_IN_ZONE("Asia/Shanghai");
  const Time32 at = Local("2026-12-08 09:30:00");
  CalendarItem item = ItemOfEvent(CMyEvent("  ", at, "", 1, at), nullptr, "u");
  item.alarm_offset = -900;
  ParsedObject object(NewCalendarObject(item));
  icalcomponent* event = object.main();
  EXPECT_EQ(MomentOf(event, ICAL_DTSTART_PROPERTY), at + 900);
  EXPECT_EQ(icalcomponent_get_first_property(event, ICAL_SUMMARY_PROPERTY), nullptr);
  EXPECT_EQ(icalcomponent_get_first_property(event, ICAL_DESCRIPTION_PROPERTY), nullptr);
  icalcomponent* alarm = icalcomponent_get_first_component(event, ICAL_VALARM_COMPONENT);
  EXPECT_EQ(ParsedObject::Line(alarm, ICAL_TRIGGER_PROPERTY), "TRIGGER:-PT15M");
  EXPECT_EQ(Text(alarm, ICAL_DESCRIPTION_PROPERTY), Utf8("\xCA\xC2\xC7\xE9\xCC\xE1\xD0\xD1"));
}

TEST(NewCalendarObject, OneOffTodoWithATimeIsDueThenAndAlarmedAtItsDue) {
  TALLYO_IN_ZONE("America/New_York");
  const Time32 at = Local("2026-03-08 03:30:00");  // the first hour of summer time
  CalendarItem item = ReminderItem(at);
  item.kind = CalendarKind::kTodo;
  ParsedObject object(NewCalendarObject(item));
  icalcomponent* todo = object.main();
  ASSERT_EQ(icalcomponent_isa(todo), ICAL_VTODO_COMPONENT);
  ExpectDefinedZone(object, todo, ICAL_DUE_PROPERTY, "America/New_York");
  EXPECT_EQ(MomentOf(todo, ICAL_DUE_PROPERTY), at);
  EXPECT_EQ(icalcomponent_get_first_property(todo, ICAL_DTSTART_PROPERTY), nullptr);
  icalcomponent* alarm = icalcomponent_get_first_component(todo, ICAL_VALARM_COMPONENT);
  EXPECT_EQ(ParsedObject::Line(alarm, ICAL_TRIGGER_PROPERTY), "TRIGGER;RELATED=END:PT0S");
}

TEST(NewCalendarObject, LongTextsFoldWholeCharactersAndReadBackTheSame) {
  std::string title;
  for (int i = 0; i < 40; ++i) title += "\xC3\xBF\xD6\xDC\xC0\xFD\xBB\xE1 a;b,c";  // "每周例会 a;b,c"
  const std::string text = NewCalendarObject(ItemOfEvent(CMyEvent(title, 0, title, 0, 0), nullptr, "u"));
  std::size_t line_start = 0;
  while (line_start < text.size()) {
    const std::size_t end = text.find("\r\n", line_start);
    ASSERT_NE(end, std::string::npos) << "every line ends in CR LF";
    EXPECT_LE(end - line_start, 75u);
    // A continuation never starts inside a UTF-8 character.
    if (text[line_start] == ' ') {
      EXPECT_NE(static_cast<unsigned char>(text[line_start + 1]) & 0xC0, 0x80);
    }
    line_start = end + 2;
  }
  ParsedObject object(text);
  EXPECT_EQ(Text(object.main(), ICAL_SUMMARY_PROPERTY), Utf8(title));
  EXPECT_EQ(Text(object.main(), ICAL_DESCRIPTION_PROPERTY), Utf8(title));
}

struct Occurrences {
  std::vector<std::int64_t> moments;
};

void TakeOccurrence(icalcomponent*, struct icaltime_span* span, void* data) {
  static_cast<Occurrences*>(data)->moments.push_back(span->start);
}

TEST(NewCalendarObject, SeriesOccursWhereTallyoHasItInEitherZone) {
  for (const char* zone : {"Asia/Shanghai", "America/New_York"}) {
    TALLYO_IN_ZONE(zone);
    SCOPED_TRACE(zone);
    RepeatRule rule;
    ASSERT_TRUE(ParseRepeatRule("FREQ=WEEKLY;BYDAY=MO,TH;UNTIL=20270430", &rule).ok());
    // Across the spring-forward change of New York; one Thursday taken
    // away, a Saturday added.
    RepeatDates dates{{WallFromCivil(2027, 3, 13, 9, 30, 0)}, {WallFromCivil(2027, 3, 18, 9, 30, 0)}};
    RepeatSeries series(WallFromCivil(2027, 2, 1, 9, 30, 0), rule, dates);
    const Time32 first = *TimeOfWall(series.start());
    CalendarItem item = ItemOfEvent(CMyEvent(kTitle, first, "", 1, first), &series, "s");
    ParsedObject object(NewCalendarObject(item));
    icalcomponent* event = object.main();
    ASSERT_NE(event, nullptr);
    ExpectDefinedZone(object, event, ICAL_DTSTART_PROPERTY, zone);
    // UNTIL in UTC beside a zoned start: the end of the day it names there.
    const std::string until = icaltime_as_ical_string(icaltime_from_timet_with_zone(
        *TimeOfWall(WallFromCivil(2027, 5, 1, 0, 0, 0)) - 1, 0, icaltimezone_get_utc_timezone()));
    EXPECT_NE(ParsedObject::Line(event, ICAL_RRULE_PROPERTY).find(";UNTIL=" + until + ";"),
              std::string::npos);
    EXPECT_EQ(ParsedObject::Line(event, ICAL_EXDATE_PROPERTY),
              "EXDATE;TZID=" + std::string(zone) + ":20270318T093000");
    EXPECT_EQ(ParsedObject::Line(event, ICAL_RDATE_PROPERTY),
              "RDATE;TZID=" + std::string(zone) + ":20270313T093000");

    // libical 3.0 expands an RDATE as if it were in UTC: that one is
    // checked apart, the rule's own occurrences by libical's expansion.
    icalproperty* rdate = icalcomponent_get_first_property(event, ICAL_RDATE_PROPERTY);
    EXPECT_EQ(MomentOf(event, ICAL_RDATE_PROPERTY), *TimeOfWall(dates.added[0]));
    icalcomponent_remove_property(event, rdate);
    icalproperty_free(rdate);
    Occurrences occurrences;
    icalcomponent_foreach_recurrence(
        event, icaltime_from_timet_with_zone(0, 0, icaltimezone_get_utc_timezone()),
        icaltime_from_timet_with_zone(INT32_MAX, 0, icaltimezone_get_utc_timezone()), TakeOccurrence,
        &occurrences);
    std::vector<std::int64_t> expected;
    for (Time32 t : series.ListAfter(first - 1, 100)) {
      if (t != *TimeOfWall(dates.added[0])) expected.push_back(t);
    }
    EXPECT_EQ(occurrences.moments, expected);
    EXPECT_EQ(expected.size(), 25u);
  }
}

}  // namespace
