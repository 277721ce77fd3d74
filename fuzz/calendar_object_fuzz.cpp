// A calendar server's object as any bytes, read as an item, patched with a
// change made in Tallyo (the first byte picks which fields changed) and
// marked completed. Checks what the sync engine relies on: a text that
// cannot be read says why, and the patch always gives a calendar that
// libical reads back with a main component, and Tallyo reads as an item.
#include <libical/ical.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "calendar/calendar_object.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

bool HasMainComponent(const std::string& text) {
  icalcomponent* calendar = icalparser_parse_string(text.c_str());
  if (calendar == nullptr) return false;
  bool found = false;
  for (icalcomponent* c = icalcomponent_get_first_component(calendar, ICAL_ANY_COMPONENT);
       c != nullptr && !found; c = icalcomponent_get_next_component(calendar, ICAL_ANY_COMPONENT)) {
    const icalcomponent_kind kind = icalcomponent_isa(c);
    found = kind == ICAL_VEVENT_COMPONENT || kind == ICAL_VTODO_COMPONENT || kind == ICAL_VJOURNAL_COMPONENT;
  }
  icalcomponent_free(calendar);
  return found;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0 || size > 64 * 1024) return 0;
  const unsigned choice = data[0];
  const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);

  CalendarItem agreed;
  agreed.uid = "fuzz@example.com";
  agreed.title = "Lunch \xA1\xFE";
  agreed.body = "Bring it\r\nRoom 5";
  agreed.reminds = (choice & 1) != 0;
  agreed.remind_at = 1796893200;
  agreed.series_start = WallFromCivil(2026, 12, 10, 17, 0, 0);
  RepeatRule rule;
  if ((choice & 2) != 0 && ParseRepeatRule("FREQ=WEEKLY;BYDAY=TH;COUNT=10", &rule).ok()) agreed.rule = rule;

  CalendarItem wanted = agreed;
  if ((choice & 4) != 0) wanted.title = "Dinner \xA1\xFE";
  if ((choice & 8) != 0) wanted.body = "Bring it\r\nRoom 6";
  if ((choice & 16) != 0) {
    wanted.remind_at += 86400 + 1800;
    wanted.series_start += 86400 + 1800;
  }
  if ((choice & 32) != 0) wanted.reminds = !wanted.reminds;
  if ((choice & 64) != 0 && wanted.rule) {
    wanted.rule->weekdays = 1 << 5;
    wanted.dates.removed = {wanted.series_start + 7 * 86400};
  }
  if ((choice & 128) != 0) wanted.rule.reset();

  std::string problem;
  if (!ReadCalendarObject(text, 1796000000, &problem)) Check(!problem.empty());

  const std::string patched = PatchCalendarObject(text, agreed, wanted);
  if (patched != text) {
    Check(HasMainComponent(patched));
    if (!ReadCalendarObject(patched, 1796000000, &problem)) Check(!problem.empty());
  }
  if (std::optional<std::string> done = CompletedTodoObject(text, 1796893200)) Check(HasMainComponent(*done));
  return 0;
}
