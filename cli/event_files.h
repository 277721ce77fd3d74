#pragma once
// How the commands read and change event.dat and repeat.ini in the --dir
// folder: a change goes through EventFolder (events/event_folder.h), under
// the folder's lock. Each function prints its own message on standard error
// and returns an exit code, or nullopt to go on.
#include <functional>
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

// Makes a change of the folder's files: takes the lock (waiting up to 30 s
// for another writer), loads both files, runs `change`, saves. `change`
// returns 0 to have the files saved, or an exit code (after its own message)
// to stop with nothing written. An event.dat that cannot be read stops the
// command; a damaged one is set aside before the save.
int ChangeFolderFiles(const std::function<int(EventList&, RepeatRules&)>& change);

// repeat.ini beside the list's event.dat.
RepeatStore RulesBeside(const EventList& list);
// repeat.ini for reading only: one that cannot be read is told of and gives
// no rules; what cannot be read in it is told in one message (naming events of `list`).
void LoadRulesForReading(RepeatStore& store, RepeatRules* rules, const EventList& list);

// RULE on the command line: daily, weekdays, weekly, monthly, yearly, hourly
// or an RRULE value; nullopt after a message naming the part that is wrong.
std::optional<RepeatRule> RuleArgument(const std::string& text);

// The message for a series that has no occurrence from `reminder` on.
void PrintNoOccurrence(const RepeatRule& rule, Time32 reminder);
