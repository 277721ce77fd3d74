// A Tallyo event as a calendar component: its item, and a new object of it.
#include <libical/ical.h>

#include "calendar/calendar_object.h"
#include "calendar/local_zone.h"
#include "calendar/object_values.h"
#include "events/my_event.h"
#include "repeat/repeat_series.h"

namespace {

// "事情提醒", the reminder popup's caption: the text of an alarm whose event has no title.
constexpr char kReminderCaption[] = "\xCA\xC2\xC7\xE9\xCC\xE1\xD0\xD1";

void AddText(icalcomponent* component, icalproperty* (*make)(const char*), std::string_view cp936_text) {
  if (IsBlankText(cp936_text)) return;
  icalcomponent_add_property(component, make(TextValueOfCp936(cp936_text).c_str()));
}

icalcomponent* NewDisplayAlarm(const CalendarItem& item, std::int32_t offset, bool related_to_end) {
  icalcomponent* alarm = icalcomponent_new_valarm();
  icalcomponent_add_property(alarm, icalproperty_new_action(ICAL_ACTION_DISPLAY));
  icaltriggertype trigger{};
  trigger.time = icaltime_null_time();
  trigger.duration = icaldurationtype_from_int(offset);
  icalproperty* trigger_property = icalproperty_new_trigger(trigger);
  if (related_to_end)
    icalproperty_add_parameter(trigger_property, icalparameter_new_related(ICAL_RELATED_END));
  icalcomponent_add_property(alarm, trigger_property);
  // A display alarm must carry a text: the title, as the popup shows it.
  AddText(alarm, icalproperty_new_description, IsBlankText(item.title) ? kReminderCaption : item.title);
  return alarm;
}

// RRULE, RDATE and EXDATE of a series whose start is written in `style`
// (this PC's zone): Tallyo's reminders are the alarm's offset after the starts.
void AddSeries(icalcomponent* component, const CalendarItem& item, std::int32_t offset,
               const TimeStyle& style) {
  const std::string rule = "RRULE:" + FormatRepeatRule(RuleOfStart(*item.rule, offset, 0, style));
  if (icalproperty* property = icalproperty_new_from_string(rule.c_str())) {
    icalcomponent_add_property(component, property);
  }
  AddSeriesDates(component, item.dates, offset, style);
}

}  // namespace

CalendarItem ItemOfEvent(const CMyEvent& event, const RepeatSeries* series, std::string uid) {
  CalendarItem item;
  item.uid = std::move(uid);
  // The texts as the object holds them, so that the item read back from the
  // object written is this one.
  item.title = TitleAsWritten(event.strTitle);
  item.body = BodyAsWritten(event.strContent);
  item.reminds = event.bRemind != 0;
  item.kind = item.reminds ? CalendarKind::kEvent : CalendarKind::kTodo;
  if (item.reminds) item.remind_at = event.timeRemind;
  if (item.reminds && series != nullptr) {
    // UNTIL as a calendar object holds it (in UTC beside a zoned start), so
    // that the item read back from the object written is this one.
    item.rule = RuleForStyle(series->rule(), TimeStyle{});
    item.series_start = series->start();
    item.dates = series->dates();
  }
  return item;
}

std::string NewCalendarObject(const CalendarItem& item) {
  icalcomponent* calendar = icalcomponent_new_vcalendar();
  icalcomponent_add_property(calendar, icalproperty_new_version("2.0"));
  icalcomponent_add_property(calendar, icalproperty_new_prodid("-//Tallyo//Tallyo//ZH"));

  // A one-off to-do with a time stays one (its DUE is the time); any other
  // reminder is an event; a memo a to-do without a due date.
  const bool todo = !item.reminds || (item.kind == CalendarKind::kTodo && !item.rule);
  icalcomponent* component = todo ? icalcomponent_new_vtodo() : icalcomponent_new_vevent();
  icalcomponent_add_property(component, icalproperty_new_uid(item.uid.c_str()));
  icalcomponent_add_property(component, icalproperty_new_dtstamp(icaltime_from_timet_with_zone(
                                            NowTime(), 0, icaltimezone_get_utc_timezone())));
  std::int32_t alarm_offset = item.alarm_offset;
  WallSeconds reminder = item.series_start;
  if (item.reminds && !item.rule && !WallOfTime(item.remind_at, &reminder)) reminder = item.remind_at;
  if (item.reminds && item.all_day && !todo) {
    // An all-day event stays one: its day, and an alarm at the reminder's
    // time of it.
    TimeStyle style;
    style.kind = TimeStyle::kDate;
    const WallSeconds day = FloorDiv(reminder - item.alarm_offset, kSecondsPerDay) * kSecondsPerDay;
    alarm_offset = static_cast<std::int32_t>(reminder - day);
    icalcomponent_add_property(component, icalproperty_new_dtstart(ValueOfWall(day, style)));
    if (item.rule) AddSeries(component, item, alarm_offset, style);
  } else if (item.reminds) {
    // This PC's zone, defined in the object: a floating time would be read
    // in whatever zone the server or the phone is in.
    TimeStyle style;
    if (std::optional<LocalZone> zone = ThisPcZone()) {
      if (icalcomponent* vtimezone = icalcomponent_new_from_string(zone->vtimezone.c_str())) {
        icalcomponent_add_component(calendar, vtimezone);
        style.kind = TimeStyle::kZone;
        style.tzid = zone->tzid;
        style.zone = icalcomponent_get_timezone(calendar, zone->tzid.c_str());
        style.local = true;
      }
    }
    icaltimetype start = item.rule ? ValueOfWall(item.series_start - item.alarm_offset, style)
                                   : ValueOfMoment(item.remind_at - item.alarm_offset, style);
    icalcomponent_add_property(
        component, WithZone(todo ? icalproperty_new_due(start) : icalproperty_new_dtstart(start), style));
    if (item.rule) AddSeries(component, item, item.alarm_offset, style);
  }
  AddText(component, icalproperty_new_summary, item.title);
  AddText(component, icalproperty_new_description, item.body);
  if (todo && item.done) {
    icalcomponent_add_property(component, icalproperty_new_status(ICAL_STATUS_COMPLETED));
    icalcomponent_add_property(component, icalproperty_new_completed(icaltime_from_timet_with_zone(
                                              NowTime(), 0, icaltimezone_get_utc_timezone())));
  }
  if (item.reminds) {
    icalcomponent_add_component(component, NewDisplayAlarm(item, alarm_offset, /*related_to_end=*/todo));
  }
  icalcomponent_add_component(calendar, component);
  std::string text = TextOfCalendar(calendar);
  icalcomponent_free(calendar);
  return text;
}
