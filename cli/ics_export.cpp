#include "cli/ics_export.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

#include "base/decimal_digits.h"
#include "base/sanitizer_bounds.h"

namespace {

constexpr std::size_t kMaxLineOctets = 75;

constexpr std::array<char, 200> kTwoDigits = [] {
  std::array<char, 200> digits{};
  for (int i = 0; i < 100; ++i) {
    digits[2 * i] = static_cast<char>('0' + i / 10);
    digits[2 * i + 1] = static_cast<char>('0' + i % 10);
  }
  return digits;
}();

void PutTwoDigits(int value, char* at) { std::memcpy(at, &kTwoDigits[2 * value], 2); }

// `t` in decimal: most times since 2001 have ten digits, written in pairs.
char* PutDecimal(Time32 t, char* at) {
  if (t < 1000000000) return std::to_chars(at, at + 11, t).ptr;
  const auto value = static_cast<std::uint32_t>(t);
  const std::uint32_t high = value / 100000000, low = value % 100000000;
  const std::uint32_t upper = low / 10000, lower = low % 10000;
  PutTwoDigits(static_cast<int>(high), at);
  PutTwoDigits(static_cast<int>(upper / 100), at + 2);
  PutTwoDigits(static_cast<int>(upper % 100), at + 4);
  PutTwoDigits(static_cast<int>(lower / 100), at + 6);
  PutTwoDigits(static_cast<int>(lower % 100), at + 8);
  return at + 10;
}

}  // namespace

// --- UIDs ---

char* IcsUids::PutUid(const CMyEvent& event, char* at) const {
  at = PutDecimal(event.timeCreate, at);
  *at++ = '-';
  const std::uint32_t n = places_.PlaceOf(event);
  if (n == 0) {
    *at++ = '0';
  } else {
    at = std::to_chars(at, at + 10, n).ptr;
  }
  *at++ = '@';
  std::memcpy(at, kIcsUidDomain, sizeof kIcsUidDomain - 1);
  return at + sizeof kIcsUidDomain - 1;
}

const std::string* IcsUids::KeptUid(const CMyEvent& event) const {
  if (kept_ == nullptr) return nullptr;
  const UidEntry* entry = kept_->Entry(places_.KeyOf(event));
  return entry != nullptr && !entry->uid.empty() ? &entry->uid : nullptr;
}

std::string IcsUids::Uid(const CMyEvent& event) const {
  if (const std::string* kept = KeptUid(event)) return *kept;
  char uid[kMaxSize];
  return std::string(uid, PutUid(event, uid));
}

// --- values and lines ---

namespace {

void PutDate(std::int64_t days, char* at) {
  int year = 0, month = 0, day = 0;
  CivilFromDays(days, &year, &month, &day);
  PutDigits(at, year, 4);
  PutDigits(at + 4, month, 2);
  PutDigits(at + 6, day, 2);
}

std::int64_t DaysOf(Time32 t) {
  std::int64_t seconds = t;
  return seconds >= 0 ? seconds / 86400 : (seconds - 86399) / 86400;
}

// "THHMMSSZ" of a second of the day.
void PutTimeOfDay(int of_day, char* at) {
  at[0] = 'T';
  const int hours = of_day / 3600, seconds_of_hour = of_day - hours * 3600;
  const int minutes = seconds_of_hour / 60;
  PutTwoDigits(hours, at + 1);
  PutTwoDigits(minutes, at + 3);
  PutTwoDigits(seconds_of_hour - minutes * 60, at + 5);
  at[7] = 'Z';
}

// Copies a string literal's chars (without its terminator) to `at` and returns their end.
template <std::size_t N>
char* Put(char* at, const char (&literal)[N]) {
  std::memcpy(at, literal, N - 1);
  return at + N - 1;
}

char* Put(char* at, std::string_view text) {
  std::memcpy(at, text.data(), text.size());
  return at + text.size();
}

constexpr char kHead[] =
    "BEGIN:VCALENDAR\r\n"
    "VERSION:2.0\r\n"
    "PRODID:-//Tallyo//tallyo-cli//ZH\r\n"
    "CALSCALE:GREGORIAN\r\n";

// An event without its texts: its component lines, UID, three times and
// the alarm's caption.
constexpr std::size_t kEventRoom = 384;

// A content line of a text of `cp936_size` bytes: name, value and line end.
constexpr std::size_t TextLineRoom(std::size_t cp936_size) { return 12 + IcsTextRoom(cp936_size) + 2; }

// The alarm's copy of a summary that stands on one line goes in pieces of
// this many bytes: up to one piece less a byte past its end, within the
// spare room of the line it was made room for.
constexpr std::size_t kCopyPiece = 16;
static_assert(kCopyPiece - 1 <= kIcsTextSpare);

}  // namespace

void PutIcsUtcTime(Time32 t, char* at) {
  std::int64_t days = DaysOf(t);
  PutDate(days, at);
  PutTimeOfDay(static_cast<int>(t - days * 86400), at + 8);
}

std::string FormatIcsLocalTime(WallSeconds wall) {
  LocalTime lt = CivilFromWall(wall);
  char text[16];
  std::snprintf(text, sizeof text, "%04d%02d%02dT%02d%02d%02d", lt.year, lt.month, lt.day, lt.hour, lt.minute,
                lt.second);
  return text;
}

std::string IcsUtcTime(Time32 t) {
  std::string text(kIcsUtcTimeSize, ' ');
  PutIcsUtcTime(t, text.data());
  return text;
}

void AppendIcsText(std::string_view utf8, std::string* out) {
  const std::size_t start = out->size();
  out->resize(start + IcsTextRoom(utf8.size()));
  char* end = PutIcsEscaped(utf8, out->data() + start);
  out->resize(static_cast<std::size_t>(end - out->data()));
}

void AppendFoldedLine(std::string_view line, std::string* out) {
  const std::size_t folds = IcsFoldCount(line.data(), line.size());
  const std::size_t start = out->size();
  out->resize(start + line.size() + 3 * folds + 2);
  char* at = out->data() + start;
  std::memcpy(at, line.data(), line.size());
  std::memcpy(FoldIcsLineInPlace(at, line.size(), folds), "\r\n", 2);
}

// --- the calendar ---

IcsWriter::IcsWriter(std::size_t expected_size) {
  char* at = Room(nullptr, std::max<std::size_t>(expected_size, 512 * 1024));
  size_ = static_cast<std::size_t>(Put(at, kHead) - buffer_.get());
}

char* IcsWriter::Room(char* at, std::size_t more) {
  if (at != nullptr) size_ = static_cast<std::size_t>(at - buffer_.get());
  if (capacity_ - size_ < more) {
    std::size_t capacity = std::max(capacity_ * 2, size_ + more);
    auto bigger = std::make_unique_for_overwrite<char[]>(capacity);
    if (size_ > 0) std::memcpy(bigger.get(), buffer_.get(), size_);
    buffer_ = std::move(bigger);
    capacity_ = capacity;
  }
  // Under the address sanitizer a write past the room is caught here too,
  // not only at the end of the buffer.
  LimitToRoom(buffer_.get(), size_ + more, capacity_);
  return buffer_.get() + size_;
}

void IcsWriter::PutTime(Time32 t, char* at) {
  const std::int64_t days = DaysOf(t);
  Day& day = days_[static_cast<std::size_t>(days) % days_.size()];
  if (day.number != days) {
    day.number = days;
    PutDate(days, day.date);
  }
  std::memcpy(at, day.date, 8);
  PutTimeOfDay(static_cast<int>(t - days * 86400), at + 8);
}

void IcsWriter::Add(const CMyEvent& event, const IcsUids& uids, const RepeatSeries* series) {
  const bool reminder = event.bRemind != 0;
  const std::string rule = reminder && series != nullptr ? "RRULE:" + FormatRepeatRule(series->rule()) : "";
  // Its single dates, in the start's floating form.
  std::string exdates, rdates;
  if (!rule.empty()) {
    auto dates_line = [](const char* name, const std::vector<WallSeconds>& walls) {
      std::string line;
      for (WallSeconds wall : walls) line.append(line.empty() ? name : ",").append(FormatIcsLocalTime(wall));
      return line;
    };
    exdates = dates_line("EXDATE:", series->dates().removed);
    rdates = dates_line("RDATE:", series->dates().added);
  }
  // Room for the whole event at once, so that only unusual texts and long
  // lines need to ask for more.
  event_room_ = kEventRoom + TextLineRoom(event.strTitle.size()) * (reminder ? 2 : 1) +
                TextLineRoom(event.strContent.size()) + (rule.size() + exdates.size() + rdates.size()) * 2;
  char* at = Room(buffer_.get() + size_, event_room_);
  at = reminder ? Put(at, "BEGIN:VEVENT\r\n") : Put(at, "BEGIN:VJOURNAL\r\n");
  if (const std::string* kept = uids.KeptUid(event)) {
    // A source's UID (UTF-8) may be long or hold characters to escape.
    std::string line = "UID:", folded;
    AppendIcsText(*kept, &line);
    AppendFoldedLine(line, &folded);
    folded.resize(folded.size() - 2);  // the line end comes next
    at = Room(at, folded.size() + event_room_);
    at = Put(at, folded);
  } else {
    at = Put(at, "UID:");
    at = uids.PutUid(event, at);  // never long enough to fold
  }
  char created[kIcsUtcTimeSize];
  PutTime(event.timeCreate, created);
  at = Put(at, "\r\nDTSTAMP:");
  at = Put(at, std::string_view(created, kIcsUtcTimeSize));
  at = Put(at, "\r\nCREATED:");
  at = Put(at, std::string_view(created, kIcsUtcTimeSize));
  at = Put(at, "\r\nDTSTART:");
  if (!rule.empty()) {
    // The series in floating local time, as the program keeps it: the same
    // wall time wherever the calendar is, across daylight-saving changes.
    at = Put(at, FormatIcsLocalTime(series->start()));
    at = Put(at, "\r\n");
    for (const std::string* line : std::array<const std::string*, 3>{&rule, &exdates, &rdates}) {
      if (line->empty()) continue;
      const std::size_t line_at = static_cast<std::size_t>(at - buffer_.get());
      at = EndLine(line_at, Put(at, *line));
    }
  } else {
    if (reminder) {
      PutTime(event.timeRemind, at);
    } else {
      std::memcpy(at, created, kIcsUtcTimeSize);
    }
    at = Put(at + kIcsUtcTimeSize, "\r\n");
  }

  const std::size_t summary_at = static_cast<std::size_t>(at - buffer_.get());
  at = PutTextProperty(at, "SUMMARY:", event.strTitle);
  const std::size_t summary_size = static_cast<std::size_t>(at - buffer_.get()) - summary_at;
  at = PutTextProperty(at, "DESCRIPTION:", event.strContent);
  if (!reminder) {
    at = Put(at, "END:VJOURNAL\r\n");
  } else {
    at = Put(at,
             "BEGIN:VALARM\r\n"
             "ACTION:DISPLAY\r\n"
             "TRIGGER:PT0S\r\n");
    // A display alarm must carry a text: the title, as the reminder popup
    // shows it, or else the popup's caption "事情提醒".
    constexpr std::size_t kSummaryName = sizeof "SUMMARY:" - 1;
    if (summary_size == 0) {
      at = PutTextProperty(at, "DESCRIPTION:", "\xCA\xC2\xC7\xE9\xCC\xE1\xD0\xD1");
    } else if (summary_size > kMaxLineOctets + 2) {
      at = PutTextProperty(at, "DESCRIPTION:", event.strTitle);  // folded: made again
    } else {
      // The summary's value again, as it stands on its one line.
      const std::size_t value_size = summary_size - kSummaryName - 2;
      const std::size_t line_at = static_cast<std::size_t>(at - buffer_.get());
      at = Put(at, "DESCRIPTION:");
      // In whole pieces: the copy stands well behind the summary, and what
      // a last piece brings along past the value is overwritten next.
      const char* from = buffer_.get() + summary_at + kSummaryName;
      for (std::size_t copied = 0; copied < value_size; copied += kCopyPiece)
        std::memcpy(at + copied, from + copied, kCopyPiece);
      at += value_size;
      at = EndLine(line_at, at);
    }
    at = Put(at, "END:VALARM\r\nEND:VEVENT\r\n");
  }
  size_ = static_cast<std::size_t>(at - buffer_.get());
}

void IcsWriter::Finish() {
  size_ = static_cast<std::size_t>(Put(Room(buffer_.get() + size_, 32), "END:VCALENDAR\r\n") - buffer_.get());
}

char* IcsWriter::PutTextProperty(char* at, std::string_view name, std::string_view cp936_text) {
  const std::size_t line_at = static_cast<std::size_t>(at - buffer_.get());
  char* value = Put(at, name);
  at = PutIcsTextFromCp936(cp936_text, value, ThisThreadsCp936Characters());
  if (at == nullptr) {
    // Not all ASCII and double-byte characters: the conversion of the whole text decides.
    utf8_.clear();
    cp936::AppendUtf8(cp936_text, &utf8_);
    value = Room(value, IcsTextRoom(utf8_.size()) + event_room_);
    at = PutIcsEscaped(utf8_, value);
  }
  if (at == value || *value == ' ' || *value == '\t') {
    const char* blank = value;
    while (blank != at && (*blank == ' ' || *blank == '\t')) ++blank;
    if (blank == at) return buffer_.get() + line_at;
  }
  return EndLine(line_at, at);
}

char* IcsWriter::EndLine(std::size_t line_at, char* at) {
  const std::size_t size = static_cast<std::size_t>(at - buffer_.get()) - line_at;
  if (size <= kMaxLineOctets) return Put(at, "\r\n");
  // Most lines are short; a long one is folded where it stands.
  const std::size_t folds = IcsFoldCount(buffer_.get() + line_at, size);
  at = Room(at, 3 * folds + event_room_);
  return Put(FoldIcsLineInPlace(buffer_.get() + line_at, size, folds), "\r\n");
}
