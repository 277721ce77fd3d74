#pragma once
// How a pass turns calendar objects into items and Tallyo's events into
// objects: calendar/calendar_object.h's functions, behind one small seam so
// that the pass's decisions are tested with a mapping of the tests' own.
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "base/local_time.h"
#include "calendar/calendar_item.h"

class CMyEvent;
class RepeatSeries;

struct ObjectMapping {
  // The object's main component as an item; nullopt (and *problem) when it cannot be read.
  std::function<std::optional<CalendarItem>(std::string_view ics, Time32 now, std::string* problem)> read;
  std::function<CalendarItem(const CMyEvent& event, const RepeatSeries* series, std::string uid)>
      item_of_event;
  std::function<std::string(const CalendarItem& item)> new_object;
  // `server_text` with the fields that differ between `agreed` and `wanted` written in.
  std::function<std::string(std::string_view server_text, const CalendarItem& agreed,
                            const CalendarItem& wanted)>
      patch;
};

// calendar/calendar_object.h's mapping.
ObjectMapping CalendarObjectMapping();
