// The Windows build's libical reads its built-in zones from a folder: the
// one whose files are compiled in (builtin_zone_files.h).
#include "ical/calendar_zones.h"

#include "ical/builtin_zone_files.h"

#include <libical/ical.h>

#include <mutex>

namespace tallyo {

void InitCalendarZones() {
  static std::once_flag once;
  std::call_once(once, [] { set_zone_directory(kBuiltinZoneFolder); });
}

}  // namespace tallyo
