#include "skin/painter_logic.h"

#include <gtest/gtest.h>

namespace skin {
namespace {

TEST(CenteredTextRect, EvenFreeSpaceCentresExactly) {
  EXPECT_EQ(CenteredTextRect({0, 0, 100, 20}, 40, 12), (PixelRect{30, 4, 70, 16}));
  EXPECT_EQ(CenteredTextRect({10, 5, 110, 25}, 40, 12), (PixelRect{40, 9, 80, 21}));
}

TEST(CenteredTextRect, OddFreeSpaceKeepsTheSpareColumnInside) {
  // Free 7 x 3: 3 and 1 come off each side, the rectangle is one wider and
  // one higher than the text.
  EXPECT_EQ(CenteredTextRect({0, 0, 11, 15}, 4, 12), (PixelRect{3, 1, 8, 14}));
}

TEST(CenteredTextRect, TextLargerThanTheAreaSticksOutEvenly) {
  // Free -3 x -1: division toward zero gives -1 and 0.
  EXPECT_EQ(CenteredTextRect({0, 0, 10, 12}, 13, 13), (PixelRect{-1, 0, 11, 12}));
  EXPECT_EQ(CenteredTextRect({0, 0, 10, 12}, 14, 16), (PixelRect{-2, -2, 12, 14}));
}

TEST(CenteredTextRect, EmptyTextIsAPointInTheMiddle) {
  EXPECT_EQ(CenteredTextRect({0, 0, 200, 17}, 0, 0), (PixelRect{100, 8, 100, 9}));
}

TEST(Gradient, OnlyTheExactDirectionWordRunsHorizontally) {
  EXPECT_TRUE(IsHorizontalGradient(0x1000000));
  for (int word : {0, 1, 0x10000000, 0x1000001, 0xFFFFFF, -1})
    EXPECT_FALSE(IsHorizontalGradient(word)) << word;
}

TEST(Gradient, ComponentsWidenIntoTheHighByte) {
  EXPECT_EQ(WidenColorComponent(0), 0);
  EXPECT_EQ(WidenColorComponent(0x26), 0x2600);
  EXPECT_EQ(WidenColorComponent(0xFF), 0xFF00);
}

}  // namespace
}  // namespace skin
