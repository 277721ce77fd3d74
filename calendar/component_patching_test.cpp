// A server's object patched with what changed in Tallyo: the changed
// properties differ, every other line of every component reads the same.
#include <libical/ical.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <set>
#include <string>

#include "base/testing/zone_scope.h"
#include "calendar/calendar_object.h"
#include "calendar/kept_characters.h"
#include "calendar/testing/parsed_object.h"

namespace {

// What a phone writes: its own zone definition, a weekly lunch with an
// emoji, attendees, categories, X- properties, two alarms and a moved
// occurrence.
const std::string kRich =
    "BEGIN:VCALENDAR\r\n"
    "VERSION:2.0\r\n"
    "PRODID:-//Phone//Calendar 1.0//EN\r\n"
    "X-WR-CALNAME:Family\r\n"
    "BEGIN:VTIMEZONE\r\n"
    "TZID:Europe/Berlin\r\n"
    "BEGIN:STANDARD\r\n"
    "DTSTART:19701025T030000\r\n"
    "RRULE:FREQ=YEARLY;BYDAY=-1SU;BYMONTH=10\r\n"
    "TZOFFSETFROM:+0200\r\n"
    "TZOFFSETTO:+0100\r\n"
    "END:STANDARD\r\n"
    "BEGIN:DAYLIGHT\r\n"
    "DTSTART:19700329T020000\r\n"
    "RRULE:FREQ=YEARLY;BYDAY=-1SU;BYMONTH=3\r\n"
    "TZOFFSETFROM:+0100\r\n"
    "TZOFFSETTO:+0200\r\n"
    "END:DAYLIGHT\r\n"
    "END:VTIMEZONE\r\n"
    "BEGIN:VEVENT\r\n"
    "UID:lunch@phone.example\r\n"
    "DTSTAMP:20261201T080000Z\r\n"
    "LAST-MODIFIED:20261201T080000Z\r\n"
    "SEQUENCE:2\r\n"
    "DTSTART;TZID=Europe/Berlin:20261210T100000\r\n"
    "DTEND;TZID=Europe/Berlin:20261210T113000\r\n"
    "RRULE:FREQ=WEEKLY;COUNT=10;BYDAY=TH\r\n"
    "SUMMARY:\xF0\x9F\x8E\x89 Team lunch \xE5\x8D\x88\xE9\xA4\x90\r\n"
    "DESCRIPTION:Bring \xF0\x9F\x8D\x95\\nand drinks\r\n"
    "LOCATION:Room 5\r\n"
    "ORGANIZER;CN=Ann:mailto:ann@example.com\r\n"
    "ATTENDEE;CN=Bob;PARTSTAT=ACCEPTED;ROLE=REQ-PARTICIPANT:mailto:bob@example.com\r\n"
    "ATTENDEE;CN=\"Lee, Chen\";PARTSTAT=NEEDS-ACTION:mailto:lee@example.com\r\n"
    "CATEGORIES:Work,Food\r\n"
    "X-PHONE-COLOR;X-SHADE=dark:#ff0000\r\n"
    "BEGIN:VALARM\r\n"
    "ACTION:DISPLAY\r\n"
    "TRIGGER:-PT15M\r\n"
    "DESCRIPTION:Lunch soon\r\n"
    "END:VALARM\r\n"
    "BEGIN:VALARM\r\n"
    "ACTION:AUDIO\r\n"
    "TRIGGER;RELATED=END:PT0S\r\n"
    "X-PHONE-SOUND:bell\r\n"
    "END:VALARM\r\n"
    "END:VEVENT\r\n"
    "BEGIN:VEVENT\r\n"
    "UID:lunch@phone.example\r\n"
    "RECURRENCE-ID;TZID=Europe/Berlin:20261217T100000\r\n"
    "DTSTAMP:20261201T080000Z\r\n"
    "DTSTART;TZID=Europe/Berlin:20261217T120000\r\n"
    "DTEND;TZID=Europe/Berlin:20261217T130000\r\n"
    "SUMMARY:\xF0\x9F\x8E\x89 Team lunch (later)\r\n"
    "END:VEVENT\r\n"
    "END:VCALENDAR\r\n";

constexpr char kMarker[] = "\xA1\xFE";

// The item Tallyo reads from kRich (in Shanghai: 10:00 in Berlin is 17:00,
// the alarm 15 minutes before).
CalendarItem RichItem() {
  CalendarItem item;
  item.uid = "lunch@phone.example";
  item.title = std::string(kMarker) + " Team lunch \xCE\xE7\xB2\xCD";
  item.body = std::string("Bring ") + kMarker + "\r\nand drinks\r\nRoom 5";
  item.reminds = true;
  RepeatRule rule;
  EXPECT_TRUE(ParseRepeatRule("FREQ=WEEKLY;BYDAY=TH;COUNT=10", &rule).ok());
  item.rule = rule;
  item.series_start = WallFromCivil(2026, 12, 10, 16, 45, 0);
  item.remind_at = *TimeOfWall(item.series_start);
  item.alarm_offset = -900;
  // The moved occurrence: from 10:00 to 12:00 in Berlin.
  item.dates.removed = {WallFromCivil(2026, 12, 17, 16, 45, 0)};
  item.dates.added = {WallFromCivil(2026, 12, 17, 18, 45, 0)};
  return item;
}

// Every line of every component, each prefixed by where it stands
// ("VCALENDAR/VEVENT#1/VALARM#0|TRIGGER:-PT15M"), unfolded.
void CollectLines(icalcomponent* component, const std::string& path, bool indexed,
                  std::multiset<std::string>* lines) {
  const std::string here = path + icalcomponent_kind_to_string(icalcomponent_isa(component));
  for (icalproperty* p = icalcomponent_get_first_property(component, ICAL_ANY_PROPERTY); p != nullptr;
       p = icalcomponent_get_next_property(component, ICAL_ANY_PROPERTY)) {
    lines->insert(here + "|" + ParsedObject::Unfolded(icalproperty_as_ical_string(p)));
  }
  int index = 0;
  for (icalcomponent* c = icalcomponent_get_first_component(component, ICAL_ANY_COMPONENT); c != nullptr;
       c = icalcomponent_get_next_component(component, ICAL_ANY_COMPONENT)) {
    CollectLines(c, here + (indexed ? "#" + std::to_string(index++) : "") + "/", indexed, lines);
  }
}

std::multiset<std::string> LinesOf(const std::string& text, bool indexed) {
  ParsedObject object(text);
  std::multiset<std::string> lines;
  if (object.calendar() != nullptr) CollectLines(object.calendar(), "", indexed, &lines);
  return lines;
}

// The lines only `before` has, and those only `after` has; the stamps of
// the change aside unless `stamps`; components told apart by their place
// unless not `indexed`.
struct Difference {
  std::set<std::string> gone, added;
};

Difference Diff(const std::string& before, const std::string& after, bool stamps = false,
                bool indexed = true) {
  const std::multiset<std::string> a = LinesOf(before, indexed), b = LinesOf(after, indexed);
  EXPECT_FALSE(a.empty());
  EXPECT_FALSE(b.empty());
  Difference d;
  std::set_difference(a.begin(), a.end(), b.begin(), b.end(), std::inserter(d.gone, d.gone.end()));
  std::set_difference(b.begin(), b.end(), a.begin(), a.end(), std::inserter(d.added, d.added.end()));
  for (auto* side : {&d.gone, &d.added}) {
    std::erase_if(*side, [stamps](const std::string& line) {
      return !stamps && (line.find("|DTSTAMP:") != std::string::npos ||
                         line.find("|LAST-MODIFIED:") != std::string::npos);
    });
  }
  return d;
}

const std::string kEvent = "VCALENDAR#1/VEVENT|";

TEST(PatchCalendarObject, NothingChangedGivesTheServersTextBack) {
  EXPECT_EQ(PatchCalendarObject(kRich, RichItem(), RichItem()), kRich);
}

TEST(PatchCalendarObject, ANewTitleChangesTheSummaryAloneKeepingItsEmoji) {
  TALLYO_IN_ZONE("Asia/Shanghai");
  CalendarItem wanted = RichItem();
  wanted.title = std::string(kMarker) + " Team dinner \xCE\xE7\xB2\xCD";
  const std::string patched = PatchCalendarObject(kRich, RichItem(), wanted);
  Difference d = Diff(kRich, patched);
  EXPECT_EQ(d.gone,
            (std::set<std::string>{kEvent + "SUMMARY:\xF0\x9F\x8E\x89 Team lunch \xE5\x8D\x88\xE9\xA4\x90"}));
  EXPECT_EQ(
      d.added,
      (std::set<std::string>{kEvent + "SUMMARY:\xF0\x9F\x8E\x89 Team dinner \xE5\x8D\x88\xE9\xA4\x90"}));
  // The change is stamped; the time did not change, nor its sequence.
  EXPECT_EQ(ParsedObject::Line(ParsedObject(patched).main(), ICAL_SEQUENCE_PROPERTY), "SEQUENCE:2");
  EXPECT_NE(ParsedObject::Line(ParsedObject(patched).main(), ICAL_DTSTAMP_PROPERTY),
            "DTSTAMP:20261201T080000Z");
}

TEST(PatchCalendarObject, TheBodysLastLineIsTheLocation) {
  TALLYO_IN_ZONE("Asia/Shanghai");
  struct Case {
    std::string body;
    std::set<std::string> gone, added;
  } cases[] = {
      // An edit above the location: the description alone.
      {std::string("Bring ") + kMarker + "\r\nand juice\r\nRoom 5",
       {kEvent + "DESCRIPTION:Bring \xF0\x9F\x8D\x95\\nand drinks"},
       {kEvent + "DESCRIPTION:Bring \xF0\x9F\x8D\x95\\nand juice"}},
      // The last line alone: the location.
      {std::string("Bring ") + kMarker + "\r\nand drinks\r\nRoom 6",
       {kEvent + "LOCATION:Room 5"},
       {kEvent + "LOCATION:Room 6"}},
      // The location line gone: all of the body is the description.
      {std::string("Bring ") + kMarker + "\r\nand drinks", {kEvent + "LOCATION:Room 5"}, {}},
      // Anything else: the same, and no line written twice.
      {"Nothing\r\nRoom",
       {kEvent + "DESCRIPTION:Bring \xF0\x9F\x8D\x95\\nand drinks", kEvent + "LOCATION:Room 5"},
       {kEvent + "DESCRIPTION:Nothing\\nRoom"}},
  };
  for (const Case& c : cases) {
    CalendarItem wanted = RichItem();
    wanted.body = c.body;
    Difference d = Diff(kRich, PatchCalendarObject(kRich, RichItem(), wanted));
    EXPECT_EQ(d.gone, c.gone) << c.body;
    EXPECT_EQ(d.added, c.added) << c.body;
  }
}

TEST(PatchCalendarObject, MovingASeriesMovesItsTimesAndKeepsTheAlarmsOffsetsAndItsSingleDates) {
  for (const char* zone : {"Asia/Shanghai", "America/New_York"}) {
    TALLYO_IN_ZONE(zone);
    SCOPED_TRACE(zone);
    // The item in this zone: 10:00 in Berlin, less 15 minutes.
    CalendarItem agreed = RichItem();
    WallSeconds wall = 0;
    ASSERT_TRUE(WallOfTime(1796893200 - 900, &wall));  // 2026-12-10 09:00 UTC
    agreed.series_start = wall;
    CalendarItem wanted = agreed;
    wanted.series_start += 3600 + 86400;  // an hour later, on Fridays from the 11th
    RepeatRule rule = *wanted.rule;
    rule.weekdays = 1 << 5;
    wanted.rule = rule;
    Difference d = Diff(kRich, PatchCalendarObject(kRich, agreed, wanted));
    EXPECT_EQ(d.gone, (std::set<std::string>{
                          kEvent + "DTSTART;TZID=Europe/Berlin:20261210T100000",
                          kEvent + "DTEND;TZID=Europe/Berlin:20261210T113000",
                          kEvent + "RRULE:FREQ=WEEKLY;COUNT=10;BYDAY=TH",
                          kEvent + "SEQUENCE:2",
                      }));
    EXPECT_EQ(d.added, (std::set<std::string>{
                           kEvent + "DTSTART;TZID=Europe/Berlin:20261211T110000",
                           kEvent + "DTEND;TZID=Europe/Berlin:20261211T123000",
                           kEvent + "RRULE:FREQ=WEEKLY;COUNT=10;BYDAY=FR",
                           kEvent + "SEQUENCE:3",
                       }));
  }
}

TEST(PatchCalendarObject, DatesTakenAwayAreWrittenAsTheServersStartsInItsZone) {
  TALLYO_IN_ZONE("Asia/Shanghai");
  CalendarItem wanted = RichItem();
  // Tallyo's reminder of 24 December, 16:45 here: 10:00 in Berlin. The
  // dates of the moved occurrence stay the override's.
  wanted.dates.removed.push_back(WallFromCivil(2026, 12, 24, 16, 45, 0));
  wanted.dates.added.push_back(WallFromCivil(2027, 1, 2, 16, 45, 0));
  Difference d = Diff(kRich, PatchCalendarObject(kRich, RichItem(), wanted));
  EXPECT_EQ(d.gone, (std::set<std::string>{kEvent + "SEQUENCE:2"}));
  EXPECT_EQ(d.added, (std::set<std::string>{kEvent + "SEQUENCE:3",
                                            kEvent + "EXDATE;TZID=Europe/Berlin:20261224T100000",
                                            kEvent + "RDATE;TZID=Europe/Berlin:20270102T100000"}));
}

// A one-off event in New York, named by its IANA name alone, with an
// alarm a day before at a fixed moment and one 30 minutes before.
const std::string kOneOff =
    "BEGIN:VCALENDAR\r\n"
    "VERSION:2.0\r\n"
    "PRODID:-//Other//EN\r\n"
    "BEGIN:VEVENT\r\n"
    "UID:one@example.com\r\n"
    "DTSTAMP:20261201T080000Z\r\n"
    "DTSTART;TZID=America/New_York:20261210T090000\r\n"
    "DURATION:PT1H\r\n"
    "SUMMARY:Dentist\r\n"
    "BEGIN:VALARM\r\n"
    "ACTION:DISPLAY\r\n"
    "TRIGGER;RELATED=START:-PT30M\r\n"
    "DESCRIPTION:Dentist\r\n"
    "END:VALARM\r\n"
    "BEGIN:VALARM\r\n"
    "ACTION:EMAIL\r\n"
    "TRIGGER;VALUE=DATE-TIME:20261209T140000Z\r\n"
    "ATTENDEE:mailto:me@example.com\r\n"
    "SUMMARY:Tomorrow\r\n"
    "DESCRIPTION:Dentist tomorrow\r\n"
    "END:VALARM\r\n"
    "END:VEVENT\r\n"
    "END:VCALENDAR\r\n";

TEST(PatchCalendarObject, MovingAReminderMovesTheEventAndItsAlarmsKeepTheirOffsets) {
  TALLYO_IN_ZONE("Asia/Shanghai");
  CalendarItem agreed;
  agreed.uid = "one@example.com";
  agreed.title = "Dentist";
  agreed.reminds = true;
  agreed.remind_at = 1796911200 - 1800;  // 2026-12-10 14:00 UTC, less 30 minutes
  agreed.alarm_offset = -1800;
  CalendarItem wanted = agreed;
  wanted.remind_at += 2 * 86400 + 5400;  // two days and an hour and a half later
  const std::string patched = PatchCalendarObject(kOneOff, agreed, wanted);
  Difference d = Diff(kOneOff, patched);
  EXPECT_EQ(d.gone,
            (std::set<std::string>{"VCALENDAR#0/VEVENT|DTSTART;TZID=America/New_York:20261210T090000",
                                   "VCALENDAR#0/VEVENT#1/VALARM|TRIGGER;VALUE=DATE-TIME:20261209T140000Z"}));
  EXPECT_EQ(d.added,
            (std::set<std::string>{"VCALENDAR#0/VEVENT|DTSTART;TZID=America/New_York:20261212T103000",
                                   "VCALENDAR#0/VEVENT|SEQUENCE:1",
                                   "VCALENDAR#0/VEVENT#1/VALARM|TRIGGER;VALUE=DATE-TIME:20261211T153000Z"}));
}

TEST(PatchCalendarObject, AnAllDayEventMovesByDaysAndItsAlarmByTheTimeOfDay) {
  TALLYO_IN_ZONE("Asia/Shanghai");
  const std::string all_day =
      "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Other//EN\r\nBEGIN:VEVENT\r\nUID:day@example.com\r\n"
      "DTSTAMP:20261201T080000Z\r\nDTSTART;VALUE=DATE:20261225\r\nDTEND;VALUE=DATE:20261226\r\nSUMMARY:"
      "Holiday\r\n"
      "END:VEVENT\r\nEND:VCALENDAR\r\n";
  CalendarItem agreed;
  agreed.title = "Holiday";
  agreed.reminds = true;
  agreed.all_day = true;
  agreed.remind_at = *TimeOfWall(WallFromCivil(2026, 12, 25, 9, 0, 0));
  CalendarItem wanted = agreed;
  wanted.remind_at = *TimeOfWall(WallFromCivil(2026, 12, 26, 8, 30, 0));
  ParsedObject object(PatchCalendarObject(all_day, agreed, wanted));
  icalcomponent* event = object.main();
  ASSERT_NE(event, nullptr);
  EXPECT_EQ(ParsedObject::Line(event, ICAL_DTSTART_PROPERTY), "DTSTART;VALUE=DATE:20261226");
  EXPECT_EQ(ParsedObject::Line(event, ICAL_DTEND_PROPERTY), "DTEND;VALUE=DATE:20261227");
  icalcomponent* alarm = icalcomponent_get_first_component(event, ICAL_VALARM_COMPONENT);
  ASSERT_NE(alarm, nullptr);
  EXPECT_EQ(ParsedObject::Line(alarm, ICAL_TRIGGER_PROPERTY), "TRIGGER:PT8H30M");
}

TEST(PatchCalendarObject, ASeriesMadeOneOffLosesItsRuleAndOverrides) {
  TALLYO_IN_ZONE("Asia/Shanghai");
  CalendarItem wanted = RichItem();
  wanted.rule.reset();
  ParsedObject object(PatchCalendarObject(kRich, RichItem(), wanted));
  EXPECT_EQ(ParsedObject::Line(object.main(), ICAL_RRULE_PROPERTY), "");
  EXPECT_EQ(ParsedObject::Line(object.main(), ICAL_DTSTART_PROPERTY),
            "DTSTART;TZID=Europe/Berlin:20261210T100000");
  int events = 0;
  for (icalcomponent* c = icalcomponent_get_first_component(object.calendar(), ICAL_VEVENT_COMPONENT);
       c != nullptr; c = icalcomponent_get_next_component(object.calendar(), ICAL_VEVENT_COMPONENT)) {
    ++events;
  }
  EXPECT_EQ(events, 1);
}

TEST(PatchCalendarObject, AMemoMadeAReminderIsDueThenInThisPcsZone) {
  TALLYO_IN_ZONE("America/New_York");
  const std::string memo =
      "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Other//EN\r\nBEGIN:VTODO\r\nUID:todo@example.com\r\n"
      "DTSTAMP:20261201T080000Z\r\nSUMMARY:Call\r\nCATEGORIES:Home\r\nPRIORITY:1\r\nEND:VTODO\r\nEND:"
      "VCALENDAR\r\n";
  CalendarItem agreed;
  agreed.kind = CalendarKind::kTodo;
  agreed.title = "Call";
  CalendarItem wanted = agreed;
  wanted.reminds = true;
  wanted.remind_at = *TimeOfWall(WallFromCivil(2026, 12, 20, 18, 0, 0));
  const std::string patched = PatchCalendarObject(memo, agreed, wanted);
  ParsedObject object(patched);
  icalcomponent* todo = object.main();
  ASSERT_NE(todo, nullptr);
  EXPECT_EQ(ParsedObject::Line(todo, ICAL_DUE_PROPERTY), "DUE;TZID=America/New_York:20261220T180000");
  EXPECT_NE(icalcomponent_get_timezone(object.calendar(), "America/New_York"), nullptr) << "its VTIMEZONE";
  EXPECT_EQ(ParsedObject::Line(todo, ICAL_CATEGORIES_PROPERTY), "CATEGORIES:Home");
  EXPECT_EQ(ParsedObject::Line(todo, ICAL_PRIORITY_PROPERTY), "PRIORITY:1");
  icalcomponent* alarm = icalcomponent_get_first_component(todo, ICAL_VALARM_COMPONENT);
  ASSERT_NE(alarm, nullptr);
  EXPECT_EQ(ParsedObject::Line(alarm, ICAL_TRIGGER_PROPERTY), "TRIGGER;RELATED=END:PT0S");

  // And back: a memo again, as it was (and its sequence counts the changes).
  Difference d = Diff(memo, PatchCalendarObject(patched, wanted, agreed), false, /*indexed=*/false);
  EXPECT_EQ(d.gone, (std::set<std::string>{}));
  std::erase_if(d.added, [](const std::string& line) { return line.starts_with("VCALENDAR/VTIMEZONE"); });
  EXPECT_EQ(d.added, (std::set<std::string>{"VCALENDAR/VTODO|SEQUENCE:2"}));
}

TEST(PatchCalendarObject, AnEventMadeAMemoBecomesATodoKeepingItsPeople) {
  TALLYO_IN_ZONE("Asia/Shanghai");
  CalendarItem wanted = RichItem();
  wanted.reminds = false;
  wanted.rule.reset();
  ParsedObject object(PatchCalendarObject(kRich, RichItem(), wanted));
  icalcomponent* todo = object.main();
  ASSERT_NE(todo, nullptr);
  EXPECT_EQ(icalcomponent_isa(todo), ICAL_VTODO_COMPONENT);
  EXPECT_EQ(ParsedObject::Lines(todo, ICAL_ATTENDEE_PROPERTY).size(), 2u);
  EXPECT_EQ(ParsedObject::Line(todo, ICAL_UID_PROPERTY), "UID:lunch@phone.example");
  for (icalproperty_kind kind : {ICAL_DTSTART_PROPERTY, ICAL_DTEND_PROPERTY, ICAL_RRULE_PROPERTY}) {
    EXPECT_EQ(ParsedObject::Line(todo, kind), "");
  }
  EXPECT_EQ(icalcomponent_get_first_component(todo, ICAL_VALARM_COMPONENT), nullptr);
}

TEST(PatchCalendarObject, UnreadableServerTextGivesANewObject) {
  CalendarItem wanted;
  wanted.uid = "u";
  wanted.title = "New";
  ParsedObject object(PatchCalendarObject("not a calendar", CalendarItem{}, wanted));
  ASSERT_NE(object.main(), nullptr);
  EXPECT_EQ(ParsedObject::Line(object.main(), ICAL_SUMMARY_PROPERTY), "SUMMARY:New");
}

TEST(CompletedTodoObject, MarksTheTodoDoneKeepingTheRest) {
  const std::string todo =
      "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Other//EN\r\nBEGIN:VTODO\r\nUID:todo@example.com\r\n"
      "DTSTAMP:20261201T080000Z\r\nSTATUS:NEEDS-ACTION\r\nPERCENT-COMPLETE:40\r\nSUMMARY:Call\r\n"
      "X-KEEP:me\r\nEND:VTODO\r\nEND:VCALENDAR\r\n";
  std::optional<std::string> done = CompletedTodoObject(todo, 1796893200);
  ASSERT_TRUE(done);
  Difference d = Diff(todo, *done, /*stamps=*/true);
  EXPECT_EQ(d.gone, (std::set<std::string>{"VCALENDAR#0/VTODO|STATUS:NEEDS-ACTION",
                                           "VCALENDAR#0/VTODO|PERCENT-COMPLETE:40",
                                           "VCALENDAR#0/VTODO|DTSTAMP:20261201T080000Z"}));
  EXPECT_EQ(d.added, (std::set<std::string>{"VCALENDAR#0/VTODO|STATUS:COMPLETED",
                                            "VCALENDAR#0/VTODO|PERCENT-COMPLETE:100",
                                            "VCALENDAR#0/VTODO|COMPLETED:20261210T090000Z",
                                            "VCALENDAR#0/VTODO|DTSTAMP:20261210T090000Z"}));
  EXPECT_FALSE(CompletedTodoObject(kRich, 0));
  EXPECT_FALSE(CompletedTodoObject("", 0));
}

}  // namespace
