#pragma once
// Field by field, what changed in a calendar item and how two sides' changes
// come together. The fields are the ones Tallyo shows: title, body, time and
// rule. For a series the time is where it starts, not the occurrence awaited
// now: answering a series' reminder moves only that, and changes nothing
// that another device sees.
#include <cstdint>

#include "calendar/calendar_item.h"

enum ItemField : std::uint8_t {
  kFieldTitle = 1,
  kFieldBody = 2,
  kFieldTime = 4,
  kFieldRule = 8,
};
using ItemFields = std::uint8_t;  // a set of ItemField

// The fields in which `a` and `b` differ.
ItemFields ChangedFields(const CalendarItem& a, const CalendarItem& b);

// `fields` of `from` written into `to`.
void CopyFields(const CalendarItem& from, ItemFields fields, CalendarItem& to);

struct ItemMerge {
  // Each field as the side that changed it has it (Tallyo's where both did).
  CalendarItem merged;
  // Fields both sides changed, to different values: the server's version of
  // them goes into a conflict copy.
  ItemFields conflicts = 0;
  // Fields in which `merged` differs from the server's item (to push), and
  // from Tallyo's (to apply locally).
  ItemFields to_server = 0;
  ItemFields to_local = 0;
};

// Three-way: `agreed` is the item both sides last agreed on.
ItemMerge MergeItems(const CalendarItem& agreed, const CalendarItem& local, const CalendarItem& server);
