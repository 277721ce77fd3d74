#include "calendar/calendar_object.h"
#include "sync/object_mapping.h"

ObjectMapping CalendarObjectMapping() {
  return ObjectMapping{ReadCalendarObject, ItemOfEvent, NewCalendarObject, PatchCalendarObject};
}
