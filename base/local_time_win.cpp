#include <windows.h>

#include <limits>

#include "base/local_time.h"
#include "base/system_time_win.h"

namespace {

// 100-ns intervals between 1601-01-01 and 1970-01-01.
constexpr long long kEpochDelta = 116444736000000000LL;
constexpr long long kTicksPerSecond = 10000000LL;

FILETIME ToFileTime(long long seconds) {
  ULARGE_INTEGER v;
  v.QuadPart = static_cast<ULONGLONG>(seconds * kTicksPerSecond + kEpochDelta);
  return FILETIME{v.LowPart, v.HighPart};
}

long long FromFileTime(const FILETIME& ft) {
  ULARGE_INTEGER v;
  v.LowPart = ft.dwLowDateTime;
  v.HighPart = ft.dwHighDateTime;
  return (static_cast<long long>(v.QuadPart) - kEpochDelta) / kTicksPerSecond;
}

}  // namespace

Time32 NowTime() {
  FILETIME ft;
  GetSystemTimeAsFileTime(&ft);
  return static_cast<Time32>(FromFileTime(ft));
}

bool ToLocalTime(Time32 t, LocalTime* out) {
  FILETIME ft = ToFileTime(t);
  SYSTEMTIME utc, local;
  if (!FileTimeToSystemTime(&ft, &utc)) return false;
  if (!SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local)) return false;
  *out = FromSystemTime(local);
  return true;
}

bool FromLocalTime(const LocalTime& lt, Time32* out) {
  if (lt.year < 1601 || lt.year > 30827) return false;
  SYSTEMTIME local = ToSystemTime(lt);
  local.wDayOfWeek = 0;  // ignored by the conversion
  SYSTEMTIME utc;
  if (!TzSpecificLocalTimeToSystemTime(nullptr, &local, &utc)) return false;
  FILETIME ft;
  if (!SystemTimeToFileTime(&utc, &ft)) return false;
  long long seconds = FromFileTime(ft);
  if (seconds < std::numeric_limits<Time32>::min() || seconds > std::numeric_limits<Time32>::max())
    return false;
  *out = static_cast<Time32>(seconds);
  return true;
}
