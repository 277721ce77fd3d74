// The program's pass around the engine's, with a stand-in for the engine:
// one transport for the program's life, a new one only for new credentials,
// and no request at all without a password.
#include "app/program_sync.h"

#include <gtest/gtest.h>

#include <vector>

#include "base/testing/memory_file_system.h"

namespace {

// What the stand-in engine was given, pass by pass.
struct EngineCall {
  HttpTransport* transport;
  SyncSettings settings;
};
std::vector<EngineCall> engine_calls;

class NoServer : public HttpTransport {
 public:
  explicit NoServer(HttpTransportOptions options) : options(std::move(options)) {}
  HttpResult Send(const HttpRequest&) override { return {}; }
  HttpTransportOptions options;
};

}  // namespace

// The stand-in engine: this test is about what surrounds it.
SyncReport RunSyncPass(EventFolder&, HttpTransport& transport, const SyncSettings& settings,
                       const SyncPassOptions&) {
  engine_calls.push_back({&transport, settings});
  SyncReport report;
  report.completed = true;
  return report;
}

namespace {

class ProgramSyncTest : public ::testing::Test {
 protected:
  ProgramSyncTest() { engine_calls.clear(); }

  ProgramSync MakeSync() {
    return ProgramSync(
        fs, "D:\\Tallyo\\event.dat",
        [this](const std::string& address) -> std::optional<std::string> {
          asked.push_back(address);
          return password;
        },
        [this](HttpTransportOptions options) {
          auto transport = std::make_unique<NoServer>(std::move(options));
          made.push_back(transport.get());
          made_options.push_back(transport->options);
          return transport;
        });
  }

  SyncSettings Settings(std::string user = "tallyo") {
    SyncSettings s;
    s.address = "http://127.0.0.1:5232/";
    s.user = std::move(user);
    s.calendar_url = "http://127.0.0.1:5232/tallyo/work/";
    s.enabled = true;
    return s;
  }

  MemoryFileSystem fs;
  std::optional<std::string> password = "s3cret";
  std::vector<std::string> asked;
  std::vector<HttpTransport*> made;
  std::vector<HttpTransportOptions> made_options;
};

TEST_F(ProgramSyncTest, KeepsOneTransportWhileTheCredentialsStay) {
  ProgramSync sync = MakeSync();
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(sync.RunPass(Settings()).completed);
  ASSERT_EQ(made.size(), 1u);
  EXPECT_EQ(made_options[0].user, "tallyo");
  EXPECT_EQ(made_options[0].password, "s3cret");
  ASSERT_EQ(engine_calls.size(), 3u);
  for (const EngineCall& call : engine_calls) EXPECT_EQ(call.transport, made[0]);
  EXPECT_EQ(engine_calls[2].settings, Settings());
  EXPECT_EQ(asked, std::vector<std::string>(3, "http://127.0.0.1:5232/"));
}

TEST_F(ProgramSyncTest, NewCredentialsMakeANewTransport) {
  ProgramSync sync = MakeSync();
  sync.RunPass(Settings());
  password = "changed";
  sync.RunPass(Settings());
  sync.RunPass(Settings("\xD5\xC5\xC8\xFD"));  // "张三": the transport gets UTF-8
  ASSERT_EQ(made_options.size(), 3u);
  EXPECT_EQ(made_options[1].password, "changed");
  EXPECT_EQ(made_options[2].user, "\xE5\xBC\xA0\xE4\xB8\x89");
  EXPECT_EQ(engine_calls.back().transport, made.back());
}

TEST_F(ProgramSyncTest, WithoutAPasswordAsksTheUserAndSendsNothing) {
  password.reset();
  ProgramSync sync = MakeSync();
  const SyncReport report = sync.RunPass(Settings());
  EXPECT_FALSE(report.completed);
  EXPECT_TRUE(report.needs_user);
  EXPECT_FALSE(report.message.empty());
  EXPECT_TRUE(made.empty());
  EXPECT_TRUE(engine_calls.empty());
}

}  // namespace
