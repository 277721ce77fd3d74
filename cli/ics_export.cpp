#include "cli/ics_export.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <utility>
#include <vector>

namespace {

constexpr std::size_t kMaxLineOctets = 75;

// Writes `value` as exactly `width` decimal digits at `at`.
void PutDigits(char* at, int value, int width) {
  for (int i = width - 1; i >= 0; --i) {
    at[i] = static_cast<char>('0' + value % 10);
    value /= 10;
  }
}

// Proleptic Gregorian date of a count of days since 1970-01-01 (H. Hinnant's
// days-to-civil algorithm), valid far beyond the range of a Time32.
void CivilFromDays(std::int64_t days, int* year, int* month, int* day) {
  days += 719468;
  std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  std::int64_t day_of_era = days - era * 146097;
  std::int64_t year_of_era =
      (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
  std::int64_t day_of_year = day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
  std::int64_t shifted_month = (5 * day_of_year + 2) / 153;  // March is 0
  *day = static_cast<int>(day_of_year - (153 * shifted_month + 2) / 5 + 1);
  *month = static_cast<int>(shifted_month < 10 ? shifted_month + 3 : shifted_month - 9);
  *year = static_cast<int>(year_of_era + era * 400 + (*month <= 2 ? 1 : 0));
}

bool IsUtf8Continuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

}  // namespace

// --- UIDs ---

IcsUids::IcsUids(std::span<const std::unique_ptr<CMyEvent>> records) {
  // Records are appended as they are made, so creation times usually rise (or
  // stay) in stored order, and one walk finds the records that share a second.
  std::uint32_t n = 0;
  for (std::size_t i = 1; i < records.size(); ++i) {
    Time32 before = records[i - 1]->timeCreate, now = records[i]->timeCreate;
    if (now < before) {
      later_in_second_.clear();
      CountInAnyOrder(records);
      return;
    }
    n = now == before ? n + 1 : 0;
    if (n > 0) later_in_second_[records[i].get()] = n;
  }
}

void IcsUids::CountInAnyOrder(std::span<const std::unique_ptr<CMyEvent>> records) {
  // (creation time, stored position), sorted: equal times stay in stored order.
  std::vector<std::pair<Time32, std::uint32_t>> order;
  order.reserve(records.size());
  for (std::size_t i = 0; i < records.size(); ++i) {
    order.emplace_back(records[i]->timeCreate, static_cast<std::uint32_t>(i));
  }
  std::sort(order.begin(), order.end());
  std::uint32_t n = 0;
  for (std::size_t i = 1; i < order.size(); ++i) {
    n = order[i].first == order[i - 1].first ? n + 1 : 0;
    if (n > 0) later_in_second_[records[order[i].second].get()] = n;
  }
}

void IcsUids::AppendUid(const CMyEvent& event, std::string* out) const {
  std::uint32_t n = 0;
  if (!later_in_second_.empty()) {
    auto found = later_in_second_.find(&event);
    if (found != later_in_second_.end()) n = found->second;
  }
  char digits[16];
  out->append(digits, std::to_chars(digits, digits + sizeof digits, event.timeCreate).ptr);
  out->push_back('-');
  out->append(digits, std::to_chars(digits, digits + sizeof digits, n).ptr);
  out->push_back('@');
  out->append(kIcsUidDomain);
}

std::string IcsUids::Uid(const CMyEvent& event) const {
  std::string uid;
  AppendUid(event, &uid);
  return uid;
}

// --- values and lines ---

void PutIcsUtcTime(Time32 t, char* at) {
  std::int64_t seconds = t;
  std::int64_t days = seconds >= 0 ? seconds / 86400 : (seconds - 86399) / 86400;
  int of_day = static_cast<int>(seconds - days * 86400);
  int year = 0, month = 0, day = 0;
  CivilFromDays(days, &year, &month, &day);
  PutDigits(at, year, 4);
  PutDigits(at + 4, month, 2);
  PutDigits(at + 6, day, 2);
  at[8] = 'T';
  PutDigits(at + 9, of_day / 3600, 2);
  PutDigits(at + 11, of_day / 60 % 60, 2);
  PutDigits(at + 13, of_day % 60, 2);
  at[15] = 'Z';
}

std::string IcsUtcTime(Time32 t) {
  std::string text(kIcsUtcTimeSize, ' ');
  PutIcsUtcTime(t, text.data());
  return text;
}

void AppendIcsText(std::string_view utf8, std::string* out) {
  // What each byte needs: 0 nothing, 1 a backslash before it, 2 a line break,
  // 3 leaving out (a control character other than tab).
  static constexpr std::array<unsigned char, 256> kNeeds = [] {
    std::array<unsigned char, 256> needs{};
    for (int c = 0; c < 0x20; ++c) needs[c] = 3;
    needs[0x7F] = 3;
    needs['\t'] = 0;
    needs['\r'] = needs['\n'] = 2;
    needs['\\'] = needs[';'] = needs[','] = 1;
    return needs;
  }();
  std::size_t plain_from = 0;  // start of the run not yet copied
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    unsigned char need = kNeeds[static_cast<unsigned char>(utf8[i])];
    if (need == 0) continue;
    out->append(utf8.data() + plain_from, i - plain_from);
    plain_from = i + 1;
    if (need == 1) {
      out->push_back('\\');
      out->push_back(utf8[i]);
    } else if (need == 2) {
      out->append("\\n");
      if (utf8[i] == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n') plain_from = ++i + 1;
    }
  }
  out->append(utf8.data() + plain_from, utf8.size() - plain_from);
}

void AppendFoldedLine(std::string_view line, std::string* out) {
  std::size_t limit = kMaxLineOctets;
  while (line.size() > limit) {
    std::size_t cut = limit;
    while (cut > 0 && IsUtf8Continuation(line[cut])) --cut;
    if (cut == 0) cut = limit;  // not UTF-8 at all: octets are all that count
    out->append(line.substr(0, cut));
    out->append("\r\n ");
    line.remove_prefix(cut);
    limit = kMaxLineOctets - 1;  // the leading space counts
  }
  out->append(line);
  out->append("\r\n");
}

// --- the calendar ---

IcsWriter::IcsWriter(std::string* out) : out_(out) {
  out_->append(
      "BEGIN:VCALENDAR\r\n"
      "VERSION:2.0\r\n"
      "PRODID:-//Tallyo//tallyo-cli//ZH\r\n"
      "CALSCALE:GREGORIAN\r\n");
}

void IcsWriter::Add(const CMyEvent& event, const IcsUids& uids) {
  const bool reminder = event.bRemind != 0;
  out_->append(reminder ? "BEGIN:VEVENT\r\nUID:" : "BEGIN:VJOURNAL\r\nUID:");
  std::size_t line_at = out_->size() - 4;
  uids.AppendUid(event, out_);
  EndLine(line_at);
  char created[kIcsUtcTimeSize];
  PutIcsUtcTime(event.timeCreate, created);
  TimeProperty("DTSTAMP:", created);
  TimeProperty("CREATED:", created);
  if (reminder) {
    char start[kIcsUtcTimeSize];
    PutIcsUtcTime(event.timeRemind, start);
    TimeProperty("DTSTART:", start);
  } else {
    TimeProperty("DTSTART:", created);
  }
  TextProperty("SUMMARY:", event.strTitle);
  TextProperty("DESCRIPTION:", event.strContent);
  if (reminder) {
    out_->append(
        "BEGIN:VALARM\r\n"
        "ACTION:DISPLAY\r\n"
        "TRIGGER:PT0S\r\n");
    // A display alarm must carry a text: the title, as the reminder popup
    // shows it, or else the popup's caption "事情提醒".
    if (!TextProperty("DESCRIPTION:", event.strTitle)) {
      TextProperty("DESCRIPTION:", "\xCA\xC2\xC7\xE9\xCC\xE1\xD0\xD1");
    }
    out_->append("END:VALARM\r\nEND:VEVENT\r\n");
  } else {
    out_->append("END:VJOURNAL\r\n");
  }
}

void IcsWriter::Finish() { out_->append("END:VCALENDAR\r\n"); }

bool IcsWriter::TextProperty(std::string_view name, std::string_view cp936_text) {
  std::size_t line_at = out_->size();
  out_->append(name);
  std::size_t value_at = out_->size();
  utf8_.clear();
  cp936::AppendUtf8(cp936_text, &utf8_);
  AppendIcsText(utf8_, out_);
  if (out_->find_first_not_of(" \t", value_at) == std::string::npos) {
    out_->resize(line_at);
    return false;
  }
  EndLine(line_at);
  return true;
}

void IcsWriter::TimeProperty(std::string_view name, const char* utc_time) {
  out_->append(name);
  out_->append(utc_time, kIcsUtcTimeSize);
  out_->append("\r\n");
}

void IcsWriter::EndLine(std::size_t line_at) {
  if (out_->size() - line_at <= kMaxLineOctets) {
    out_->append("\r\n");
    return;
  }
  // Most lines are short; a long one is folded from a copy.
  line_.assign(*out_, line_at);
  out_->resize(line_at);
  AppendFoldedLine(line_, out_);
}
