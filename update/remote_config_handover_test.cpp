// The hand-over between the fetch worker and the user-interface thread, for
// ThreadSanitizer: the worker fills the fields and publishes them with
// bLoaded; the polling thread reads them only after it has seen the flag.
#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "update/remote_config.h"
#include "update/testing/loopback_http_server.h"

namespace {

const std::string kDocument =
    "<?xml version=\"1.0\"?>\n<config><scrolltext>A;B~http://b.example/;</scrolltext><version>125</version>"
    "<downurl>http://dl.example/</downurl><textad>X~http://x.example/</textad></config>";

TEST(RemoteConfigHandover, ThePollingThreadSeesCompleteFields) {
  LoopbackHttpServer server({{"HTTP/1.0 503 Busy\r\n\r\n"}, {HttpResponse(kDocument)}});
  for (int run = 0; run < 20; ++run) {
    RemoteConfig config;
    UpdateServer where;
    where.strHost = "127.0.0.1";
    where.nPort = server.port();
    config.SetServer(where);
    RemoteConfig::FetchPolicy policy;
    policy.retryDelay = std::chrono::milliseconds(1);
    policy.diagnostics = [](std::string_view) {};
    config.SetFetchPolicy(policy);
    config.StartFetchThread();
    // The main window's 10 ms poll, faster.
    while (!config.IsLoaded()) std::this_thread::yield();
    EXPECT_EQ(config.strScrollText, "A;B~http://b.example/;");
    EXPECT_EQ(config.nVersion, 125);
    EXPECT_EQ(config.strDownUrl, "http://dl.example/");
    EXPECT_EQ(config.strTextAd, "X~http://x.example/");
  }
}

TEST(RemoteConfigHandover, DestroyingTheRecordWhileTheWorkerRetriesIsSafe) {
  LoopbackHttpServer server("HTTP/1.0 503 Busy\r\n\r\n");
  for (int run = 0; run < 5; ++run) {
    RemoteConfig config;
    UpdateServer where;
    where.strHost = "127.0.0.1";
    where.nPort = server.port();
    config.SetServer(where);
    RemoteConfig::FetchPolicy policy;
    policy.retryDelay = std::chrono::milliseconds(run);
    policy.diagnostics = [](std::string_view) {};
    config.SetFetchPolicy(policy);
    config.StartFetchThread();
    std::this_thread::sleep_for(std::chrono::milliseconds(run));
  }
}

}  // namespace
