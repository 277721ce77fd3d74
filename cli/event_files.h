#pragma once
// How the commands that change events read and write event.dat and
// repeat.ini in the --dir folder: a change loads both, is made, and saves
// event.dat first and repeat.ini after it. Each function prints its own
// message on standard error and returns an exit code, or nullopt to go on.
#include <optional>
#include <string>

#include "events/event_key.h"
#include "events/event_list.h"
#include "repeat/repeat_rule.h"
#include "repeat/repeat_store.h"

// An event's key as the commands take it: the creation time, followed for
// the later events of a second by "-" and their place, as in the calendar's UIDs.
std::string KeyText(EventKey key);
// "N" (the first event created at N) or "N-K" (the one in place K of that second).
std::optional<EventKey> ParseKey(const std::string& text);

// The message for a key that names no event, ending in `consequence`.
void PrintNoSuchEvent(EventKey key, const char* consequence);

// event.dat for a change: a damaged file is set aside before the save, so
// the save cannot destroy it; an unreadable one stops the command.
std::optional<int> LoadEventsForChange(EventList& list);
// Writes event.dat (setting a damaged file aside first).
int SaveEventFile(EventList& list);

// repeat.ini beside the list's event.dat.
RepeatStore RulesBeside(const EventList& list);
// repeat.ini for a change: one that cannot be read stops the command (it is
// not replaced). Rules that cannot be read are told of.
std::optional<int> LoadRulesForChange(RepeatStore& store, RepeatRules* rules);
// repeat.ini for reading only: one that cannot be read is told of and gives no rules.
void LoadRulesForReading(RepeatStore& store, RepeatRules* rules);
// Writes repeat.ini after event.dat, dropping the rules of events that are gone.
int SaveRuleFile(RepeatStore& store, RepeatRules& rules, const EventList& list);

// RULE on the command line: daily, weekdays, weekly, monthly, yearly, hourly
// or an RRULE value; nullopt after a message naming the part that is wrong.
std::optional<RepeatRule> RuleArgument(const std::string& text);

// The message for a series that has no occurrence from `reminder` on.
void PrintNoOccurrence(const RepeatRule& rule, Time32 reminder);
