#pragma once
// For the tests: a calendar object parsed by libical, and what they look at.
#include <libical/ical.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

class ParsedObject {
 public:
  explicit ParsedObject(std::string_view text)
      : calendar_(icalparser_parse_string(std::string(text).c_str()), icalcomponent_free) {}

  icalcomponent* calendar() const { return calendar_.get(); }
  // The first VEVENT, VTODO or VJOURNAL without a RECURRENCE-ID.
  icalcomponent* main() const {
    if (!calendar_) return nullptr;
    for (icalcomponent* c = icalcomponent_get_first_component(calendar_.get(), ICAL_ANY_COMPONENT);
         c != nullptr; c = icalcomponent_get_next_component(calendar_.get(), ICAL_ANY_COMPONENT)) {
      const icalcomponent_kind kind = icalcomponent_isa(c);
      if ((kind == ICAL_VEVENT_COMPONENT || kind == ICAL_VTODO_COMPONENT ||
           kind == ICAL_VJOURNAL_COMPONENT) &&
          icalcomponent_get_first_property(c, ICAL_RECURRENCEID_PROPERTY) == nullptr) {
        return c;
      }
    }
    return nullptr;
  }
  // Each property of `kind` in `component` as one content line, unfolded.
  static std::vector<std::string> Lines(icalcomponent* component, icalproperty_kind kind) {
    std::vector<std::string> lines;
    for (icalproperty* p = icalcomponent_get_first_property(component, kind); p != nullptr;
         p = icalcomponent_get_next_property(component, kind)) {
      lines.push_back(Unfolded(icalproperty_as_ical_string(p)));
    }
    return lines;
  }
  static std::string Line(icalcomponent* component, icalproperty_kind kind) {
    std::vector<std::string> lines = Lines(component, kind);
    return lines.empty() ? "" : lines.front();
  }
  static std::string Unfolded(std::string text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (text.compare(i, 3, "\r\n ") == 0) {
        i += 2;
      } else if (text.compare(i, 2, "\r\n") == 0) {
        ++i;
      } else {
        out += text[i];
      }
    }
    return out;
  }

 private:
  std::unique_ptr<icalcomponent, void (*)(icalcomponent*)> calendar_;
};
