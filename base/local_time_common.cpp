#include <cstdint>
#include <cstdio>
#include <cstring>

#include "base/decimal_digits.h"
#include "base/local_time.h"
#include "base/wall_time.h"

std::int64_t DaysFromCivil(std::int64_t y, int m, int d) {
  y -= m <= 2;
  std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  std::int64_t yoe = y - era * 400;
  std::int64_t doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

namespace {

// Local minus UTC seconds at t, as the system sees it.
bool OffsetAt(std::int64_t t, std::int64_t* offset) {
  LocalTime lt;
  if (t < INT32_MIN || t > INT32_MAX || !ToLocalTime(static_cast<Time32>(t), &lt)) return false;
  *offset = WallFromCivil(lt) - t;
  return true;
}

}  // namespace

void CivilFromDays(std::int64_t days, int* year, int* month, int* day) {
  std::int64_t z = days + 719468;
  std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  std::int64_t doe = z - era * 146097;
  std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  std::int64_t mp = (5 * doy + 2) / 153;
  *month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  *year = static_cast<int>(yoe + era * 400 + (*month <= 2));
  *day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
}

// Fields a time value never gives, formatted all the same.
static void AppendWithPrintf(const LocalTime& lt, std::string* out) {
  char buffer[80];
  std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d", lt.year, lt.month, lt.day, lt.hour,
                lt.minute, lt.second);
  out->append(buffer);
}

void AppendFormattedTime(const LocalTime& lt, std::string* out) {
  if (lt.year < 0 || lt.year > 9999) return AppendWithPrintf(lt, out);
  if (lt.month < 0 || lt.month > 99 || lt.day < 0 || lt.day > 99 || lt.hour < 0 || lt.hour > 99 ||
      lt.minute < 0 || lt.minute > 99 || lt.second < 0 || lt.second > 99) {
    return AppendWithPrintf(lt, out);
  }
  char text[19];
  char* p = PutDigits(text, lt.year, 4);
  *p++ = '-';
  p = PutDigits(p, lt.month, 2);
  *p++ = '-';
  p = PutDigits(p, lt.day, 2);
  *p++ = ' ';
  p = PutDigits(p, lt.hour, 2);
  *p++ = ':';
  p = PutDigits(p, lt.minute, 2);
  *p++ = ':';
  PutDigits(p, lt.second, 2);
  out->append(text, sizeof text);
}

std::string FormatTime(Time32 t) {
  LocalTime lt;
  if (!ToLocalTime(t, &lt)) return {};
  std::string text;
  AppendFormattedTime(lt, &text);
  return text;
}

const LocalTimeConverter::Window& LocalTimeConverter::WindowOf(Time32 t) {
  std::int64_t index = t >= 0 ? t / kWindow : (static_cast<std::int64_t>(t) - kWindow + 1) / kWindow;
  Window& window = windows_[static_cast<std::uint64_t>(index) % kKeptWindows];
  if (window.index != index) {
    window.index = index;
    std::int64_t first = index * kWindow, last = first + kWindow - 1, at_last = 0;
    window.constant = OffsetAt(first, &window.offset) && OffsetAt(last, &at_last) && at_last == window.offset;
  }
  return window;
}

bool LocalTimeConverter::ToLocalTime(Time32 t, LocalTime* out) {
  const Window& window = WindowOf(t);
  if (!window.constant) return ::ToLocalTime(t, out);
  *out = CivilFromWall(t + window.offset);
  return true;
}

const char* LocalTimeConverter::DateText(std::int64_t day) {
  Day& kept = days_[static_cast<std::uint64_t>(day) % kKeptDays];
  if (kept.day != day) {
    kept.day = day;
    int year = 0, month = 0, day_of_month = 0;
    CivilFromDays(day, &year, &month, &day_of_month);
    char* p = PutDigits(kept.text, year, 4);
    *p++ = '-';
    p = PutDigits(p, month, 2);
    *p++ = '-';
    p = PutDigits(p, day_of_month, 2);
    *p = ' ';
  }
  return kept.text;
}

void LocalTimeConverter::AppendFormatted(Time32 t, std::string* out) {
  const Window& window = WindowOf(t);
  if (!window.constant) {
    LocalTime lt;
    if (::ToLocalTime(t, &lt)) AppendFormattedTime(lt, out);
    return;
  }
  // Every year a time value reaches has four digits here, so the date text
  // is the same as AppendFormattedTime's.
  std::int64_t local = t + window.offset;
  std::int64_t day = local >= 0 ? local / 86400 : (local - 86399) / 86400;
  int seconds = static_cast<int>(local - day * 86400);
  // Written in place: a text put together on the stack and then copied whole
  // stalls the copy until every small store before it has landed.
  const std::size_t start = out->size();
  out->resize(start + 19);
  char* text = out->data() + start;
  std::memcpy(text, DateText(day), 11);
  char* p = PutDigits(text + 11, seconds / 3600, 2);
  *p++ = ':';
  p = PutDigits(p, seconds / 60 % 60, 2);
  *p++ = ':';
  PutDigits(p, seconds % 60, 2);
}

bool ParseLocalTime(const std::string& text, Time32* out) {
  LocalTime lt;
  char tail = 0;
  int n = std::sscanf(text.c_str(), "%4d-%2d-%2d %2d:%2d:%2d%c", &lt.year, &lt.month, &lt.day, &lt.hour,
                      &lt.minute, &lt.second, &tail);
  if (n != 3 && n != 6) return false;
  if (n == 3 && text.size() != 10) return false;
  if (lt.month < 1 || lt.month > 12 || lt.day < 1 || lt.day > 31 || lt.hour < 0 || lt.hour > 23 ||
      lt.minute < 0 || lt.minute > 59 || lt.second < 0 || lt.second > 59)
    return false;
  Time32 t = 0;
  if (!FromLocalTime(lt, &t)) return false;
  // Refuse dates that do not exist (e.g. 02-30), which the system would roll over.
  LocalTime back;
  if (!ToLocalTime(t, &back) || back.day != lt.day || back.month != lt.month) return false;
  *out = t;
  return true;
}

bool SameLocalDay(Time32 a, Time32 b) {
  LocalTime la, lb;
  if (!ToLocalTime(a, &la) || !ToLocalTime(b, &lb)) return false;
  return la.year == lb.year && la.month == lb.month && la.day == lb.day;
}
