#include "reminders/reminder_answer.h"

bool ApplyReminderAnswer(EventList& events, Time32 created, const ReminderAnswer& answer, Time32 now) {
  CMyEvent* event = events.FindByCreateTime(created);
  if (event == nullptr) return false;
  if (answer.fields.nChoice == kNoReminder) {
    // Done: the body edited in the popup goes with the event.
    event->bRemind = 0;
    events.DeleteByCreateTime(created);
    return true;
  }
  event->timeRemind = ReminderTimeFor(answer.fields, now);
  event->strContent = answer.strContent;
  return true;
}
