#pragma once
// The tip of the notification-area icon names the reminder that comes next,
// so a user can hover over the icon instead of opening the window.
#include <cstddef>
#include <string>

#include "events/event_list.h"
#include "repeat/repeat_rules.h"

// The icon's tip holds at most this many characters (128 UTF-16 units with
// the terminator); a double-byte character of code page 936 is one.
inline constexpr std::size_t kTrayTipCharacters = 127;

// "2026-12-08 09:00 站会", with the short name of its repeat rule after it
// when it repeats ("2026-12-08 09:00 站会 (每天)"), the title cut short to fit
// the tip; empty when no reminder is pending (the icon then shows the
// program's title).
std::string NextReminderTip(const EventList& events, const RepeatRules& rules);
