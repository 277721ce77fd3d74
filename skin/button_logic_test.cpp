#include "skin/button_logic.h"

#include <gtest/gtest.h>

#include "skin/check_box_logic.h"

namespace skin {
namespace {

TEST(SkinButtonFace, PressedBeatsHoverBeatsEnabledState) {
  for (bool hover : {false, true}) {
    for (bool enabled : {false, true}) {
      EXPECT_EQ(ChooseButtonFace(/*pressed=*/true, hover, enabled), ButtonFace::kPressed);
    }
  }
  EXPECT_EQ(ChooseButtonFace(false, true, true), ButtonFace::kHover);
  EXPECT_EQ(ChooseButtonFace(false, true, false), ButtonFace::kHover);
  EXPECT_EQ(ChooseButtonFace(false, false, true), ButtonFace::kNormal);
  EXPECT_EQ(ChooseButtonFace(false, false, false), ButtonFace::kDisabled);
}

TEST(SkinButtonFace, CaptionMovesOnlyWhilePressed) {
  EXPECT_EQ(CaptionOffset(true), 1);
  EXPECT_EQ(CaptionOffset(false), 0);
}

TEST(SkinButtonHover, RefusedWhileTheButtonIsHeldFromElsewhere) {
  // Left button down, not lit yet: a drag from another control passes over.
  EXPECT_EQ(HoverOnMouseMove(true, false, true), HoverChange::kNone);
  EXPECT_EQ(HoverOnMouseMove(true, false, false), HoverChange::kNone);
}

TEST(SkinButtonHover, EntersAndLeavesWithTheCursor) {
  EXPECT_EQ(HoverOnMouseMove(false, false, true), HoverChange::kEnter);
  EXPECT_EQ(HoverOnMouseMove(false, true, true), HoverChange::kNone);
  EXPECT_EQ(HoverOnMouseMove(false, true, false), HoverChange::kLeave);
  EXPECT_EQ(HoverOnMouseMove(false, false, false), HoverChange::kNone);
  // A press that began on the lit button and moves off it: the light goes out.
  EXPECT_EQ(HoverOnMouseMove(true, true, false), HoverChange::kLeave);
  EXPECT_EQ(HoverOnMouseMove(true, true, true), HoverChange::kNone);
}

TEST(SkinCheckBoxLayout, BoxIsCentredVerticallyTowardZero) {
  EXPECT_EQ(BoxTop(20, 12), 4);
  EXPECT_EQ(BoxTop(13, 12), 0);  // 0.5 truncated
  EXPECT_EQ(BoxTop(12, 12), 0);
  EXPECT_EQ(BoxTop(11, 14), -1);  // -1.5 truncated toward zero, not down
  EXPECT_EQ(BoxTop(10, 14), -2);
  EXPECT_EQ(CaptionLeft(15), 30);
}

TEST(SkinCheckBoxLayout, OnlyTheBoxToggles) {
  // A 100 x 16 control with a 12 x 12 box: the box spans x 0..11, y 2..13.
  const int height = 16, w = 12, h = 12;
  EXPECT_TRUE(HitsBox({0, 2}, height, w, h));
  EXPECT_TRUE(HitsBox({11, 13}, height, w, h));
  EXPECT_FALSE(HitsBox({12, 8}, height, w, h));  // first pixel right of the box
  EXPECT_FALSE(HitsBox({5, 1}, height, w, h));
  EXPECT_FALSE(HitsBox({5, 14}, height, w, h));
  EXPECT_FALSE(HitsBox({-1, 8}, height, w, h));
  EXPECT_FALSE(HitsBox({40, 8}, height, w, h));  // on the caption
}

}  // namespace
}  // namespace skin
