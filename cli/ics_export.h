#pragma once
// Tallyo's events as an iCalendar stream (RFC 5545) that calendar programs
// import. A reminder becomes a VEVENT at its reminder time with a display alarm
// at the start; a memo becomes a VJOURNAL dated by its creation time. Texts go
// from code page 936 to UTF-8, are escaped, and every content line is folded at
// 75 octets without splitting a UTF-8 character; lines end in CR LF. An empty
// title or body gives no SUMMARY or DESCRIPTION.
// Pure text work: the caller loads the events and writes the result.
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>

#include "base/local_time.h"
#include "base/text_convert.h"
#include "events/my_event.h"

// The right-hand part of every UID: the domain of Tallyo's own web server.
inline constexpr char kIcsUidDomain[] = "tallyo.example";

// Names each record of one event list for calendars, so that importing a
// later export again updates the entries instead of doubling them. A UID is
// "<timeCreate>-<n>@tallyo.example", n counting the records created in the same
// second before this one in stored order. Edits of the title, body or reminder
// change neither, and no two records of the list get the same UID.
class IcsUids {
 public:
  // REQUIRES: `records` is the whole list in stored order (also when only one
  // view is exported, so that a record has the same UID in every export), and
  // it outlives this object unchanged.
  explicit IcsUids(std::span<const std::unique_ptr<CMyEvent>> records);

  // REQUIRES: `event` is one of the records.
  void AppendUid(const CMyEvent& event, std::string* out) const;
  std::string Uid(const CMyEvent& event) const;

 private:
  void CountInAnyOrder(std::span<const std::unique_ptr<CMyEvent>> records);

  // Only the records with n > 0; most lists have none (one record a second at most).
  std::unordered_map<const CMyEvent*, std::uint32_t> later_in_second_;
};

// Writes one calendar into *out (appending), one component at a time. The
// caller may take the text written so far out of *out between components
// (to stream it) and must call Finish once at the end.
class IcsWriter {
 public:
  // Writes the calendar's head: BEGIN:VCALENDAR, VERSION and PRODID.
  explicit IcsWriter(std::string* out);

  // One event: a VEVENT if bRemind is set, else a VJOURNAL.
  void Add(const CMyEvent& event, const IcsUids& uids);

  // Writes END:VCALENDAR.
  void Finish();

 private:
  // Writes nothing and returns false for a text that is empty once escaped,
  // or only spaces and tabs: parsers (libical) trim a value and refuse an empty one.
  // `name` includes the colon.
  bool TextProperty(std::string_view name, std::string_view cp936_text);
  void TimeProperty(std::string_view name, const char* utc_time);
  // Ends the content line that starts at (*out_)[line_at], folding it if long.
  void EndLine(std::size_t line_at);

  std::string* out_;
  std::string utf8_;  // reused for each text while it is converted
  std::string line_;  // reused for each long line while it is folded
};

// "YYYYMMDDTHHMMSSZ": the UTC date and time of t (1901 to 2038 for every Time32).
inline constexpr std::size_t kIcsUtcTimeSize = 16;
void PutIcsUtcTime(Time32 t, char* at);  // writes kIcsUtcTimeSize chars, no terminator
std::string IcsUtcTime(Time32 t);

// Appends `utf8` as an iCalendar TEXT value: backslash, semicolon and comma
// escaped, every line break (CR LF, a lone CR or a lone LF) as "\n", and the
// other control characters, which a TEXT value cannot hold, left out (tab stays).
void AppendIcsText(std::string_view utf8, std::string* out);

// Appends one content line (without its line end) folded: at most 75 octets
// a line, each continuation line starting with a space, never cutting into a
// UTF-8 character; then CR LF.
void AppendFoldedLine(std::string_view line, std::string* out);
