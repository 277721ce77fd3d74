#include "events/next_reminder.h"

const CMyEvent* NextReminder(const EventList& events) {
  const CMyEvent* next = nullptr;
  for (const CMyEvent& event : events.records()) {
    if (event.bRemind != 0 && (next == nullptr || event.timeRemind < next->timeRemind)) next = &event;
  }
  return next;
}
