#pragma once
// Tallyo's events as an iCalendar stream (RFC 5545) that calendar programs
// import. A reminder becomes a VEVENT at its reminder time with a display alarm
// at the start (a repeating one at its series' start, with its RRULE); a memo
// becomes a VJOURNAL dated by its creation time. Texts go from code page 936
// to UTF-8, are escaped, and every content line is folded at 75 octets without
// splitting a UTF-8 character; lines end in CR LF. An empty title or body
// gives no SUMMARY or DESCRIPTION.
// Pure text work: the caller loads the events and writes the result.
#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "base/local_time.h"
#include "base/text_convert.h"
#include "cli/ics_text.h"
#include "events/event_uids.h"
#include "events/my_event.h"
#include "events/twin_places.h"
#include "repeat/repeat_series.h"

// The right-hand part of Tallyo's own UIDs.
inline constexpr auto& kIcsUidDomain = kTallyoUidDomain;

// Names each record of one event list for calendars, so that importing a
// later export again updates the entries instead of doubling them: the UID
// kept for it in uids.ini (events/event_uids.h), else its first,
// "<timeCreate>-<n>@tallyo.example": the record's EventKey, n its place among
// the records created in the same second in stored order. Edits of the
// title, body or reminder change neither.
class IcsUids {
 public:
  // REQUIRES: `records` is the whole list in stored order (also when only one
  // view is exported, so that a record has the same UID in every export), and
  // it and `kept` (nullptr: none) outlive this object unchanged.
  explicit IcsUids(std::span<const CMyEvent> records, const EventUids* kept = nullptr)
      : places_(records), kept_(kept != nullptr && !kept->empty() ? kept : nullptr) {}

  // The UID kept for `event`, or nullptr when it has its first.
  const std::string* KeptUid(const CMyEvent& event) const;
  // Writes the first UID of `event` at `at` (at most kMaxSize chars) and returns its end.
  // REQUIRES: `event` is one of the records.
  char* PutUid(const CMyEvent& event, char* at) const;
  // Its UID, kept or first.
  std::string Uid(const CMyEvent& event) const;

  static constexpr std::size_t kMaxSize = 11 + 1 + 10 + 1 + sizeof kIcsUidDomain - 1;

 private:
  TwinPlaces places_;
  const EventUids* kept_;
};

// Writes one calendar, one component at a time, into a buffer of its own.
// The caller may take the text written so far between components (to stream
// it) and must call Finish once at the end.
class IcsWriter {
 public:
  // Writes the calendar's head: BEGIN:VCALENDAR, VERSION and PRODID.
  // `expected_size`: room to make at once, for a caller that keeps the whole text.
  explicit IcsWriter(std::size_t expected_size = 0);

  // One event: a VEVENT if bRemind is set, else a VJOURNAL. A reminder with
  // a `series` starts at the series' start in floating local time (no Z, no
  // TZID) and carries its RRULE, and its EXDATE and RDATE in the same form.
  void Add(const CMyEvent& event, const IcsUids& uids, const RepeatSeries* series = nullptr);

  // Writes END:VCALENDAR.
  void Finish();

  // The text written since the start or the last Clear.
  std::string_view text() const { return {buffer_.get(), size_}; }
  void Clear() { size_ = 0; }

 private:
  // Makes room for `more` bytes at `at`, the end of the text (or at the end
  // of the text for nullptr), moving the text if need be, and returns where
  // to write: pointers into the buffer are stale after a call, offsets are not.
  char* Room(char* at, std::size_t more);
  // Each of these writes at `at`, the end of the text, within the room Add
  // made for the event (or makes more), and returns the new end.
  // Writes nothing for a text that is empty once escaped, or only spaces and
  // tabs: parsers (libical) trim a value and refuse an empty one.
  // `name` includes the colon.
  char* PutTextProperty(char* at, std::string_view name, std::string_view cp936_text);
  // Ends the content line that starts at offset `line_at`, folding it if long.
  char* EndLine(std::size_t line_at, char* at);
  void PutTime(Time32 t, char* at);

  std::unique_ptr<char[]> buffer_;
  std::size_t event_room_ = 0;  // what Add made room for: the event at most
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
  std::string utf8_;  // reused for each unusual text while it is converted
  // "YYYYMMDD" of the last days written, by day number: times come in runs of a day.
  struct Day {
    std::int64_t number = INT64_MIN;
    char date[8];
  };
  std::array<Day, 64> days_;
};

// "YYYYMMDDTHHMMSSZ": the UTC date and time of t (1901 to 2038 for every Time32).
inline constexpr std::size_t kIcsUtcTimeSize = 16;
void PutIcsUtcTime(Time32 t, char* at);  // writes kIcsUtcTimeSize chars, no terminator
std::string IcsUtcTime(Time32 t);
// "YYYYMMDDTHHMMSS": a local wall time, floating.
std::string FormatIcsLocalTime(WallSeconds wall);

// Appends `utf8` as an iCalendar TEXT value: backslash, semicolon and comma
// escaped, every line break (CR LF, a lone CR or a lone LF) as "\n", and the
// other control characters, which a TEXT value cannot hold, left out (tab stays).
void AppendIcsText(std::string_view utf8, std::string* out);

// Appends one content line (without its line end) folded: at most 75 octets
// a line, each continuation line starting with a space, never cutting into a
// UTF-8 character; then CR LF.
void AppendFoldedLine(std::string_view line, std::string* out);
