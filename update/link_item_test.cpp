#include "update/link_item.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(LinkItem, SplitsAtTheFirstTilde) {
  LinkItem plain = SplitLinkItem("A");
  EXPECT_EQ(plain.strText, "A");
  EXPECT_EQ(plain.strUrl, "");
  EXPECT_FALSE(plain.bLink);
  LinkItem link = SplitLinkItem("A~B~C");
  EXPECT_EQ(link.strText, "A");
  EXPECT_EQ(link.strUrl, "B~C");
  EXPECT_TRUE(link.bLink);
  LinkItem edges = SplitLinkItem("~");
  EXPECT_EQ(edges.strText, "");
  EXPECT_EQ(edges.strUrl, "");
  EXPECT_TRUE(edges.bLink);
}

TEST(LinkItem, ATildeTrailByteIsNoMarker) {
  // 0x81 0x7E is one double-byte character whose second byte is "~".
  LinkItem item = SplitLinkItem("\x81\x7e\xb0\xa1~http://x.example/");
  EXPECT_EQ(item.strText, "\x81\x7e\xb0\xa1");
  EXPECT_EQ(item.strUrl, "http://x.example/");
  EXPECT_FALSE(SplitLinkItem("\x81\x7e").bLink);
}

TEST(ScrollItems, OnlyPiecesEndingInASemicolonAreItems) {
  std::vector<LinkItem> items = SplitScrollItems("A;B~U;C");
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(items[0].strText, "A");
  EXPECT_FALSE(items[0].bLink);
  EXPECT_EQ(items[1].strText, "B");
  EXPECT_EQ(items[1].strUrl, "U");
  EXPECT_TRUE(items[1].bLink);
  EXPECT_TRUE(SplitScrollItems("no separator").empty());
  EXPECT_TRUE(SplitScrollItems("").empty());
  EXPECT_EQ(SplitScrollItems(";;").size(), 2u);
}

TEST(ScrollItems, TakesAtMostOneHundredItems) {
  std::string text;
  for (int i = 0; i < 150; ++i) text += "item" + std::to_string(i) + ";";
  std::vector<LinkItem> items = SplitScrollItems(text);
  ASSERT_EQ(items.size(), 100u);
  EXPECT_EQ(items[99].strText, "item99");
}

}  // namespace
