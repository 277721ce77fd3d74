#include "base/cp936.h"

#include <gtest/gtest.h>

// "中" is D6 D0; "~" is 0x7E and "|" is 0x7C, both valid trail bytes.
// "乇" is 81 7E: its trail byte is "~".
TEST(Cp936, FindNeverMatchesOnATrailByte) {
  std::string text =
      "\x81\x7E"
      "a~b";
  EXPECT_EQ(cp936::FindChar(text, '~'), 3u);
  EXPECT_EQ(cp936::Find(text, "~b"), 3u);
  EXPECT_EQ(cp936::Find("\xD6\xD0\xCE\xC4", "\xD0\xCE"), std::string::npos);
  EXPECT_EQ(cp936::Find("\xD6\xD0\xCE\xC4", "\xCE\xC4"), 2u);
}

TEST(Cp936, FindBoundaries) {
  EXPECT_EQ(cp936::Find("abc", ""), 0u);
  EXPECT_EQ(cp936::Find("abc", "", 3), 3u);
  EXPECT_EQ(cp936::Find("abc", "", 4), std::string::npos);
  EXPECT_EQ(cp936::Find("", "a"), std::string::npos);
  EXPECT_EQ(cp936::Find("abc", "abcd"), std::string::npos);
  EXPECT_EQ(cp936::Find("abcabc", "bc", 2), 4u);
  // A lone lead byte at the end is one character of its own.
  EXPECT_EQ(cp936::FindChar("a\x81", '\x81'), 1u);
}

TEST(Cp936, AsciiLowerLeavesDoubleByteCharactersAlone) {
  // "A" (0x41) and "Z" (0x5A) as trail bytes: 81 41, 81 5A.
  EXPECT_EQ(cp936::AsciiLower("AbZ\x81\x41\x81\x5A"
                              "Q"),
            "abz\x81\x41\x81\x5A"
            "q");
  EXPECT_EQ(cp936::AsciiLower("[@]`{"), "[@]`{");
}

TEST(Cp936, ReplaceAllIsLeftToRightAndNonOverlapping) {
  EXPECT_EQ(cp936::ReplaceAll("aaaa", "aa", "b"), "bb");
  EXPECT_EQ(cp936::ReplaceAll("aaa", "aa", "b"), "ba");
  EXPECT_EQ(cp936::ReplaceAll("x\r\ny\r\n", "\r\n", "<br>"), "x<br>y<br>");
  EXPECT_EQ(cp936::ReplaceAll("abc", "", "z"), "abc");
  EXPECT_EQ(cp936::ReplaceAll("\x81\x7E~", "~", "-"), "\x81\x7E-");
}
