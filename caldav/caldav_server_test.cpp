// The operations against a real server: Debian's radicale on 127.0.0.1,
// started by ctest (radicale_server.py), natively with libcurl and under
// Wine with WinHTTP.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "caldav/caldav_client.h"
#include "caldav/testing/radicale_test_server.h"
#include "caldav/url.h"

namespace {

class CalDavServer : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(server_.problem(), "");
    HttpTransportOptions options;
    options.user = RadicaleTestServer::kUser;
    options.password = RadicaleTestServer::kPassword;
    transport_ = MakeHttpTransport(options);
    client_ = std::make_unique<CalDavClient>(*transport_);
  }

  // A calendar of this test's own, named after it.
  std::string MakeCalendar(std::string_view displayname = "Work") {
    std::string name = testing::UnitTest::GetInstance()->current_test_info()->name();
    std::string url = server_.MakeCalendar(*transport_, name, displayname, {"VEVENT", "VTODO"});
    EXPECT_NE(url, "") << "MKCALENDAR " << name;
    return url;
  }

  RadicaleTestServer server_;
  std::unique_ptr<HttpTransport> transport_;
  std::unique_ptr<CalDavClient> client_;
};

const CalendarInfo* Named(const std::vector<CalendarInfo>& calendars, std::string_view name) {
  for (const CalendarInfo& c : calendars) {
    if (c.displayname == name) return &c;
  }
  return nullptr;
}

}  // namespace

TEST_F(CalDavServer, DiscoversTheCalendarsFromAnyStartingPoint) {
  std::string calendar = MakeCalendar("\xE5\xB7\xA5\xE4\xBD\x9C");  // 工作, as UTF-8
  for (const std::string& typed :
       {server_.Url("/"), server_.Url("/.well-known/caldav"), server_.Url("/tallyo/"), server_.Url("/tallyo"),
        " " + server_.Url("/") + " "}) {
    CalDavResult<Discovery> found = client_->Discover(typed);
    ASSERT_TRUE(found.ok()) << typed << ": " << found.error.message;
    EXPECT_EQ(found.value.principal_url, server_.Url("/tallyo/")) << typed;
    EXPECT_EQ(found.value.home_url, server_.Url("/tallyo/")) << typed;
    const CalendarInfo* info = Named(found.value.calendars, "\xE5\xB7\xA5\xE4\xBD\x9C");
    ASSERT_NE(info, nullptr) << typed;
    EXPECT_EQ(info->url, calendar);
    EXPECT_EQ(info->components, (std::vector<std::string>{"VEVENT", "VTODO"}));
    EXPECT_TRUE(info->Takes("VTODO"));
    EXPECT_FALSE(info->Takes("VJOURNAL"));
    EXPECT_TRUE(info->supports_sync_collection);
    EXPECT_NE(info->ctag, "");
    EXPECT_NE(info->sync_token, "");
  }
  // The calendar itself: just that one, no home needed.
  CalDavResult<Discovery> found = client_->Discover(calendar);
  ASSERT_TRUE(found.ok()) << found.error.message;
  ASSERT_EQ(found.value.calendars.size(), 1u);
  EXPECT_EQ(found.value.calendars[0].url, calendar);
  EXPECT_EQ(found.value.home_url, "");
}

TEST_F(CalDavServer, CreatesOnlyWhereNothingIsAndChangesOnlyWhatItRead) {
  std::string calendar = MakeCalendar();
  const std::string uid = "a@b c+\xC3\xA9-1";
  CalDavResult<WriteResult> created = client_->Create(calendar, uid, SampleEvent(uid, "first"));
  ASSERT_TRUE(created.ok()) << created.error.message;
  EXPECT_EQ(created.value.href, calendar + "a@b%20c+%C3%A9-1.ics");
  EXPECT_TRUE(IsStrongEtag(created.value.etag)) << created.value.etag;
  EXPECT_FALSE(created.value.stored_data) << "a strong ETag needs no read-back";

  CalDavResult<WriteResult> again = client_->Create(calendar, uid, SampleEvent(uid, "second"));
  EXPECT_EQ(again.error.kind, CalDavErrorKind::kConflict) << again.error.message;
  EXPECT_EQ(again.error.http_status, 412);

  CalDavResult<WriteResult> updated =
      client_->Update(created.value.href, created.value.etag, SampleEvent(uid, "new"));
  ASSERT_TRUE(updated.ok()) << updated.error.message;
  EXPECT_NE(updated.value.etag, created.value.etag);
  CalDavResult<WriteResult> stale =
      client_->Update(created.value.href, created.value.etag, SampleEvent(uid, "lost"));
  EXPECT_EQ(stale.error.kind, CalDavErrorKind::kConflict);

  CalDavResult<CalendarObject> read = client_->Get(created.value.href);
  ASSERT_TRUE(read.ok()) << read.error.message;
  EXPECT_EQ(read.value.etag, updated.value.etag);
  EXPECT_NE(read.value.data.find("SUMMARY:new"), std::string::npos);

  EXPECT_EQ(client_->Delete(created.value.href, created.value.etag).error.kind, CalDavErrorKind::kConflict);
  EXPECT_TRUE(client_->Delete(created.value.href, updated.value.etag).ok());
  EXPECT_EQ(client_->Get(created.value.href).error.kind, CalDavErrorKind::kNotFound);
  CalDavResult<NoValue> gone = client_->Delete(created.value.href, updated.value.etag);
  EXPECT_TRUE(gone.ok()) << "deleting what is gone is done: " << gone.error.message;
}

TEST_F(CalDavServer, SyncCollectionSeesOtherClientsChangesAndDeletions) {
  std::string calendar = MakeCalendar();
  CalDavResult<WriteResult> a = client_->Create(calendar, "sync-a", SampleEvent("sync-a", "a"));
  CalDavResult<WriteResult> b = client_->Create(calendar, "sync-b", SampleEvent("sync-b", "b"));
  ASSERT_TRUE(a.ok() && b.ok());

  CalDavResult<SyncChanges> first = client_->SyncCollection(calendar, "");
  ASSERT_TRUE(first.ok()) << first.error.message;
  ASSERT_EQ(first.value.changed.size(), 2u);
  EXPECT_TRUE(first.value.deleted.empty());
  EXPECT_NE(first.value.sync_token, "");
  std::set<std::string> hrefs{first.value.changed[0].href, first.value.changed[1].href};
  EXPECT_EQ(hrefs, (std::set<std::string>{a.value.href, b.value.href}));

  // Another client (its own name for the object) adds one and deletes one.
  HttpResult put = transport_->Send({"PUT",
                                     calendar + "phone-made.ics",
                                     {{"Content-Type", "text/calendar"}},
                                     SampleEvent("phone", "from the phone")});
  ASSERT_EQ(put.status, 201);
  ASSERT_EQ(transport_->Send({"DELETE", b.value.href, {}, ""}).status, 200);

  CalDavResult<SyncChanges> next = client_->SyncCollection(calendar, first.value.sync_token);
  ASSERT_TRUE(next.ok()) << next.error.message;
  ASSERT_EQ(next.value.changed.size(), 1u);
  EXPECT_EQ(next.value.changed[0].href, calendar + "phone-made.ics");
  EXPECT_EQ(next.value.changed[0].etag, NormaliseEtag(put.Header("ETag")));
  EXPECT_EQ(next.value.deleted, std::vector<std::string>{b.value.href});
  EXPECT_NE(next.value.sync_token, first.value.sync_token);

  CalDavResult<SyncChanges> quiet = client_->SyncCollection(calendar, next.value.sync_token);
  ASSERT_TRUE(quiet.ok()) << quiet.error.message;
  EXPECT_TRUE(quiet.value.changed.empty() && quiet.value.deleted.empty());

  CalDavResult<SyncChanges> bogus = client_->SyncCollection(calendar, "http://radicale.org/ns/sync/bogus");
  EXPECT_EQ(bogus.error.kind, CalDavErrorKind::kSyncTokenRejected) << bogus.error.message;
  EXPECT_EQ(bogus.error.http_status, 403);
}

TEST_F(CalDavServer, ListsAndFetchesHundredsOfObjectsInBatches) {
  std::string calendar = MakeCalendar();
  // 250 objects in one upload of the whole collection (radicale splits it by UID).
  std::string all = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Tallyo tests//EN\r\n";
  for (int i = 0; i < 250; ++i) {
    all += "BEGIN:VEVENT\r\nUID:bulk-" + std::to_string(i) +
           "\r\nDTSTAMP:20260101T000000Z\r\nDTSTART:20260301T090000Z\r\nSUMMARY:event " + std::to_string(i) +
           "\r\nEND:VEVENT\r\n";
  }
  all += "END:VCALENDAR\r\n";
  ASSERT_EQ(transport_->Send({"PUT", calendar, {{"Content-Type", "text/calendar"}}, all}).status, 201);

  CalDavResult<std::vector<ObjectVersion>> listed = client_->ListObjects(calendar);
  ASSERT_TRUE(listed.ok()) << listed.error.message;
  ASSERT_EQ(listed.value.size(), 250u);
  std::vector<std::string> hrefs;
  for (const ObjectVersion& v : listed.value) {
    EXPECT_TRUE(IsStrongEtag(v.etag)) << v.href;
    hrefs.push_back(v.href);
  }
  hrefs.push_back(calendar + "never-there.ics");

  CountingTransport counting(*transport_);
  CalDavClient client(counting);
  CalDavResult<MultigetResult> fetched = client.Multiget(calendar, hrefs, 100);
  ASSERT_TRUE(fetched.ok()) << fetched.error.message;
  EXPECT_EQ(counting.count(), 3);
  ASSERT_EQ(fetched.value.objects.size(), 250u);
  EXPECT_EQ(fetched.value.missing, std::vector<std::string>{calendar + "never-there.ics"});
  for (const CalendarObject& object : fetched.value.objects) {
    auto it = std::find_if(listed.value.begin(), listed.value.end(),
                           [&](const ObjectVersion& v) { return v.href == object.href; });
    ASSERT_NE(it, listed.value.end());
    EXPECT_EQ(it->etag, object.etag);
    EXPECT_NE(object.data.find("BEGIN:VEVENT"), std::string::npos);
    EXPECT_NE(object.data.find("\r\n"), std::string::npos) << "line ends kept";
  }
}

TEST_F(CalDavServer, AWrongPasswordIsAnAuthenticationError) {
  MakeCalendar();
  HttpTransportOptions options;
  options.user = RadicaleTestServer::kUser;
  options.password = "not-the-password";
  std::unique_ptr<HttpTransport> transport = MakeHttpTransport(options);
  CalDavClient client(*transport);
  CalDavResult<Discovery> found = client.Discover(server_.Url("/"));
  EXPECT_EQ(found.error.kind, CalDavErrorKind::kAuth) << found.error.message;
  EXPECT_EQ(found.error.http_status, 401);
  EXPECT_NE(found.error.message.find("127.0.0.1"), std::string::npos) << found.error.message;
  EXPECT_EQ(found.error.message.find("not-the-password"), std::string::npos);
}

TEST_F(CalDavServer, AServerThatGoesAwayMidPassIsUnreachable) {
  std::string calendar = MakeCalendar();
  CalDavResult<SyncChanges> first = client_->SyncCollection(calendar, "");
  ASSERT_TRUE(first.ok()) << first.error.message;
  ASSERT_TRUE(server_.Control("stop"));
  CalDavResult<WriteResult> created = client_->Create(calendar, "while-away", SampleEvent("while-away", "x"));
  EXPECT_EQ(created.error.kind, CalDavErrorKind::kUnreachable) << created.error.message;
  EXPECT_NE(created.error.message.find("127.0.0.1"), std::string::npos) << created.error.message;
  ASSERT_TRUE(server_.Control("start"));
  CalDavResult<SyncChanges> after = client_->SyncCollection(calendar, first.value.sync_token);
  ASSERT_TRUE(after.ok()) << after.error.message;
  EXPECT_TRUE(after.value.changed.empty()) << "nothing was written while the server was away";
}
