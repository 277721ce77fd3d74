// This PC's zone on Windows: the zone the system is set to, by its IANA
// name when our table knows it (its VTIMEZONE from libical's built-in
// zones), else as the rules Windows gives for it, under its Windows name.
#include <windows.h>

#include "calendar/local_zone.h"
#include "calendar/windows_zones.h"

namespace {

// Windows' zone names are ASCII; anything else is taken for no name.
std::string AsciiOf(const wchar_t* wide) {
  std::string text;
  for (; *wide != L'\0'; ++wide) {
    if (*wide < 0x20 || *wide > 0x7E) return {};
    text += static_cast<char>(*wide);
  }
  return text;
}

WindowsZoneChange ChangeOf(const SYSTEMTIME& date) {
  WindowsZoneChange change;
  change.month = date.wMonth;
  change.weekday = date.wDayOfWeek;
  change.week = date.wDay;
  change.hour = date.wHour;
  change.minute = date.wMinute;
  return change;
}

}  // namespace

std::optional<LocalZone> ThisPcZone() {
  DYNAMIC_TIME_ZONE_INFORMATION info{};
  if (GetDynamicTimeZoneInformation(&info) == TIME_ZONE_ID_INVALID) return std::nullopt;
  std::string name = AsciiOf(info.TimeZoneKeyName);
  if (name.empty()) name = AsciiOf(info.StandardName);
  if (name == "UTC" || name == "Coordinated Universal Time") return std::nullopt;
  // With daylight saving switched off, the clock keeps standard time all
  // year: the place's zone would be an hour off for half of it.
  const bool standard_only = info.DynamicDaylightTimeDisabled != FALSE;
  if (std::string_view iana = IanaNameOfWindowsZone(name); !iana.empty() && !standard_only) {
    if (std::optional<LocalZone> zone = ZoneOfIanaName(iana)) return zone;
  }
  if (name.empty()) return std::nullopt;
  WindowsZoneRules rules;
  rules.name = standard_only ? name + " (no daylight saving)" : name;
  rules.bias = info.Bias;
  rules.standard_bias = info.StandardBias;
  rules.daylight_bias = info.DaylightBias;
  if (!standard_only) {
    rules.to_standard = ChangeOf(info.StandardDate);
    rules.to_daylight = ChangeOf(info.DaylightDate);
  }
  return LocalZone{name, VtimezoneOfWindowsRules(rules)};
}
