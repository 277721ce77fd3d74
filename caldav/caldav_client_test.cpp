// The operations against a stand-in server, for what radicale will not do:
// Digest only, weak ETags, 429 and 507, refused tokens without radicale's
// status, hostile answers.
#include "caldav/caldav_client.h"

#include <gtest/gtest.h>

#include "caldav/testing/digest_support.h"
#include "caldav/testing/stand_in_server.h"

namespace {

constexpr char kNow[] = "Tue, 08 Dec 2026 00:00:00 GMT";
constexpr std::int64_t kNowSeconds = 1796688000;  // kNow

std::string MultistatusBody(const std::string& inside) {
  return "<?xml version=\"1.0\"?><d:multistatus xmlns:d=\"DAV:\" xmlns:c=\"urn:ietf:params:xml:ns:caldav\">" +
         inside + "</d:multistatus>";
}

std::string Member(const std::string& href, const std::string& etag) {
  return "<d:response><d:href>" + href + "</d:href><d:propstat><d:prop><d:getetag>" + etag +
         "</d:getetag></d:prop><d:status>HTTP/1.1 200 OK</d:status></d:propstat></d:response>";
}

std::string Gone(const std::string& href) {
  return "<d:response><d:href>" + href + "</d:href><d:status>HTTP/1.1 404 Not Found</d:status></d:response>";
}

struct Fixture {
  explicit Fixture(StandInServer::Handler handler, std::string user = "", std::string password = "")
      : server(std::move(handler)) {
    HttpTransportOptions options;
    options.user = std::move(user);
    options.password = std::move(password);
    transport = MakeHttpTransport(options);
    client = std::make_unique<CalDavClient>(*transport, [] { return kNowSeconds; });
  }
  StandInServer server;
  std::unique_ptr<HttpTransport> transport;
  std::unique_ptr<CalDavClient> client;
};

}  // namespace

TEST(CalDavClient, DiscoversThroughADigestOnlyServer) {
  if (!TransportSpeaksDigest()) GTEST_SKIP() << "Wine's WinHTTP cannot answer Digest";
  Fixture f(
      [](const StandInServer::Request& r) {
        if (r.Header("Authorization").rfind("Digest ", 0) != 0) {
          return HttpAnswer(
              401, {"WWW-Authenticate: Digest realm=\"baikal\", nonce=\"abc\", qop=\"auth\", algorithm=MD5"});
        }
        if (r.target == "/") return HttpAnswer(404);
        if (r.target == "/.well-known/caldav") return HttpAnswer(302, {"Location: /dav.php/"});
        if (r.target == "/dav.php/") {
          return HttpAnswer(
              207, {},
              MultistatusBody("<d:response><d:href>/dav.php/</d:href><d:propstat><d:prop>"
                              "<d:current-user-principal><d:href>/dav.php/principals/u/</d:href>"
                              "</d:current-user-principal></d:prop></d:propstat></d:response>"));
        }
        if (r.target == "/dav.php/principals/u/") {
          return HttpAnswer(
              207, {},
              MultistatusBody("<d:response><d:href>/dav.php/principals/u/</d:href><d:propstat>"
                              "<d:prop><c:calendar-home-set><d:href>/dav.php/calendars/u"
                              "</d:href></c:calendar-home-set></d:prop></d:propstat></d:response>"));
        }
        EXPECT_EQ(r.Header("Depth"), "1");
        return HttpAnswer(
            207, {},
            MultistatusBody(
                "<d:response><d:href>/dav.php/calendars/u/</d:href><d:propstat><d:prop><d:resourcetype>"
                "<d:collection/></d:resourcetype></d:prop></d:propstat></d:response>"
                "<d:response><d:href>/dav.php/calendars/u/tasks/</d:href><d:propstat><d:prop><d:resourcetype>"
                "<d:collection/><c:calendar/></d:resourcetype><d:displayname>Tasks</d:displayname>"
                "<c:supported-calendar-component-set><c:comp name=\"VTODO\"/>"
                "</c:supported-calendar-component-set></d:prop></d:propstat></d:response>"));
      },
      "u", "pw");
  CalDavResult<Discovery> found = f.client->Discover(f.server.Url("/"));
  ASSERT_TRUE(found.ok()) << found.error.message;
  EXPECT_EQ(found.value.principal_url, f.server.Url("/dav.php/principals/u/"));
  EXPECT_EQ(found.value.home_url, f.server.Url("/dav.php/calendars/u/"));
  ASSERT_EQ(found.value.calendars.size(), 1u);
  EXPECT_EQ(found.value.calendars[0].displayname, "Tasks");
  EXPECT_FALSE(found.value.calendars[0].Takes("VEVENT"));
  EXPECT_FALSE(found.value.calendars[0].supports_sync_collection);
}

TEST(CalDavClient, ReadsBackWhatWasWrittenWhenTheEtagIsWeakOrMissing) {
  for (const char* etag_header : {"ETag: W/\"weak\"", ""}) {
    Fixture f([&](const StandInServer::Request& r) {
      if (r.method == "PUT") {
        EXPECT_EQ(r.Header("If-None-Match"), "*");
        EXPECT_EQ(r.target, "/cal/uid%2Fwith%20odd@chars.ics");
        std::vector<std::string> headers;
        if (*etag_header) headers.push_back(etag_header);
        return HttpAnswer(201, headers);
      }
      EXPECT_EQ(r.method, "GET");
      return HttpAnswer(200, {"ETag: \"strong\""}, "BEGIN:VCALENDAR\r\nX-REWRITTEN:1\r\nEND:VCALENDAR\r\n");
    });
    CalDavResult<WriteResult> created =
        f.client->Create(f.server.Url("/cal/"), "uid/with odd@chars", "BEGIN:...");
    ASSERT_TRUE(created.ok()) << created.error.message;
    EXPECT_EQ(created.value.href, f.server.Url("/cal/uid%2Fwith%20odd@chars.ics"));
    EXPECT_EQ(created.value.etag, "\"strong\"");
    EXPECT_EQ(created.value.stored_data, "BEGIN:VCALENDAR\r\nX-REWRITTEN:1\r\nEND:VCALENDAR\r\n");
    EXPECT_EQ(f.server.requests().size(), 2u);
  }
}

TEST(CalDavClient, TellsWhenToTryAgain) {
  int answers = 0;
  Fixture f([&](const StandInServer::Request&) {
    switch (answers++) {
      case 0:
        return HttpAnswer(429, {"Retry-After: 120"});
      case 1:
        return HttpAnswer(503, {std::string("Retry-After: Tue, 08 Dec 2026 00:10:00 GMT")});
      case 2:
        return HttpAnswer(507);
      default:
        return HttpAnswer(500, {"Retry-After: soon"});
    }
  });
  CalDavResult<SyncChanges> r = f.client->SyncCollection(f.server.Url("/cal/"), "");
  EXPECT_EQ(r.error.kind, CalDavErrorKind::kRetryLater);
  EXPECT_EQ(r.error.http_status, 429);
  EXPECT_EQ(r.error.retry_after_seconds, 120);
  CalDavResult<CalendarObject> g = f.client->Get(f.server.Url("/cal/a.ics"));
  EXPECT_EQ(g.error.kind, CalDavErrorKind::kRetryLater);
  EXPECT_EQ(g.error.retry_after_seconds, 600);
  CalDavResult<WriteResult> w = f.client->Update(f.server.Url("/cal/a.ics"), "\"1\"", "x");
  EXPECT_EQ(w.error.kind, CalDavErrorKind::kRetryLater);
  EXPECT_EQ(w.error.http_status, 507);
  EXPECT_FALSE(w.error.retry_after_seconds);
  CalDavResult<NoValue> d = f.client->Delete(f.server.Url("/cal/a.ics"), "\"1\"");
  EXPECT_EQ(d.error.kind, CalDavErrorKind::kRetryLater);
  EXPECT_FALSE(d.error.retry_after_seconds);
}

TEST(CalDavClient, FollowsATruncatedSyncReportToItsEnd) {
  Fixture f([](const StandInServer::Request& r) {
    if (r.body.find("<D:sync-token></D:sync-token>") != std::string::npos) {
      return HttpAnswer(207, {},
                        MultistatusBody(Member("/cal/a.ics", "\"1\"") + Member("/cal/b.ics", "\"1\"") +
                                        "<d:response><d:href>/cal/</d:href><d:status>HTTP/1.1 507 "
                                        "Insufficient Storage</d:status></d:response>"
                                        "<d:sync-token>t1</d:sync-token>"));
    }
    EXPECT_NE(r.body.find("<D:sync-token>t1</D:sync-token>"), std::string::npos) << r.body;
    return HttpAnswer(207, {},
                      MultistatusBody(Gone("/cal/a.ics") + Member("/cal/c.ics", "\"3\"") +
                                      "<d:sync-token>t2</d:sync-token>"));
  });
  CalDavResult<SyncChanges> r = f.client->SyncCollection(f.server.Url("/cal/"), "");
  ASSERT_TRUE(r.ok()) << r.error.message;
  EXPECT_EQ(f.server.requests().size(), 2u);
  EXPECT_EQ(r.value.sync_token, "t2");
  ASSERT_EQ(r.value.changed.size(), 2u);
  EXPECT_EQ(r.value.changed[0].href, f.server.Url("/cal/b.ics"));
  EXPECT_EQ(r.value.changed[1].href, f.server.Url("/cal/c.ics"));
  EXPECT_EQ(r.value.changed[1].etag, "\"3\"");
  EXPECT_EQ(r.value.deleted, std::vector<std::string>{f.server.Url("/cal/a.ics")});
}

TEST(CalDavClient, SortsRefusedTokensAndUnreadableAnswers) {
  std::string next;
  Fixture f([&](const StandInServer::Request&) { return next; });
  next = HttpAnswer(409, {}, "");
  EXPECT_EQ(f.client->SyncCollection(f.server.Url("/cal/"), "old").error.kind,
            CalDavErrorKind::kSyncTokenRejected);
  next = HttpAnswer(403, {}, "<d:error xmlns:d=\"DAV:\"><d:valid-sync-token/></d:error>");
  EXPECT_EQ(f.client->SyncCollection(f.server.Url("/cal/"), "old").error.kind,
            CalDavErrorKind::kSyncTokenRejected);
  next = HttpAnswer(403, {}, "no");
  EXPECT_EQ(f.client->SyncCollection(f.server.Url("/cal/"), "old").error.kind, CalDavErrorKind::kAuth);
  EXPECT_EQ(f.client->SyncCollection(f.server.Url("/cal/"), "").error.kind, CalDavErrorKind::kAuth);

  for (const std::string& hostile :
       {std::string("<html>login</html>"), std::string(100, '<'),
        "<d:multistatus xmlns:d=\"DAV:\">" + std::string(100, 'x'), std::string(200, '\0'),
        MultistatusBody("<d:response><d:href>/cal/x.ics</d:href></d:response>")}) {
    next = HttpAnswer(207, {}, hostile);
    CalDavResult<SyncChanges> r = f.client->SyncCollection(f.server.Url("/cal/"), "");
    EXPECT_EQ(r.error.kind, CalDavErrorKind::kBadAnswer) << hostile.substr(0, 40);
    EXPECT_NE(r.error.message.find("/cal/"), std::string::npos) << r.error.message;
    EXPECT_EQ(f.client->ListObjects(f.server.Url("/cal/")).error.kind,
              hostile.find("<d:response>") != std::string::npos ? CalDavErrorKind::kNone
                                                                : CalDavErrorKind::kBadAnswer);
  }
  next = HttpAnswer(200, {}, "<d:multistatus xmlns:d=\"DAV:\"/>");
  EXPECT_EQ(f.client->ReadCalendar(f.server.Url("/cal/")).error.kind, CalDavErrorKind::kBadAnswer);
}

TEST(CalDavClient, MultigetKeepsOnlyWholeObjectsItAskedFor) {
  Fixture f([](const StandInServer::Request&) {
    return HttpAnswer(
        207, {},
        MultistatusBody(
            "<d:response><d:href>/cal/a.ics</d:href><d:propstat><d:prop><d:getetag>\"1\"</d:getetag>"
            "<c:calendar-data>A</c:calendar-data></d:prop></d:propstat></d:response>"
            "<d:response><d:href>/cal/no-etag.ics</d:href><d:propstat><d:prop>"
            "<c:calendar-data>B</c:calendar-data></d:prop></d:propstat></d:response>"
            "<d:response><d:href>/cal/not-asked.ics</d:href><d:propstat><d:prop><d:getetag>\"1\"</d:getetag>"
            "<c:calendar-data>C</c:calendar-data></d:prop></d:propstat></d:response>" +
            Gone("/cal/gone.ics")));
  });
  std::vector<std::string> hrefs{f.server.Url("/cal/a.ics"), f.server.Url("/cal/no-etag.ics"),
                                 f.server.Url("/cal/gone.ics"), f.server.Url("/cal/silent.ics")};
  CalDavResult<MultigetResult> r = f.client->Multiget(f.server.Url("/cal/"), hrefs);
  ASSERT_TRUE(r.ok()) << r.error.message;
  ASSERT_EQ(r.value.objects.size(), 1u);
  EXPECT_EQ(r.value.objects[0].data, "A");
  EXPECT_EQ(r.value.missing,
            (std::vector<std::string>{f.server.Url("/cal/no-etag.ics"), f.server.Url("/cal/gone.ics"),
                                      f.server.Url("/cal/silent.ics")}));
  const std::string body = f.server.requests().at(0).body;
  EXPECT_NE(body.find("<D:href>/cal/no-etag.ics</D:href>"), std::string::npos) << body;
}

TEST(CalDavClient, ObjectAddressesForUids) {
  EXPECT_EQ(ObjectUrlForUid("http://h/cal", "abc"), "http://h/cal/abc.ics");
  EXPECT_EQ(ObjectUrlForUid("http://h/cal/", "a/b?c#d"), "http://h/cal/a%2Fb%3Fc%23d.ics");
  EXPECT_EQ(ObjectUrlForUid("http://h/cal/", ".."), "http://h/cal/...ics");
  EXPECT_FALSE(ObjectUrlForUid("http://h/cal/", ""));
  EXPECT_FALSE(ObjectUrlForUid("not a url", "abc"));
  std::string long_uid(200, 'x');
  std::optional<std::string> url = ObjectUrlForUid("http://h/cal/", long_uid);
  ASSERT_TRUE(url);
  EXPECT_LT(url->size(), 50u);
  EXPECT_EQ(url, ObjectUrlForUid("http://h/cal/", long_uid)) << "the same UID, the same address";
  EXPECT_NE(url, ObjectUrlForUid("http://h/cal/", long_uid + "y"));
}

TEST(CalDavError, RetryAfterAsSecondsOrDate) {
  EXPECT_EQ(ParseRetryAfter("120", kNowSeconds), 120);
  EXPECT_EQ(ParseRetryAfter(" 0 ", kNowSeconds), 0);
  EXPECT_EQ(ParseRetryAfter(kNow, kNowSeconds), 0);
  EXPECT_EQ(ParseRetryAfter("Tue, 08 Dec 2026 01:00:00 GMT", kNowSeconds), 3600);
  EXPECT_EQ(ParseRetryAfter("Mon, 07 Dec 2026 23:00:00 GMT", kNowSeconds), 0) << "a date past means now";
  EXPECT_EQ(ParseRetryAfter("Sun, 29 Feb 2032 12:00:00 GMT", 0), 1961668800);
  EXPECT_EQ(ParseRetryAfter("99999999999999999999", 0), 999'999'999);
  for (const char* bad :
       {"", "soon", "-5", "1.5", "Tue, 08 Dec 2026 01:00:00 PST", "Tue, 32 Dec 2026 01:00:00 GMT",
        "Tue, 08 Foo 2026 01:00:00 GMT", "Tue, 08 Dec 2026 25:00:00 GMT"}) {
    EXPECT_FALSE(ParseRetryAfter(bad, kNowSeconds)) << bad;
  }
}
