// The update check's worker side against a real server on 127.0.0.1, with
// the retry delay and the time-outs shortened.
#include "update/remote_config.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "update/testing/loopback_http_server.h"

namespace {

using Ending = LoopbackHttpServer::Ending;
using std::chrono::milliseconds;

const std::string kDocument =
    "<?xml version=\"1.0\" encoding=\"GB2312\"?>\n"
    "<config><scrolltext>A;B~http://b.example/;C</scrolltext><version>121</version>"
    "<downurl>http://dl.example/</downurl><textad>X~http://x.example/</textad></config>";
const std::string kNotFound = "HTTP/1.0 404 Not Found\r\nContent-Length: 9\r\n\r\nnot found";

// Quiet, fast retries; long time-outs unless a test shortens them.
void Prepare(RemoteConfig& config, const LoopbackHttpServer& server, milliseconds delay = milliseconds(1)) {
  UpdateServer where;
  where.strHost = "127.0.0.1";
  where.nPort = server.port();
  config.SetServer(where);
  RemoteConfig::FetchPolicy policy;
  policy.retryDelay = delay;
  policy.diagnostics = [](std::string_view) {};
  config.SetFetchPolicy(policy);
}

TEST(RemoteConfig, FetchesWalksAndPublishes) {
  LoopbackHttpServer server(HttpResponse(kDocument));
  RemoteConfig config;
  Prepare(config, server);
  EXPECT_EQ(ConfigFetchThread(config), 0u);
  ASSERT_TRUE(config.IsLoaded());
  EXPECT_EQ(config.strUrl, "http://127.0.0.1/software/config/QXR_Vadududi_config.xml");
  EXPECT_EQ(config.strScrollText, "A;B~http://b.example/;C");
  EXPECT_EQ(config.nVersion, 121);
  EXPECT_EQ(config.strDownUrl, "http://dl.example/");
  EXPECT_EQ(config.strTextAd, "X~http://x.example/");
  ASSERT_EQ(server.requests().size(), 1u);
  EXPECT_EQ(server.requests()[0], "GET " + config.strUrl + " HTTP/1.0\r\n\r\n");
}

TEST(RemoteConfig, RetriesUntilTheTenthAttemptSucceeds) {
  std::vector<LoopbackHttpServer::Reply> replies(9, {kNotFound});
  replies.push_back({HttpResponse(kDocument)});
  LoopbackHttpServer server(replies);
  RemoteConfig config;
  Prepare(config, server);
  ConfigFetchThread(config);
  EXPECT_TRUE(config.IsLoaded());
  EXPECT_FALSE(config.HasGivenUp());
  EXPECT_EQ(config.nVersion, 121);
  EXPECT_EQ(server.requests().size(), 10u);
}

TEST(RemoteConfig, GivesUpAfterFiftyOneAttempts) {
  LoopbackHttpServer server(kNotFound);
  RemoteConfig config;
  Prepare(config, server);
  ConfigFetchThread(config);
  EXPECT_FALSE(config.IsLoaded());
  EXPECT_TRUE(config.HasGivenUp());
  EXPECT_EQ(config.nVersion, 0);
  EXPECT_EQ(server.requests().size(), 51u);
}

TEST(RemoteConfig, ASilentServerCostsOneAttemptEach) {
  LoopbackHttpServer server({{"", Ending::kSilent}, {"", Ending::kSilent}, {HttpResponse(kDocument)}});
  RemoteConfig config;
  Prepare(config, server);
  RemoteConfig::FetchPolicy policy;
  policy.retryDelay = milliseconds(1);
  policy.timeouts.receive = milliseconds(100);
  policy.diagnostics = [](std::string_view) {};
  config.SetFetchPolicy(policy);
  ConfigFetchThread(config);
  EXPECT_TRUE(config.IsLoaded());
  EXPECT_EQ(server.requests().size(), 3u);
}

TEST(RemoteConfig, ADocumentWithoutRootIsNotRetried) {
  LoopbackHttpServer server(HttpResponse("<?xml version=\"1.0\"?>\n<!-- nothing -->"));
  RemoteConfig config;
  Prepare(config, server);
  ConfigFetchThread(config);
  EXPECT_FALSE(config.IsLoaded());
  EXPECT_TRUE(config.HasGivenUp());
  EXPECT_EQ(server.requests().size(), 1u);
}

TEST(RemoteConfig, ARootWithoutChildrenLoadsEmptyFields) {
  LoopbackHttpServer server(HttpResponse("<?xml version=\"1.0\"?>\n<config></config>"));
  RemoteConfig config;
  Prepare(config, server);
  ConfigFetchThread(config);
  EXPECT_TRUE(config.IsLoaded());
  EXPECT_EQ(config.nVersion, 0);
  EXPECT_EQ(config.strScrollText, "");
  EXPECT_EQ(config.strTextAd, "");
}

// What the window would find when the completion signal reaches it.
struct SignalRecord {
  int raised = 0;
  bool loaded = false;
  bool gave_up = false;
};

void RecordSignals(RemoteConfig& config, SignalRecord& record) {
  config.SetCompletionSignal([&config, &record] {
    ++record.raised;
    record.loaded = config.IsLoaded();
    record.gave_up = config.HasGivenUp();
  });
}

TEST(RemoteConfig, SignalsOnceAfterPublishingTheDocument) {
  LoopbackHttpServer server({{kNotFound}, {HttpResponse(kDocument)}});
  RemoteConfig config;
  Prepare(config, server);
  SignalRecord record;
  RecordSignals(config, record);
  ConfigFetchThread(config);
  EXPECT_EQ(record.raised, 1);  // not once per attempt
  EXPECT_TRUE(record.loaded);
  EXPECT_FALSE(record.gave_up);
}

TEST(RemoteConfig, SignalsOnceAfterGivingUp) {
  LoopbackHttpServer server(kNotFound);
  RemoteConfig config;
  Prepare(config, server);
  SignalRecord record;
  RecordSignals(config, record);
  ConfigFetchThread(config);
  EXPECT_EQ(record.raised, 1);
  EXPECT_FALSE(record.loaded);
  EXPECT_TRUE(record.gave_up);
}

TEST(RemoteConfig, AStoppedWorkerRaisesNoSignal) {
  LoopbackHttpServer server(kNotFound);
  SignalRecord record;
  {
    RemoteConfig config;
    Prepare(config, server, std::chrono::hours(1));
    RecordSignals(config, record);
    config.StartFetchThread();
    while (server.requests().empty()) std::this_thread::sleep_for(milliseconds(1));
  }
  EXPECT_EQ(record.raised, 0);
}

TEST(RemoteConfig, DestructionStopsAWorkerWaitingToRetry) {
  LoopbackHttpServer server(kNotFound);
  {
    RemoteConfig config;
    Prepare(config, server, std::chrono::hours(1));
    config.StartFetchThread();
    while (server.requests().empty()) std::this_thread::sleep_for(milliseconds(1));
  }  // would wait an hour if the stop did not wake the worker
  EXPECT_EQ(server.requests().size(), 1u);
}

TEST(RemoteConfig, DestructionStopsAWorkerWaitingForTheServer) {
  LoopbackHttpServer server("", Ending::kSilent);
  {
    RemoteConfig config;
    Prepare(config, server);
    RemoteConfig::FetchPolicy policy;
    policy.timeouts.connect = std::chrono::hours(1);
    policy.timeouts.receive = std::chrono::hours(1);
    policy.diagnostics = [](std::string_view) {};
    config.SetFetchPolicy(policy);
    config.StartFetchThread();
    while (server.requests().empty()) std::this_thread::sleep_for(milliseconds(1));
    EXPECT_FALSE(config.IsLoaded());
  }
  EXPECT_EQ(server.requests().size(), 1u);
}

}  // namespace
