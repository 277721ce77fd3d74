#include "reminders/reminder_answer.h"

bool ApplyReminderAnswer(EventList& events, EventKey key, const ReminderAnswer& answer, Time32 now) {
  CMyEvent* event = events.Find(key);
  if (event == nullptr) return false;
  if (answer.fields.nChoice == kNoReminder) {
    // Done: the body edited in the popup goes with the event.
    events.Delete(key);
    return true;
  }
  event->timeRemind = ReminderTimeFor(answer.fields, now);
  event->strContent = answer.strContent;
  return true;
}
