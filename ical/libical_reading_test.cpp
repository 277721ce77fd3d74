// libical as both builds link it: a calendar read, its start times turned
// into UTC seconds (in a zone the file carries, a built-in zone, UTC), and a
// rule expanded with libical's recurrence iterator.
#include "ical/calendar_zones.h"

#include <libical/ical.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace tallyo {
namespace {

// Times of 2026 in three kinds of zone: one the file defines itself (with
// a name no built-in zone has), bare IANA names, and UTC, floating and DATE.
constexpr char kCalendar[] =
    "BEGIN:VCALENDAR\r\n"
    "VERSION:2.0\r\n"
    "PRODID:-//Tallyo//reading test//EN\r\n"
    "BEGIN:VTIMEZONE\r\n"
    "TZID:W. Europe Standard Time\r\n"
    "BEGIN:STANDARD\r\n"
    "DTSTART:16011028T030000\r\n"
    "RRULE:FREQ=YEARLY;BYDAY=-1SU;BYMONTH=10\r\n"
    "TZOFFSETFROM:+0200\r\n"
    "TZOFFSETTO:+0100\r\n"
    "END:STANDARD\r\n"
    "BEGIN:DAYLIGHT\r\n"
    "DTSTART:16010325T020000\r\n"
    "RRULE:FREQ=YEARLY;BYDAY=-1SU;BYMONTH=3\r\n"
    "TZOFFSETFROM:+0100\r\n"
    "TZOFFSETTO:+0200\r\n"
    "END:DAYLIGHT\r\n"
    "END:VTIMEZONE\r\n"
    "BEGIN:VEVENT\r\n"
    "UID:summer@example.com\r\n"
    "DTSTART;TZID=W. Europe Standard Time:20260715T093000\r\n"
    "SUMMARY:Stand-up\\, then coffee\\; long line folded by the wr\r\n"
    " iting program\r\n"
    "END:VEVENT\r\n"
    "BEGIN:VEVENT\r\n"
    "UID:winter@example.com\r\n"
    "DTSTART;TZID=W. Europe Standard Time:20260115T093000\r\n"
    "END:VEVENT\r\n"
    "BEGIN:VEVENT\r\n"
    "UID:new-york-winter@example.com\r\n"
    "DTSTART;TZID=America/New_York:20260305T090000\r\n"
    "END:VEVENT\r\n"
    "BEGIN:VEVENT\r\n"
    "UID:new-york-summer@example.com\r\n"
    "DTSTART;TZID=America/New_York:20260310T090000\r\n"
    "END:VEVENT\r\n"
    "BEGIN:VEVENT\r\n"
    "UID:shanghai@example.com\r\n"
    "DTSTART;TZID=Asia/Shanghai:20261208T093000\r\n"
    "END:VEVENT\r\n"
    "BEGIN:VEVENT\r\n"
    "UID:unknown-zone@example.com\r\n"
    "DTSTART;TZID=Mars/Olympus_Mons:20261208T093000\r\n"
    "END:VEVENT\r\n"
    "BEGIN:VEVENT\r\n"
    "UID:utc@example.com\r\n"
    "DTSTART:20261208T013000Z\r\n"
    "END:VEVENT\r\n"
    "BEGIN:VEVENT\r\n"
    "UID:floating@example.com\r\n"
    "DTSTART:20261208T093000\r\n"
    "END:VEVENT\r\n"
    "BEGIN:VEVENT\r\n"
    "UID:date@example.com\r\n"
    "DTSTART;VALUE=DATE:20261225\r\n"
    "END:VEVENT\r\n"
    "BEGIN:VEVENT\r\n"
    "UID:second-tuesday@example.com\r\n"
    "DTSTART:20260113T090000\r\n"
    "RRULE:FREQ=MONTHLY;BYDAY=2TU;COUNT=6\r\n"
    "END:VEVENT\r\n"
    "END:VCALENDAR\r\n";

// Owns a parsed component.
struct ComponentDeleter {
  void operator()(icalcomponent* c) const { icalcomponent_free(c); }
};
using Component = std::unique_ptr<icalcomponent, ComponentDeleter>;

Component Parse(const char* text) {
  InitCalendarZones();
  return Component(icalparser_parse_string(text));
}

icalcomponent* EventOf(icalcomponent* calendar, const std::string& uid) {
  for (icalcomponent* e = icalcomponent_get_first_component(calendar, ICAL_VEVENT_COMPONENT); e;
       e = icalcomponent_get_next_component(calendar, ICAL_VEVENT_COMPONENT)) {
    if (uid == icalcomponent_get_uid(e)) return e;
  }
  ADD_FAILURE() << "no event " << uid;
  return nullptr;
}

// A start with a zone (the file's, a built-in or UTC) as seconds since 1970 UTC.
long long UtcSecondsOf(icaltimetype t) { return icaltime_as_timet_with_zone(t, t.zone); }

TEST(LibicalReading, ATimeInTheFilesOwnZoneFollowsItsDaylightRules) {
  Component calendar = Parse(kCalendar);
  ASSERT_TRUE(calendar);
  icaltimetype summer = icalcomponent_get_dtstart(EventOf(calendar.get(), "summer@example.com"));
  icaltimetype winter = icalcomponent_get_dtstart(EventOf(calendar.get(), "winter@example.com"));
  ASSERT_NE(summer.zone, nullptr);
  EXPECT_STREQ(icaltimezone_get_tzid(const_cast<icaltimezone*>(summer.zone)), "W. Europe Standard Time");
  EXPECT_EQ(UtcSecondsOf(summer), 1784100600);  // 2026-07-15 07:30 UTC (+02:00)
  EXPECT_EQ(UtcSecondsOf(winter), 1768465800);  // 2026-01-15 08:30 UTC (+01:00)
}

// A TZID without its VTIMEZONE: libical's own zones (the system's natively,
// the built-in ones compiled into the Windows executables).
TEST(LibicalReading, ABareZoneNameIsReadWithTheBuiltInZone) {
  Component calendar = Parse(kCalendar);
  ASSERT_TRUE(calendar);
  icaltimetype winter = icalcomponent_get_dtstart(EventOf(calendar.get(), "new-york-winter@example.com"));
  icaltimetype summer = icalcomponent_get_dtstart(EventOf(calendar.get(), "new-york-summer@example.com"));
  icaltimetype shanghai = icalcomponent_get_dtstart(EventOf(calendar.get(), "shanghai@example.com"));
  ASSERT_NE(winter.zone, nullptr);
  ASSERT_NE(shanghai.zone, nullptr);
  EXPECT_STREQ(icaltimezone_get_location(const_cast<icaltimezone*>(winter.zone)), "America/New_York");
  EXPECT_EQ(UtcSecondsOf(winter), 1772719200);    // 2026-03-05 14:00 UTC (-05:00)
  EXPECT_EQ(UtcSecondsOf(summer), 1773147600);    // 2026-03-10 13:00 UTC (-04:00 from March 8)
  EXPECT_EQ(UtcSecondsOf(shanghai), 1796693400);  // 2026-12-08 01:30 UTC (+08:00)

  // A name no zone has is left without a zone: the reader decides.
  EXPECT_EQ(icalcomponent_get_dtstart(EventOf(calendar.get(), "unknown-zone@example.com")).zone, nullptr);
}

TEST(LibicalReading, TheFilesOwnZoneWinsOverABuiltInZoneOfTheSameName) {
  Component calendar = Parse(
      "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Tallyo//reading test//EN\r\n"
      "BEGIN:VTIMEZONE\r\nTZID:America/New_York\r\n"
      "BEGIN:STANDARD\r\nDTSTART:19700101T000000\r\nTZOFFSETFROM:-0300\r\nTZOFFSETTO:-0300\r\nEND:"
      "STANDARD\r\n"
      "END:VTIMEZONE\r\n"
      "BEGIN:VEVENT\r\nUID:own@example.com\r\nDTSTART;TZID=America/New_York:20260710T090000\r\nEND:VEVENT\r\n"
      "END:VCALENDAR\r\n");
  ASSERT_TRUE(calendar);
  EXPECT_EQ(UtcSecondsOf(icalcomponent_get_dtstart(EventOf(calendar.get(), "own@example.com"))),
            1783684800);  // 2026-07-10 12:00 UTC (-03:00, not New York's -04:00)
}

TEST(LibicalReading, UtcFloatingAndDateValuesKeepWhatTheyAre) {
  Component calendar = Parse(kCalendar);
  ASSERT_TRUE(calendar);
  icaltimetype utc = icalcomponent_get_dtstart(EventOf(calendar.get(), "utc@example.com"));
  EXPECT_TRUE(icaltime_is_utc(utc));
  EXPECT_EQ(UtcSecondsOf(utc), 1796693400);  // 2026-12-08 01:30 UTC

  // Floating: a wall time with no zone, to be read in the zone of the PC.
  icaltimetype floating = icalcomponent_get_dtstart(EventOf(calendar.get(), "floating@example.com"));
  EXPECT_FALSE(icaltime_is_utc(floating));
  EXPECT_EQ(floating.zone, nullptr);
  EXPECT_EQ(std::string(icaltime_as_ical_string(floating)), "20261208T093000");

  icaltimetype date = icalcomponent_get_dtstart(EventOf(calendar.get(), "date@example.com"));
  EXPECT_TRUE(icaltime_is_date(date));
  EXPECT_EQ(date.year * 10000 + date.month * 100 + date.day, 20261225);
}

TEST(LibicalReading, FoldedLinesAndEscapesAreUndone) {
  Component calendar = Parse(kCalendar);
  ASSERT_TRUE(calendar);
  EXPECT_STREQ(icalcomponent_get_summary(EventOf(calendar.get(), "summer@example.com")),
               "Stand-up, then coffee; long line folded by the writing program");
}

TEST(LibicalReading, TheRecurrenceIteratorExpandsTheSecondTuesdayOfEachMonth) {
  Component calendar = Parse(kCalendar);
  ASSERT_TRUE(calendar);
  icalcomponent* event = EventOf(calendar.get(), "second-tuesday@example.com");
  icalproperty* rrule = icalcomponent_get_first_property(event, ICAL_RRULE_PROPERTY);
  ASSERT_NE(rrule, nullptr);
  icalrecur_iterator* it =
      icalrecur_iterator_new(icalproperty_get_rrule(rrule), icalcomponent_get_dtstart(event));
  ASSERT_NE(it, nullptr);
  std::vector<std::string> days;
  for (icaltimetype t = icalrecur_iterator_next(it); !icaltime_is_null_time(t);
       t = icalrecur_iterator_next(it)) {
    days.push_back(icaltime_as_ical_string(t));
  }
  icalrecur_iterator_free(it);
  EXPECT_EQ(days, (std::vector<std::string>{"20260113T090000", "20260210T090000", "20260310T090000",
                                            "20260414T090000", "20260512T090000", "20260609T090000"}));
}

}  // namespace
}  // namespace tallyo
