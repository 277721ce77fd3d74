// The hand-over between the fetch worker and the user-interface thread, for
// ThreadSanitizer: the worker fills the fields and publishes them with
// bLoaded; the reading thread reads them only after it has seen the flag,
// whether it polls for it or waits for the completion signal.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "update/remote_config.h"
#include "update/testing/loopback_http_server.h"

namespace {

// A worker about to fetch from `port`, retrying after `retry_delay`, quietly.
void AimAt(RemoteConfig& config, int port, std::chrono::milliseconds retry_delay) {
  UpdateServer where;
  where.strHost = "127.0.0.1";
  where.nPort = port;
  config.SetServer(where);
  RemoteConfig::FetchPolicy policy;
  policy.retryDelay = retry_delay;
  policy.diagnostics = [](std::string_view) {};
  config.SetFetchPolicy(policy);
}

const std::string kDocument =
    "<?xml version=\"1.0\"?>\n<config><scrolltext>A;B~http://b.example/;</scrolltext><version>125</version>"
    "<downurl>http://dl.example/</downurl><textad>X~http://x.example/</textad></config>";

TEST(RemoteConfigHandover, ThePollingThreadSeesCompleteFields) {
  LoopbackHttpServer server({{"HTTP/1.0 503 Busy\r\n\r\n"}, {HttpResponse(kDocument)}});
  for (int run = 0; run < 20; ++run) {
    RemoteConfig config;
    AimAt(config, server.port(), std::chrono::milliseconds(1));
    config.StartFetchThread();
    // The main window's 10 ms poll, faster.
    while (!config.IsLoaded()) std::this_thread::yield();
    EXPECT_EQ(config.strScrollText, "A;B~http://b.example/;");
    EXPECT_EQ(config.nVersion, 125);
    EXPECT_EQ(config.strDownUrl, "http://dl.example/");
    EXPECT_EQ(config.strTextAd, "X~http://x.example/");
  }
}

// The window learns of the end from a posted message. The signal here
// carries no ordering of its own (relaxed), so the fields are safe to read
// only through the flag, as in the program.
TEST(RemoteConfigHandover, TheSignalledThreadSeesCompleteFields) {
  LoopbackHttpServer server({{"HTTP/1.0 503 Busy\r\n\r\n"}, {HttpResponse(kDocument)}});
  for (int run = 0; run < 20; ++run) {
    std::atomic<int> signals{0};
    {
      RemoteConfig config;
      AimAt(config, server.port(), std::chrono::milliseconds(1));
      config.SetCompletionSignal([&signals] { signals.fetch_add(1, std::memory_order_relaxed); });
      config.StartFetchThread();
      while (signals.load(std::memory_order_relaxed) == 0) std::this_thread::yield();
      ASSERT_TRUE(config.IsLoaded());  // published before the signal
      EXPECT_EQ(config.strScrollText, "A;B~http://b.example/;");
      EXPECT_EQ(config.nVersion, 125);
      EXPECT_EQ(config.strDownUrl, "http://dl.example/");
      EXPECT_EQ(config.strTextAd, "X~http://x.example/");
    }  // the worker has ended: no signal can follow
    EXPECT_EQ(signals.load(), 1);
  }
}

TEST(RemoteConfigHandover, DestroyingTheRecordWhileTheWorkerRetriesIsSafe) {
  LoopbackHttpServer server("HTTP/1.0 503 Busy\r\n\r\n");
  for (int run = 0; run < 5; ++run) {
    RemoteConfig config;
    AimAt(config, server.port(), std::chrono::milliseconds(run));
    config.SetCompletionSignal([] {});
    config.StartFetchThread();
    std::this_thread::sleep_for(std::chrono::milliseconds(run));
  }
}

}  // namespace
