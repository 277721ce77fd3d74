#include "calendar/windows_zones.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "base/local_time.h"
#include "base/wall_time.h"

namespace {

// The zones most users have, from CLDR's windowsZones (territory 001).
constexpr std::array<std::pair<std::string_view, std::string_view>, 52> kWindowsZones{{
    {"AUS Eastern Standard Time", "Australia/Sydney"},
    {"Alaskan Standard Time", "America/Anchorage"},
    {"Arab Standard Time", "Asia/Riyadh"},
    {"Arabian Standard Time", "Asia/Dubai"},
    {"Argentina Standard Time", "America/Argentina/Buenos_Aires"},
    {"Atlantic Standard Time", "America/Halifax"},
    {"Bangladesh Standard Time", "Asia/Dhaka"},
    {"Canada Central Standard Time", "America/Regina"},
    {"Cen. Australia Standard Time", "Australia/Adelaide"},
    {"Central Europe Standard Time", "Europe/Budapest"},
    {"Central European Standard Time", "Europe/Warsaw"},
    {"Central Standard Time", "America/Chicago"},
    {"Central Standard Time (Mexico)", "America/Mexico_City"},
    {"China Standard Time", "Asia/Shanghai"},
    {"E. Africa Standard Time", "Africa/Nairobi"},
    {"E. Australia Standard Time", "Australia/Brisbane"},
    {"E. Europe Standard Time", "Europe/Chisinau"},
    {"E. South America Standard Time", "America/Sao_Paulo"},
    {"Eastern Standard Time", "America/New_York"},
    {"Egypt Standard Time", "Africa/Cairo"},
    {"FLE Standard Time", "Europe/Kiev"},
    {"GMT Standard Time", "Europe/London"},
    {"GTB Standard Time", "Europe/Bucharest"},
    {"Greenwich Standard Time", "Atlantic/Reykjavik"},
    {"Hawaiian Standard Time", "Pacific/Honolulu"},
    {"India Standard Time", "Asia/Kolkata"},
    {"Iran Standard Time", "Asia/Tehran"},
    {"Israel Standard Time", "Asia/Jerusalem"},
    {"Korea Standard Time", "Asia/Seoul"},
    {"Mountain Standard Time", "America/Denver"},
    {"Myanmar Standard Time", "Asia/Yangon"},
    {"Nepal Standard Time", "Asia/Kathmandu"},
    {"New Zealand Standard Time", "Pacific/Auckland"},
    {"Newfoundland Standard Time", "America/St_Johns"},
    {"North Asia East Standard Time", "Asia/Irkutsk"},
    {"Pacific Standard Time", "America/Los_Angeles"},
    {"Pakistan Standard Time", "Asia/Karachi"},
    {"Romance Standard Time", "Europe/Paris"},
    {"Russian Standard Time", "Europe/Moscow"},
    {"SA Pacific Standard Time", "America/Bogota"},
    {"SE Asia Standard Time", "Asia/Bangkok"},
    {"Singapore Standard Time", "Asia/Singapore"},
    {"South Africa Standard Time", "Africa/Johannesburg"},
    {"Taipei Standard Time", "Asia/Taipei"},
    {"Tokyo Standard Time", "Asia/Tokyo"},
    {"Turkey Standard Time", "Europe/Istanbul"},
    {"US Eastern Standard Time", "America/Indianapolis"},
    {"US Mountain Standard Time", "America/Phoenix"},
    {"Ulaanbaatar Standard Time", "Asia/Ulaanbaatar"},
    {"W. Australia Standard Time", "Australia/Perth"},
    {"W. Central Africa Standard Time", "Africa/Lagos"},
    {"W. Europe Standard Time", "Europe/Berlin"},
}};

// "+0800", "-0330": local minus UTC, from minutes.
std::string UtcOffset(int minutes) {
  char text[16];
  const int magnitude = std::abs(minutes) % (100 * 60);
  std::snprintf(text, sizeof text, "%c%02d%02d", minutes < 0 ? '-' : '+', magnitude / 60, magnitude % 60);
  return text;
}

const char* const kDayNames[] = {"SU", "MO", "TU", "WE", "TH", "FR", "SA"};

// One observance: from the change `change` on, the offset is `to` minutes.
std::string Observance(const char* kind, const WindowsZoneChange& change, int from, int to) {
  // DTSTART: the change in 1970, which the RRULE repeats every year.
  const int days_in_month = DaysInMonth(1970, change.month);
  const std::int64_t first = DaysFromCivil(1970, change.month, 1);
  int day = 1 + (change.weekday - WeekdayOfDay(first) + 7) % 7 + 7 * (change.week - 1);
  while (day > days_in_month) day -= 7;
  const int ordinal = change.week >= 5 ? -1 : change.week;
  char start[64];
  std::snprintf(start, sizeof start, "DTSTART:1970%02d%02dT%02d%02d00\r\n", change.month, day, change.hour,
                change.minute);
  return std::string("BEGIN:") + kind + "\r\n" + start +
         "RRULE:FREQ=YEARLY;BYMONTH=" + std::to_string(change.month) + ";BYDAY=" + std::to_string(ordinal) +
         kDayNames[change.weekday % 7] + "\r\nTZOFFSETFROM:" + UtcOffset(from) +
         "\r\nTZOFFSETTO:" + UtcOffset(to) + "\r\nEND:" + kind + "\r\n";
}

}  // namespace

std::string_view IanaNameOfWindowsZone(std::string_view windows_name) {
  for (const auto& [windows, iana] : kWindowsZones) {
    if (windows == windows_name) return iana;
  }
  return {};
}

std::string VtimezoneOfWindowsRules(const WindowsZoneRules& rules) {
  const int standard = -(rules.bias + rules.standard_bias);
  const int daylight = -(rules.bias + rules.daylight_bias);
  std::string text = "BEGIN:VTIMEZONE\r\nTZID:" + rules.name + "\r\n";
  const bool changes = rules.to_standard.month >= 1 && rules.to_standard.month <= 12 &&
                       rules.to_daylight.month >= 1 && rules.to_daylight.month <= 12;
  if (!changes) {
    text += "BEGIN:STANDARD\r\nDTSTART:19700101T000000\r\nTZOFFSETFROM:" + UtcOffset(standard) +
            "\r\nTZOFFSETTO:" + UtcOffset(standard) + "\r\nEND:STANDARD\r\n";
  } else {
    text += Observance("STANDARD", rules.to_standard, daylight, standard);
    text += Observance("DAYLIGHT", rules.to_daylight, standard, daylight);
  }
  return text + "END:VTIMEZONE\r\n";
}
