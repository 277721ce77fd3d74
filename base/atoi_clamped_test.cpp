#include "base/atoi_clamped.h"

#include <gtest/gtest.h>

#include <climits>

TEST(AtoiClamped, FollowsTheRuntimeRules) {
  EXPECT_EQ(AtoiClamped(""), 0);
  EXPECT_EQ(AtoiClamped("abc"), 0);
  EXPECT_EQ(AtoiClamped("0x10"), 0);
  EXPECT_EQ(AtoiClamped("- 5"), 0);
  EXPECT_EQ(AtoiClamped("+-5"), 0);
  EXPECT_EQ(AtoiClamped("  42abc"), 42);
  EXPECT_EQ(AtoiClamped("\t\r\n\v\f 5"), 5);
  EXPECT_EQ(AtoiClamped("+7"), 7);
  EXPECT_EQ(AtoiClamped("-7"), -7);
  EXPECT_EQ(AtoiClamped("007"), 7);
  EXPECT_EQ(AtoiClamped("1 2"), 1);
}

TEST(AtoiClamped, ClampsAtTheEndsOfThe32BitRange) {
  EXPECT_EQ(AtoiClamped("2147483647"), INT_MAX);
  EXPECT_EQ(AtoiClamped("2147483648"), INT_MAX);
  EXPECT_EQ(AtoiClamped("-2147483647"), -INT_MAX);
  EXPECT_EQ(AtoiClamped("-2147483648"), INT_MIN);
  EXPECT_EQ(AtoiClamped("-2147483649"), INT_MIN);
  EXPECT_EQ(AtoiClamped("99999999999999999999999999"), INT_MAX);
  EXPECT_EQ(AtoiClamped("-99999999999999999999999999"), INT_MIN);
}
