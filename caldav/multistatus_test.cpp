#include "caldav/multistatus.h"

#include <gtest/gtest.h>

namespace {
Multistatus Read(const std::string& body, const std::string& url = "http://h/user/cal/", bool skip = true) {
  Multistatus out;
  std::string error;
  EXPECT_TRUE(ReadMultistatus(body, {url, skip}, out, error)) << error;
  return out;
}
}  // namespace

TEST(Multistatus, ReadsACalendarListingWithAnyPrefixes) {
  Multistatus m = Read(R"(<?xml version="1.0"?>
<d:multistatus xmlns:d="DAV:" xmlns:cal="urn:ietf:params:xml:ns:caldav" xmlns:cs="http://calendarserver.org/ns/">
 <d:response><d:href>/user/</d:href>
  <d:propstat><d:prop><d:resourcetype><d:collection/></d:resourcetype></d:prop><d:status>HTTP/1.1 200 OK</d:status></d:propstat>
 </d:response>
 <d:response><d:href>http://h/user/work%20cal/</d:href>
  <d:propstat><d:prop>
    <d:displayname> Work </d:displayname>
    <d:resourcetype><d:collection/><cal:calendar/></d:resourcetype>
    <cal:supported-calendar-component-set><cal:comp name="vevent"/><cal:comp name="VTODO"/></cal:supported-calendar-component-set>
    <cs:getctag>"c1"</cs:getctag><d:sync-token>http://h/sync/7</d:sync-token>
    <d:supported-report-set><d:supported-report><d:report><d:sync-collection/></d:report></d:supported-report>
      <d:supported-report><d:report><cal:calendar-multiget/></d:report></d:supported-report></d:supported-report-set>
  </d:prop><d:status>HTTP/1.1 200 OK</d:status></d:propstat>
  <d:propstat><d:prop><cal:calendar-home-set/><d:getetag/></d:prop><d:status>HTTP/1.1 404 Not Found</d:status></d:propstat>
 </d:response>
</d:multistatus>)",
                       "http://h/user/", false);
  ASSERT_EQ(m.responses.size(), 2u);
  EXPECT_EQ(m.responses[0].href, "http://h/user/");
  EXPECT_TRUE(m.responses[0].is_collection);
  EXPECT_FALSE(m.responses[0].is_calendar);
  const DavResponse& cal = m.responses[1];
  EXPECT_EQ(cal.href, "http://h/user/work%20cal/");
  EXPECT_TRUE(cal.is_calendar);
  EXPECT_EQ(cal.displayname, "Work");
  EXPECT_EQ(cal.components, (std::vector<std::string>{"VEVENT", "VTODO"}));
  EXPECT_EQ(cal.ctag, "\"c1\"");
  EXPECT_EQ(cal.sync_token, "http://h/sync/7");
  EXPECT_TRUE(cal.SupportsReport(kDavNs, "sync-collection"));
  EXPECT_TRUE(cal.SupportsReport(kCalDavNs, "calendar-multiget"));
  EXPECT_FALSE(cal.SupportsReport(kCalDavNs, "calendar-query"));
  EXPECT_FALSE(cal.etag);
  EXPECT_FALSE(cal.Has(kDavNs, "getetag"));
  EXPECT_EQ(cal.property_status.at("{DAV:}getetag"), 404);
  EXPECT_TRUE(cal.Has(kDavNs, "displayname"));
}

TEST(Multistatus, ReadsPrincipalAndHomeHrefsRelativeToTheRequest) {
  Multistatus m =
      Read(R"(<multistatus xmlns="DAV:" xmlns:C="urn:ietf:params:xml:ns:caldav"><response><href>./</href>
<propstat><prop><current-user-principal><href>../principals/me/</href></current-user-principal>
<C:calendar-home-set><href>https://p07.example.com/home/</href><href>/home2/</href></C:calendar-home-set></prop>
<status>HTTP/1.1 200 OK</status></propstat></response></multistatus>)",
           "https://h/dav/", false);
  ASSERT_EQ(m.responses.size(), 1u);
  EXPECT_EQ(m.responses[0].href, "https://h/dav/");
  EXPECT_EQ(m.responses[0].current_user_principal, "https://h/principals/me/");
  EXPECT_EQ(m.responses[0].calendar_home_set,
            (std::vector<std::string>{"https://p07.example.com/home/", "https://h/home2/"}));
}

TEST(Multistatus, ReadsASyncReportWithDeletionsAndTruncation) {
  Multistatus m = Read(R"(<D:multistatus xmlns:D="DAV:">
<D:response><D:href>/user/cal/a.ics</D:href><D:propstat><D:prop><D:getetag>"e1"</D:getetag></D:prop>
  <D:status>HTTP/1.1 200 OK</D:status></D:propstat></D:response>
<D:response><D:href>/user/cal/gone.ics</D:href><D:status>HTTP/1.1 404 Not Found</D:status></D:response>
<D:response><D:href>/user/cal/</D:href><D:status>HTTP/1.1 507 Insufficient Storage</D:status></D:response>
<D:sync-token>http://h/sync/8</D:sync-token></D:multistatus>)");
  EXPECT_EQ(m.sync_token, "http://h/sync/8");
  EXPECT_TRUE(m.truncated);
  ASSERT_EQ(m.responses.size(), 2u);
  EXPECT_EQ(m.responses[0].etag, "\"e1\"");
  EXPECT_EQ(m.responses[0].status, 0);
  EXPECT_EQ(m.responses[1].href, "http://h/user/cal/gone.ics");
  EXPECT_EQ(m.responses[1].status, 404);
}

TEST(Multistatus, NormalisesSkipsAndDeduplicatesHrefs) {
  Multistatus m = Read(R"(<multistatus xmlns="DAV:">
<response><href></href><status>HTTP/1.1 200 OK</status></response>
<response><href>  </href><status>HTTP/1.1 200 OK</status></response>
<response><href>/user/cal</href><status>HTTP/1.1 200 OK</status></response>
<response><href>http://elsewhere/user/cal/x.ics</href><status>HTTP/1.1 200 OK</status></response>
<response><href>/user/cal/a%40b.ics</href><propstat><prop><getetag>e1</getetag></prop></propstat></response>
<response><href>/user/cal/a@b.ics</href><propstat><prop><getetag>"e2"</getetag></prop></propstat></response>
<response><href>/user/cal/m1.ics</href><href>m2.ics</href><status>HTTP/1.1 404 Not Found</status></response>
<response><status>HTTP/1.1 200 OK</status></response>
</multistatus>)");
  ASSERT_EQ(m.responses.size(), 3u);
  EXPECT_EQ(m.responses[0].href, "http://h/user/cal/a@b.ics");
  EXPECT_EQ(m.responses[0].etag, "\"e1\"") << "quotes added; the second mention is skipped";
  EXPECT_EQ(m.responses[1].href, "http://h/user/cal/m1.ics");
  EXPECT_EQ(m.responses[2].href, "http://h/user/cal/m2.ics");
  EXPECT_EQ(m.responses[2].status, 404);
}

TEST(Multistatus, RefusesWhatIsNoMultistatus) {
  Multistatus m;
  std::string error;
  EXPECT_FALSE(ReadMultistatus("<error xmlns=\"DAV:\"><valid-sync-token/></error>", {"http://h/"}, m, error));
  EXPECT_NE(error.find("<error>"), std::string::npos) << error;
  EXPECT_FALSE(ReadMultistatus("<html><body>Login</body>", {"http://h/"}, m, error));
  EXPECT_NE(error.find("not readable XML"), std::string::npos) << error;
  EXPECT_FALSE(ReadMultistatus("<multistatus/>", {"http://h/"}, m, error)) << "no namespace: not DAV:";
}

TEST(Multistatus, StatusLinesAndEtags) {
  EXPECT_EQ(ParseStatusLine("HTTP/1.1 404 Not Found"), 404);
  EXPECT_EQ(ParseStatusLine("  HTTP/1.1 200 OK\n"), 200);
  EXPECT_EQ(ParseStatusLine("HTTP/1.1 507"), 507);
  EXPECT_EQ(ParseStatusLine("HTTP/1.1 2000 OK"), 0);
  EXPECT_EQ(ParseStatusLine("HTTP/1.1 99 x"), 0);
  EXPECT_EQ(ParseStatusLine("404"), 0);
  EXPECT_EQ(ParseStatusLine(""), 0);
  EXPECT_EQ(NormaliseEtag(" \"a\" "), "\"a\"");
  EXPECT_EQ(NormaliseEtag("a"), "\"a\"");
  EXPECT_EQ(NormaliseEtag("W/\"a\""), "W/\"a\"");
  EXPECT_EQ(NormaliseEtag(""), "");
  EXPECT_TRUE(IsStrongEtag("\"a\""));
  EXPECT_FALSE(IsStrongEtag("W/\"a\""));
  EXPECT_FALSE(IsStrongEtag(""));
  EXPECT_FALSE(IsStrongEtag("\""));
}
