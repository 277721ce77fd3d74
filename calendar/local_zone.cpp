// The zone of an IANA name, from libical's built-in zones (natively the
// system's zone files, in the Windows build the zones compiled into it).
#include "calendar/local_zone.h"

#include <libical/ical.h>

#include <map>
#include <mutex>

#include "ical/calendar_zones.h"

std::optional<LocalZone> ZoneOfIanaName(std::string_view name) {
  if (name.empty() || name.find_first_of("\r\n") != std::string_view::npos) return std::nullopt;
  tallyo::InitCalendarZones();
  // libical loads its built-in zones lazily into one shared table; each
  // zone is made once here (every new object asks for this PC's).
  static std::mutex builtin_zones;
  static std::map<std::string, LocalZone, std::less<>> made;
  std::lock_guard lock(builtin_zones);
  if (auto found = made.find(name); found != made.end()) return found->second;
  const std::string location(name);
  icaltimezone* zone = icaltimezone_get_builtin_timezone(location.c_str());
  if (zone == nullptr) return std::nullopt;
  icalcomponent* original = icaltimezone_get_component(zone);
  if (original == nullptr) return std::nullopt;
  icalcomponent* copy = icalcomponent_new_clone(original);
  // Reminders lie after 1970: the observances of a century before only weigh.
  icaltimezone_truncate_vtimezone(copy, icaltime_from_timet_with_zone(0, 0, icaltimezone_get_utc_timezone()),
                                  icaltime_null_time(), /*ms_compatible=*/0);
  // libical names its zones "/freeassociation.sourceforge.net/Asia/Shanghai":
  // servers and phones know the plain IANA name.
  if (icalproperty* tzid = icalcomponent_get_first_property(copy, ICAL_TZID_PROPERTY)) {
    icalproperty_set_tzid(tzid, location.c_str());
  } else {
    icalcomponent_add_property(copy, icalproperty_new_tzid(location.c_str()));
  }
  char* text = icalcomponent_as_ical_string_r(copy);
  LocalZone local{location, text};
  icalmemory_free_buffer(text);
  icalcomponent_free(copy);
  return made.emplace(location, std::move(local)).first->second;
}

std::string IanaNameOfTzVariable(std::string_view tz) {
  if (!tz.empty() && tz.front() == ':') tz.remove_prefix(1);
  constexpr std::string_view kFolder = "zoneinfo/";
  if (std::size_t at = tz.rfind(kFolder); at != std::string_view::npos) tz.remove_prefix(at + kFolder.size());
  if (tz.empty() || tz.front() == '/' || tz.find("..") != std::string_view::npos) return {};
  // A POSIX rule holds digits or signs in its first part ("CST-8", "EST5EDT");
  // a name is letters, '/', '_' and '-' between letters (Etc/GMT-8 aside).
  for (char c : tz) {
    const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    if (!letter && c != '/' && c != '_' && c != '-' && c != '+' && !(c >= '0' && c <= '9')) return {};
  }
  if (tz.find('/') == std::string_view::npos && tz != "UTC") return {};
  return std::string(tz);
}
