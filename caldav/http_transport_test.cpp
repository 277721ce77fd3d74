// The system's transport (libcurl natively, WinHTTP under Wine) against a
// stand-in server on 127.0.0.1.
#include "caldav/http_transport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "caldav/testing/digest_support.h"
#include "caldav/testing/stand_in_server.h"

namespace {

std::unique_ptr<HttpTransport> Transport(std::string user = "", std::string password = "") {
  HttpTransportOptions options;
  options.user = std::move(user);
  options.password = std::move(password);
  return MakeHttpTransport(std::move(options));
}

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

}  // namespace

TEST(HttpTransport, SendsAnyVerbWithHeadersAndBodyAndReadsTheAnswer) {
  StandInServer server([](const StandInServer::Request& r) {
    return HttpAnswer(207, {"ETag: \"abc\"", "DAV: 1, 2, calendar-access", "Content-Type: text/xml"},
                      "<multistatus>" + r.method + "</multistatus>");
  });
  auto transport = Transport();
  for (const char* method : {"PROPFIND", "REPORT", "PUT", "DELETE", "GET", "MKCALENDAR"}) {
    std::string body =
        std::string(method) == "GET" || std::string(method) == "DELETE" ? "" : "<x>\xE4\xB8\xAD</x>";
    HttpResult result = transport->Send(
        {method, server.Url("/cal/a%40b.ics"), {{"Depth", "1"}, {"If-Match", "\"e1\""}}, body});
    ASSERT_TRUE(result.answered()) << method << ": " << result.error;
    EXPECT_EQ(result.status, 207);
    EXPECT_EQ(result.Header("etag"), "\"abc\"");
    EXPECT_EQ(result.Header("Dav"), "1, 2, calendar-access");
    EXPECT_EQ(result.body, "<multistatus>" + std::string(method) + "</multistatus>");
    EXPECT_EQ(result.final_url, server.Url("/cal/a%40b.ics"));
    const StandInServer::Request sent = server.requests().back();
    EXPECT_EQ(sent.method, method);
    EXPECT_EQ(sent.target, "/cal/a%40b.ics");
    EXPECT_EQ(sent.Header("Depth"), "1");
    EXPECT_EQ(sent.Header("If-Match"), "\"e1\"");
    EXPECT_EQ(sent.body, body);
    EXPECT_EQ(sent.Header("Authorization"), "") << "no credentials were asked for";
  }
}

TEST(HttpTransport, CarriesLargeBodiesWhole) {
  std::string big;
  for (int i = 0; big.size() < 3'000'000; ++i)
    big += "BEGIN:VEVENT\r\nUID:" + std::to_string(i) + "\r\nEND:VEVENT\r\n";
  StandInServer server([&](const StandInServer::Request& r) { return HttpAnswer(200, {}, r.body + big); });
  HttpResult result = Transport()->Send({"PUT", server.Url("/big.ics"), {}, big});
  ASSERT_TRUE(result.answered()) << result.error;
  EXPECT_EQ(result.body.size(), 2 * big.size());
  EXPECT_TRUE(result.body == big + big);
}

TEST(HttpTransport, AnswersABasicChallengeAndReturnsARefusal) {
  StandInServer server([](const StandInServer::Request& r) {
    // "user:p\xC3\xA4ss" (UTF-8) in base64.
    if (r.Header("Authorization") == "Basic dXNlcjpww6Rzcw==") return HttpAnswer(200, {}, "welcome");
    return HttpAnswer(401, {"WWW-Authenticate: Basic realm=\"cal\""}, "who are you?");
  });
  HttpResult result = Transport("user", "p\xC3\xA4ss")->Send({"GET", server.Url("/"), {}, ""});
  ASSERT_TRUE(result.answered()) << result.error;
  EXPECT_EQ(result.status, 200);
  EXPECT_EQ(result.body, "welcome");

  result = Transport("user", "wrong")->Send({"GET", server.Url("/"), {}, ""});
  ASSERT_TRUE(result.answered()) << result.error;
  EXPECT_EQ(result.status, 401);
  EXPECT_EQ(result.Header("WWW-Authenticate"), "Basic realm=\"cal\"");
}

TEST(HttpTransport, AnswersADigestOnlyChallengeWithoutEverSendingBasic) {
  if (!TransportSpeaksDigest()) GTEST_SKIP() << "Wine's WinHTTP cannot answer Digest";
  StandInServer server([](const StandInServer::Request& r) {
    std::string auth = r.Header("Authorization");
    if (auth.rfind("Digest ", 0) == 0) return HttpAnswer(207, {}, "<ok/>");
    return HttpAnswer(
        401, {"WWW-Authenticate: Digest realm=\"cal\", nonce=\"n0nce\", qop=\"auth\", algorithm=MD5"});
  });
  HttpResult result =
      Transport("user", "secret")->Send({"PROPFIND", server.Url("/dav/"), {{"Depth", "0"}}, "<p/>"});
  ASSERT_TRUE(result.answered()) << result.error;
  EXPECT_EQ(result.status, 207);
  bool digest_sent = false;
  for (const StandInServer::Request& r : server.requests()) {
    std::string auth = r.Header("Authorization");
    EXPECT_EQ(auth.rfind("Basic", 0), std::string::npos) << auth;
    EXPECT_FALSE(Contains(r.head, "secret")) << "the password itself never travels with Digest";
    if (auth.empty()) continue;
    digest_sent = true;
    for (const char* field :
         {"username=\"user\"", "realm=\"cal\"", "nonce=\"n0nce\"", "uri=\"/dav/\"", "response=\""}) {
      EXPECT_TRUE(Contains(auth, field)) << field << " in " << auth;
    }
    EXPECT_EQ(r.body, "<p/>");
  }
  EXPECT_TRUE(digest_sent);
}

TEST(HttpTransport, FollowsARedirectAndReportsWhereTheAnswerCameFrom) {
  StandInServer server([](const StandInServer::Request& r) {
    if (r.target == "/.well-known/caldav") return HttpAnswer(301, {"Location: /dav/"});
    return HttpAnswer(207, {}, r.method + " " + r.target + " " + r.body);
  });
  HttpResult result = Transport()->Send({"PROPFIND", server.Url("/.well-known/caldav"), {}, "<p/>"});
  ASSERT_TRUE(result.answered()) << result.error;
  EXPECT_EQ(result.status, 207);
  EXPECT_EQ(result.body, "PROPFIND /dav/ <p/>");
  EXPECT_EQ(result.final_url, server.Url("/dav/"));
}

TEST(HttpTransport, NamesTheServerItCannotReach) {
  int port = 0;
  test_socket::Handle listener = test_socket::ListenOnLoopback(1, port);
  test_socket::Close(listener);  // a port where nobody listens now
  std::string url = "http://127.0.0.1:" + std::to_string(port) + "/dav/";
  HttpResult result = Transport("user", "secret")->Send({"PROPFIND", url, {}, ""});
  EXPECT_FALSE(result.answered());
  EXPECT_EQ(result.failure, HttpFailure::kUnreachable);
  EXPECT_TRUE(Contains(result.error, "127.0.0.1:" + std::to_string(port))) << result.error;
  EXPECT_FALSE(Contains(result.error, "secret"));

  result = Transport()->Send({"GET", "ftp://127.0.0.1/", {}, ""});
  EXPECT_EQ(result.failure, HttpFailure::kBadUrl);
}

TEST(HttpTransport, StopsReadingAnAnswerLargerThanTheLimit) {
  StandInServer server(
      [](const StandInServer::Request&) { return HttpAnswer(200, {}, std::string(50'000, 'x')); });
  HttpTransportOptions options;
  options.max_body_bytes = 10'000;
  HttpResult result = MakeHttpTransport(options)->Send({"GET", server.Url("/"), {}, ""});
  EXPECT_EQ(result.failure, HttpFailure::kTooLarge);
  EXPECT_TRUE(Contains(result.error, "127.0.0.1")) << result.error;
}

TEST(HttpTransport, GivesUpOnAServerThatStaysSilent) {
  std::atomic<bool> given_up{false};
  StandInServer server([&](const StandInServer::Request&) {
    for (int i = 0; i < 200 && !given_up.load(); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    return HttpAnswer(200);
  });
  HttpTransportOptions options;
  options.receive_timeout_seconds = 1;
  HttpResult result = MakeHttpTransport(options)->Send({"GET", server.Url("/"), {}, ""});
  given_up.store(true);
  EXPECT_EQ(result.failure, HttpFailure::kTimeout) << result.error;
  EXPECT_TRUE(Contains(result.error, "127.0.0.1")) << result.error;
}
