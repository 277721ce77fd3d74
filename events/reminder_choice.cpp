#include "events/reminder_choice.h"

#include <algorithm>
#include <limits>

Time32 CombineDateAndTime(Time32 date, Time32 time) {
  LocalTime day, clock;
  if (!ToLocalTime(date, &day) || !ToLocalTime(time, &clock)) return date;
  LocalTime combined = day;
  combined.hour = clock.hour;
  combined.minute = clock.minute;
  combined.second = clock.second;
  Time32 result = 0;
  if (FromLocalTime(combined, &result)) return result;
  // Only the ends of the range fail: the first hours of 1901 or the last of 2038.
  return combined.year < 1970 ? std::numeric_limits<Time32>::min() : std::numeric_limits<Time32>::max();
}

Time32 TimeAfterMinutes(Time32 now, std::int32_t minutes) {
  const std::int64_t due = static_cast<std::int64_t>(now) + static_cast<std::int64_t>(minutes) * 60;
  if (due > std::numeric_limits<Time32>::max()) return std::numeric_limits<Time32>::max();
  if (due < std::numeric_limits<Time32>::min()) return std::numeric_limits<Time32>::min();
  return static_cast<Time32>(due);
}

std::optional<std::int32_t> ParseMinutesField(std::string_view text) {
  std::size_t begin = 0, end = text.size();
  while (begin < end && text[begin] == ' ') ++begin;
  while (end > begin && text[end - 1] == ' ') --end;
  if (begin == end) return std::nullopt;
  std::int64_t minutes = 0;
  for (std::size_t i = begin; i < end; ++i) {
    if (text[i] < '0' || text[i] > '9') return std::nullopt;
    minutes =
        std::min<std::int64_t>(minutes * 10 + (text[i] - '0'), std::numeric_limits<std::int32_t>::max());
  }
  return static_cast<std::int32_t>(minutes);
}

Time32 ReminderTimeFor(const ReminderFields& fields, Time32 now) {
  if (fields.nChoice == kRemindAtDateTime) return CombineDateAndTime(fields.timeDate, fields.timeOfDay);
  return TimeAfterMinutes(now, fields.nMinutes);
}

void ApplyEditorChoice(const ReminderFields& fields, Time32 now, CMyEvent& event) {
  if (fields.nChoice == kNoReminder) {
    event.bRemind = 0;  // the old reminder time stays in the record
    return;
  }
  event.bRemind = 1;
  event.timeRemind = ReminderTimeFor(fields, now);
}
