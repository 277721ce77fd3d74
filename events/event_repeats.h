#pragma once
// Events and their repeat rules together, without a window: what the
// program's dialogs, popup and once-a-second check call, and tallyo-cli too.
//
// In event.dat a repeating reminder is an ordinary reminder whose timeRemind
// is the occurrence awaited now; its rule and the series' start live in
// repeat.ini, under its key (creation time, and place in its second). Every
// event may repeat, a later event of a second too; a rule belongs to one
// event and never passes to another (repeat_rules.h: fingerprints). Changes
// reach the files through EventFolder (event_folder.h).
#include <functional>
#include <optional>
#include <vector>

#include "base/local_time.h"
#include "base/status.h"
#include "events/event_key.h"
#include "events/event_list.h"
#include "repeat/repeat_rules.h"
#include "repeat/repeat_store.h"

// The creation time of every event.
std::vector<Time32> CreationTimes(const EventList& events);
// The key of every event, as the rules name them.
std::vector<RuleKey> RuleKeysOf(const EventList& events);
inline RuleKey RuleKeyOf(EventKey key) { return RuleKey{key.created, key.twin}; }

// After a load of either file: each rule finds its event. A section written
// with a fingerprint for a second that holds as many events now goes by its
// place, else by its event's title among the events of that second; one
// whose event is not found goes at once (it never passes to another event).
// Sections without a fingerprint keep their place.
void BindRules(const EventList& events, RepeatRules& rules);
// Before a save of repeat.ini that follows a save of event.dat: every
// section named by its event's key, with a fingerprint where its second
// holds several events. True if the bytes changed.
bool NameAndFingerprintRules(const EventList& events, RepeatRules& rules);

// The series that repeats `event`, whose key is `key`: nullptr for a one-off
// (no rule, a rule that cannot be read, or a memo).
const RepeatSeries* SeriesOfEvent(const RepeatRules& rules, const CMyEvent& event, EventKey key);

// Deletes the event with key `key` and its rule; false (nothing done) when
// there is none. The later events of its second move up a place, and their
// rules with them.
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
};

// Gives the reminder with key `key` the rule `rule` (nullopt: takes its rule
// away). The series starts at the event's reminder time; a rule
// that does not name that day (a weekday rule on a Saturday) starts at its
// first occurrence after it, and timeRemind moves there. An event without
// a reminder loses any rule. `dates` add occurrences and take some away
// (RDATE, EXDATE): the reminder moves to the series' first occurrence from
// its time on.
SetRepeatResult SetEventRepeat(EventList& events, RepeatRules& rules, EventKey key,
                               const std::optional<RepeatRule>& rule, const RepeatDates& dates = {});

// What an editor's "重复" drop-down says at OK.
struct RepeatEdit {
  bool changed = false;            // the user picked another entry
  std::optional<RepeatRule> rule;  // the rule the entry stands for; nullopt: none
};
