// This PC's zone as objects name it, natively and (in the Windows build,
// under Wine) from the Windows zone; VTIMEZONEs made from Windows' rules
// against libical's zones of the same places.
#include <libical/ical.h>

#include <gtest/gtest.h>

#include <string>

#include "base/testing/zone_scope.h"
#include "calendar/local_zone.h"
#include "calendar/testing/parsed_object.h"
#include "calendar/windows_zones.h"
#include "ical/calendar_zones.h"

namespace {

TEST(IanaNameOfTzVariable, TakesNamesAndZoneFilePathsNotRules) {
  EXPECT_EQ(IanaNameOfTzVariable("Asia/Shanghai"), "Asia/Shanghai");
  EXPECT_EQ(IanaNameOfTzVariable(":America/New_York"), "America/New_York");
  EXPECT_EQ(IanaNameOfTzVariable("/usr/share/zoneinfo/America/Argentina/Buenos_Aires"),
            "America/Argentina/Buenos_Aires");
  EXPECT_EQ(IanaNameOfTzVariable("../etc/zoneinfo/Etc/GMT-8"), "Etc/GMT-8");
  EXPECT_EQ(IanaNameOfTzVariable("CST-8"), "");
  EXPECT_EQ(IanaNameOfTzVariable("EST5EDT,M3.2.0,M11.1.0"), "");
  EXPECT_EQ(IanaNameOfTzVariable("/etc/../secret"), "");
  EXPECT_EQ(IanaNameOfTzVariable(""), "");
}

// The moment of a local time in a VTIMEZONE's zone, by libical.
std::int64_t MomentIn(const std::string& vtimezone, int year, int month, int day, int hour) {
  ParsedObject zone("BEGIN:VCALENDAR\r\n" + vtimezone + "END:VCALENDAR\r\n");
  icalcomponent* component = icalcomponent_get_first_component(zone.calendar(), ICAL_VTIMEZONE_COMPONENT);
  EXPECT_NE(component, nullptr);
  if (component == nullptr) return -1;
  icalcomponent* copy = icalcomponent_new_clone(component);
  icaltimezone* tz = icaltimezone_new();
  icaltimezone_set_component(tz, copy);
  icaltimetype t = icaltime_null_time();
  t.year = year, t.month = month, t.day = day, t.hour = hour;
  const std::int64_t moment = icaltime_as_timet_with_zone(t, tz);
  icaltimezone_free(tz, 1);
  return moment;
}

std::int64_t MomentIn(const char* iana, int year, int month, int day, int hour) {
  tallyo::InitCalendarZones();
  icaltimetype t = icaltime_null_time();
  t.year = year, t.month = month, t.day = day, t.hour = hour;
  return icaltime_as_timet_with_zone(t, icaltimezone_get_builtin_timezone(iana));
}

TEST(ZoneOfIanaName, DefinesTheZoneUnderItsPlainNameFrom1970On) {
  std::optional<LocalZone> zone = ZoneOfIanaName("America/New_York");
  ASSERT_TRUE(zone);
  EXPECT_EQ(zone->tzid, "America/New_York");
  EXPECT_EQ(zone->vtimezone.rfind("BEGIN:VTIMEZONE\r\nTZID:America/New_York\r\n", 0), 0u);
  // The history before 1970 is left out.
  for (std::size_t at = zone->vtimezone.find("DTSTART:"); at != std::string::npos;
       at = zone->vtimezone.find("DTSTART:", at + 1)) {
    EXPECT_GE(zone->vtimezone.substr(at + 8, 4), "1969") << zone->vtimezone.substr(at, 23);
  }
  for (int month : {1, 3, 7, 11}) {
    EXPECT_EQ(MomentIn(zone->vtimezone, 2026, month, 10, 9),
              MomentIn("America/New_York", 2026, month, 10, 9));
  }
  EXPECT_FALSE(ZoneOfIanaName("Mars/Olympus_Mons"));
  EXPECT_FALSE(ZoneOfIanaName(""));
}

TEST(IanaNameOfWindowsZone, NamesEveryZoneOfTheTableThatLibicalKnows) {
  EXPECT_EQ(IanaNameOfWindowsZone("China Standard Time"), "Asia/Shanghai");
  EXPECT_EQ(IanaNameOfWindowsZone("Eastern Standard Time"), "America/New_York");
  EXPECT_EQ(IanaNameOfWindowsZone("Mars Standard Time"), "");
  for (const char* windows :
       {"AUS Eastern Standard Time", "GMT Standard Time", "W. Europe Standard Time", "Tokyo Standard Time",
        "India Standard Time", "Pacific Standard Time", "Taipei Standard Time", "Singapore Standard Time",
        "Korea Standard Time", "Central Standard Time (Mexico)", "Argentina Standard Time",
        "E. Africa Standard Time"}) {
    const std::string_view iana = IanaNameOfWindowsZone(windows);
    EXPECT_FALSE(iana.empty()) << windows;
    EXPECT_TRUE(ZoneOfIanaName(iana)) << iana;
  }
}

TEST(VtimezoneOfWindowsRules, ReadsAsTheSamePlaceByLibical) {
  // Eastern: second Sunday of March to the first of November, at 02:00.
  WindowsZoneRules eastern{"Eastern Standard Time", 300, 0, -60, {11, 0, 1, 2, 0}, {3, 0, 2, 2, 0}};
  // Western Europe: the last Sunday (week 5) of March and October.
  WindowsZoneRules europe{"W. Europe Standard Time", -60, 0, -60, {10, 0, 5, 3, 0}, {3, 0, 5, 2, 0}};
  // China: no daylight saving at all.
  WindowsZoneRules china{"China Standard Time", -480, 0, -60, {}, {}};
  // Half an hour off, south of the equator: Adelaide.
  WindowsZoneRules adelaide{"Cen. Australia Standard Time", -570, 0, -60, {4, 0, 1, 3, 0}, {10, 0, 1, 2, 0}};
  const std::string text = VtimezoneOfWindowsRules(eastern);
  EXPECT_EQ(text.rfind("BEGIN:VTIMEZONE\r\nTZID:Eastern Standard Time\r\n", 0), 0u);
  for (int year : {2025, 2026, 2031}) {
    for (int month = 1; month <= 12; ++month) {
      for (int day : {1, 8, 15, 22, 28}) {
        SCOPED_TRACE(std::to_string(year) + "-" + std::to_string(month) + "-" + std::to_string(day));
        EXPECT_EQ(MomentIn(text, year, month, day, 12), MomentIn("America/New_York", year, month, day, 12));
        EXPECT_EQ(MomentIn(VtimezoneOfWindowsRules(europe), year, month, day, 12),
                  MomentIn("Europe/Berlin", year, month, day, 12));
        EXPECT_EQ(MomentIn(VtimezoneOfWindowsRules(china), year, month, day, 12),
                  MomentIn("Asia/Shanghai", year, month, day, 12));
        EXPECT_EQ(MomentIn(VtimezoneOfWindowsRules(adelaide), year, month, day, 12),
                  MomentIn("Australia/Adelaide", year, month, day, 12));
      }
    }
  }
}

// Natively TZ names the zone; under Wine, the Windows zone Wine picked for
// the TZ the process started in.
TEST(ThisPcZone, IsTheZoneTheClockRunsIn) {
  for (const char* zone : {"Asia/Shanghai", "America/New_York"}) {
    TALLYO_IN_ZONE(zone);
    std::optional<LocalZone> local = ThisPcZone();
    ASSERT_TRUE(local);
    EXPECT_EQ(local->tzid, zone);
    EXPECT_EQ(MomentIn(local->vtimezone, 2026, 7, 1, 12), MomentIn(zone, 2026, 7, 1, 12));
  }
}

// Under Wine: a zone our table lacks is written under its Windows name
// with the rules Windows gives for it (ctest starts a process in Havana).
TEST(ThisPcZone, OutsideTheTableIsTheWindowsZoneByItsRules) {
#ifndef _WIN32
  GTEST_SKIP() << "Windows zones only";
#else
  TALLYO_IN_ZONE("America/Havana");
  std::optional<LocalZone> local = ThisPcZone();
  ASSERT_TRUE(local);
  EXPECT_EQ(local->tzid, "Cuba Standard Time");
  for (int month = 1; month <= 12; ++month) {
    EXPECT_EQ(MomentIn(local->vtimezone, 2026, month, 15, 12),
              MomentIn("America/Havana", 2026, month, 15, 12));
  }
#endif
}

}  // namespace
