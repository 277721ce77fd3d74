#include "caldav/url.h"

#include <gtest/gtest.h>

TEST(Url, ParsesWhatUsersType) {
  std::optional<Url> url = ParseUrl("HTTPS://Cal.Example.ORG:8443/dav/cal?x=1#top");
  ASSERT_TRUE(url);
  EXPECT_EQ(url->scheme, "https");
  EXPECT_EQ(url->host, "cal.example.org");
  EXPECT_EQ(url->port, 8443);
  EXPECT_EQ(url->path, "/dav/cal?x=1");
  EXPECT_EQ(url->ToString(), "https://cal.example.org:8443/dav/cal?x=1");
  EXPECT_EQ(url->HostAndPort(), "cal.example.org:8443");

  EXPECT_EQ(ParseUrl("http://127.0.0.1")->ToString(), "http://127.0.0.1/");
  EXPECT_EQ(ParseUrl("https://h:443/a")->ToString(), "https://h/a");
  EXPECT_EQ(ParseUrl("http://h:/a")->port, 80);
  EXPECT_EQ(ParseUrl("http://[::1]:5232/")->host, "[::1]");
  EXPECT_EQ(ParseUrl("http://[::1]:5232/")->port, 5232);
  EXPECT_EQ(ParseUrl("http://h/a/./b/../c")->path, "/a/c");
}

TEST(Url, RefusesWhatIsNoServerAddress) {
  for (const char* text :
       {"", "cal.example.org", "ftp://h/", "file:///etc/passwd", "http://", "http:///a",
        "http://user:secret@h/", "http://h:0/", "http://h:65536/", "http://h:99999999/", "http://h:8a/",
        "http://h/a b", "http://h/a\r\nX-Evil: 1", "http://h\x01/", "http://[::1/", "http://ho st/"}) {
    EXPECT_FALSE(ParseUrl(text)) << text;
  }
}

TEST(Url, ResolvesReferencesAsHrefsComeInAnswers) {
  Url base = *ParseUrl("https://h:8443/dav/user/cal/?q");
  EXPECT_EQ(ResolveUrl(base, "x.ics")->ToString(), "https://h:8443/dav/user/cal/x.ics");
  EXPECT_EQ(ResolveUrl(base, "/other/")->ToString(), "https://h:8443/other/");
  EXPECT_EQ(ResolveUrl(base, "../")->ToString(), "https://h:8443/dav/user/");
  EXPECT_EQ(ResolveUrl(base, "../../../../..")->ToString(), "https://h:8443/");
  EXPECT_EQ(ResolveUrl(base, "//p07.example.com/home/")->ToString(), "https://p07.example.com/home/");
  EXPECT_EQ(ResolveUrl(base, "http://other/x")->ToString(), "http://other/x");
  EXPECT_EQ(ResolveUrl(base, "")->ToString(), base.ToString());
  EXPECT_EQ(ResolveUrl(base, "#frag")->ToString(), base.ToString());
  EXPECT_EQ(ResolveUrl(base, "?sync")->ToString(), "https://h:8443/dav/user/cal/?sync");
  EXPECT_FALSE(ResolveUrl(base, "mailto:a@b"));
  EXPECT_FALSE(ResolveUrl(base, "x\n.ics"));
}

TEST(Url, CanonicalPathSpellsOneHrefOneWay) {
  EXPECT_EQ(CanonicalPath("/cal/a%40b.ics"), "/cal/a@b.ics");
  EXPECT_EQ(CanonicalPath("/cal/a@b.ics"), "/cal/a@b.ics");
  EXPECT_EQ(CanonicalPath("/%7euser/%7E"), "/~user/~");
  EXPECT_EQ(CanonicalPath("/a%2fb/%2F"), "/a%2Fb/%2F");
  EXPECT_EQ(CanonicalPath("/a b/\xC3\xA9.ics"), "/a%20b/%C3%A9.ics");
  EXPECT_EQ(CanonicalPath("/a%20b/%c3%a9.ics"), "/a%20b/%C3%A9.ics");
  EXPECT_EQ(CanonicalPath("/50%/%zz/%4"), "/50%25/%25zz/%254");
  EXPECT_EQ(CanonicalPath("/a?b=c?d"), "/a?b=c?d");
  EXPECT_EQ(CanonicalPath("/%3F/x"), "/%3F/x");
  // Idempotent: the canonical form of a canonical path is itself.
  for (const char* path : {"/a%20b/%C3%A9.ics", "/50%25/", "/a%2Fb", "/~u/@:x"}) {
    EXPECT_EQ(CanonicalPath(CanonicalPath(path)), CanonicalPath(path)) << path;
  }
  EXPECT_EQ(CanonicalUrl(*ParseUrl("HTTP://H:80/%7Ea")), "http://h/~a");
}

TEST(Url, PercentEncodeSegmentKeepsOnlyUnreserved) {
  EXPECT_EQ(PercentEncodeSegment("abc-XYZ_0.9~"), "abc-XYZ_0.9~");
  EXPECT_EQ(PercentEncodeSegment("a/b@c d%\xE4"), "a%2Fb%40c%20d%25%E4");
  EXPECT_EQ(PercentEncodeSegment(".."), "..");
  EXPECT_EQ(WithTrailingSlash("/cal"), "/cal/");
  EXPECT_EQ(WithTrailingSlash("/cal/"), "/cal/");
}
