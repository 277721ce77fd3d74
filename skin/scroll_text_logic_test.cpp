#include "skin/scroll_text_logic.h"

#include <gtest/gtest.h>

#include <string>

namespace skin {
namespace {

// Ten pixels per byte: easy to reason about.
int TenPerByte(std::string_view text) { return static_cast<int>(text.size()) * 10; }

const PixelRect kClient{0, 0, 200, 22};

// Advances until the current item changes; returns the number of steps.
int RunToNextItem(ScrollTextModel& model) {
  const std::size_t before = model.current_index();
  int steps = 0;
  do {
    ++steps;
    EXPECT_NE(model.Advance(kClient, std::nullopt, TenPerByte), ScrollTextModel::Step::kIdle);
  } while (model.current_index() == before && steps < 10000);
  return steps;
}

TEST(ScrollTextModel, EmptyTickerNeverStarts) {
  ScrollTextModel model;
  EXPECT_FALSE(model.Start(kClient, TenPerByte));
  EXPECT_EQ(model.current(), nullptr);
  EXPECT_EQ(model.Advance(kClient, PixelPoint{10, 10}, TenPerByte), ScrollTextModel::Step::kIdle);
  EXPECT_EQ(model.LinkUnderCursor(kClient, PixelPoint{10, 10}), nullptr);
}

TEST(ScrollTextModel, FirstItemStartsJustOutsideTheRightEdge) {
  ScrollTextModel model;
  model.AddItem("abc");
  model.AddLinkItem("link", "http://example.com/");
  ASSERT_TRUE(model.Start(kClient, TenPerByte));
  ASSERT_NE(model.current(), nullptr);
  EXPECT_EQ(model.current_index(), 0u);
  EXPECT_EQ(model.current()->rect, (PixelRect{200, 0, 230, 22}));
}

TEST(ScrollTextModel, MovesOnePixelPerStepUntilItsRightEdgeIsNegative) {
  ScrollTextModel model;
  model.AddItem("abc");  // 30 pixels
  model.AddItem("de");
  model.Start(kClient, TenPerByte);
  // 230 steps bring the right edge to 0: still the same item.
  for (int step = 1; step <= 230; ++step) {
    ASSERT_EQ(model.Advance(kClient, std::nullopt, TenPerByte), ScrollTextModel::Step::kMoved) << step;
    ASSERT_EQ(model.current()->rect.left, 200 - step);
    ASSERT_EQ(model.current()->rect.right, 230 - step);
  }
  EXPECT_EQ(model.Advance(kClient, std::nullopt, TenPerByte), ScrollTextModel::Step::kNextItem);
  EXPECT_EQ(model.current_index(), 1u);
  EXPECT_EQ(model.current()->rect, (PixelRect{200, 0, 220, 22}));
}

TEST(ScrollTextModel, EveryItemGetsItsTurnAlsoWithDuplicateTexts) {
  ScrollTextModel model;
  model.AddItem("news");
  model.AddItem("b");
  model.AddLinkItem("NEWS", "http://example.com/");  // same text in other letters
  model.AddItem("c");
  model.AddItem("news");
  model.Start(kClient, TenPerByte);
  std::vector<std::size_t> shown{model.current_index()};
  for (int i = 0; i < 10; ++i) {
    RunToNextItem(model);
    shown.push_back(model.current_index());
  }
  EXPECT_EQ(shown, (std::vector<std::size_t>{0, 1, 2, 3, 4, 0, 1, 2, 3, 4, 0}));
}

TEST(ScrollTextModel, NextIndexWrapsAfterTheLast) {
  ScrollTextModel model;
  model.AddItem("x");
  EXPECT_EQ(model.NextIndex(0), 0u);
  model.AddItem("x");
  EXPECT_EQ(model.NextIndex(0), 1u);
  EXPECT_EQ(model.NextIndex(1), 0u);
}

TEST(ScrollTextModel, LinkWaitsUnderTheMouseAndGoesOnWhenItLeaves) {
  ScrollTextModel model;
  model.AddLinkItem("link", "http://example.com/");
  model.Start(kClient, TenPerByte);
  for (int i = 0; i < 100; ++i) model.Advance(kClient, std::nullopt, TenPerByte);
  const PixelRect rested = model.current()->rect;  // {100, 0, 140, 22}
  ASSERT_EQ(rested, (PixelRect{100, 0, 140, 22}));
  for (PixelPoint cursor : {PixelPoint{100, 0}, PixelPoint{139, 21}, PixelPoint{120, 10}}) {
    EXPECT_EQ(model.Advance(kClient, cursor, TenPerByte), ScrollTextModel::Step::kWaiting);
    EXPECT_EQ(model.current()->rect, rested);
  }
  // Just outside the text, or the mouse elsewhere: it moves on from where it stood.
  EXPECT_EQ(model.Advance(kClient, PixelPoint{140, 10}, TenPerByte), ScrollTextModel::Step::kMoved);
  EXPECT_EQ(model.Advance(kClient, std::nullopt, TenPerByte), ScrollTextModel::Step::kMoved);
  EXPECT_EQ(model.current()->rect.left, 98);
}

TEST(ScrollTextModel, PlainItemNeverWaits) {
  ScrollTextModel model;
  model.AddItem("plain");
  model.Start(kClient, TenPerByte);
  for (int i = 0; i < 100; ++i) model.Advance(kClient, std::nullopt, TenPerByte);
  EXPECT_EQ(model.Advance(kClient, PixelPoint{110, 10}, TenPerByte), ScrollTextModel::Step::kMoved);
  EXPECT_EQ(model.LinkUnderCursor(kClient, PixelPoint{110, 10}), nullptr);
}

TEST(ScrollTextModel, OnlyThePartInsideTheControlIsUnderTheMouse) {
  ScrollTextModel model;
  model.AddLinkItem("a long link text", "http://example.com/");  // 160 pixels
  model.Start(kClient, TenPerByte);
  // Entering: the item covers x 190..349, of which 190..199 are inside.
  for (int i = 0; i < 10; ++i) model.Advance(kClient, std::nullopt, TenPerByte);
  EXPECT_NE(model.LinkUnderCursor(kClient, PixelPoint{199, 5}), nullptr);
  EXPECT_EQ(model.LinkUnderCursor(kClient, PixelPoint{200, 5}), nullptr);
  EXPECT_EQ(model.Advance(kClient, PixelPoint{200, 5}, TenPerByte), ScrollTextModel::Step::kMoved);
  // Leaving: the item covers x -20..139; a cursor left of the control does not stop it.
  for (int i = 0; i < 209; ++i) model.Advance(kClient, std::nullopt, TenPerByte);
  ASSERT_EQ(model.current()->rect.left, -20);
  EXPECT_EQ(model.LinkUnderCursor(kClient, PixelPoint{-5, 5}), nullptr);
  EXPECT_NE(model.LinkUnderCursor(kClient, PixelPoint{0, 5}), nullptr);
}

}  // namespace
}  // namespace skin
