// Planning an import: the file read with libical, each component read into
// an item and decided on; nothing is written.
#include <libical/ical.h>

#include <algorithm>
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
// "组件无法读取" (a component that cannot be read)
constexpr char kNotAComponent[] = "\xd7\xe9\xbc\xfe\xce\xde\xb7\xa8\xb6\xc1\xc8\xa1";
// "同一 UID 出现两次" (the same UID twice)
constexpr char kUidTwice[] = "\xcd\xac\xd2\xbb UID \xb3\xf6\xcf\xd6\xc1\xbd\xb4\xce";

struct ComponentDeleter {
  void operator()(icalcomponent* c) const { icalcomponent_free(c); }
};

bool IsItemName(std::string_view name) { return name == "VEVENT" || name == "VTODO" || name == "VJOURNAL"; }

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

// The lines of a calendar, cut on LF (a CR before it dropped). BEGIN and END
// lines are never folded, so the text's components are found by them alone.
class Lines {
 public:
  explicit Lines(std::string_view text) : text_(text) {}
  // The next line and where it starts; false at the end.
  bool Next(std::string_view* line, std::size_t* at) {
    if (pos_ >= text_.size()) return false;
    *at = pos_;
    std::size_t end = text_.find('\n', pos_);
    if (end == std::string_view::npos) end = text_.size();
    *line = text_.substr(pos_, end - pos_);
    if (!line->empty() && line->back() == '\r') line->remove_suffix(1);
    pos_ = end + 1;
    return true;
  }
  std::size_t position() const { return std::min(pos_, text_.size()); }

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
};

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    char c = text[i];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (c != prefix[i]) return false;
  }
  return true;
}

// The upper-cased name of a BEGIN: or END: line, or empty.
std::string NameAfter(std::string_view line, std::string_view tag) {
  if (!StartsWithNoCase(line, tag)) return {};
  std::string name(line.substr(tag.size()));
  while (!name.empty() && (name.back() == ' ' || name.back() == '\t')) name.pop_back();
  for (char& c : name) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return name;
}

// One component of the calendar's text: [begin, end).
struct Piece {
  std::size_t begin = 0;
  std::size_t end = 0;
  bool overrides = false;  // it has a RECURRENCE-ID
};

// Where the components of a calendar of the usual shape lie: one
// VCALENDAR, its components each from a BEGIN line to the END line of the
// same name. False for any other shape (which is then read whole).
bool FindPieces(std::string_view ics, std::vector<Piece>* zones, std::vector<Piece>* items) {
  Lines lines(ics);
  std::string_view line;
  std::size_t at = 0;
  int depth = 0;  // 1: inside the VCALENDAR, 2: inside one of its components, 3 and more: deeper
  bool seen_calendar = false;
  std::string open;  // the component open at depth 2
  Piece piece;
  std::vector<Piece>* into = nullptr;
  while (lines.Next(&line, &at)) {
    if (const std::string begin = NameAfter(line, "BEGIN:"); !begin.empty()) {
      if (depth == 0) {
        if (begin != "VCALENDAR" || seen_calendar) return false;
        seen_calendar = true;
      } else if (depth == 1) {
        open = begin;
        piece = Piece{at, 0, false};
        into = begin == "VTIMEZONE" ? zones : IsItemName(begin) ? items : nullptr;
      }
      ++depth;
      continue;
    }
    if (const std::string end = NameAfter(line, "END:"); !end.empty()) {
      if (depth == 0) return false;
      --depth;
      if (depth == 0 && end != "VCALENDAR") return false;
      if (depth == 1) {
        if (end != open) return false;
        piece.end = lines.position();
        if (into != nullptr) into->push_back(piece);
      }
      continue;
    }
    if (depth == 0 && !line.empty()) return false;
    if (depth == 2 && into == items && StartsWithNoCase(line, "RECURRENCE-ID") && line.size() > 13 &&
        (line[13] == ':' || line[13] == ';'))
      piece.overrides = true;
  }
  return seen_calendar && depth == 0;
}

// Owns a parsed component.
using Component = std::unique_ptr<icalcomponent, ComponentDeleter>;

// What the planning loop needs, whichever way the file was read.
class Planner {
 public:
  Planner(const EventList& events, const RepeatRules& rules, const ImportUidBook& uids,
          const ImportOptions& options, ImportPlan* plan)
      : events_(events), rules_(rules), uids_(uids), options_(options), plan_(*plan) {}

  void AddOverride(icalcomponent* component) { overrides_[UidOf(component)].push_back(component); }
  void Plan(icalcomponent* component);

 private:
  const EventList& events_;
  const RepeatRules& rules_;
  const ImportUidBook& uids_;
  const ImportOptions& options_;
  ImportPlan& plan_;
  std::unordered_map<std::string, std::vector<icalcomponent*>> overrides_;
  std::unordered_set<std::string> seen_;
};

void Planner::Plan(icalcomponent* component) {
  static const std::vector<icalcomponent*> kNone;
  const std::string uid = UidOf(component);
  CalendarItem item;
  std::string problem;
  if (!seen_.insert(uid).second) {
    problem = kUidTwice;
  } else {
    auto found = overrides_.find(uid);
    if (ReadComponent(component, found != overrides_.end() ? found->second : kNone, options_.now, &item,
                      &problem)) {
      item.uid = uid;
    }
  }
  ImportCounts& counts = plan_.counts;
  if (!problem.empty()) {
    ++counts.bad;
    plan_.problems.push_back(ImportProblem{ComponentName(component), problem});
    return;
  }
  if (item.done) {
    ++counts.skipped_done;
    return;
  }
  const ImportAction action = DecideImport(item, events_, rules_, uids_, options_);
  switch (action) {
    case ImportAction::kSkipPast:
      ++counts.skipped_past;
      return;
    case ImportAction::kUnchanged:
      ++counts.unchanged;
      return;
    case ImportAction::kKeepUsers:
      ++counts.kept_user_changes;
      return;
    case ImportAction::kAdd:
    case ImportAction::kUpdate:
      ++(action == ImportAction::kAdd ? counts.to_add : counts.to_update);
      if (item.rule && !(item.past && options_.past)) ++counts.repeating;
      if (item.marked_characters > 0) ++counts.marked_events;
      plan_.items.push_back(std::move(item));
      return;
  }
}

}  // namespace

ImportPlan PlanImportInto(std::string_view ics, const EventList& events, const RepeatRules& rules,
                          const ImportUidBook& uids, const ImportOptions& options) {
  tallyo::InitCalendarZones();
  ImportPlan plan;
  plan.options = options;
  Planner planner(events, rules, uids, options, &plan);

  // The usual shape is read a component at a time, beside a calendar that
  // holds only the time zones: a long calendar never stands in memory as a
  // whole tree of libical's.
  std::vector<Piece> zones;
  std::vector<Piece> items;
  if (FindPieces(ics, &zones, &items)) {
    std::string text = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\n";
    for (const Piece& zone : zones) text.append(ics.substr(zone.begin, zone.end - zone.begin));
    text += "END:VCALENDAR\r\n";
    Component root(icalparser_parse_string(text.c_str()));
    if (!root) {
      plan.unreadable = true;
      plan.unreadable_reason = kNotACalendar;
      return plan;
    }
    plan.items.reserve(items.size());  // a long calendar's items are most of what a plan holds
    std::vector<Component> overrides;
    auto parse = [&](const Piece& piece) -> icalcomponent* {
      text.assign(ics.substr(piece.begin, piece.end - piece.begin));
      icalcomponent* component = icalparser_parse_string(text.c_str());
      if (component == nullptr) return nullptr;
      if (!IsItemKind(icalcomponent_isa(component))) {
        icalcomponent_free(component);
        return nullptr;
      }
      // Inside the calendar, its TZIDs find the calendar's zones.
      icalcomponent_add_component(root.get(), component);
      return component;
    };
    for (const Piece& piece : items) {
      if (!piece.overrides) continue;
      if (icalcomponent* component = parse(piece)) {
        overrides.emplace_back(component);
        planner.AddOverride(component);
      }
    }
    for (std::size_t i = 0; i < items.size(); ++i) {
      const Piece& piece = items[i];
      if (piece.overrides) continue;
      icalcomponent* component = parse(piece);
      if (component == nullptr) {
        ++plan.counts.bad;
        // "第 N 个组件" (component N)
        plan.problems.push_back(
            ImportProblem{"\xb5\xda " + std::to_string(i + 1) + " \xb8\xf6\xd7\xe9\xbc\xfe", kNotAComponent});
        continue;
      }
      planner.Plan(component);
      icalcomponent_remove_component(root.get(), component);
      icalcomponent_free(component);
    }
    for (Component& component : overrides) icalcomponent_remove_component(root.get(), component.get());
    plan.items.shrink_to_fit();
    return plan;
  }

  // Any other shape (several calendars, a damaged structure): libical reads
  // it whole and decides what it is.
  const std::string text(ics);
  Component root(icalparser_parse_string(text.c_str()));
  const std::vector<icalcomponent*> calendars =
      root ? CalendarsOf(root.get()) : std::vector<icalcomponent*>();
  if (calendars.empty()) {
    plan.unreadable = true;
    plan.unreadable_reason = kNotACalendar;
    return plan;
  }
  std::vector<icalcomponent*> mains;
  for (icalcomponent* calendar : calendars) {
    for (icalcomponent* c = icalcomponent_get_first_component(calendar, ICAL_ANY_COMPONENT); c;
         c = icalcomponent_get_next_component(calendar, ICAL_ANY_COMPONENT)) {
      if (!IsItemKind(icalcomponent_isa(c))) continue;
      if (icalcomponent_get_first_property(c, ICAL_RECURRENCEID_PROPERTY) != nullptr) {
        planner.AddOverride(c);
      } else {
        mains.push_back(c);
      }
    }
  }
  for (icalcomponent* component : mains) planner.Plan(component);
  return plan;
}
