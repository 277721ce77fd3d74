#include <time.h>

#include <limits>

#include "base/local_time.h"

Time32 NowTime() { return static_cast<Time32>(::time(nullptr)); }

bool ToLocalTime(Time32 t, LocalTime* out) {
  time_t value = t;
  struct tm tm {};
  if (localtime_r(&value, &tm) == nullptr) return false;
  *out = {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec, tm.tm_wday};
  return true;
}

bool FromLocalTime(const LocalTime& local, Time32* out) {
  struct tm tm {};
  tm.tm_year = local.year - 1900;
  tm.tm_mon = local.month - 1;
  tm.tm_mday = local.day;
  tm.tm_hour = local.hour;
  tm.tm_min = local.minute;
  tm.tm_sec = local.second;
  tm.tm_isdst = -1;
  // -1 is both an error and one second before 1970: mktime fills in the day
  // of the week only when it succeeds.
  tm.tm_wday = -1;
  time_t value = mktime(&tm);
  if (value == static_cast<time_t>(-1) && tm.tm_wday == -1) return false;
  if (value < std::numeric_limits<Time32>::min() || value > std::numeric_limits<Time32>::max()) return false;
  *out = static_cast<Time32>(value);
  return true;
}
