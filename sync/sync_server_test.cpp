// Passes against a real server: Debian's radicale on 127.0.0.1, started by
// ctest, with two Tallyo folders syncing through one calendar.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "caldav/caldav_client.h"
#include "caldav/testing/radicale_test_server.h"
#include "caldav/testing/stand_in_server.h"
#include "sync/sync_state.h"
#include "sync/testing/sync_test_folder.h"

namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class SyncServer : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(server_.problem(), "");
    HttpTransportOptions options;
    options.user = RadicaleTestServer::kUser;
    options.password = RadicaleTestServer::kPassword;
    transport_ = MakeHttpTransport(options);
    counting_ = std::make_unique<CountingTransport>(*transport_);
    std::string name = testing::UnitTest::GetInstance()->current_test_info()->name();
    calendar_ = server_.MakeCalendar(*transport_, "sync-" + name, "Sync", {"VEVENT", "VTODO"});
    ASSERT_NE(calendar_, "");
  }

  SyncReport Pass(SyncTestFolder& folder, SyncPassOptions options = {}) {
    SyncReport report = folder.Pass(*counting_, calendar_, options);
    EXPECT_EQ(report.message, "");
    return report;
  }
  // The objects on the server, by href.
  std::vector<ObjectVersion> ServerObjects() {
    CalDavClient client(*transport_);
    CalDavResult<std::vector<ObjectVersion>> listed = client.ListObjects(calendar_);
    EXPECT_TRUE(listed.ok()) << listed.error.message;
    return listed.value;
  }
  int Requests() const { return counting_->count(); }

  RadicaleTestServer server_;
  std::unique_ptr<HttpTransport> transport_;
  std::unique_ptr<CountingTransport> counting_;
  std::string calendar_;
  SyncTestFolder a_{"a"};
  SyncTestFolder b_{"b"};
};

#define EXPECT_COUNTS(report, up_, down_, deleted_, conflicts_) \
  do {                                                          \
    const SyncReport counted = (report);                        \
    EXPECT_TRUE(counted.completed) << counted.message;          \
    EXPECT_EQ(counted.up, up_) << "up";                         \
    EXPECT_EQ(counted.down, down_) << "down";                   \
    EXPECT_EQ(counted.deleted, deleted_) << "deleted";          \
    EXPECT_EQ(counted.conflicts, conflicts_) << "conflicts";    \
  } while (false)

const Time32 kMonday = 1'900'000'000;

}  // namespace

TEST_F(SyncServer, TwoFoldersMeetThroughTheCalendarAndAQuietPassCostsOneRequest) {
  a_.Add("dentist", "bring the card", kMonday);
  a_.Add("groceries");  // a memo: a to-do
  EXPECT_COUNTS(Pass(a_), 2, 0, 0, 0);
  EXPECT_EQ(ServerObjects().size(), 2u);
  EXPECT_COUNTS(Pass(b_), 0, 2, 0, 0);
  EXPECT_EQ(b_.Titles(), a_.Titles());
  for (const CMyEvent& event : b_.Events()) {
    if (std::string(event.strTitle) != "dentist") continue;
    EXPECT_EQ(std::string(event.strContent), "bring the card");
    EXPECT_EQ(event.bRemind, 1);
    EXPECT_EQ(event.timeRemind, kMonday);
  }
  // Nothing changed anywhere: once A's token has passed its own writes,
  // each side asks once and writes nothing.
  Pass(a_);
  for (SyncTestFolder* folder : {&a_, &b_}) {
    const std::string state = ReadFile(SyncStatePathBeside(folder->EventPath()));
    const int before = Requests();
    EXPECT_COUNTS(Pass(*folder), 0, 0, 0, 0);
    EXPECT_LE(Requests() - before, 2);
    EXPECT_EQ(ReadFile(SyncStatePathBeside(folder->EventPath())), state);
  }
  EXPECT_EQ(ServerObjects().size(), 2u);
}

TEST_F(SyncServer, OneChangedEventCostsAtMostFourRequestsEachWay) {
  a_.Add("one", "", kMonday);
  a_.Add("two", "", kMonday + 60);
  Pass(a_);
  Pass(b_);
  ASSERT_TRUE(a_.Edit("one", [](CMyEvent& e) { e.timeRemind += 3600; }));
  int before = Requests();
  EXPECT_COUNTS(Pass(a_), 1, 0, 0, 0);
  EXPECT_LE(Requests() - before, 4);
  before = Requests();
  EXPECT_COUNTS(Pass(b_), 0, 1, 0, 0);
  EXPECT_LE(Requests() - before, 4);
  for (const CMyEvent& event : b_.Events()) {
    if (std::string(event.strTitle) == "one") {
      EXPECT_EQ(event.timeRemind, kMonday + 3600);
    }
  }
  // A's own write, seen again through the token, is not fetched.
  before = Requests();
  EXPECT_COUNTS(Pass(a_), 0, 0, 0, 0);
  EXPECT_LE(Requests() - before, 2);
}

TEST_F(SyncServer, ChangesOfDifferentFieldsMergeAndTheSameFieldMakesAConflictCopy) {
  a_.Add("call mum", "", kMonday);
  Pass(a_);
  Pass(b_);
  // Different fields: both survive.
  a_.Edit("call mum", [](CMyEvent& e) { e.strContent = "about Sunday"; });
  b_.Edit("call mum", [](CMyEvent& e) { e.timeRemind = kMonday + 7200; });
  EXPECT_COUNTS(Pass(a_), 1, 0, 0, 0);
  EXPECT_COUNTS(Pass(b_), 1, 1, 0, 0);
  EXPECT_COUNTS(Pass(a_), 0, 1, 0, 0);
  for (SyncTestFolder* folder : {&a_, &b_}) {
    std::vector<CMyEvent> events = folder->Events();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(std::string(events[0].strContent), "about Sunday");
    EXPECT_EQ(events[0].timeRemind, kMonday + 7200);
  }
  // The same field: B's stays on its event, A's comes as a conflict copy.
  a_.Edit("call mum", [](CMyEvent& e) { e.strTitle = "call mum (A)"; });
  b_.Edit("call mum", [](CMyEvent& e) { e.strTitle = "call mum (B)"; });
  EXPECT_COUNTS(Pass(a_), 1, 0, 0, 0);
  SyncReport merged = Pass(b_);
  EXPECT_EQ(merged.conflicts, 1);
  const std::string copy = ConflictCopyTitle("call mum (A)");
  EXPECT_EQ(b_.Titles(), (std::vector<std::string>{"call mum (B)", copy}));
  Pass(b_);  // the copy goes up
  Pass(a_);
  EXPECT_EQ(a_.Titles(), b_.Titles());
  EXPECT_EQ(ServerObjects().size(), 2u);
}

TEST_F(SyncServer, DeletesTravelAndAChangeWinsOverADelete) {
  a_.Add("keep", "", kMonday);
  a_.Add("drop", "", kMonday + 60);
  a_.Add("disputed", "", kMonday + 120);
  Pass(a_);
  Pass(b_);
  ASSERT_TRUE(a_.Delete("drop"));
  EXPECT_COUNTS(Pass(a_), 0, 0, 1, 0);
  EXPECT_COUNTS(Pass(b_), 0, 0, 1, 0);
  EXPECT_EQ(b_.Titles(), (std::vector<std::string>{"disputed", "keep"}));
  // Deleted in A, changed in B: the change wins on both sides.
  ASSERT_TRUE(a_.Delete("disputed"));
  b_.Edit("disputed", [](CMyEvent& e) { e.strContent = "still on"; });
  Pass(a_);
  Pass(b_);
  Pass(a_);
  EXPECT_EQ(a_.Titles(), (std::vector<std::string>{"disputed", "keep"}));
  EXPECT_EQ(b_.Titles(), a_.Titles());
  // Changed in A, deleted in B: the same.
  a_.Edit("keep", [](CMyEvent& e) { e.strContent = "changed"; });
  ASSERT_TRUE(b_.Delete("keep"));
  Pass(b_);
  Pass(a_);
  Pass(b_);
  EXPECT_EQ(b_.Titles(), (std::vector<std::string>{"disputed", "keep"}));
  EXPECT_EQ(ServerObjects().size(), 2u);
}

TEST_F(SyncServer, ASideSuddenlyEmptyStopsThePassUntilTheUserSaysSo) {
  a_.Add("one", "", kMonday);
  a_.Add("two", "", kMonday + 60);
  Pass(a_);
  Pass(b_);
  a_.Delete("one");
  a_.Delete("two");
  SyncReport stopped = a_.Pass(*counting_, calendar_);
  EXPECT_FALSE(stopped.completed);
  EXPECT_TRUE(stopped.needs_user);
  EXPECT_EQ(ServerObjects().size(), 2u);
  SyncPassOptions go_on;
  go_on.allow_empty_side = true;
  EXPECT_COUNTS(Pass(a_, go_on), 0, 0, 2, 0);
  EXPECT_EQ(ServerObjects().size(), 0u);
  // B now finds the calendar empty: it asks too, and keeps its events.
  SyncReport asked = b_.Pass(*counting_, calendar_);
  EXPECT_TRUE(asked.needs_user);
  EXPECT_EQ(b_.Titles().size(), 2u);
}

TEST_F(SyncServer, ADryRunWritesNothingOnEitherSide) {
  a_.Add("one", "", kMonday);
  Pass(a_);
  b_.Add("from b", "", kMonday);
  SyncPassOptions dry;
  dry.dry_run = true;
  SyncReport report = Pass(b_, dry);
  EXPECT_COUNTS(report, 1, 1, 0, 0);
  EXPECT_EQ(b_.Titles(), (std::vector<std::string>{"from b"}));
  EXPECT_EQ(ServerObjects().size(), 1u);
  EXPECT_FALSE(std::filesystem::exists(SyncStatePathBeside(b_.EventPath())));
  EXPECT_COUNTS(Pass(b_), 1, 1, 0, 0);
}

TEST_F(SyncServer, AnExpiredTokenListsEverythingAgainAndLosesNothing) {
  a_.Add("one", "", kMonday);
  Pass(a_);
  Pass(b_);
  a_.Edit("one", [](CMyEvent& e) { e.strTitle = "one, changed"; });
  a_.Add("two", "", kMonday);
  Pass(a_);
  SyncState state;
  ASSERT_TRUE(LoadSyncState(DefaultFileSystem(), SyncStatePathBeside(b_.EventPath()), &state).ok());
  state.sync_token = "http://radicale.org/ns/sync/0000000000000000000000000000000000000000";
  ASSERT_TRUE(SaveSyncState(DefaultFileSystem(), SyncStatePathBeside(b_.EventPath()), state).ok());
  EXPECT_COUNTS(Pass(b_), 0, 2, 0, 0);
  EXPECT_EQ(b_.Titles(), (std::vector<std::string>{"one, changed", "two"}));
}

TEST_F(SyncServer, AWrongPasswordStopsAndAsksTheUser) {
  a_.Add("one", "", kMonday);
  HttpTransportOptions options;
  options.user = RadicaleTestServer::kUser;
  options.password = "wrong";
  std::unique_ptr<HttpTransport> wrong = MakeHttpTransport(options);
  SyncReport report = a_.Pass(*wrong, calendar_);
  EXPECT_FALSE(report.completed);
  EXPECT_EQ(report.error, CalDavErrorKind::kAuth);
  EXPECT_TRUE(report.needs_user);
  EXPECT_EQ(a_.Titles(), (std::vector<std::string>{"one"}));
}

TEST_F(SyncServer, AServerGoneMidwayIsTriedAgainLaterAndNothingIsDoubled) {
  for (int i = 0; i < 5; ++i) a_.Add("event " + std::to_string(i), "", kMonday + i);
  Pass(a_);
  for (int i = 0; i < 3; ++i) b_.Add("from b " + std::to_string(i), "", kMonday + i);
  // The server stops after B's third request: the pass is cut mid-way.
  class StopAfter : public HttpTransport {
   public:
    StopAfter(HttpTransport& inner, const RadicaleTestServer& server, int after)
        : inner_(inner), server_(server), after_(after) {}
    HttpResult Send(const HttpRequest& request) override {
      if (++count_ == after_) server_.Control("stop");
      return inner_.Send(request);
    }

   private:
    HttpTransport& inner_;
    const RadicaleTestServer& server_;
    int after_;
    int count_ = 0;
  } stopping(*transport_, server_, 4);
  SyncReport cut = b_.Pass(stopping, calendar_);
  EXPECT_FALSE(cut.completed);
  EXPECT_EQ(cut.error, CalDavErrorKind::kUnreachable);
  EXPECT_FALSE(cut.needs_user);
  ASSERT_TRUE(server_.Control("start"));
  Pass(b_);
  Pass(a_);
  EXPECT_EQ(a_.Titles().size(), 8u);
  EXPECT_EQ(b_.Titles(), a_.Titles());
  EXPECT_EQ(ServerObjects().size(), 8u);
}

TEST_F(SyncServer, AnAnsweredOneOffReminderLeavesTheServerAndAMemoStaysLocal) {
  a_.Add("deleted when answered", "", kMonday);
  a_.Add("kept as a memo", "", kMonday + 60);
  Pass(a_);
  Pass(b_);
  a_.Delete("deleted when answered");
  a_.Edit("kept as a memo", [](CMyEvent& e) { e.bRemind = 0; });
  EXPECT_COUNTS(Pass(a_), 0, 0, 2, 0);
  EXPECT_EQ(ServerObjects().size(), 0u);
  EXPECT_COUNTS(Pass(a_), 0, 0, 0, 0);  // the memo is not pushed again
  EXPECT_EQ(a_.Titles(), (std::vector<std::string>{"kept as a memo"}));
  Pass(b_, [] {
    SyncPassOptions options;
    options.allow_empty_side = true;  // both gone at once from the calendar
    return options;
  }());
  EXPECT_TRUE(b_.Titles().empty());
}

TEST_F(SyncServer, AServerThatRefusesSyncCollectionIsComparedByCtagAndETags) {
  // radicale behind a stand-in that announces sync-collection but answers
  // 403 to it, as several hosted servers do.
  HttpTransportOptions options;
  options.user = RadicaleTestServer::kUser;
  options.password = RadicaleTestServer::kPassword;
  std::unique_ptr<HttpTransport> behind = MakeHttpTransport(options);
  StandInServer proxy([&](const StandInServer::Request& request) {
    if (request.method == "REPORT" && request.body.find("sync-collection") != std::string::npos)
      return HttpAnswer(403);
    HttpRequest forward{request.method, server_.Url(request.target), {}, request.body};
    for (const char* name : {"Depth", "Content-Type", "If-Match", "If-None-Match"}) {
      std::string value = request.Header(name);
      if (!value.empty()) forward.headers.push_back({name, value});
    }
    HttpResult answer = behind->Send(forward);
    std::vector<std::string> headers;
    for (const char* name : {"ETag", "Content-Type"}) {
      std::string_view value = answer.Header(name);
      if (!value.empty()) headers.push_back(std::string(name) + ": " + std::string(value));
    }
    return HttpAnswer(answer.status, headers, answer.body);
  });
  const std::string calendar = proxy.Url(calendar_.substr(server_.Url("/").size() - 1));
  std::unique_ptr<HttpTransport> plain = MakeHttpTransport({});
  a_.Add("one", "", kMonday);
  a_.Add("two", "", kMonday + 60);
  EXPECT_COUNTS(a_.Pass(*plain, calendar), 2, 0, 0, 0);
  EXPECT_COUNTS(b_.Pass(*plain, calendar), 0, 2, 0, 0);
  // Quiet: the ctag alone, once A's listing has passed its own writes.
  a_.Pass(*plain, calendar);
  std::size_t before = proxy.requests().size();
  EXPECT_COUNTS(b_.Pass(*plain, calendar), 0, 0, 0, 0);
  EXPECT_LE(proxy.requests().size() - before, 2u);
  a_.Edit("one", [](CMyEvent& e) { e.strTitle = "one, changed"; });
  ASSERT_TRUE(a_.Delete("two"));
  EXPECT_COUNTS(a_.Pass(*plain, calendar), 1, 0, 1, 0);
  EXPECT_COUNTS(b_.Pass(*plain, calendar), 0, 1, 1, 0);
  EXPECT_EQ(b_.Titles(), (std::vector<std::string>{"one, changed"}));
}
