#include "reminders/next_reminder_tip.h"

#include "base/cp936.h"
#include "events/event_repeats.h"
#include "events/next_reminder.h"
#include "repeat/repeat_texts.h"

namespace {

// The characters of `text`, a double-byte one counting once.
std::size_t Characters(std::string_view text) {
  std::size_t count = 0;
  for (std::size_t i = 0; i < text.size(); i += cp936::CharLength(text, i)) ++count;
  return count;
}

// The longest start of `text` of at most `limit` characters.
std::string_view FirstCharacters(std::string_view text, std::size_t limit) {
  std::size_t end = 0;
  for (std::size_t count = 0; end < text.size() && count < limit; ++count)
    end += cp936::CharLength(text, end);
  return text.substr(0, end);
}

}  // namespace

std::string NextReminderTip(const EventList& events, const RepeatRules& rules) {
  const CMyEvent* next = NextReminder(events);
  if (next == nullptr) return {};
  std::string when = FormatTime(next->timeRemind).substr(0, 16);
  std::string repeat;
  if (const RepeatSeries* series = SeriesOfEvent(rules, *next, events.KeyOf(*next))) {
    AppendRepeatShortName(*series, &repeat);
  }
  std::string_view title = next->strTitle.view();
  // The time and the rule always show; the title gives way.
  const std::size_t fixed = Characters(when) + 1 + Characters(repeat);
  const std::size_t room = fixed < kTrayTipCharacters ? kTrayTipCharacters - fixed : 0;
  std::string tip = when;
  if (!title.empty() && room > 3) {
    tip += ' ';
    if (Characters(title) <= room) {
      tip.append(title);
    } else {
      tip.append(FirstCharacters(title, room - 3)).append("...");
    }
  }
  return tip + repeat;
}
