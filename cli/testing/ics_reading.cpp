#include "cli/testing/ics_reading.h"

#include <gtest/gtest.h>
#include <libical/ical.h>

#include <cstdio>

#include "base/text_convert.h"

namespace {

std::string Text(const char* text) { return text != nullptr ? text : ""; }

std::int64_t Seconds(icaltimetype time, bool* in_utc) {
  if (!icaltime_is_utc(time)) *in_utc = false;
  return static_cast<std::int64_t>(icaltime_as_timet(time));
}

std::string DescribeAlarm(icalcomponent* alarm) {
  std::string text;
  icalproperty* action = icalcomponent_get_first_property(alarm, ICAL_ACTION_PROPERTY);
  text += action ? Text(icalproperty_get_value_as_string(action)) : "(no action)";
  icalproperty* trigger = icalcomponent_get_first_property(alarm, ICAL_TRIGGER_PROPERTY);
  if (trigger == nullptr) {
    text += " (no trigger)";
  } else {
    icaltriggertype when = icalproperty_get_trigger(trigger);
    icalparameter* related = icalproperty_get_first_parameter(trigger, ICAL_RELATED_PARAMETER);
    bool of_end = related != nullptr && icalparameter_get_related(related) == ICAL_RELATED_END;
    text += icaltime_is_null_time(when.time)
                ? " at +" + std::to_string(icaldurationtype_as_int(when.duration)) +
                      (of_end ? " of END" : " of START")
                : " at a fixed time";
  }
  icalproperty* description = icalcomponent_get_first_property(alarm, ICAL_DESCRIPTION_PROPERTY);
  text += ": " + (description ? Text(icalproperty_get_description(description)) : "(no description)");
  return text;
}

ReadComponent ReadOne(icalcomponent* component) {
  ReadComponent read;
  read.kind = icalcomponent_kind_to_string(icalcomponent_isa(component));
  read.uid = Text(icalcomponent_get_uid(component));
  read.summary = Text(icalcomponent_get_summary(component));
  read.has_description = icalcomponent_get_first_property(component, ICAL_DESCRIPTION_PROPERTY) != nullptr;
  read.description = Text(icalcomponent_get_description(component));
  read.start = Seconds(icalcomponent_get_dtstart(component), &read.times_in_utc);
  read.stamp = Seconds(icalcomponent_get_dtstamp(component), &read.times_in_utc);
  icalproperty* created = icalcomponent_get_first_property(component, ICAL_CREATED_PROPERTY);
  if (created != nullptr) {
    read.created = Seconds(icalproperty_get_created(created), &read.times_in_utc);
  } else {
    read.times_in_utc = false;
  }
  icaltimetype start = icalcomponent_get_dtstart(component);
  if (!icaltime_is_null_time(start) && !icaltime_is_utc(start) && icaltime_get_timezone(start) == nullptr) {
    read.floating_start = Text(icaltime_as_ical_string(start));
  }
  if (icalproperty* rule = icalcomponent_get_first_property(component, ICAL_RRULE_PROPERTY)) {
    icalrecurrencetype recurrence = icalproperty_get_rrule(rule);
    read.rrule = Text(icalrecurrencetype_as_string(&recurrence));
    icalrecur_iterator* it = icalrecur_iterator_new(recurrence, start);
    for (int i = 0; it != nullptr && i < 20; ++i) {
      icaltimetype next = icalrecur_iterator_next(it);
      if (icaltime_is_null_time(next)) break;
      char text[32];
      std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", next.year, next.month, next.day,
                    next.hour, next.minute, next.second);
      read.first_occurrences.push_back(text);
    }
    if (it != nullptr) icalrecur_iterator_free(it);
  }
  // EXDATE and RDATE values, floating ones only (as the export writes them).
  auto floating = [](icaltimetype t) {
    return !icaltime_is_null_time(t) && !icaltime_is_utc(t) && icaltime_get_timezone(t) == nullptr
               ? Text(icaltime_as_ical_string(t))
               : std::string("not floating");
  };
  for (icalproperty* p = icalcomponent_get_first_property(component, ICAL_EXDATE_PROPERTY); p != nullptr;
       p = icalcomponent_get_next_property(component, ICAL_EXDATE_PROPERTY)) {
    read.exdates.push_back(floating(icalproperty_get_exdate(p)));
  }
  for (icalproperty* p = icalcomponent_get_first_property(component, ICAL_RDATE_PROPERTY); p != nullptr;
       p = icalcomponent_get_next_property(component, ICAL_RDATE_PROPERTY)) {
    read.rdates.push_back(floating(icalproperty_get_rdate(p).time));
  }
  for (icalcomponent* alarm = icalcomponent_get_first_component(component, ICAL_VALARM_COMPONENT);
       alarm != nullptr; alarm = icalcomponent_get_next_component(component, ICAL_VALARM_COMPONENT)) {
    read.alarms.push_back(DescribeAlarm(alarm));
  }
  return read;
}

std::string FirstError(icalcomponent* component) {
  icalproperty* error = icalcomponent_get_first_property(component, ICAL_XLICERROR_PROPERTY);
  if (error != nullptr) return Text(icalproperty_get_xlicerror(error));
  for (icalcomponent* inner = icalcomponent_get_first_component(component, ICAL_ANY_COMPONENT);
       inner != nullptr; inner = icalcomponent_get_next_component(component, ICAL_ANY_COMPONENT)) {
    std::string found = FirstError(inner);
    if (!found.empty()) return found;
  }
  return "";
}

}  // namespace

ReadCalendar ReadIcs(const std::string& text) {
  ReadCalendar calendar;
  icalcomponent* root = icalparser_parse_string(text.c_str());
  if (root == nullptr) return calendar;
  calendar.parsed = icalcomponent_isa(root) == ICAL_VCALENDAR_COMPONENT;
  if (calendar.parsed) {
    calendar.errors = icalcomponent_count_errors(root);
    calendar.first_error = FirstError(root);
    calendar.version =
        Text(icalproperty_get_version(icalcomponent_get_first_property(root, ICAL_VERSION_PROPERTY)));
    calendar.prodid =
        Text(icalproperty_get_prodid(icalcomponent_get_first_property(root, ICAL_PRODID_PROPERTY)));
    for (icalcomponent* c = icalcomponent_get_first_component(root, ICAL_ANY_COMPONENT); c != nullptr;
         c = icalcomponent_get_next_component(root, ICAL_ANY_COMPONENT)) {
      calendar.components.push_back(ReadOne(c));
    }
  }
  icalcomponent_free(root);
  return calendar;
}

std::string ExpectedIcsText(const std::string& cp936_text) {
  std::string utf8 = cp936::ToUtf8(cp936_text);
  std::string out;
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(utf8[i]);
    if (c == '\r' || c == '\n') {
      out += '\n';
      if (c == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n') ++i;
    } else if ((c >= 0x20 && c != 0x7F) || c == '\t') {
      out += static_cast<char>(c);
    }
  }
  // The parser trims spaces and tabs around a value (iCalendar has no escape for them).
  std::size_t first = out.find_first_not_of(" \t");
  if (first == std::string::npos) return "";
  return out.substr(first, out.find_last_not_of(" \t") - first + 1);
}

void ExpectReadsBackAs(const ReadComponent& read, const CMyEvent& event) {
  const bool reminder = event.bRemind != 0;
  EXPECT_EQ(read.kind, reminder ? "VEVENT" : "VJOURNAL");
  EXPECT_EQ(read.summary, ExpectedIcsText(event.strTitle));
  EXPECT_EQ(read.description, ExpectedIcsText(event.strContent));
  EXPECT_TRUE(read.times_in_utc);
  EXPECT_EQ(read.created, event.timeCreate);
  EXPECT_EQ(read.stamp, event.timeCreate);
  EXPECT_EQ(read.start, reminder ? event.timeRemind : event.timeCreate);
  if (reminder) {
    ASSERT_EQ(read.alarms.size(), 1u);
    std::string title = ExpectedIcsText(event.strTitle);
    EXPECT_EQ(read.alarms[0], "DISPLAY at +0 of START: " + (title.empty() ? "事情提醒" : title));
  } else {
    EXPECT_TRUE(read.alarms.empty());
  }
}
