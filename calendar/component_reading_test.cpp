// What each kind of component becomes, read through ReadCalendarObject:
// times of every kind of zone as this PC's wall time, alarms, the to-do and
// journal rules, texts, series, and what cannot be read.
#include <gtest/gtest.h>

#include <string>

#include "base/testing/zone_scope.h"
#include "calendar/calendar_object.h"
#include "calendar/marked_text.h"

namespace {

// 2026-12-08 00:00 UTC: "now" in these tests.
constexpr Time32 kNow = 1796688000;

std::string Calendar(const std::string& components) {
  return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Tallyo//component test//EN\r\n" + components +
         "END:VCALENDAR\r\n";
}

std::string Event(const std::string& lines, const std::string& kind = "VEVENT") {
  return "BEGIN:" + kind + "\r\nUID:one@example.com\r\n" + lines + "END:" + kind + "\r\n";
}

CalendarItem Read(const std::string& ics, Time32 now = kNow) {
  std::string problem;
  std::optional<CalendarItem> item = ReadCalendarObject(ics, now, &problem);
  EXPECT_TRUE(item) << problem;
  return item.value_or(CalendarItem());
}

std::string ProblemOf(const std::string& ics) {
  std::string problem;
  EXPECT_FALSE(ReadCalendarObject(ics, kNow, &problem));
  return problem;
}

std::string Local(Time32 t) { return FormatTime(t); }

constexpr char kBerlinZone[] =
    "BEGIN:VTIMEZONE\r\nTZID:Berlin own\r\n"
    "BEGIN:STANDARD\r\nDTSTART:19701025T030000\r\nRRULE:FREQ=YEARLY;BYDAY=-1SU;BYMONTH=10\r\n"
    "TZOFFSETFROM:+0200\r\nTZOFFSETTO:+0100\r\nEND:STANDARD\r\n"
    "BEGIN:DAYLIGHT\r\nDTSTART:19700329T020000\r\nRRULE:FREQ=YEARLY;BYDAY=-1SU;BYMONTH=3\r\n"
    "TZOFFSETFROM:+0100\r\nTZOFFSETTO:+0200\r\nEND:DAYLIGHT\r\nEND:VTIMEZONE\r\n";

TEST(ComponentReading, EveryKindOfTimeEndsAsThisPcsWallTime) {
  for (const char* zone : {"Asia/Shanghai", "America/New_York"}) {
    TALLYO_IN_ZONE(zone);
    const bool shanghai = std::string(zone) == "Asia/Shanghai";
    // The file's own zone (summer time in July), a bare IANA name, UTC.
    EXPECT_EQ(
        Local(Read(Calendar(std::string(kBerlinZone) + Event("DTSTART;TZID=Berlin own:20270715T093000\r\n")))
                  .remind_at),
        shanghai ? "2027-07-15 15:30:00" : "2027-07-15 03:30:00");
    EXPECT_EQ(Local(Read(Calendar(Event("DTSTART;TZID=America/New_York:20270310T090000\r\n"))).remind_at),
              shanghai ? "2027-03-10 22:00:00" : "2027-03-10 09:00:00");
    EXPECT_EQ(Local(Read(Calendar(Event("DTSTART:20270101T013000Z\r\n"))).remind_at),
              shanghai ? "2027-01-01 09:30:00" : "2026-12-31 20:30:00");
    // Floating and DATE: this PC's wall time, whatever its zone.
    EXPECT_EQ(Local(Read(Calendar(Event("DTSTART:20270101T013000\r\n"))).remind_at), "2027-01-01 01:30:00");
    const CalendarItem all_day = Read(Calendar(Event("DTSTART;VALUE=DATE:20270101\r\n")));
    EXPECT_TRUE(all_day.all_day);
    EXPECT_EQ(Local(all_day.remind_at), "2027-01-01 09:00:00");
    EXPECT_EQ(all_day.alarm_offset, 0);
  }
}

TEST(ComponentReading, AnEventRemindsAtItsFirstDisplayOrAudioAlarm) {
  TALLYO_IN_ZONE("Asia/Shanghai");
  const std::string start = "DTSTART:20270105T100000\r\nDTEND:20270105T113000\r\n";
  auto alarm = [](const std::string& action, const std::string& trigger) {
    return "BEGIN:VALARM\r\nACTION:" + action + "\r\n" + trigger + "\r\nDESCRIPTION:x\r\nEND:VALARM\r\n";
  };
  CalendarItem before = Read(Calendar(Event(start + alarm("DISPLAY", "TRIGGER:-PT15M"))));
  EXPECT_EQ(Local(before.remind_at), "2027-01-05 09:45:00");
  EXPECT_EQ(before.alarm_offset, -900);
  EXPECT_EQ(Local(Read(Calendar(Event(start + alarm("AUDIO", "TRIGGER;RELATED=END:-PT5M")))).remind_at),
            "2027-01-05 11:25:00");
  EXPECT_EQ(Local(Read(Calendar(Event(start + alarm("DISPLAY", "TRIGGER;VALUE=DATE-TIME:20270104T120000Z"))))
                      .remind_at),
            "2027-01-04 20:00:00");
  // An e-mail alarm is passed over for the display alarm after it.
  EXPECT_EQ(
      Local(Read(Calendar(Event(start + alarm("EMAIL", "TRIGGER:-P1D") + alarm("DISPLAY", "TRIGGER:-PT1H"))))
                .remind_at),
      "2027-01-05 09:00:00");
  // The end from DURATION; an all-day event's alarm from its midnight.
  EXPECT_EQ(Local(Read(Calendar(Event("DTSTART:20270105T100000\r\nDURATION:PT2H\r\n" +
                                      alarm("DISPLAY", "TRIGGER;RELATED=END:PT0S"))))
                      .remind_at),
            "2027-01-05 12:00:00");
  EXPECT_EQ(
      Local(Read(Calendar(Event("DTSTART;VALUE=DATE:20270105\r\n" + alarm("DISPLAY", "TRIGGER:-PT15H"))))
                .remind_at),
      "2027-01-04 09:00:00");
}

TEST(ComponentReading, ToDosRemindAtTheirAlarmElseTheirDueElseAreMemos) {
  TALLYO_IN_ZONE("Asia/Shanghai");
  const std::string alarm = "BEGIN:VALARM\r\nACTION:DISPLAY\r\nTRIGGER;RELATED=END:-PT30M\r\nEND:VALARM\r\n";
  CalendarItem with_alarm = Read(Calendar(Event("DUE:20270110T170000\r\n" + alarm, "VTODO")));
  EXPECT_EQ(with_alarm.kind, CalendarKind::kTodo);
  EXPECT_EQ(Local(with_alarm.remind_at), "2027-01-10 16:30:00");
  EXPECT_EQ(Local(Read(Calendar(Event("DUE:20270110T170000\r\n", "VTODO"))).remind_at),
            "2027-01-10 17:00:00");
  CalendarItem memo = Read(Calendar(Event("SUMMARY:Buy milk\r\n", "VTODO")));
  EXPECT_FALSE(memo.reminds);
  EXPECT_FALSE(memo.past);
  EXPECT_EQ(memo.title, "Buy milk");

  EXPECT_TRUE(Read(Calendar(Event("STATUS:COMPLETED\r\nDUE:20270110T170000\r\n", "VTODO"))).done);
  EXPECT_TRUE(Read(Calendar(Event("COMPLETED:20261201T100000Z\r\n", "VTODO"))).done);
  EXPECT_TRUE(Read(Calendar(Event("STATUS:CANCELLED\r\n", "VTODO"))).done);
  EXPECT_TRUE(Read(Calendar(Event("STATUS:CANCELLED\r\nDTSTART:20270110T170000\r\n"))).done);
  EXPECT_FALSE(Read(Calendar(Event("STATUS:NEEDS-ACTION\r\n", "VTODO"))).done);

  CalendarItem journal = Read(Calendar(Event("DTSTART:20261201T100000\r\nSUMMARY:Notes\r\n", "VJOURNAL")));
  EXPECT_EQ(journal.kind, CalendarKind::kJournal);
  EXPECT_FALSE(journal.reminds);
}

TEST(ComponentReading, TitleBodyAndLocation) {
  TALLYO_IN_ZONE("Asia/Shanghai");
  CalendarItem item =
      Read(Calendar(Event("DTSTART:20270105T100000\r\nSUMMARY:\xe5\x91\xa8\xe4\xbc\x9a\\, room 5\r\n"  // 周会
                          "DESCRIPTION:Agenda:\\n1. budget\\n2. plans\r\nLOCATION:Building A\r\n")));
  EXPECT_EQ(item.title, "\xd6\xdc\xbb\xe1, room 5");
  EXPECT_EQ(item.body, "Agenda:\r\n1. budget\r\n2. plans\r\nBuilding A");
  EXPECT_EQ(item.marked_characters, 0);
  EXPECT_EQ(Read(Calendar(Event("DTSTART:20270105T100000\r\nLOCATION:Home\r\n"))).body, "Home");
  // A title is one line.
  EXPECT_EQ(Read(Calendar(Event("DTSTART:20270105T100000\r\nSUMMARY:a\\nb\r\n"))).title, "a b");
}

TEST(ComponentReading, CharactersTheCodePageLacksBecomeOneMarkEach) {
  TALLYO_IN_ZONE("Asia/Shanghai");
  // 🎂 (outside the basic plane), then a character GBK lacks (U+4DB6 is in
  // GB 18030's extension only), then one it has.
  CalendarItem item =
      Read(Calendar(Event("DTSTART:20270105T100000\r\nSUMMARY:\xf0\x9f\x8e\x82 "
                          "cake\r\nDESCRIPTION:\xe4\xb6\xb6\xe5\x91\xa8\r\n")));
  EXPECT_EQ(item.title, std::string(kMissingCharacterMark) + " cake");
  EXPECT_EQ(item.body, std::string(kMissingCharacterMark) + "\xd6\xdc");
  EXPECT_EQ(item.marked_characters, 2);

  int marked = 0;
  EXPECT_EQ(Cp936Marked("a\xff"
                        "b\xe5\x91",
                        &marked),
            std::string("a") + kMissingCharacterMark + "b" + kMissingCharacterMark + kMissingCharacterMark);
  EXPECT_EQ(marked, 3);
}

TEST(ComponentReading, ASeriesComesWithItsNextOccurrenceAfterNow) {
  TALLYO_IN_ZONE("Asia/Shanghai");
  // The second Tuesday of every month at 10:00, 15 minutes' warning, the
  // December one left out and one on the 20th added.
  CalendarItem item =
      Read(Calendar(Event("DTSTART:20260113T100000\r\nRRULE:FREQ=MONTHLY;BYDAY=2TU\r\n"
                          "EXDATE:20261208T100000\r\nRDATE:20261220T100000\r\n"
                          "BEGIN:VALARM\r\nACTION:DISPLAY\r\nTRIGGER:-PT15M\r\nEND:VALARM\r\n")));
  ASSERT_TRUE(item.rule);
  EXPECT_EQ(FormatRepeatRule(*item.rule), "FREQ=MONTHLY;BYDAY=2TU");
  EXPECT_EQ(FormatWallTime(item.series_start), "2026-01-13 09:45:00");
  EXPECT_EQ(FormatWallTimeList(item.dates.removed), "2026-12-08 09:45:00");
  EXPECT_EQ(FormatWallTimeList(item.dates.added), "2026-12-20 09:45:00");
  EXPECT_EQ(Local(item.remind_at), "2026-12-20 09:45:00");
  EXPECT_FALSE(item.past);

  // An override moves one occurrence: its old time out, its new time in.
  CalendarItem moved = Read(Calendar(Event("DTSTART:20261201T100000\r\nRRULE:FREQ=WEEKLY;COUNT=3\r\n") +
                                     Event("RECURRENCE-ID:20261208T100000\r\nDTSTART:20261209T140000\r\n")));
  EXPECT_EQ(Local(moved.remind_at), "2026-12-09 14:00:00");
  // An override of another UID moves nothing here.
  CalendarItem other = Read(Calendar(
      Event("DTSTART:20261201T100000\r\nRRULE:FREQ=WEEKLY;COUNT=3\r\n") +
      "BEGIN:VEVENT\r\nUID:two@example.com\r\nRECURRENCE-ID:20261208T100000\r\nDTSTART:20261209T140000\r\n"
      "END:VEVENT\r\n"));
  EXPECT_EQ(Local(other.remind_at), "2026-12-08 10:00:00");

  CalendarItem ended = Read(Calendar(Event("DTSTART:20250101T100000\r\nRRULE:FREQ=DAILY;COUNT=3\r\n")));
  EXPECT_TRUE(ended.past);
  // A birthday since 1960 is a series like any other.
  CalendarItem birthday = Read(Calendar(Event("DTSTART;VALUE=DATE:19600310\r\nRRULE:FREQ=YEARLY\r\n")));
  EXPECT_EQ(Local(birthday.remind_at), "2027-03-10 09:00:00");
}

TEST(ComponentReading, AWeeklyRuleKeepsItsDayWhenTheZoneMovesTheDate) {
  TALLYO_IN_ZONE("Asia/Shanghai");
  // Mondays 20:00 in New York are Tuesdays 09:00 in Shanghai (winter).
  CalendarItem item = Read(
      Calendar(Event("DTSTART;TZID=America/New_York:20261207T200000\r\nRRULE:FREQ=WEEKLY;BYDAY=MO\r\n")));
  ASSERT_TRUE(item.rule);
  EXPECT_EQ(FormatRepeatRule(*item.rule), "FREQ=WEEKLY;BYDAY=TU");
  EXPECT_EQ(Local(item.remind_at), "2026-12-08 09:00:00");
}

TEST(ComponentReading, PastOneOffsAreMarkedPast) {
  TALLYO_IN_ZONE("Asia/Shanghai");
  EXPECT_TRUE(Read(Calendar(Event("DTSTART:20261207T100000\r\n"))).past);
  EXPECT_FALSE(Read(Calendar(Event("DTSTART:20261209T100000\r\n"))).past);
}

TEST(ComponentReading, WhatCannotBeReadIsNamed) {
  TALLYO_IN_ZONE("Asia/Shanghai");
  EXPECT_EQ(ProblemOf("hello"), "\xb2\xbb\xca\xc7\xc8\xd5\xc0\xfa\xce\xc4\xbc\xfe");  // 不是日历文件
  EXPECT_EQ(ProblemOf(Calendar("")), "\xb2\xbb\xca\xc7\xc8\xd5\xc0\xfa\xce\xc4\xbc\xfe");
  EXPECT_EQ(ProblemOf(Calendar(Event("SUMMARY:x\r\n"))), "\xc3\xbb\xd3\xd0\xbf\xaa\xca\xbc\xca\xb1\xbc\xe4");
  EXPECT_NE(ProblemOf(Calendar(Event("DTSTART:19650101T100000\r\n"))).find("1970"), std::string::npos);
  EXPECT_NE(ProblemOf(Calendar(Event("DTSTART:20400101T100000\r\n"))).find("2038"), std::string::npos);
  EXPECT_NE(ProblemOf(Calendar(Event("DTSTART:20400101T100000\r\nRRULE:FREQ=DAILY\r\n"))).find("2038"),
            std::string::npos);
  EXPECT_NE(ProblemOf(Calendar(Event("DTSTART:20270101T100000\r\nRRULE:FREQ=SOMETIMES\r\n"))).find("FREQ"),
            std::string::npos);
  // A damaged line: libical keeps the component and says what it met.
  const std::string damaged = ProblemOf(Calendar(Event("DTSTART:20270101T100000\r\nDTEND:not a time\r\n")));
  EXPECT_EQ(damaged.rfind("\xd3\xd0\xcb\xf0\xbb\xb5\xb5\xc4\xd0\xd0", 0), 0u) << damaged;  // 有损坏的行
}

}  // namespace
