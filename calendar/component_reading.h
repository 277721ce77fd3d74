#pragma once
// What one component of a calendar becomes in Tallyo (CalendarItem), read
// from the component libical parsed:
//  - VEVENT: a reminder at its first display or audio alarm (a TRIGGER
//    relative to the start or the end, or absolute), else at its start; an
//    all-day event without an alarm at 09:00 that day;
//  - VTODO: a reminder at its alarm, else at its DUE, else a memo;
//  - VJOURNAL: a memo;
//  - SUMMARY the title, DESCRIPTION the body, LOCATION a last line of it;
//  - RRULE, RDATE and EXDATE the series, moved by the alarm's offset as the
//    reminder is; its reminder is the first occurrence after `now`.
// Every time ends as this PC's local wall time: a TZID with the VTIMEZONE
// the file carries, a bare IANA TZID with libical's zones, UTC; a floating
// time or a DATE is read as this PC's wall time.
#include <string>
#include <vector>

#include "base/local_time.h"
#include "calendar/calendar_item.h"

typedef struct icalcomponent_impl icalcomponent;

// `component` (a VEVENT, VTODO or VJOURNAL inside a parsed VCALENDAR that
// holds its VTIMEZONEs) as an item. `overrides` are the components of the
// same UID with a RECURRENCE-ID: each takes its occurrence out of the
// series and puts its own start in (a cancelled one only takes out).
// False, with *problem (code page 936) saying why, when it cannot be read.
bool ReadComponent(icalcomponent* component, const std::vector<icalcomponent*>& overrides, Time32 now,
                   CalendarItem* item, std::string* problem);

// The component for a message, code page 936: its kind and its SUMMARY, or
// its UID when it has none ("事件 “周会”").
std::string ComponentName(icalcomponent* component);
