#pragma once
// What writing and patching calendar objects share: Tallyo's texts as
// iCalendar TEXT values, and times written the way a component writes its
// own (in a zone, in UTC, floating, or as dates).
#include <libical/ical.h>

#include <optional>
#include <string>
#include <string_view>

#include "base/local_time.h"
#include "base/wall_time.h"
#include "repeat/repeat_dates.h"
#include "repeat/repeat_rule.h"

// A code page 936 text as a UTF-8 TEXT value before libical escapes it:
// every line break (CR LF, a lone CR or LF) one "\n", the other control
// characters, which a TEXT value cannot hold, left out (a tab stays).
std::string TextValueOfCp936(std::string_view cp936_text);

// True when `cp936_text` holds nothing but spaces and tabs: no property is
// written for it (libical trims values and refuses empty ones).
bool IsBlankText(std::string_view cp936_text);

// A title or body as it reads back from what is written of it: line breaks
// as CR LF (in a title, each CR and LF a space, as the title is one line),
// no other control character but tab, no spaces or tabs at either end
// (libical trims values).
std::string TitleAsWritten(std::string_view cp936_text);
std::string BodyAsWritten(std::string_view cp936_text);

// How a component writes a time.
struct TimeStyle {
  enum Kind { kZone, kUtc, kFloating, kDate };
  Kind kind = kUtc;
  std::string tzid;              // kZone: the TZID parameter written
  icaltimezone* zone = nullptr;  // kZone: its definition (the calendar's or libical's)
  bool local = false;            // kZone: the zone is this PC's own (its wall times are ours)
};

// The style of a DATE or DATE-TIME property of `component`'s calendar.
TimeStyle StyleOfProperty(icalproperty* property, icalcomponent* component);

// The moment of a value written in `style`; nullopt outside the range of a time value.
std::optional<Time32> MomentOfValue(icaltimetype value, const TimeStyle& style);

// The value of this PC's wall time `wall` in `style` (kDate: its day).
icaltimetype ValueOfWall(WallSeconds wall, const TimeStyle& style);
// The same of a moment.
icaltimetype ValueOfMoment(Time32 moment, const TimeStyle& style);

// Sets `property`'s value to `value`, its TZID parameter as `style` has it.
void SetTimeValue(icalproperty* property, icaltimetype value, const TimeStyle& style);
// Adds a TZID parameter when `style` is a zone.
icalproperty* WithZone(icalproperty* property, const TimeStyle& style);

// `rule` with UNTIL in the form RFC 5545 asks for beside a start in
// `style`: in UTC beside a zoned or UTC start (and what readers such as
// dateutil insist on), a date beside a date, else a local time.
RepeatRule RuleForStyle(RepeatRule rule, const TimeStyle& style);

// The RRULE of Tallyo's `rule` beside a start in `style`, as the reading
// gives it back (calendar/component_reading.cpp): Tallyo's UNTIL is the
// reminder's, `lead` after the start; and its weekdays are this PC's, the
// start's day in its own zone is `turn_days` after its day here.
RepeatRule RuleOfStart(RepeatRule rule, WallSeconds lead, std::int64_t turn_days, const TimeStyle& style);

// Adds Tallyo's single dates (reminders, `lead` after the starts) as RDATE
// and EXDATE properties of starts in `style`.
void AddSeriesDates(icalcomponent* component, const RepeatDates& dates, WallSeconds lead,
                    const TimeStyle& style);

// The text of `component` and its whole calendar, as libical writes it.
std::string TextOfCalendar(icalcomponent* calendar);
