#include "caldav/http_redirect.h"

#include <gtest/gtest.h>

#include <vector>

TEST(Redirect, FollowsWithinAndUpToHttps) {
  RedirectDecision d = JudgeRedirect("http://h/.well-known/caldav", "/dav/", 0, 5);
  EXPECT_TRUE(d.follow);
  EXPECT_EQ(d.next_url, "http://h/dav/");
  d = JudgeRedirect("http://h/", "https://h/dav/", 0, 5);
  EXPECT_TRUE(d.follow);
  d = JudgeRedirect("https://h/a/", "https://p07.example.com/b/", 4, 5);
  EXPECT_TRUE(d.follow);
  EXPECT_EQ(d.next_url, "https://p07.example.com/b/");
}

TEST(Redirect, RefusesHttpsToHttpNamingTheServer) {
  for (const char* location : {"http://h/dav/", "HTTP://h/", "http://h:443/"}) {
    RedirectDecision d = JudgeRedirect("https://h:8443/", location, 0, 5);
    EXPECT_FALSE(d.follow) << location;
    EXPECT_EQ(d.failure, HttpFailure::kRedirectRefused);
    EXPECT_NE(d.error.find("h:8443"), std::string::npos) << d.error;
    EXPECT_NE(d.error.find("https to http"), std::string::npos) << d.error;
  }
  // A scheme-relative location keeps https.
  EXPECT_TRUE(JudgeRedirect("https://h/", "//h:80/x", 0, 5).follow);
}

TEST(Redirect, RefusesOtherSchemesEmptyLocationsAndEndlessLoops) {
  EXPECT_EQ(JudgeRedirect("https://h/", "ftp://h/", 0, 5).failure, HttpFailure::kRedirectRefused);
  EXPECT_EQ(JudgeRedirect("https://h/", "", 0, 5).failure, HttpFailure::kRedirectRefused);
  EXPECT_EQ(JudgeRedirect("https://h/", "/a\r\n", 0, 5).failure, HttpFailure::kRedirectRefused);
  RedirectDecision d = JudgeRedirect("https://h/", "/again", 5, 5);
  EXPECT_FALSE(d.follow);
  EXPECT_EQ(d.failure, HttpFailure::kTooManyRedirects);
}

namespace {
HttpResult Answer(int status, std::string location = "") {
  HttpResult r;
  r.status = status;
  if (!location.empty()) r.headers.push_back({"location", location});
  return r;
}
}  // namespace

TEST(Redirect, LoopResendsTheSameRequestAndReportsTheFinalUrl) {
  std::vector<HttpRequest> seen;
  HttpRequest request{"PROPFIND", "http://h/.well-known/caldav", {{"Depth", "0"}}, "<propfind/>"};
  HttpResult result = SendFollowingRedirects(request, 5, [&](const HttpRequest& r) {
    seen.push_back(r);
    if (seen.size() == 1) return Answer(301, "/");
    if (seen.size() == 2) return Answer(307, "https://h/dav/");
    return Answer(207);
  });
  EXPECT_EQ(result.status, 207);
  EXPECT_EQ(result.final_url, "https://h/dav/");
  ASSERT_EQ(seen.size(), 3u);
  for (const HttpRequest& r : seen) {
    EXPECT_EQ(r.method, "PROPFIND");
    EXPECT_EQ(r.body, "<propfind/>");
    ASSERT_EQ(r.headers.size(), 1u);
  }
  EXPECT_EQ(seen[1].url, "http://h/");
}

TEST(Redirect, LoopTurns303IntoGetAndStopsAtTheLimitOrARefusal) {
  std::vector<HttpRequest> seen;
  HttpResult result = SendFollowingRedirects({"PUT", "http://h/a", {}, "body"}, 5, [&](const HttpRequest& r) {
    seen.push_back(r);
    return seen.size() == 1 ? Answer(303, "/b") : Answer(200);
  });
  EXPECT_EQ(seen.at(1).method, "GET");
  EXPECT_EQ(seen.at(1).body, "");
  EXPECT_EQ(result.final_url, "http://h/b");

  int count = 0;
  result = SendFollowingRedirects({"GET", "http://h/a", {}, ""}, 3, [&](const HttpRequest&) {
    ++count;
    return Answer(302, "/a");
  });
  EXPECT_EQ(result.failure, HttpFailure::kTooManyRedirects);
  EXPECT_EQ(count, 4);

  result = SendFollowingRedirects({"GET", "https://h/a", {}, ""}, 3,
                                  [&](const HttpRequest&) { return Answer(301, "http://h/a"); });
  EXPECT_EQ(result.failure, HttpFailure::kRedirectRefused);
  EXPECT_EQ(result.status, 0);
  // A redirect without a Location is an answer like any other.
  result = SendFollowingRedirects({"GET", "http://h/a", {}, ""}, 3,
                                  [&](const HttpRequest&) { return Answer(304); });
  EXPECT_EQ(result.status, 304);
}
