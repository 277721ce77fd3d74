#pragma once
// Events and their repeat rules together, without a window: what the
// program's dialogs, popup and once-a-second check call, and tallyo-cli too.
//
// In event.dat a repeating reminder is an ordinary reminder whose timeRemind
// is the occurrence awaited now; its rule and the series' start live in
// repeat.ini, under its creation time: the rule is the first event's of that
// second (key twin 0), as every lookup by creation time finds it; a later
// event of the same second never repeats. Changes reach the files through
// EventFolder (event_folder.h).
#include <functional>
#include <optional>
#include <vector>

#include "base/local_time.h"
#include "base/status.h"
#include "events/event_key.h"
#include "events/event_list.h"
#include "repeat/repeat_rules.h"
#include "repeat/repeat_store.h"

// The creation time of every event, for RepeatStore::Save.
std::vector<Time32> CreationTimes(const EventList& events);

// The series that repeats `event`, whose key is `key`: nullptr for a one-off
// (no rule, a rule that cannot be read, a memo, or a later event of a second).
const RepeatSeries* SeriesOfEvent(const RepeatRules& rules, const CMyEvent& event, EventKey key);

// Deletes the event with key `key` and its rule; false (nothing done) when
// there is none. (Its rule must not pass to a later event of its second,
// which takes the first place of that second now.)
bool DeleteEventAndRule(EventList& events, RepeatRules& rules, EventKey key);

enum class AcknowledgeResult {
  kGone,     // no event has that key any more (deleted or changed elsewhere)
  kMoved,    // a repeating reminder: timeRemind is its next occurrence
  kDeleted,  // a one-off, or a series with no occurrence left: deleted, its rule with it
};

// "我知道了" on the reminder of the event with key `key`, answered at `now`:
// a repeating reminder moves to its first occurrence after `now`
// (occurrences missed while the program was off give no alert of their
// own); any other is deleted as a one-off is.
AcknowledgeResult AcknowledgeReminder(EventList& events, RepeatRules& rules, EventKey key, Time32 now);

enum class SetRepeatResult {
  kSet,      // the series starts at the reminder time (or the first occurrence after it)
  kRemoved,  // no rule any more
  kNoSuchEvent,
  kNotAReminder,  // a memo has no reminder time to start from
  kNoOccurrence,  // the rule has no occurrence from the reminder time on
  kSharedSecond,  // a later event of a second: its creation time names the first one's rule
};

// Gives the reminder with key `key` the rule `rule` (nullopt: takes its rule
// away). The series starts at the event's reminder time; a rule
// that does not name that day (a weekday rule on a Saturday) starts at its
// first occurrence after it, and timeRemind moves there. An event without
// a reminder loses any rule.
SetRepeatResult SetEventRepeat(EventList& events, RepeatRules& rules, EventKey key,
                               const std::optional<RepeatRule>& rule);

// What an editor's "重复" drop-down says at OK.
struct RepeatEdit {
  bool changed = false;            // the user picked another entry
  std::optional<RepeatRule> rule;  // the rule the entry stands for; nullopt: none
};
