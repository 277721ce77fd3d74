#include <cstdio>

#include "base/local_time.h"

std::string FormatTime(Time32 t) {
  LocalTime lt;
  if (!ToLocalTime(t, &lt)) return {};
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d", lt.year, lt.month, lt.day,
                lt.hour, lt.minute, lt.second);
  return buffer;
}

bool ParseLocalTime(const std::string& text, Time32* out) {
  LocalTime lt;
  char tail = 0;
  int n = std::sscanf(text.c_str(), "%4d-%2d-%2d %2d:%2d:%2d%c", &lt.year, &lt.month, &lt.day,
                      &lt.hour, &lt.minute, &lt.second, &tail);
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
