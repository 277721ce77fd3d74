#include "calendar/object_values.h"

#include <utility>

#include "base/text_convert.h"

std::string TextValueOfCp936(std::string_view cp936_text) {
  const std::string utf8 = cp936::ToUtf8(cp936_text);
  std::string value;
  value.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const char c = utf8[i];
    if (c == '\r') {
      value += '\n';
      if (i + 1 < utf8.size() && utf8[i + 1] == '\n') ++i;
    } else if (c == '\n' || c == '\t' || static_cast<unsigned char>(c) >= 0x20) {
      if (c != 0x7F) value += c;
    }
  }
  return value;
}

bool IsBlankText(std::string_view cp936_text) {
  return cp936_text.find_first_not_of(" \t") == std::string_view::npos;
}

namespace {

// Bytes below 0x40 are characters of their own in code page 936 (a trail
// byte is 0x40 or above): line breaks, controls and blanks are found bytewise.
std::string AsWritten(std::string_view text, bool one_line) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      if (one_line) {
        out += ' ';
      } else {
        out += "\r\n";
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      }
    } else if (c == '\t' || (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F)) {
      out += c;
    }
  }
  const std::size_t first = out.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  return out.substr(first, out.find_last_not_of(" \t") + 1 - first);
}

}  // namespace

std::string TitleAsWritten(std::string_view cp936_text) { return AsWritten(cp936_text, true); }
std::string BodyAsWritten(std::string_view cp936_text) { return AsWritten(cp936_text, false); }

TimeStyle StyleOfProperty(icalproperty* property, icalcomponent* component) {
  TimeStyle style;
  const icaltimetype value = icalvalue_get_datetime(icalproperty_get_value(property));
  if (value.is_date) {
    style.kind = TimeStyle::kDate;
  } else if (icalparameter* tzid = icalproperty_get_first_parameter(property, ICAL_TZID_PARAMETER)) {
    style.kind = TimeStyle::kZone;
    style.tzid = icalparameter_get_tzid(tzid);
    // The calendar's own VTIMEZONE first, then libical's zone of that name.
    icalcomponent* calendar = component;
    while (icalcomponent* parent = icalcomponent_get_parent(calendar)) calendar = parent;
    style.zone = icalcomponent_get_timezone(calendar, style.tzid.c_str());
    if (style.zone == nullptr) style.zone = icaltimezone_get_builtin_timezone(style.tzid.c_str());
  } else if (icaltime_is_utc(value)) {
    style.kind = TimeStyle::kUtc;
  } else {
    style.kind = TimeStyle::kFloating;
  }
  return style;
}

namespace {

// A zone whose conversion libical does: not this PC's own, and known.
bool ConvertedByLibical(const TimeStyle& style) {
  return style.kind == TimeStyle::kZone && !style.local && style.zone != nullptr;
}

WallSeconds WallOfValue(icaltimetype value) {
  return WallFromCivil(value.year, value.month, value.day, value.is_date ? 0 : value.hour,
                       value.is_date ? 0 : value.minute, value.is_date ? 0 : value.second);
}

icaltimetype FloatingValueOfWall(WallSeconds wall, bool date) {
  const LocalTime civil = CivilFromWall(wall);
  icaltimetype value = icaltime_null_time();
  value.year = civil.year;
  value.month = civil.month;
  value.day = civil.day;
  value.is_date = date ? 1 : 0;
  if (!date) {
    value.hour = civil.hour;
    value.minute = civil.minute;
    value.second = civil.second;
  }
  return value;
}

std::optional<Time32> InRange(std::int64_t seconds) {
  if (seconds < INT32_MIN || seconds > INT32_MAX) return std::nullopt;
  return static_cast<Time32>(seconds);
}

}  // namespace

std::optional<Time32> MomentOfValue(icaltimetype value, const TimeStyle& style) {
  if (icaltime_is_null_time(value)) return std::nullopt;
  if (!value.is_date) {
    if (style.kind == TimeStyle::kUtc || icaltime_is_utc(value)) {
      return InRange(icaltime_as_timet_with_zone(value, icaltimezone_get_utc_timezone()));
    }
    if (ConvertedByLibical(style)) {
      value.zone = nullptr;
      return InRange(icaltime_as_timet_with_zone(value, style.zone));
    }
  }
  return TimeOfWall(WallOfValue(value));
}

icaltimetype ValueOfMoment(Time32 moment, const TimeStyle& style) {
  if (style.kind == TimeStyle::kUtc) {
    return icaltime_from_timet_with_zone(moment, 0, icaltimezone_get_utc_timezone());
  }
  if (ConvertedByLibical(style)) {
    icaltimetype value = icaltime_from_timet_with_zone(moment, 0, style.zone);
    value.zone = nullptr;  // the TZID parameter names it
    return value;
  }
  WallSeconds wall = 0;
  if (!WallOfTime(moment, &wall)) wall = moment;
  return FloatingValueOfWall(wall, style.kind == TimeStyle::kDate);
}

icaltimetype ValueOfWall(WallSeconds wall, const TimeStyle& style) {
  if (style.kind == TimeStyle::kUtc || ConvertedByLibical(style)) {
    if (std::optional<Time32> moment = TimeOfWall(wall)) return ValueOfMoment(*moment, style);
  }
  return FloatingValueOfWall(wall, style.kind == TimeStyle::kDate);
}

icalproperty* WithZone(icalproperty* property, const TimeStyle& style) {
  icalproperty_remove_parameter_by_kind(property, ICAL_TZID_PARAMETER);
  if (style.kind == TimeStyle::kZone)
    icalproperty_add_parameter(property, icalparameter_new_tzid(style.tzid.c_str()));
  return property;
}

void SetTimeValue(icalproperty* property, icaltimetype value, const TimeStyle& style) {
  icalproperty_set_value(property, value.is_date ? icalvalue_new_date(value) : icalvalue_new_datetime(value));
  WithZone(property, style);
}

RepeatRule RuleForStyle(RepeatRule rule, const TimeStyle& style) {
  if (!rule.until) return rule;
  const WallSeconds until = *rule.until;
  switch (style.kind) {
    case TimeStyle::kZone:
    case TimeStyle::kUtc: {
      std::optional<Time32> moment;
      if (rule.until_form == UntilForm::kLocal) moment = TimeOfWall(until);
      if (rule.until_form == UntilForm::kDate) {
        // The day is included whole: up to the last second before the next.
        if (std::optional<Time32> next_day = TimeOfWall(until + kSecondsPerDay)) moment = *next_day - 1;
      }
      if (moment) {
        rule.until = *moment;
        rule.until_form = UntilForm::kUtc;
      }
      break;
    }
    case TimeStyle::kDate: {
      WallSeconds wall = until;
      if (rule.until_form == UntilForm::kUtc && !WallOfTime(static_cast<Time32>(until), &wall)) wall = until;
      rule.until = FloorDiv(wall, kSecondsPerDay) * kSecondsPerDay;
      rule.until_form = UntilForm::kDate;
      break;
    }
    case TimeStyle::kFloating: {
      WallSeconds wall = until;
      if (rule.until_form == UntilForm::kUtc && !WallOfTime(static_cast<Time32>(until), &wall)) wall = until;
      if (rule.until_form == UntilForm::kDate) wall = until + kSecondsPerDay - 1;
      rule.until = wall;
      rule.until_form = UntilForm::kLocal;
      break;
    }
  }
  return rule;
}

RepeatRule RuleOfStart(RepeatRule rule, WallSeconds lead, std::int64_t turn_days, const TimeStyle& style) {
  if (rule.until && rule.until_form != UntilForm::kDate) *rule.until -= lead;
  const int turn = static_cast<int>(((turn_days % 7) + 7) % 7);
  if (turn != 0) {
    WeekdaySet turned = 0;
    for (int day = 0; day < 7; ++day) {
      if ((rule.weekdays & (1 << day)) != 0) turned |= static_cast<WeekdaySet>(1 << ((day + turn) % 7));
    }
    rule.weekdays = turned;
    for (OrdinalWeekday& day : rule.ordinal_weekdays) day.weekday = (day.weekday + turn) % 7;
  }
  return RuleForStyle(std::move(rule), style);
}

void AddSeriesDates(icalcomponent* component, const RepeatDates& dates, WallSeconds lead,
                    const TimeStyle& style) {
  // A day is the day of its reminder, less the whole days the reminder leads by.
  if (style.kind == TimeStyle::kDate) lead = FloorDiv(lead, kSecondsPerDay) * kSecondsPerDay;
  for (WallSeconds wall : dates.added) {
    icaldatetimeperiodtype date{};
    date.time = ValueOfWall(wall - lead, style);
    date.period = icalperiodtype_null_period();
    icalcomponent_add_property(component, WithZone(icalproperty_new_rdate(date), style));
  }
  for (WallSeconds wall : dates.removed) {
    icalcomponent_add_property(component,
                               WithZone(icalproperty_new_exdate(ValueOfWall(wall - lead, style)), style));
  }
}

std::string TextOfCalendar(icalcomponent* calendar) {
  char* text = icalcomponent_as_ical_string_r(calendar);
  std::string result = text != nullptr ? text : "";
  icalmemory_free_buffer(text);
  return result;
}
