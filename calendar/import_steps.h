#pragma once
// The import's steps on the lists themselves (calendar_import.h wraps them
// around the folder): what each component becomes, decided the same way
// when planning and when applying (the folder may have changed between).
#include <optional>
#include <string>
#include <string_view>

#include "calendar/calendar_import.h"
#include "events/event_key.h"
#include "events/event_list.h"
#include "repeat/repeat_rules.h"
#include "repeat/repeat_series.h"

// What the import needs of the events' UIDs: which event a UID names, and
// the fingerprint of that event as the last import of the UID left it.
class ImportUidBook {
 public:
  virtual ~ImportUidBook() = default;
  virtual std::optional<EventKey> Find(std::string_view uid) const = 0;
  // Empty when the event never came from an import (a Tallyo event the
  // calendar got by an export).
  virtual std::string ImportedFingerprint(EventKey key) const = 0;
  // The event `key` came from `uid`, and was left as `fingerprint` says.
  virtual void Keep(EventKey key, const std::string& uid, const std::string& fingerprint) = 0;
};

// The fingerprint of an event as the import compares it: its title, body,
// whether it reminds, and its time, or for a series its start, rule and
// dates (its reminder moves on as the user answers it).
std::string EventFingerprint(const CMyEvent& event, const RepeatSeries* series);

// The event an item becomes (its creation time left to the caller), and
// its series when it repeats: a past one with --past is a memo.
struct EventOfImport {
  CMyEvent event{0};
  std::optional<RepeatSeries> series;
};
EventOfImport EventOfItem(const CalendarItem& item);

enum class ImportAction { kAdd, kUpdate, kUnchanged, kKeepUsers, kSkipPast };

// What `item` (read, not done) becomes among `events` now.
ImportAction DecideImport(const CalendarItem& item, const EventList& events, const RepeatRules& rules,
                          const ImportUidBook& uids, const ImportOptions& options);

ImportPlan PlanImportInto(std::string_view ics, const EventList& events, const RepeatRules& rules,
                          const ImportUidBook& uids, const ImportOptions& options);

// Makes the plan's changes on the lists (the caller saves them); the counts of what was done.
ImportCounts ApplyImportTo(const ImportPlan& plan, EventList& events, RepeatRules& rules, ImportUidBook& uids,
                           const ImportOptions& options, const ImportProgress& progress);
