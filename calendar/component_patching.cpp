// A server's calendar object with the fields the user changed in Tallyo
// written into it, and nothing else touched: other properties, alarms,
// attendees, X- properties, overrides, zones and parameters stay as libical
// read them; characters code page 936 cannot hold stay where the user did
// not edit.
#include <libical/ical.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "calendar/calendar_object.h"
#include "calendar/kept_characters.h"
#include "calendar/local_zone.h"
#include "calendar/object_values.h"
#include "ical/calendar_zones.h"

namespace {

using CalendarPointer = std::unique_ptr<icalcomponent, void (*)(icalcomponent*)>;

bool IsMainKind(icalcomponent_kind kind) {
  return kind == ICAL_VEVENT_COMPONENT || kind == ICAL_VTODO_COMPONENT || kind == ICAL_VJOURNAL_COMPONENT;
}

// libical marks what it could not parse with X-LIC-ERROR properties of its
// own: they are no part of the server's text.
void RemoveParseErrors(icalcomponent* component) {
  for (icalproperty* p = icalcomponent_get_first_property(component, ICAL_XLICERROR_PROPERTY);
       p != nullptr;) {
    icalproperty* next = icalcomponent_get_next_property(component, ICAL_XLICERROR_PROPERTY);
    icalcomponent_remove_property(component, p);
    icalproperty_free(p);
    p = next;
  }
  for (icalcomponent* c = icalcomponent_get_first_component(component, ICAL_ANY_COMPONENT); c != nullptr;
       c = icalcomponent_get_next_component(component, ICAL_ANY_COMPONENT)) {
    RemoveParseErrors(c);
  }
}

CalendarPointer ParseCalendar(std::string_view text) {
  // A TZID without its VTIMEZONE is one of libical's zones.
  tallyo::InitCalendarZones();
  CalendarPointer calendar(icalparser_parse_string(std::string(text).c_str()), icalcomponent_free);
  if (calendar && icalcomponent_isa(calendar.get()) != ICAL_VCALENDAR_COMPONENT) calendar.reset();
  if (calendar) RemoveParseErrors(calendar.get());
  return calendar;
}

// The component the object is about: the first VEVENT, VTODO or VJOURNAL
// that overrides no occurrence.
icalcomponent* MainComponent(icalcomponent* calendar) {
  for (icalcomponent* c = icalcomponent_get_first_component(calendar, ICAL_ANY_COMPONENT); c != nullptr;
       c = icalcomponent_get_next_component(calendar, ICAL_ANY_COMPONENT)) {
    if (IsMainKind(icalcomponent_isa(c)) &&
        icalcomponent_get_first_property(c, ICAL_RECURRENCEID_PROPERTY) == nullptr) {
      return c;
    }
  }
  return nullptr;
}

// The components overriding occurrences of `main`'s series.
std::vector<icalcomponent*> Overrides(icalcomponent* calendar, icalcomponent* main) {
  std::vector<icalcomponent*> overrides;
  const char* uid = icalcomponent_get_uid(main);
  for (icalcomponent* c = icalcomponent_get_first_component(calendar, ICAL_ANY_COMPONENT); c != nullptr;
       c = icalcomponent_get_next_component(calendar, ICAL_ANY_COMPONENT)) {
    if (c == main || icalcomponent_get_first_property(c, ICAL_RECURRENCEID_PROPERTY) == nullptr) continue;
    const char* other = icalcomponent_get_uid(c);
    if (uid == nullptr || other == nullptr || std::string_view(uid) == other) overrides.push_back(c);
  }
  return overrides;
}

void RemoveProperties(icalcomponent* component, icalproperty_kind kind) {
  while (icalproperty* p = icalcomponent_get_first_property(component, kind)) {
    icalcomponent_remove_property(component, p);
    icalproperty_free(p);
  }
}

std::string TextOf(icalcomponent* component, icalproperty_kind kind) {
  icalproperty* p = icalcomponent_get_first_property(component, kind);
  const char* text = p != nullptr ? icalvalue_get_text(icalproperty_get_value(p)) : nullptr;
  return text != nullptr ? text : "";
}

// Sets the first property of `kind` to `value` (its parameters kept), or
// removes it for an empty value.
void SetText(icalcomponent* component, icalproperty_kind kind, const std::string& value) {
  icalproperty* p = icalcomponent_get_first_property(component, kind);
  if (value.find_first_not_of(" \t") == std::string::npos) {
    if (p != nullptr) {
      icalcomponent_remove_property(component, p);
      icalproperty_free(p);
    }
    return;
  }
  if (p == nullptr) {
    p = icalproperty_new(kind);
    icalcomponent_add_property(component, p);
  }
  icalproperty_set_value(p, icalvalue_new_text(value.c_str()));
}

bool IsReminderAlarm(icalcomponent* alarm) {
  icalproperty* action = icalcomponent_get_first_property(alarm, ICAL_ACTION_PROPERTY);
  if (action == nullptr) return false;
  const icalproperty_action kind = icalproperty_get_action(action);
  return kind == ICAL_ACTION_DISPLAY || kind == ICAL_ACTION_AUDIO;
}

std::vector<icalcomponent*> Alarms(icalcomponent* component) {
  std::vector<icalcomponent*> alarms;
  for (icalcomponent* a = icalcomponent_get_first_component(component, ICAL_VALARM_COMPONENT); a != nullptr;
       a = icalcomponent_get_next_component(component, ICAL_VALARM_COMPONENT)) {
    alarms.push_back(a);
  }
  return alarms;
}

// --- texts ---

void PatchTitle(icalcomponent* main, const CalendarItem& wanted) {
  const std::string old_summary = TextOf(main, ICAL_SUMMARY_PROPERTY);
  const std::string summary =
      KeptCharacters(old_summary, ShownText(old_summary, ShownAs::kTitle), wanted.title, ShownAs::kTitle);
  SetText(main, ICAL_SUMMARY_PROPERTY, summary);
  // A display alarm that showed the title shows the new one.
  for (icalcomponent* alarm : Alarms(main)) {
    if (!old_summary.empty() && TextOf(alarm, ICAL_DESCRIPTION_PROPERTY) == old_summary) {
      SetText(alarm, ICAL_DESCRIPTION_PROPERTY,
              summary.empty() ? TextValueOfCp936("\xCA\xC2\xC7\xE9\xCC\xE1\xD0\xD1") : summary);
    }
  }
}

// Tallyo shows LOCATION as the body's last line: an edit above it changes
// DESCRIPTION alone, an edit of that line alone changes LOCATION, and any
// other edit leaves the body whole in DESCRIPTION.
void PatchBody(icalcomponent* main, const CalendarItem& wanted) {
  const std::string description = TextOf(main, ICAL_DESCRIPTION_PROPERTY);
  const std::string location = TextOf(main, ICAL_LOCATION_PROPERTY);
  const std::string shown_description = ShownText(description, ShownAs::kBody);
  if (location.empty()) {
    SetText(main, ICAL_DESCRIPTION_PROPERTY,
            KeptCharacters(description, shown_description, wanted.body, ShownAs::kBody));
    return;
  }
  const std::string shown_location = ShownText(location, ShownAs::kBody);
  const std::string separator = description.empty() ? "" : "\r\n";
  const std::string_view body = wanted.body;
  const std::string tail = separator + shown_location;
  if (body.size() >= shown_location.size() && body.ends_with(shown_location) &&
      (body.size() == shown_location.size() ||
       body.substr(0, body.size() - shown_location.size()).ends_with("\r\n"))) {
    std::string_view above = body.substr(0, body.size() - shown_location.size());
    if (above.ends_with("\r\n")) above.remove_suffix(2);
    SetText(main, ICAL_DESCRIPTION_PROPERTY,
            KeptCharacters(description, shown_description, above, ShownAs::kBody));
    return;
  }
  const std::string head = shown_description + separator;
  if (body.starts_with(head) && (!description.empty() || body.find("\r\n") == std::string_view::npos)) {
    SetText(main, ICAL_LOCATION_PROPERTY,
            KeptCharacters(location, shown_location, body.substr(head.size()), ShownAs::kBody));
    return;
  }
  const std::string whole = description + (description.empty() ? "" : "\n") + location;
  SetText(main, ICAL_DESCRIPTION_PROPERTY,
          KeptCharacters(whole, shown_description + tail, body, ShownAs::kBody));
  RemoveProperties(main, ICAL_LOCATION_PROPERTY);
}

// --- times ---

// A move of a component's times: from the moment Tallyo agreed on to the
// moment it wants, as moments and as this PC's wall times.
struct Move {
  Time32 from = 0, to = 0;
  WallSeconds from_wall = 0, to_wall = 0;
  std::int64_t Days() const {
    return FloorDiv(to_wall, kSecondsPerDay) - FloorDiv(from_wall, kSecondsPerDay);
  }
  // What moving a DATE by whole days leaves over: the change of time of day.
  WallSeconds DayTimeChange() const { return (to_wall - from_wall) - Days() * kSecondsPerDay; }
};

std::optional<Move> MoveOf(Time32 from, Time32 to) {
  Move move{from, to};
  if (!WallOfTime(from, &move.from_wall) || !WallOfTime(to, &move.to_wall)) return std::nullopt;
  return move;
}

std::optional<Move> MoveOfWalls(WallSeconds from, WallSeconds to) {
  std::optional<Time32> from_moment = TimeOfWall(from), to_moment = TimeOfWall(to);
  if (!from_moment || !to_moment) return std::nullopt;
  return Move{*from_moment, *to_moment, from, to};
}

icaltimetype ValueOf(icalproperty* property) {
  return icalvalue_get_datetime(icalproperty_get_value(property));
}

// Moves one DATE or DATE-TIME property in the way it is written.
void MoveProperty(icalproperty* property, icalcomponent* component, const Move& move) {
  const TimeStyle style = StyleOfProperty(property, component);
  icaltimetype value = ValueOf(property);
  if (style.kind == TimeStyle::kDate) {
    icaltime_adjust(&value, static_cast<int>(move.Days()), 0, 0, 0);
    icalproperty_set_value(property, icalvalue_new_date(value));
    return;
  }
  std::optional<Time32> moment = MomentOfValue(value, style);
  if (!moment) return;
  const std::int64_t moved = static_cast<std::int64_t>(*moment) + (move.to - move.from);
  if (moved < INT32_MIN || moved > INT32_MAX) return;
  icalproperty_set_value(property, icalvalue_new_datetime(ValueOfMoment(static_cast<Time32>(moved), style)));
}

void MoveAll(icalcomponent* component, icalproperty_kind kind, const Move& move) {
  for (icalproperty* p = icalcomponent_get_first_property(component, kind); p != nullptr;
       p = icalcomponent_get_next_property(component, kind)) {
    MoveProperty(p, component, move);
  }
}

// The start, its end, its due date and absolute alarms move together;
// alarms relative to the start keep their offset.
void MoveComponent(icalcomponent* main, const Move& move) {
  for (icalproperty_kind kind : {ICAL_DTSTART_PROPERTY, ICAL_DTEND_PROPERTY, ICAL_DUE_PROPERTY}) {
    MoveAll(main, kind, move);
  }
  bool date_start = false;
  if (icalproperty* start = icalcomponent_get_first_property(main, ICAL_DTSTART_PROPERTY)) {
    date_start = ValueOf(start).is_date != 0;
  }
  bool alarm_moved = false;
  for (icalcomponent* alarm : Alarms(main)) {
    icalproperty* trigger_property = icalcomponent_get_first_property(alarm, ICAL_TRIGGER_PROPERTY);
    if (trigger_property == nullptr) continue;
    icaltriggertype trigger = icalproperty_get_trigger(trigger_property);
    if (!icaltime_is_null_time(trigger.time)) {
      const std::int64_t moved =
          icaltime_as_timet_with_zone(trigger.time, icaltimezone_get_utc_timezone()) + (move.to - move.from);
      trigger.time = icaltime_from_timet_with_zone(moved, 0, icaltimezone_get_utc_timezone());
      icalproperty_set_trigger(trigger_property, trigger);
    } else if (date_start && !alarm_moved && IsReminderAlarm(alarm)) {
      // A day moves by whole days; the time of day the reminder moved by
      // goes into the first alarm.
      trigger.duration = icaldurationtype_from_int(icaldurationtype_as_int(trigger.duration) +
                                                   static_cast<int>(move.DayTimeChange()));
      icalproperty_set_trigger(trigger_property, trigger);
      alarm_moved = true;
    }
  }
  if (date_start && !alarm_moved && move.DayTimeChange() != 0) {
    // An all-day event without an alarm reminded at 09:00: now at the time wanted.
    icalcomponent* alarm = icalcomponent_new_valarm();
    icalcomponent_add_property(alarm, icalproperty_new_action(ICAL_ACTION_DISPLAY));
    icalcomponent_add_property(alarm,
                               icalproperty_new_trigger(icaltriggertype_from_int(static_cast<int>(
                                   move.to_wall - FloorDiv(move.to_wall, kSecondsPerDay) * kSecondsPerDay))));
    const std::string summary = TextOf(main, ICAL_SUMMARY_PROPERTY);
    SetText(alarm, ICAL_DESCRIPTION_PROPERTY,
            summary.empty() ? TextValueOfCp936("\xCA\xC2\xC7\xE9\xCC\xE1\xD0\xD1") : summary);
    icalcomponent_add_component(main, alarm);
  }
}

// The property a series counts from: DTSTART, or DUE of a to-do without one.
icalproperty* StartProperty(icalcomponent* main) {
  if (icalproperty* start = icalcomponent_get_first_property(main, ICAL_DTSTART_PROPERTY)) return start;
  return icalcomponent_get_first_property(main, ICAL_DUE_PROPERTY);
}

// The single dates the overrides of `main` stand for in Tallyo, as the
// reading folds them in: each takes its occurrence away and adds its own
// start (unless cancelled), `lead` later.
RepeatDates OverrideDates(icalcomponent* calendar, icalcomponent* main, WallSeconds lead) {
  RepeatDates dates;
  auto wall_of = [](icalcomponent* component, icalproperty_kind kind) -> std::optional<WallSeconds> {
    icalproperty* property = icalcomponent_get_first_property(component, kind);
    if (property == nullptr) return std::nullopt;
    std::optional<Time32> moment = MomentOfValue(ValueOf(property), StyleOfProperty(property, component));
    WallSeconds wall = 0;
    if (!moment || !WallOfTime(*moment, &wall)) return std::nullopt;
    return wall;
  };
  for (icalcomponent* override_component : Overrides(calendar, main)) {
    if (std::optional<WallSeconds> replaced = wall_of(override_component, ICAL_RECURRENCEID_PROPERTY)) {
      dates.removed.push_back(*replaced + lead);
    }
    std::optional<WallSeconds> start = wall_of(override_component, ICAL_DTSTART_PROPERTY);
    if (start && icalcomponent_get_status(override_component) != ICAL_STATUS_CANCELLED) {
      dates.added.push_back(*start + lead);
    }
  }
  return dates;
}

std::vector<WallSeconds> Without(const std::vector<WallSeconds>& walls,
                                 const std::vector<WallSeconds>& taken) {
  std::vector<WallSeconds> left;
  for (WallSeconds wall : walls) {
    if (std::find(taken.begin(), taken.end(), wall) == taken.end()) left.push_back(wall);
  }
  return left;
}

// RRULE, RDATE and EXDATE of `wanted` written beside the component's
// start, in the way the start is written; the dates its overrides stand
// for stay theirs.
void WriteSeries(icalcomponent* calendar, icalcomponent* main, const CalendarItem& wanted, bool rule_changed,
                 bool dates_changed) {
  icalproperty* start = StartProperty(main);
  if (start == nullptr) return;
  const TimeStyle style = StyleOfProperty(start, main);
  const icaltimetype written = ValueOf(start);
  std::optional<Time32> start_moment = MomentOfValue(written, style);
  WallSeconds start_wall = 0;
  if (!start_moment || !WallOfTime(*start_moment, &start_wall)) return;
  const WallSeconds lead = wanted.series_start - start_wall;
  if (rule_changed) {
    RemoveProperties(main, ICAL_RRULE_PROPERTY);
    const std::int64_t written_day = DaysFromCivil(written.year, written.month, written.day);
    const RepeatRule rule =
        RuleOfStart(*wanted.rule, lead, written_day - FloorDiv(start_wall, kSecondsPerDay), style);
    const std::string text = "RRULE:" + FormatRepeatRule(rule);
    if (icalproperty* property = icalproperty_new_from_string(text.c_str()))
      icalcomponent_add_property(main, property);
  }
  if (!dates_changed) return;
  RemoveProperties(main, ICAL_RDATE_PROPERTY);
  RemoveProperties(main, ICAL_EXDATE_PROPERTY);
  const RepeatDates overridden = OverrideDates(calendar, main, lead);
  AddSeriesDates(main,
                 RepeatDates{Without(wanted.dates.added, overridden.added),
                             Without(wanted.dates.removed, overridden.removed)},
                 lead, style);
}

void RemoveSeries(icalcomponent* calendar, icalcomponent* main) {
  for (icalproperty_kind kind :
       {ICAL_RRULE_PROPERTY, ICAL_RDATE_PROPERTY, ICAL_EXDATE_PROPERTY, ICAL_EXRULE_PROPERTY}) {
    RemoveProperties(main, kind);
  }
  // Overrides of occurrences that are gone would show as events of their own.
  for (icalcomponent* override_component : Overrides(calendar, main)) {
    icalcomponent_remove_component(calendar, override_component);
    icalcomponent_free(override_component);
  }
}

// This PC's zone for a time Tallyo adds to the object, its VTIMEZONE added
// when the calendar lacks it; UTC when the zone is unknown.
TimeStyle LocalStyle(icalcomponent* calendar) {
  TimeStyle style;
  std::optional<LocalZone> zone = ThisPcZone();
  if (!zone) return style;
  if (icalcomponent_get_timezone(calendar, zone->tzid.c_str()) == nullptr) {
    icalcomponent* vtimezone = icalcomponent_new_from_string(zone->vtimezone.c_str());
    if (vtimezone == nullptr) return style;
    icalcomponent_add_component(calendar, vtimezone);
  }
  style.kind = TimeStyle::kZone;
  style.tzid = zone->tzid;
  style.zone = icalcomponent_get_timezone(calendar, zone->tzid.c_str());
  style.local = true;
  return style;
}

// The wall time of a reminder's first occurrence: a series' start, or the one-off's moment.
std::optional<WallSeconds> ReminderWall(const CalendarItem& item) {
  if (item.rule) return item.series_start;
  WallSeconds wall = 0;
  if (!WallOfTime(item.remind_at, &wall)) return std::nullopt;
  return wall;
}

// A memo of the server that becomes a reminder: a to-do due then, with an
// alarm at its due time (a journal has no time: it becomes that to-do).
void AddReminder(icalcomponent* calendar, icalcomponent* main, const CalendarItem& wanted) {
  std::optional<WallSeconds> wall = ReminderWall(wanted);
  if (!wall) return;
  const TimeStyle style = LocalStyle(calendar);
  const icaltimetype due = ValueOfWall(*wall, style);
  if (wanted.rule) icalcomponent_add_property(main, WithZone(icalproperty_new_dtstart(due), style));
  icalcomponent_add_property(main, WithZone(icalproperty_new_due(due), style));
  icalcomponent* alarm = icalcomponent_new_valarm();
  icalcomponent_add_property(alarm, icalproperty_new_action(ICAL_ACTION_DISPLAY));
  icalproperty* trigger = icalproperty_new_trigger(icaltriggertype_from_int(0));
  icalproperty_add_parameter(trigger, icalparameter_new_related(ICAL_RELATED_END));
  icalcomponent_add_property(alarm, trigger);
  const std::string summary = TextOf(main, ICAL_SUMMARY_PROPERTY);
  SetText(alarm, ICAL_DESCRIPTION_PROPERTY,
          summary.empty() ? TextValueOfCp936("\xCA\xC2\xC7\xE9\xCC\xE1\xD0\xD1") : summary);
  icalcomponent_add_component(main, alarm);
  if (wanted.rule) WriteSeries(calendar, main, wanted, true, true);
}

// A reminder that became a memo: its times, series and reminding alarms go.
void RemoveReminder(icalcomponent* calendar, icalcomponent* main) {
  for (icalproperty_kind kind :
       {ICAL_DTSTART_PROPERTY, ICAL_DTEND_PROPERTY, ICAL_DUE_PROPERTY, ICAL_DURATION_PROPERTY}) {
    RemoveProperties(main, kind);
  }
  RemoveSeries(calendar, main);
  for (icalcomponent* alarm : Alarms(main)) {
    icalcomponent_remove_component(main, alarm);
    icalcomponent_free(alarm);
  }
}

// `main` as a to-do: the same properties (but those only an event or a
// journal has) and subcomponents, in its place. An event Tallyo made a
// memo, or a journal it made a reminder, cannot be one otherwise.
icalcomponent* AsTodo(icalcomponent* calendar, icalcomponent* main) {
  icalcomponent* todo = icalcomponent_new_vtodo();
  while (icalproperty* p = icalcomponent_get_first_property(main, ICAL_ANY_PROPERTY)) {
    icalcomponent_remove_property(main, p);
    const icalproperty_kind kind = icalproperty_isa(p);
    if (kind == ICAL_TRANSP_PROPERTY || kind == ICAL_DTEND_PROPERTY) {
      icalproperty_free(p);
    } else {
      icalcomponent_add_property(todo, p);
    }
  }
  while (icalcomponent* c = icalcomponent_get_first_component(main, ICAL_ANY_COMPONENT)) {
    icalcomponent_remove_component(main, c);
    icalcomponent_add_component(todo, c);
  }
  icalcomponent_remove_component(calendar, main);
  icalcomponent_free(main);
  icalcomponent_add_component(calendar, todo);
  return todo;
}

// Returns the main component, which a change of kind replaces.
icalcomponent* PatchTimes(icalcomponent* calendar, icalcomponent* main, const CalendarItem& agreed,
                          const CalendarItem& wanted) {
  const bool rule_changed = agreed.rule != wanted.rule;
  const bool dates_changed = agreed.dates != wanted.dates;
  if (agreed.reminds != wanted.reminds) {
    if (!wanted.reminds) {
      if (icalcomponent_isa(main) == ICAL_VEVENT_COMPONENT) main = AsTodo(calendar, main);
      RemoveReminder(calendar, main);
    } else {
      if (icalcomponent_isa(main) != ICAL_VTODO_COMPONENT) main = AsTodo(calendar, main);
      RemoveReminder(calendar, main);
      AddReminder(calendar, main, wanted);
    }
    return main;
  }
  if (!wanted.reminds) return main;

  // The first reminder, before and after: the component moves by as much.
  std::optional<WallSeconds> from = ReminderWall(agreed), to = ReminderWall(wanted);
  if (!from || !to) return main;
  std::optional<Move> move =
      agreed.rule || wanted.rule ? MoveOfWalls(*from, *to) : MoveOf(agreed.remind_at, wanted.remind_at);
  // The single dates and the overrides stay where they are, as Tallyo's
  // dates do when a series moves.
  const bool moved = move && (move->from != move->to || move->from_wall != move->to_wall);
  if (moved) MoveComponent(main, *move);
  if (!wanted.rule) {
    if (agreed.rule) RemoveSeries(calendar, main);
    return main;
  }
  // A moved start may fall on another day in its own zone than here: the
  // rule's weekdays are written again for it.
  WriteSeries(calendar, main, wanted, rule_changed || moved || !agreed.rule, dates_changed || !agreed.rule);
  return main;
}

}  // namespace

std::string PatchCalendarObject(std::string_view server_text, const CalendarItem& agreed,
                                const CalendarItem& wanted) {
  const bool texts_changed = agreed.title != wanted.title || agreed.body != wanted.body;
  const bool times_changed = agreed.reminds != wanted.reminds || agreed.rule != wanted.rule ||
                             agreed.dates != wanted.dates ||
                             (wanted.rule ? agreed.series_start != wanted.series_start
                                          : wanted.reminds && agreed.remind_at != wanted.remind_at);
  if (!texts_changed && !times_changed) return std::string(server_text);
  CalendarPointer calendar = ParseCalendar(server_text);
  icalcomponent* main = calendar ? MainComponent(calendar.get()) : nullptr;
  // Nothing of the server's could be read: nothing to keep.
  if (main == nullptr) return NewCalendarObject(wanted);
  if (agreed.title != wanted.title) PatchTitle(main, wanted);
  if (agreed.body != wanted.body) PatchBody(main, wanted);
  if (times_changed) main = PatchTimes(calendar.get(), main, agreed, wanted);
  // When it changed, and (for other attendees' copies) that its time did.
  const icaltimetype now = icaltime_from_timet_with_zone(NowTime(), 0, icaltimezone_get_utc_timezone());
  icalcomponent_set_dtstamp(main, now);
  if (icalproperty* modified = icalcomponent_get_first_property(main, ICAL_LASTMODIFIED_PROPERTY)) {
    icalproperty_set_lastmodified(modified, now);
  }
  if (times_changed) icalcomponent_set_sequence(main, icalcomponent_get_sequence(main) + 1);
  return TextOfCalendar(calendar.get());
}

std::optional<std::string> CompletedTodoObject(std::string_view server_text, Time32 now) {
  CalendarPointer calendar = ParseCalendar(server_text);
  icalcomponent* todo = calendar ? MainComponent(calendar.get()) : nullptr;
  if (todo == nullptr || icalcomponent_isa(todo) != ICAL_VTODO_COMPONENT) return std::nullopt;
  const icaltimetype done_at = icaltime_from_timet_with_zone(now, 0, icaltimezone_get_utc_timezone());
  icalcomponent_set_status(todo, ICAL_STATUS_COMPLETED);
  RemoveProperties(todo, ICAL_COMPLETED_PROPERTY);
  icalcomponent_add_property(todo, icalproperty_new_completed(done_at));
  RemoveProperties(todo, ICAL_PERCENTCOMPLETE_PROPERTY);
  icalcomponent_add_property(todo, icalproperty_new_percentcomplete(100));
  RemoveProperties(todo, ICAL_DTSTAMP_PROPERTY);
  icalcomponent_add_property(todo, icalproperty_new_dtstamp(done_at));
  return TextOfCalendar(calendar.get());
}
