#pragma once
// EventKey: which event a row, a dialog, a popup or a command means.
//
// The creation time alone does not do: events made in the same second
// (tallyo-cli add three times in a second, two copies of the program adding
// at once, files from older versions) share it. The key adds the event's
// place among the events of that second in stored order, the rule the
// calendar export's UIDs follow ("<created>-<twin>@..."). A key is checked
// against the list again before every change: a reload or a delete may have
// given it to another event, or to none.
#include <compare>
#include <cstdint>

#include "base/local_time.h"

struct EventKey {
  Time32 created = 0;
  // 0 for the first event created in that second, in stored order, 1 for the next...
  std::uint32_t twin = 0;

  friend bool operator==(const EventKey&, const EventKey&) = default;
  friend auto operator<=>(const EventKey&, const EventKey&) = default;
};
