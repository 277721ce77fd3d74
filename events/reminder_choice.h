#pragma once
// The three-way answer of the event editors and the reminder popup, and how
// it becomes an absolute reminder time.
#include <cstdint>
#include <optional>
#include <string_view>

#include "base/local_time.h"
#include "events/my_event.h"

enum ReminderChoice : int {
  kNoReminder = 0,          // editor: a memo; popup: done (the event is deleted)
  kRemindAtDateTime = 1,    // at the day of the date picker and the time of the time picker
  kRemindAfterMinutes = 2,  // now plus a number of minutes
};

// What an editor or the popup collected for its answer.
struct ReminderFields {
  int nChoice = kNoReminder;
  Time32 timeDate = 0;        // only its local calendar day is used
  Time32 timeOfDay = 0;       // only its local hour, minute and second are used
  std::int32_t nMinutes = 0;  // may be 0 or negative: due at once
};

// The local time made of the calendar day of `date` and the time of day of
// `time`, daylight saving decided by the system. A moment beyond the range
// of a time value becomes the nearest limit.
Time32 CombineDateAndTime(Time32 date, Time32 time);

// now + minutes x 60 seconds, kept within the range of a time value: a huge
// count gives the last second that can be stored, never a time in the past.
Time32 TimeAfterMinutes(Time32 now, std::int32_t minutes);

// The minutes field as typed: digits, blanks around them allowed, a count
// beyond the range of a time value kept at its largest. nullopt for an
// empty field, a sign or anything else: the dialog says so at OK.
std::optional<std::int32_t> ParseMinutesField(std::string_view text);

// The reminder time an answer of kind 1 or 2 (any kind but 0) asks for.
Time32 ReminderTimeFor(const ReminderFields& fields, Time32 now);

// The editor's confirmation: kind 0 clears bRemind and keeps timeRemind;
// any other kind sets bRemind and timeRemind = ReminderTimeFor(...).
void ApplyEditorChoice(const ReminderFields& fields, Time32 now, CMyEvent& event);
