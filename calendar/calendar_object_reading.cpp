// ReadCalendarObject: the reading half of calendar_object.h.
#include <libical/ical.h>

#include <cstring>
#include <memory>
#include <vector>

#include "calendar/calendar_object.h"
#include "calendar/component_reading.h"
#include "ical/calendar_zones.h"

namespace {

// "不是日历文件" (not a calendar file)
constexpr char kNotACalendar[] = "\xb2\xbb\xca\xc7\xc8\xd5\xc0\xfa\xce\xc4\xbc\xfe";

struct ComponentDeleter {
  void operator()(icalcomponent* c) const { icalcomponent_free(c); }
};

bool IsItemKind(icalcomponent_kind kind) {
  return kind == ICAL_VEVENT_COMPONENT || kind == ICAL_VTODO_COMPONENT || kind == ICAL_VJOURNAL_COMPONENT;
}

}  // namespace

std::optional<CalendarItem> ReadCalendarObject(std::string_view ics, Time32 now, std::string* problem) {
  tallyo::InitCalendarZones();
  const std::string text(ics);
  std::unique_ptr<icalcomponent, ComponentDeleter> root(icalparser_parse_string(text.c_str()));
  if (!root || icalcomponent_isa(root.get()) != ICAL_VCALENDAR_COMPONENT) {
    *problem = kNotACalendar;
    return std::nullopt;
  }
  icalcomponent* main = nullptr;
  std::vector<icalcomponent*> overrides;
  for (icalcomponent* c = icalcomponent_get_first_component(root.get(), ICAL_ANY_COMPONENT); c;
       c = icalcomponent_get_next_component(root.get(), ICAL_ANY_COMPONENT)) {
    if (!IsItemKind(icalcomponent_isa(c))) continue;
    if (icalcomponent_get_first_property(c, ICAL_RECURRENCEID_PROPERTY) != nullptr) {
      overrides.push_back(c);
    } else if (main == nullptr) {
      main = c;
    }
  }
  if (main == nullptr) {
    *problem = kNotACalendar;
    return std::nullopt;
  }
  // Only the main component's own occurrences are moved.
  const char* main_uid = icalcomponent_get_uid(main);
  std::erase_if(overrides, [&](icalcomponent* c) {
    const char* uid = icalcomponent_get_uid(c);
    return (uid == nullptr) != (main_uid == nullptr) || (uid != nullptr && std::strcmp(uid, main_uid) != 0);
  });
  CalendarItem item;
  if (!ReadComponent(main, overrides, now, &item, problem)) return std::nullopt;
  return item;
}
