#pragma once
// CalendarItem: one calendar component (VEVENT, VTODO or VJOURNAL) as
// Tallyo sees it: the fields a Tallyo event has, read from iCalendar text.
// An import makes an event of it; a sync compares it, field by field, with
// the item of the text both sides last agreed on, and writes the fields the
// user changed in Tallyo back into the server's text (everything else there
// is kept as it is).
#include <cstdint>
#include <optional>
#include <string>

#include "base/local_time.h"
#include "base/wall_time.h"
#include "repeat/repeat_dates.h"
#include "repeat/repeat_rule.h"

enum class CalendarKind : std::uint8_t { kEvent, kTodo, kJournal };

struct CalendarItem {
  CalendarKind kind = CalendarKind::kEvent;
  std::string uid;    // UID as the text has it (UTF-8)
  std::string title;  // SUMMARY in code page 936
  // DESCRIPTION in code page 936, line breaks as CR LF; LOCATION, when
  // present, as a last line.
  std::string body;

  // A reminder at `remind_at`, else a memo. For a series, `remind_at` is
  // its first occurrence after the moment the text was read for.
  bool reminds = false;
  Time32 remind_at = 0;

  // The series, in Tallyo's terms: the wall time of the first reminder
  // (the component's start moved by the alarm's offset), the rule and its
  // RDATE and EXDATE dates, all in this PC's local wall time.
  std::optional<RepeatRule> rule;
  WallSeconds series_start = 0;
  RepeatDates dates;

  // The first alarm's distance from the start (DTSTART, or DUE of a to-do),
  // in seconds, negative before it; 0 without an alarm.
  std::int32_t alarm_offset = 0;
  bool all_day = false;  // DTSTART is a DATE
  bool done = false;     // a to-do COMPLETED or CANCELLED, an event CANCELLED

  // How many characters code page 936 cannot hold were replaced by the
  // visible marker in the title and body.
  int marked_characters = 0;

  // Nothing left to remind of after the moment the text was read for: a
  // one-off whose reminder (`remind_at`) has passed, or a series without
  // another occurrence.
  bool past = false;

  bool operator==(const CalendarItem&) const = default;
};
