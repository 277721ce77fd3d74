#include "base/split_list.h"

#include <gtest/gtest.h>

using Pieces = std::vector<std::string>;

TEST(SplitList, PiecesEndInTheSeparator) {
  EXPECT_EQ(SplitList("A;B~U;C", ';'), (Pieces{"A", "B~U"}));
  EXPECT_EQ(SplitList("A;;B;", ';'), (Pieces{"A", "", "B"}));
  EXPECT_EQ(SplitList(";", ';'), (Pieces{""}));
  EXPECT_EQ(SplitList(";;", ';'), (Pieces{"", ""}));
  EXPECT_TRUE(SplitList("no separator", ';').empty());
  EXPECT_TRUE(SplitList("", ';').empty());
}

TEST(SplitList, TrailByteOfADoubleByteCharacterIsNoSeparator) {
  // 0x3B is no valid trail byte, but a broken pair must not split either:
  // the lead byte 0x81 takes the ";" after it as its second byte.
  EXPECT_EQ(SplitList("\x81;x;y;", ';'), (Pieces{"\x81;x", "y"}));
  // "声音;提醒;" splits after each word.
  EXPECT_EQ(SplitList("\xC9\xF9\xD2\xF4;\xCC\xE1\xD0\xD1;", ';'),
            (Pieces{"\xC9\xF9\xD2\xF4", "\xCC\xE1\xD0\xD1"}));
}

TEST(SplitList, PiecesBeyondTheHundredthAreDropped) {
  for (std::size_t separators : {99, 100, 101, 150, 1000}) {
    std::string text;
    for (std::size_t i = 0; i < separators; ++i) text += std::to_string(i) + ";";
    Pieces pieces = SplitList(text, ';');
    ASSERT_EQ(pieces.size(), std::min(separators, kMaxListPieces));
    EXPECT_EQ(pieces.front(), "0");
    EXPECT_EQ(pieces.back(), std::to_string(pieces.size() - 1));
  }
}
