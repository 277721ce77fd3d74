#pragma once
// What the user answered in the reminder popup, and how the answer changes
// the event it was given for.
#include <string>

#include "base/local_time.h"
#include "events/event_key.h"
#include "events/event_list.h"
#include "events/reminder_choice.h"

struct ReminderAnswer {
  // kNoReminder: done, the event is deleted; kRemindAtDateTime: again at the
  // pickers' day and time; any other kind: again after nMinutes.
  ReminderFields fields;
  // The body as edited in the popup; replaces the stored one unless the
  // event is deleted.
  std::string strContent;
};

// Applies `answer` to the event named by `key`, found again now: the popup
// held only a copy, and the event may have been deleted or reloaded while it
// was open. Returns false, and changes nothing, when there is no such event
// any more.
bool ApplyReminderAnswer(EventList& events, EventKey key, const ReminderAnswer& answer, Time32 now);
