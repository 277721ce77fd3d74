#pragma once
// For the export tests: an iCalendar text read back with libical, the parser
// that calendar programs use, and what each event should read back as.
#include <cstdint>
#include <string>
#include <vector>

#include "events/my_event.h"

struct ReadComponent {
  std::string kind;                       // "VEVENT", "VJOURNAL", ...
  std::string uid, summary, description;  // UTF-8, unescaped; empty when missing
  bool has_description = false;
  bool times_in_utc = true;                        // DTSTART, DTSTAMP and CREATED all there, and in UTC
  std::int64_t start = 0, stamp = 0, created = 0;  // seconds since 1970
  // The alarms inside; a text like "DISPLAY at +0 of START: title" each.
  std::vector<std::string> alarms;
  // A repeating event: DTSTART as "YYYYMMDDTHHMMSS" when it is a floating
  // local time (no Z, no TZID), the RRULE as libical writes it back, and the
  // first occurrences by libical's iterator, as "YYYY-MM-DD HH:MM:SS".
  std::string floating_start;
  std::string rrule;
  std::vector<std::string> first_occurrences;
  // EXDATE and RDATE values as "YYYYMMDDTHHMMSS" (floating), or "not floating".
  std::vector<std::string> exdates, rdates;
};

struct ReadCalendar {
  bool parsed = false;  // one VCALENDAR came back
  int errors = 0;       // what libical could not parse (it drops such properties)
  std::string first_error;
  std::string version, prodid;
  std::vector<ReadComponent> components;
};

ReadCalendar ReadIcs(const std::string& text);

// What a text of Tallyo (code page 936) reads back as: UTF-8, each line
// break ("\r\n", or a lone "\r" or "\n") one "\n", other control characters
// gone, and no spaces or tabs at either end.
std::string ExpectedIcsText(const std::string& cp936_text);

// Checks one read-back component against the event it came from.
void ExpectReadsBackAs(const ReadComponent& read, const CMyEvent& event);
