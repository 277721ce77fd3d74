#pragma once
// libical made ready for this program.

namespace tallyo {

// Gives libical its time zones, for a TZID that a calendar names without
// carrying its VTIMEZONE ("America/New_York"). Natively libical reads the
// system's zone files (/usr/share/zoneinfo) and this does nothing; the
// Windows build has libical's built-in zones compiled into the executable,
// and this points libical at them.
// REQUIRES: called before libical reads a calendar or looks up a zone.
// Calling it again, on any thread, does no harm.
void InitCalendarZones();

}  // namespace tallyo
