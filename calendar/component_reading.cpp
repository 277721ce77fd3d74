#include "calendar/component_reading.h"

#include <libical/ical.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>

#include "base/wall_time.h"
#include "calendar/marked_text.h"
#include "repeat/repeat_series.h"

namespace {

// "事件" (event), "待办事项" (to-do), "日志" (journal)
constexpr char kEventWord[] = "\xca\xc2\xbc\xfe";
constexpr char kTodoWord[] = "\xb4\xfd\xb0\xec\xca\xc2\xcf\xee";
constexpr char kJournalWord[] = "\xc8\xd5\xd6\xbe";
// "有损坏的行：" (a damaged line:), followed by what libical says of it
constexpr char kDamagedLine[] = "\xd3\xd0\xcb\xf0\xbb\xb5\xb5\xc4\xd0\xd0\xa3\xba";
// "没有开始时间" (no start time)
constexpr char kNoStart[] = "\xc3\xbb\xd3\xd0\xbf\xaa\xca\xbc\xca\xb1\xbc\xe4";
// "提醒时间早于 1970 年" / "提醒时间晚于 2038 年" (the reminder lies before 1970 / after 2038)
constexpr char kBefore1970[] = "\xcc\xe1\xd0\xd1\xca\xb1\xbc\xe4\xd4\xe7\xd3\xda 1970 \xc4\xea";
constexpr char kAfter2038[] = "\xcc\xe1\xd0\xd1\xca\xb1\xbc\xe4\xcd\xed\xd3\xda 2038 \xc4\xea";
// "重复规则无法读取：" (the repeat rule cannot be read:), followed by why
constexpr char kBadRule[] = "\xd6\xd8\xb8\xb4\xb9\xe6\xd4\xf2\xce\xde\xb7\xa8\xb6\xc1\xc8\xa1\xa3\xba";

// An all-day event without an alarm reminds at 09:00 that day.
constexpr WallSeconds kAllDayReminder = 9 * 3600;

// The local wall time of a moment (seconds since 1970 UTC, beyond the range
// of a time value too: a series may start before 1970).
WallSeconds LocalWallOfMoment(std::int64_t moment) {
  constexpr std::int64_t kLow = std::numeric_limits<Time32>::min();
  constexpr std::int64_t kHigh = std::numeric_limits<Time32>::max();
  const Time32 inside = static_cast<Time32>(std::clamp(moment, kLow, kHigh));
  WallSeconds wall = 0;
  // Outside the range the offset at its edge stands in.
  if (!WallOfTime(inside, &wall)) return moment;
  return moment + (wall - inside);
}

WallSeconds WrittenWall(const icaltimetype& t) {
  return WallFromCivil(t.year, t.month, t.day, t.is_date ? 0 : t.hour, t.is_date ? 0 : t.minute,
                       t.is_date ? 0 : t.second);
}

// The VCALENDAR that holds the component (of several in a file, its own).
icalcomponent* CalendarOf(icalcomponent* component) {
  while (icalcomponent* parent = icalcomponent_get_parent(component)) {
    component = parent;
    if (icalcomponent_isa(component) == ICAL_VCALENDAR_COMPONENT) break;
  }
  return component;
}

// The zone a property's TZID names: the VTIMEZONE the file carries, else
// libical's zone of that name; nullptr (floating) when neither.
icaltimezone* ZoneOf(icalproperty* property, icalcomponent* component) {
  icalparameter* tzid = icalproperty_get_first_parameter(property, ICAL_TZID_PARAMETER);
  if (tzid == nullptr) return nullptr;
  const char* name = icalparameter_get_tzid(tzid);
  if (name == nullptr || *name == '\0') return nullptr;
  if (icaltimezone* own = icalcomponent_get_timezone(CalendarOf(component), name)) return own;
  if (icaltimezone* builtin = icaltimezone_get_builtin_timezone(name)) return builtin;
  return icaltimezone_get_builtin_timezone_from_tzid(name);
}

// A time of a property with its zone, as this PC's local wall time.
struct ReadTime {
  WallSeconds local = 0;    // this PC's wall time
  WallSeconds written = 0;  // the wall time as the text writes it
  bool date = false;
};

ReadTime TimeOf(icaltimetype t, icalproperty* property, icalcomponent* component) {
  ReadTime read;
  read.date = icaltime_is_date(t) != 0;
  read.written = WrittenWall(t);
  read.local = read.written;
  if (read.date) return read;
  const icaltimezone* zone = icaltime_is_utc(t) ? icaltimezone_get_utc_timezone() : t.zone;
  if (zone == nullptr) zone = ZoneOf(property, component);
  if (zone == nullptr) return read;  // floating: this PC's wall time
  t.zone = zone;
  read.local = LocalWallOfMoment(static_cast<std::int64_t>(icaltime_as_timet_with_zone(t, zone)));
  return read;
}

std::optional<ReadTime> PropertyTime(icalcomponent* component, icalproperty_kind kind) {
  icalproperty* property = icalcomponent_get_first_property(component, kind);
  if (property == nullptr) return std::nullopt;
  icaltimetype t = icaltime_null_time();
  switch (kind) {
    case ICAL_DTSTART_PROPERTY:
      t = icalproperty_get_dtstart(property);
      break;
    case ICAL_DTEND_PROPERTY:
      t = icalproperty_get_dtend(property);
      break;
    case ICAL_DUE_PROPERTY:
      t = icalproperty_get_due(property);
      break;
    case ICAL_RECURRENCEID_PROPERTY:
      t = icalproperty_get_recurrenceid(property);
      break;
    default:
      return std::nullopt;
  }
  if (icaltime_is_null_time(t)) return std::nullopt;
  return TimeOf(t, property, component);
}

// What libical could not parse in the component or its alarms.
std::optional<std::string> ParseError(icalcomponent* component) {
  if (icalproperty* error = icalcomponent_get_first_property(component, ICAL_XLICERROR_PROPERTY)) {
    const char* text = icalproperty_get_xlicerror(error);
    return std::string(text != nullptr ? text : "");
  }
  for (icalcomponent* inner = icalcomponent_get_first_component(component, ICAL_ANY_COMPONENT); inner;
       inner = icalcomponent_get_next_component(component, ICAL_ANY_COMPONENT)) {
    if (std::optional<std::string> error = ParseError(inner)) return error;
  }
  return std::nullopt;
}

// Line breaks as the editor stores them: CR LF.
std::string CrLf(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      out += "\r\n";
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

std::string TextOf(icalcomponent* component, icalproperty_kind kind) {
  icalproperty* property = icalcomponent_get_first_property(component, kind);
  if (property == nullptr) return {};
  const char* text = nullptr;
  if (kind == ICAL_SUMMARY_PROPERTY) text = icalproperty_get_summary(property);
  if (kind == ICAL_DESCRIPTION_PROPERTY) text = icalproperty_get_description(property);
  if (kind == ICAL_LOCATION_PROPERTY) text = icalproperty_get_location(property);
  return text != nullptr ? text : "";
}

void ReadTexts(icalcomponent* component, CalendarItem* item) {
  std::string title = TextOf(component, ICAL_SUMMARY_PROPERTY);
  // The title is one line in Tallyo.
  std::replace_if(
      title.begin(), title.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
  std::string body = CrLf(TextOf(component, ICAL_DESCRIPTION_PROPERTY));
  const std::string location = CrLf(TextOf(component, ICAL_LOCATION_PROPERTY));
  if (!location.empty()) {
    if (!body.empty()) body += "\r\n";
    body += location;
  }
  item->title = Cp936Marked(title, &item->marked_characters);
  item->body = Cp936Marked(body, &item->marked_characters);
}

bool IsDone(icalcomponent* component) {
  const icalproperty_status status = icalcomponent_get_status(component);
  if (status == ICAL_STATUS_CANCELLED) return true;
  if (icalcomponent_isa(component) != ICAL_VTODO_COMPONENT) return false;
  return status == ICAL_STATUS_COMPLETED ||
         icalcomponent_get_first_property(component, ICAL_COMPLETED_PROPERTY) != nullptr;
}

// The first display or audio alarm's time, as this PC's wall time, given
// the wall times its TRIGGER may be relative to.
std::optional<WallSeconds> AlarmWall(icalcomponent* component, std::optional<WallSeconds> start,
                                     std::optional<WallSeconds> end) {
  for (icalcomponent* alarm = icalcomponent_get_first_component(component, ICAL_VALARM_COMPONENT); alarm;
       alarm = icalcomponent_get_next_component(component, ICAL_VALARM_COMPONENT)) {
    icalproperty* action = icalcomponent_get_first_property(alarm, ICAL_ACTION_PROPERTY);
    if (action == nullptr) continue;
    const icalproperty_action kind = icalproperty_get_action(action);
    if (kind != ICAL_ACTION_DISPLAY && kind != ICAL_ACTION_AUDIO) continue;
    icalproperty* trigger = icalcomponent_get_first_property(alarm, ICAL_TRIGGER_PROPERTY);
    if (trigger == nullptr) continue;
    const icaltriggertype value = icalproperty_get_trigger(trigger);
    if (!icaltime_is_null_time(value.time)) return TimeOf(value.time, trigger, alarm).local;
    icalparameter* related = icalproperty_get_first_parameter(trigger, ICAL_RELATED_PARAMETER);
    const bool to_end = related != nullptr && icalparameter_get_related(related) == ICAL_RELATED_END;
    const std::optional<WallSeconds> anchor = to_end ? (end ? end : start) : (start ? start : end);
    if (!anchor) continue;
    return *anchor + icaldurationtype_as_int(value.duration);
  }
  return std::nullopt;
}

// A series' single dates (RDATE, EXDATE and the overrides) as wall times of
// the reminder: moved by `shift` as the reminder is from the start.
void ReadDates(icalcomponent* component, const std::vector<icalcomponent*>& overrides, WallSeconds shift,
               RepeatDates* dates) {
  for (icalproperty* p = icalcomponent_get_first_property(component, ICAL_RDATE_PROPERTY); p;
       p = icalcomponent_get_next_property(component, ICAL_RDATE_PROPERTY)) {
    const icaldatetimeperiodtype value = icalproperty_get_rdate(p);
    const icaltimetype t = icaltime_is_null_time(value.time) ? value.period.start : value.time;
    if (!icaltime_is_null_time(t)) dates->added.push_back(TimeOf(t, p, component).local + shift);
  }
  for (icalproperty* p = icalcomponent_get_first_property(component, ICAL_EXDATE_PROPERTY); p;
       p = icalcomponent_get_next_property(component, ICAL_EXDATE_PROPERTY)) {
    const icaltimetype t = icalproperty_get_exdate(p);
    if (!icaltime_is_null_time(t)) dates->removed.push_back(TimeOf(t, p, component).local + shift);
  }
  for (icalcomponent* changed : overrides) {
    const std::optional<ReadTime> replaced = PropertyTime(changed, ICAL_RECURRENCEID_PROPERTY);
    if (!replaced) continue;
    dates->removed.push_back(replaced->local + shift);
    const std::optional<ReadTime> start = PropertyTime(changed, ICAL_DTSTART_PROPERTY);
    if (start && icalcomponent_get_status(changed) != ICAL_STATUS_CANCELLED)
      dates->added.push_back(start->local + shift);
  }
  for (std::vector<WallSeconds>* list : {&dates->added, &dates->removed}) {
    std::sort(list->begin(), list->end());
    list->erase(std::unique(list->begin(), list->end()), list->end());
  }
}

// A rule's weekdays turned by `days`: the start's day here differs from its
// day in the zone the calendar wrote it in (a Monday 21:00 in New York is a
// Tuesday morning in Shanghai).
void TurnWeekdays(RepeatRule* rule, std::int64_t days) {
  const int turn = static_cast<int>(((days % 7) + 7) % 7);
  if (turn == 0) return;
  WeekdaySet turned = 0;
  for (int d = 0; d < 7; ++d) {
    if ((rule->weekdays & (1 << d)) != 0) turned |= static_cast<WeekdaySet>(1 << ((d + turn) % 7));
  }
  rule->weekdays = turned;
  for (OrdinalWeekday& day : rule->ordinal_weekdays) day.weekday = (day.weekday + turn) % 7;
  std::sort(rule->ordinal_weekdays.begin(), rule->ordinal_weekdays.end(),
            [](const OrdinalWeekday& a, const OrdinalWeekday& b) {
              return a.ordinal != b.ordinal ? a.ordinal < b.ordinal : a.weekday < b.weekday;
            });
}

}  // namespace

std::string ComponentName(icalcomponent* component) {
  const icalcomponent_kind kind = icalcomponent_isa(component);
  std::string name = kind == ICAL_VTODO_COMPONENT      ? kTodoWord
                     : kind == ICAL_VJOURNAL_COMPONENT ? kJournalWord
                                                       : kEventWord;
  int marked = 0;
  const std::string summary = TextOf(component, ICAL_SUMMARY_PROPERTY);
  const char* uid = icalcomponent_get_uid(component);
  if (!summary.empty()) {
    name += " \xa1\xb0" + Cp936Marked(summary, &marked) + "\xa1\xb1";  // “...”
  } else if (uid != nullptr && *uid != '\0') {
    name += " UID " + Cp936Marked(uid, &marked);
  }
  return name;
}

bool ReadComponent(icalcomponent* component, const std::vector<icalcomponent*>& overrides, Time32 now,
                   CalendarItem* item, std::string* problem) {
  *item = CalendarItem();
  const icalcomponent_kind kind = icalcomponent_isa(component);
  item->kind = kind == ICAL_VTODO_COMPONENT      ? CalendarKind::kTodo
               : kind == ICAL_VJOURNAL_COMPONENT ? CalendarKind::kJournal
                                                 : CalendarKind::kEvent;
  if (std::optional<std::string> error = ParseError(component)) {
    *problem = kDamagedLine + Cp936Marked(*error, &item->marked_characters);
    return false;
  }
  if (const char* uid = icalcomponent_get_uid(component)) item->uid = uid;
  ReadTexts(component, item);
  item->done = IsDone(component);
  if (item->done || item->kind == CalendarKind::kJournal) return true;

  const std::optional<ReadTime> start = PropertyTime(component, ICAL_DTSTART_PROPERTY);
  std::optional<ReadTime> end;
  if (item->kind == CalendarKind::kTodo) {
    end = PropertyTime(component, ICAL_DUE_PROPERTY);
  } else if (start) {
    end = PropertyTime(component, ICAL_DTEND_PROPERTY);
    if (!end) {
      end = start;
      if (icalproperty* duration = icalcomponent_get_first_property(component, ICAL_DURATION_PROPERTY)) {
        end->local += icaldurationtype_as_int(icalproperty_get_duration(duration));
      } else if (start->date) {
        end->local += kSecondsPerDay;
      }
    }
  }
  if (item->kind == CalendarKind::kEvent && !start) {
    *problem = kNoStart;
    return false;
  }
  // What the reminder and the series are measured from: the start, or the
  // DUE of a to-do without one.
  const std::optional<ReadTime> anchor = start ? start : end;
  const std::optional<WallSeconds> alarm =
      AlarmWall(component, start ? std::optional(start->local) : std::nullopt,
                end ? std::optional(end->local) : std::nullopt);
  std::optional<WallSeconds> reminder = alarm;
  if (!reminder && item->kind == CalendarKind::kEvent)
    reminder = start->local + (start->date ? kAllDayReminder : 0);
  if (!reminder && end) reminder = end->local;  // a to-do's DUE
  item->all_day = start && start->date;
  if (!reminder || !anchor) return true;  // a to-do without alarm or DUE: a memo
  if (alarm) item->alarm_offset = static_cast<std::int32_t>(*alarm - anchor->local);
  item->reminds = true;

  icalproperty* rrule = icalcomponent_get_first_property(component, ICAL_RRULE_PROPERTY);
  if (rrule == nullptr) {
    const std::optional<Time32> moment = TimeOfWall(*reminder);
    if (!moment || *moment < 0) {
      *problem = *reminder < kSecondsPerDay ? kBefore1970 : kAfter2038;
      return false;
    }
    item->remind_at = *moment;
    item->past = *moment <= now;
    return true;
  }

  const char* rule_text = icalproperty_get_value_as_string(rrule);
  RepeatRule rule;
  const Status parsed = ParseRepeatRule(rule_text != nullptr ? rule_text : "", &rule);
  if (!parsed.ok()) {
    *problem = kBadRule + parsed.message();
    return false;
  }
  const WallSeconds shift = *reminder - anchor->local;
  if (rule.until && rule.until_form != UntilForm::kDate) *rule.until += shift;
  if (!anchor->date) {
    TurnWeekdays(&rule, FloorDiv(anchor->local, kSecondsPerDay) - FloorDiv(anchor->written, kSecondsPerDay));
  }
  ReadDates(component, overrides, shift, &item->dates);
  item->series_start = *reminder;
  item->rule = rule;
  const RepeatSeries series(item->series_start, rule, item->dates);
  if (std::optional<Time32> next = series.FirstAfter(now)) {
    item->remind_at = *next;
  } else if (item->series_start > 0 && !TimeOfWall(item->series_start)) {
    *problem = kAfter2038;  // a series that starts past the range never reminds
    return false;
  } else {
    item->past = true;
  }
  return true;
}
