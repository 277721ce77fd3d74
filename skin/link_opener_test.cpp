#include "skin/link_opener.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "skin/testing/recording_opener.h"

namespace {

TEST(OpenWebLink, HandsOnWebAddresses) {
  RecordingOpener opener;
  EXPECT_TRUE(OpenWebLink(opener, "http://www.example.com/software/index.php"));
  EXPECT_TRUE(OpenWebLink(opener, "HTTPS://example.com/a?b=c"));
  EXPECT_EQ(opener.opened, (std::vector<std::string>{"http://www.example.com/software/index.php",
                                                     "HTTPS://example.com/a?b=c"}));
}

TEST(OpenWebLink, NeverHandsOnAnythingElse) {
  RecordingOpener opener;
  for (const char* target : {"", "C:\\Windows\\System32\\calc.exe", "calc.exe", "file:///C:/Windows/win.ini",
                             "\\\\host\\share\\x.exe", "javascript:alert(1)", "ms-msdt:/id",
                             "http:/one-slash", " http://example.com/", "ftp://example.com/"}) {
    EXPECT_FALSE(OpenWebLink(opener, target)) << target;
  }
  EXPECT_TRUE(opener.opened.empty());
}

}  // namespace
