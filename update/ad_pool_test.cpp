#include "update/ad_pool.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

TEST(AdPool, AnEmptyPoolPicksTwoEmptyTexts) {
  AdPool pool;
  Ad ad = pool.PickAd();
  EXPECT_EQ(ad.strText, "");
  EXPECT_EQ(ad.strUrl, "");
  pool.SetAds("");
  EXPECT_TRUE(pool.ads().empty());
}

TEST(AdPool, TheLastItemNeedsNoSemicolon) {
  AdPool pool;
  pool.SetAds("X~U1;Y~U2");
  ASSERT_EQ(pool.ads().size(), 2u);
  EXPECT_EQ(pool.ads()[0].strText, "X");
  EXPECT_EQ(pool.ads()[0].strUrl, "U1");
  EXPECT_EQ(pool.ads()[1].strText, "Y");
  EXPECT_EQ(pool.ads()[1].strUrl, "U2");
}

TEST(AdPool, ATrailingSemicolonAddsAnEmptyPair) {
  AdPool pool;
  pool.SetAds("X~U1;Y~U2;");
  ASSERT_EQ(pool.ads().size(), 3u);
  EXPECT_EQ(pool.ads()[2].strText, "");
  EXPECT_EQ(pool.ads()[2].strUrl, "");
}

TEST(AdPool, PiecesWithoutOrWithSeveralTildes) {
  AdPool pool;
  pool.SetAds("plain;A~B~C");
  ASSERT_EQ(pool.ads().size(), 2u);
  EXPECT_EQ(pool.ads()[0].strText, "plain");
  EXPECT_EQ(pool.ads()[0].strUrl, "");
  EXPECT_EQ(pool.ads()[1].strText, "A");
  EXPECT_EQ(pool.ads()[1].strUrl, "B~C");
}

TEST(AdPool, ASecondListIsAppended) {
  AdPool pool;
  pool.SetAds("A~1");
  pool.SetAds("B~2;C~3");
  ASSERT_EQ(pool.ads().size(), 3u);
  EXPECT_EQ(pool.ads()[2].strText, "C");
}

TEST(AdPool, TakesAtMostOneHundredItems) {
  std::string list;
  for (int i = 0; i < 120; ++i)
    list += "ad" + std::to_string(i) + "~http://x.example/" + std::to_string(i) + ";";
  AdPool pool;
  pool.SetAds(list);
  EXPECT_EQ(pool.ads().size(), 100u);
}

TEST(AdPool, PicksOnlyFromThePool) {
  AdPool single;
  single.SetAds("only~http://x.example/");
  for (int i = 0; i < 2; ++i) {
    Ad ad = single.PickAd();
    EXPECT_EQ(ad.strText, "only");
    EXPECT_EQ(ad.strUrl, "http://x.example/");
  }
  AdPool three;
  three.SetAds("a~1;b~2;c~3");
  std::set<std::string> seen;
  for (int i = 0; i < 300; ++i) {
    Ad ad = three.PickAd();
    seen.insert(ad.strText + ad.strUrl);
  }
  EXPECT_EQ(seen, (std::set<std::string>{"a1", "b2", "c3"}));
}

}  // namespace
