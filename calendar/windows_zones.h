#pragma once
// Windows names its time zones by keys of its own ("China Standard Time"):
// the IANA names of the zones users have, and, for any other, a VTIMEZONE
// made from the rules Windows gives (its offsets and the yearly changes).
#include <string>
#include <string_view>

// The IANA name of a Windows zone (CLDR's mapping, the main territory);
// empty for a zone not in the table.
std::string_view IanaNameOfWindowsZone(std::string_view windows_name);

// A yearly change as Windows writes it: the `week`-th `weekday` of `month`
// (week 5: the last), at the local time before the change.
struct WindowsZoneChange {
  int month = 0;    // 1 to 12; 0: no daylight saving
  int weekday = 0;  // 0 = Sunday
  int week = 1;     // 1 to 5
  int hour = 0;
  int minute = 0;
};

// The rules of a Windows zone: UTC = local time + bias (in minutes).
struct WindowsZoneRules {
  std::string name;  // the TZID written
  int bias = 0;
  int standard_bias = 0;
  int daylight_bias = 0;
  WindowsZoneChange to_standard;
  WindowsZoneChange to_daylight;
};

// The VTIMEZONE of those rules, under rules.name, CR LF line ends.
std::string VtimezoneOfWindowsRules(const WindowsZoneRules& rules);
