#pragma once
// "检测" in the sync dialog: the calendars the server offers for what the
// user typed, by name, with what each takes; or why there are none, in
// words for the user. One call, made on a worker thread.
#include <string>
#include <string_view>
#include <vector>

#include "caldav/caldav_error.h"
#include "caldav/http_transport.h"

struct CalendarChoice {
  std::string url;           // absolute and canonical: what sync.ini keeps
  std::string name;          // code page 936; the URL's last segment when the server gives none
  bool takes_todos = false;  // memos can go there as to-dos
};

struct CalendarDiscovery {
  CalDavErrorKind error = CalDavErrorKind::kNone;
  std::string message;  // code page 936, for the dialog; "" when calendars were found
  // The calendars that take events, in the server's order.
  std::vector<CalendarChoice> calendars;
  bool ok() const { return !calendars.empty(); }
};

CalendarDiscovery DiscoverCalendars(HttpTransport& transport, std::string_view typed_address);
