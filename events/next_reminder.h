#pragma once
// The reminder that comes next: what the notification-area icon's tip names.
#include "events/event_list.h"

// The pending reminder with the earliest reminder time (one that is overdue
// and not answered yet comes first); the first in stored order of equal
// times; nullptr when no reminder is pending.
const CMyEvent* NextReminder(const EventList& events);
