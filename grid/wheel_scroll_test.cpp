#include "grid/wheel_scroll.h"

#include <gtest/gtest.h>

namespace grid {
namespace {

TEST(WheelScroll, WholeNotchesScrollLinesPerNotch) {
  int carry = 0;
  WheelScroll s = ComputeWheelScroll(120, 3, &carry);
  EXPECT_EQ(s.count, 3);
  EXPECT_TRUE(s.up);
  EXPECT_FALSE(s.page);
  s = ComputeWheelScroll(-240, 3, &carry);
  EXPECT_EQ(s.count, 6);
  EXPECT_FALSE(s.up);
  s = ComputeWheelScroll(120, 1, &carry);
  EXPECT_EQ(s.count, 1);
  EXPECT_EQ(carry, 0);
  s = ComputeWheelScroll(120, 0, &carry);
  EXPECT_EQ(s.count, 0);
}

TEST(WheelScroll, PageSettingScrollsPagesPerNotch) {
  int carry = 0;
  WheelScroll s = ComputeWheelScroll(-360, kWheelPageScroll, &carry);
  EXPECT_TRUE(s.page);
  EXPECT_FALSE(s.up);
  EXPECT_EQ(s.count, 3);
  s = ComputeWheelScroll(120, kWheelPageScroll, &carry);
  EXPECT_TRUE(s.up);
  EXPECT_EQ(s.count, 1);
}

TEST(WheelScroll, FineDeltasAddUpInsteadOfBeingLost) {
  int carry = 0;
  int lines = 0;
  for (int i = 0; i < 12; ++i) lines += ComputeWheelScroll(10, 3, &carry).count;  // one notch in 12 steps
  EXPECT_EQ(lines, 3);
  EXPECT_EQ(carry, 0);
  // 40 x 3 / 120 = 1 line at once, as with the plain rule.
  EXPECT_EQ(ComputeWheelScroll(40, 3, &carry).count, 1);
  // Turning back drops what was left over in the other direction.
  EXPECT_EQ(ComputeWheelScroll(30, 3, &carry).count, 0);
  EXPECT_EQ(carry, 90);
  WheelScroll s = ComputeWheelScroll(-40, 3, &carry);
  EXPECT_EQ(s.count, 1);
  EXPECT_FALSE(s.up);
}

TEST(WheelScroll, HugeValuesDoNotOverflow) {
  int carry = 0;
  WheelScroll s = ComputeWheelScroll(-32768 * 4, 0xFFFFFFFEu, &carry);
  EXPECT_EQ(s.count, 0x7FFFFFFF);
  EXPECT_FALSE(s.up);
}

TEST(WheelScroll, LinesPerNotchComeFromTheSystemThenTheRegistryThenThree) {
  EXPECT_EQ(ChooseWheelLines(5u, "7"), 5u);
  EXPECT_EQ(ChooseWheelLines(0u, "7"), 0u);
  EXPECT_EQ(ChooseWheelLines(std::nullopt, "7"), 7u);
  EXPECT_EQ(ChooseWheelLines(std::nullopt, " 12"), 12u);
  EXPECT_EQ(ChooseWheelLines(std::nullopt, "-1"), 3u);
  EXPECT_EQ(ChooseWheelLines(std::nullopt, "many"), 3u);
  EXPECT_EQ(ChooseWheelLines(std::nullopt, ""), 3u);
  EXPECT_EQ(ChooseWheelLines(std::nullopt, std::nullopt), 3u);
}

}  // namespace
}  // namespace grid
