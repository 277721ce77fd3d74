// Natively libical is Debian's, which reads the system's zone files itself.
#include "ical/calendar_zones.h"

namespace tallyo {

void InitCalendarZones() {}

}  // namespace tallyo
