#pragma once
// One calendar object (the text of one resource on a calendar server, or
// one component of a .ics file) and Tallyo's events, both ways.
//  - Reading (the import's mapping): the main component of the text as a
//    CalendarItem.
//  - Writing: a new object for a Tallyo event, and a server's object with
//    only the fields changed that changed in Tallyo (everything else in the
//    text, Tallyo does not show it, is kept as it is).
#include <optional>
#include <string>
#include <string_view>

#include "base/local_time.h"
#include "calendar/calendar_item.h"

class CMyEvent;
class RepeatSeries;

// The main component of `ics` (a VCALENDAR holding one VEVENT, VTODO or
// VJOURNAL, with its RECURRENCE-ID overrides and VTIMEZONEs) as an item,
// its series' next occurrence measured from `now`. nullopt, with *problem
// (code page 936) saying why, when it cannot be read.
std::optional<CalendarItem> ReadCalendarObject(std::string_view ics, Time32 now, std::string* problem);

// The item of a Tallyo event (its series, if it repeats) under `uid`.
CalendarItem ItemOfEvent(const CMyEvent& event, const RepeatSeries* series, std::string uid);

// A new object for `item`: a reminder as a VEVENT with a display alarm at
// its time, in this PC's zone (TZID and its VTIMEZONE, never floating); a
// memo as a VTODO without a due date.
std::string NewCalendarObject(const CalendarItem& item);

// `server_text` with the fields that differ between `agreed` (the item both
// sides last agreed on) and `wanted` (Tallyo's now) written into it: title,
// body, time (the event moves, its alarm keeps its offset), rule. Every
// other property, component and parameter is kept as it is.
std::string PatchCalendarObject(std::string_view server_text, const CalendarItem& agreed,
                                const CalendarItem& wanted);

// The server's to-do `server_text` marked done at `now` (STATUS:COMPLETED,
// COMPLETED, PERCENT-COMPLETE:100), everything else kept; nullopt when the
// text holds no to-do.
std::optional<std::string> CompletedTodoObject(std::string_view server_text, Time32 now);
