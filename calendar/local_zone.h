#pragma once
// This PC's time zone as calendars name it: the TZID Tallyo writes its times
// with, and the VTIMEZONE that defines it, so that a server or a phone reads
// the same moments (a floating time would be read in the reader's zone).
#include <optional>
#include <string>
#include <string_view>

struct LocalZone {
  // "Asia/Shanghai"; on Windows, a zone that has no IANA name in our table
  // goes by its Windows name ("China Standard Time").
  std::string tzid;
  // BEGIN:VTIMEZONE ... END:VTIMEZONE, CR LF line ends, whose TZID is `tzid`.
  std::string vtimezone;
};

// The zone this PC's clock is in now: natively TZ, else the link
// /etc/localtime; on Windows the zone the system is set to. nullopt when it
// cannot be named (the caller writes its times in UTC then).
std::optional<LocalZone> ThisPcZone();

// libical's built-in zone under its IANA name, its history before 1970
// left out; nullopt for a name libical does not know.
std::optional<LocalZone> ZoneOfIanaName(std::string_view name);

// The IANA name in a TZ variable: "Asia/Shanghai", ":Asia/Shanghai" or a path
// into a zoneinfo folder; empty for a POSIX rule ("CST-8") or nothing.
std::string IanaNameOfTzVariable(std::string_view tz);
