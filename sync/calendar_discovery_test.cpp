// "检测" against a real server: radicale on 127.0.0.1, started by ctest.
#include "sync/calendar_discovery.h"

#include <gtest/gtest.h>

#include <memory>

#include "caldav/testing/radicale_test_server.h"

namespace {

std::unique_ptr<HttpTransport> Transport(const char* password) {
  HttpTransportOptions options;
  options.user = RadicaleTestServer::kUser;
  options.password = password;
  return MakeHttpTransport(options);
}

const CalendarChoice* WithUrl(const CalendarDiscovery& found, const std::string& url) {
  for (const CalendarChoice& c : found.calendars) {
    if (c.url == url) return &c;
  }
  return nullptr;
}

TEST(CalendarDiscovery, ListsTheCalendarsThatTakeEventsByName) {
  RadicaleTestServer server;
  ASSERT_EQ(server.problem(), "");
  std::unique_ptr<HttpTransport> transport = Transport(RadicaleTestServer::kPassword);
  // "工作" (UTF-8 on the wire), a calendar without a name, and one of to-dos only.
  const std::string work =
      server.MakeCalendar(*transport, "discovery-work", "\xE5\xB7\xA5\xE4\xBD\x9C", {"VEVENT", "VTODO"});
  const std::string events = server.MakeCalendar(*transport, "discovery-events", "", {"VEVENT"});
  const std::string todos = server.MakeCalendar(*transport, "discovery-todos", "Todos", {"VTODO"});
  ASSERT_FALSE(work.empty() || events.empty() || todos.empty());

  const CalendarDiscovery found = DiscoverCalendars(*transport, server.Url("/"));
  ASSERT_TRUE(found.ok()) << found.message;
  EXPECT_EQ(found.message, "");
  const CalendarChoice* w = WithUrl(found, work);
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->name, "\xB9\xA4\xD7\xF7");  // 工作, code page 936
  EXPECT_TRUE(w->takes_todos);
  const CalendarChoice* e = WithUrl(found, events);
  ASSERT_NE(e, nullptr);
  EXPECT_FALSE(e->name.empty());  // named after its address when the server gives no name
  EXPECT_FALSE(e->takes_todos);
  EXPECT_EQ(WithUrl(found, todos), nullptr);  // no place for a reminder

  // The calendar's own address gives just that calendar.
  const CalendarDiscovery one = DiscoverCalendars(*transport, work);
  ASSERT_EQ(one.calendars.size(), 1u) << one.message;
  EXPECT_EQ(one.calendars[0].url, work);
}

TEST(CalendarDiscovery, SaysWhyInWordsForTheUser) {
  RadicaleTestServer server;
  ASSERT_EQ(server.problem(), "");
  const CalendarDiscovery refused = DiscoverCalendars(*Transport("wrong"), server.Url("/"));
  EXPECT_FALSE(refused.ok());
  EXPECT_EQ(refused.error, CalDavErrorKind::kAuth);
  // "服务器拒绝了这个用户名和密码"
  EXPECT_EQ(refused.message,
            "\xB7\xFE\xCE\xF1\xC6\xF7\xBE\xDC\xBE\xF8\xC1\xCB\xD5\xE2\xB8\xF6\xD3\xC3\xBB\xA7\xC3\xFB\xBA\xCD"
            "\xC3\xDC\xC2\xEB");

  // Nothing listens on port 1 of this machine.
  const CalendarDiscovery unreachable =
      DiscoverCalendars(*Transport(RadicaleTestServer::kPassword), "http://127.0.0.1:1/");
  EXPECT_EQ(unreachable.error, CalDavErrorKind::kUnreachable);
  // "连不上服务器：" and the server's name.
  EXPECT_EQ(unreachable.message.rfind("\xC1\xAC\xB2\xBB\xC9\xCF\xB7\xFE\xCE\xF1\xC6\xF7\xA3\xBA", 0), 0u);
  EXPECT_NE(unreachable.message.find("127.0.0.1:1"), std::string::npos) << unreachable.message;

  const CalendarDiscovery nonsense = DiscoverCalendars(*Transport(RadicaleTestServer::kPassword), "ftp://x");
  EXPECT_FALSE(nonsense.ok());
  EXPECT_FALSE(nonsense.message.empty());
}

}  // namespace
