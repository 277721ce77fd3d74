// Planning an import: the file read with libical, each component read into
// an item and decided on; nothing is written.
#include <libical/ical.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "calendar/component_reading.h"
#include "calendar/import_steps.h"
#include "ical/calendar_zones.h"

namespace {

// "不是日历文件" (not a calendar file)
constexpr char kNotACalendar[] = "\xb2\xbb\xca\xc7\xc8\xd5\xc0\xfa\xce\xc4\xbc\xfe";
// "同一 UID 出现两次" (the same UID twice)
constexpr char kUidTwice[] = "\xcd\xac\xd2\xbb UID \xb3\xf6\xcf\xd6\xc1\xbd\xb4\xce";

struct ComponentDeleter {
  void operator()(icalcomponent* c) const { icalcomponent_free(c); }
};

bool IsItemKind(icalcomponent_kind kind) {
  return kind == ICAL_VEVENT_COMPONENT || kind == ICAL_VTODO_COMPONENT || kind == ICAL_VJOURNAL_COMPONENT;
}

// A UID for a component without one, the same for the same text, so that
// importing the file again finds the event again.
std::string UidOfText(icalcomponent* component) {
  const char* text = icalcomponent_as_ical_string(component);
  std::uint64_t hash = 0xcbf29ce484222325ULL;
  for (const char* p = text; p != nullptr && *p != '\0'; ++p)
    hash = (hash ^ static_cast<unsigned char>(*p)) * 0x100000001b3ULL;
  char uid[48];
  std::snprintf(uid, sizeof uid, "no-uid-%016llx@import.tallyo.example",
                static_cast<unsigned long long>(hash));
  return uid;
}

std::string UidOf(icalcomponent* component) {
  const char* uid = icalcomponent_get_uid(component);
  return uid != nullptr && *uid != '\0' ? std::string(uid) : UidOfText(component);
}

// The components of every VCALENDAR of the file (libical puts several
// under one root of its own).
std::vector<icalcomponent*> CalendarsOf(icalcomponent* root) {
  if (icalcomponent_isa(root) == ICAL_VCALENDAR_COMPONENT) return {root};
  std::vector<icalcomponent*> calendars;
  if (icalcomponent_isa(root) != ICAL_XROOT_COMPONENT) return calendars;
  for (icalcomponent* c = icalcomponent_get_first_component(root, ICAL_VCALENDAR_COMPONENT); c;
       c = icalcomponent_get_next_component(root, ICAL_VCALENDAR_COMPONENT)) {
    calendars.push_back(c);
  }
  return calendars;
}

}  // namespace

ImportPlan PlanImportInto(std::string_view ics, const EventList& events, const RepeatRules& rules,
                          const ImportUidBook& uids, const ImportOptions& options) {
  tallyo::InitCalendarZones();
  ImportPlan plan;
  plan.options = options;
  const std::string text(ics);
  std::unique_ptr<icalcomponent, ComponentDeleter> root(icalparser_parse_string(text.c_str()));
  const std::vector<icalcomponent*> calendars =
      root ? CalendarsOf(root.get()) : std::vector<icalcomponent*>();
  if (calendars.empty()) {
    plan.unreadable = true;
    plan.unreadable_reason = kNotACalendar;
    return plan;
  }

  // The main components in the file's order, and the overrides of each UID.
  std::vector<icalcomponent*> mains;
  std::unordered_map<std::string, std::vector<icalcomponent*>> overrides;
  for (icalcomponent* calendar : calendars) {
    for (icalcomponent* c = icalcomponent_get_first_component(calendar, ICAL_ANY_COMPONENT); c;
         c = icalcomponent_get_next_component(calendar, ICAL_ANY_COMPONENT)) {
      if (!IsItemKind(icalcomponent_isa(c))) continue;
      if (icalcomponent_get_first_property(c, ICAL_RECURRENCEID_PROPERTY) != nullptr) {
        overrides[UidOf(c)].push_back(c);
      } else {
        mains.push_back(c);
      }
    }
  }

  std::unordered_set<std::string> seen;
  static const std::vector<icalcomponent*> kNone;
  for (icalcomponent* component : mains) {
    const std::string uid = UidOf(component);
    CalendarItem item;
    std::string problem;
    if (!seen.insert(uid).second) {
      problem = kUidTwice;
    } else {
      auto found = overrides.find(uid);
      if (ReadComponent(component, found != overrides.end() ? found->second : kNone, options.now, &item,
                        &problem)) {
        item.uid = uid;
      }
    }
    if (!problem.empty()) {
      ++plan.counts.bad;
      plan.problems.push_back(ImportProblem{ComponentName(component), problem});
      continue;
    }
    if (item.done) {
      ++plan.counts.skipped_done;
      continue;
    }
    const ImportAction action = DecideImport(item, events, rules, uids, options);
    switch (action) {
      case ImportAction::kSkipPast:
        ++plan.counts.skipped_past;
        continue;
      case ImportAction::kUnchanged:
        ++plan.counts.unchanged;
        break;
      case ImportAction::kKeepUsers:
        ++plan.counts.kept_user_changes;
        break;
      case ImportAction::kAdd:
      case ImportAction::kUpdate:
        ++(action == ImportAction::kAdd ? plan.counts.to_add : plan.counts.to_update);
        if (item.rule && !(item.past && options.past)) ++plan.counts.repeating;
        if (item.marked_characters > 0) ++plan.counts.marked_events;
        break;
    }
    plan.items.push_back(std::move(item));
  }
  return plan;
}
