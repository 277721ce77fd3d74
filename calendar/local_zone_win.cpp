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
  if (std::string_view iana = IanaNameOfWindowsZone(name); !iana.empty()) {
    if (std::optional<LocalZone> zone = ZoneOfIanaName(iana)) return zone;
  }
  if (name.empty()) return std::nullopt;
  WindowsZoneRules rules;
  rules.name = name;
  rules.bias = info.Bias;
  rules.standard_bias = info.StandardBias;
  rules.daylight_bias = info.DaylightBias;
  rules.to_standard = ChangeOf(info.StandardDate);
  rules.to_daylight = ChangeOf(info.DaylightDate);
  return LocalZone{name, VtimezoneOfWindowsRules(rules)};
}
