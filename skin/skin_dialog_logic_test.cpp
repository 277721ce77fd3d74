#include "skin/skin_dialog_logic.h"

#include <gtest/gtest.h>

#include <vector>

using namespace skin_frame;

namespace {

constexpr std::uint32_t kMagenta = 0x00FF00FF;
constexpr std::uint32_t kGrey = 0x00404040;

struct Image {
  int width, height;
  std::vector<std::uint32_t> pixels;
  Image(int w, int h, std::uint32_t fill) : width(w), height(h), pixels(static_cast<size_t>(w) * h, fill) {}
  std::uint32_t& at(int x, int y) { return pixels[static_cast<size_t>(y) * width + x]; }
  std::vector<RegionBatch> Runs() const { return OpaqueRowRuns(pixels.data(), width, height, width); }
};

// Every opaque pixel lies in exactly one rectangle, and no transparent one in any.
void ExpectCoversExactlyTheOpaquePixels(const Image& image, const std::vector<RegionBatch>& batches) {
  std::vector<int> hits(image.pixels.size(), 0);
  for (const RegionBatch& batch : batches) {
    for (const Rect& r : batch.rects) {
      ASSERT_EQ(r.height(), 1);
      ASSERT_GT(r.width(), 0);
      EXPECT_LE(batch.bounds.left, r.left);
      EXPECT_LE(batch.bounds.top, r.top);
      EXPECT_GE(batch.bounds.right, r.right);
      EXPECT_GE(batch.bounds.bottom, r.bottom);
      for (int x = r.left; x < r.right; ++x) ++hits[static_cast<size_t>(r.top) * image.width + x];
    }
  }
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      const size_t i = static_cast<size_t>(y) * image.width + x;
      EXPECT_EQ(hits[i], IsTransparent(image.pixels[i]) ? 0 : 1) << x << "," << y;
    }
  }
}

TEST(SkinFrameRegion, ImageWithoutMagentaIsOneRunPerRow) {
  Image image(7, 5, kGrey);
  auto batches = image.Runs();
  ASSERT_EQ(batches.size(), 1u);
  ASSERT_EQ(batches[0].rects.size(), 5u);
  for (int y = 0; y < 5; ++y) EXPECT_EQ(batches[0].rects[y], (Rect{0, y, 7, y + 1}));
  EXPECT_EQ(batches[0].bounds, (Rect{0, 0, 7, 5}));
}

TEST(SkinFrameRegion, MagentaCornersAreCutOff) {
  // A 10 x 6 image with rounded corners: 3, 1 pixels cut from the top rows.
  Image image(10, 6, kGrey);
  for (int y : {0, 5}) {
    for (int x : {0, 1, 2, 7, 8, 9}) image.at(x, y) = kMagenta;
  }
  for (int y : {1, 4}) {
    for (int x : {0, 9}) image.at(x, y) = kMagenta;
  }
  auto batches = image.Runs();
  ASSERT_EQ(batches.size(), 1u);
  const std::vector<Rect> expected{{3, 0, 7, 1},  {1, 1, 9, 2}, {0, 2, 10, 3},
                                   {0, 3, 10, 4}, {1, 4, 9, 5}, {3, 5, 7, 6}};
  EXPECT_EQ(batches[0].rects, expected);
  EXPECT_EQ(batches[0].bounds, (Rect{0, 0, 10, 6}));
}

TEST(SkinFrameRegion, OnlyExactMagentaIsTransparent) {
  Image image(6, 1, kGrey);
  image.at(0, 0) = 0;           // black
  image.at(1, 0) = 0x00FE00FF;  // almost magenta
  image.at(2, 0) = 0xFFFF00FF;  // magenta with an alpha byte
  image.at(3, 0) = 0x00FF01FF;
  image.at(4, 0) = kMagenta;
  auto batches = image.Runs();
  ASSERT_EQ(batches.size(), 1u);
  const std::vector<Rect> expected{{0, 0, 2, 1}, {3, 0, 4, 1}, {5, 0, 6, 1}};
  EXPECT_EQ(batches[0].rects, expected);
}

TEST(SkinFrameRegion, SeveralRunsInARowAndEdgeRuns) {
  Image image(9, 1, kMagenta);
  for (int x : {0, 2, 3, 8}) image.at(x, 0) = kGrey;
  auto batches = image.Runs();
  ASSERT_EQ(batches.size(), 1u);
  const std::vector<Rect> expected{{0, 0, 1, 1}, {2, 0, 4, 1}, {8, 0, 9, 1}};
  EXPECT_EQ(batches[0].rects, expected);
  ExpectCoversExactlyTheOpaquePixels(image, batches);
}

TEST(SkinFrameRegion, AllMagentaOrEmptyGivesNoBatches) {
  EXPECT_TRUE(Image(5, 4, kMagenta).Runs().empty());
  EXPECT_TRUE(Image(0, 0, kGrey).Runs().empty());
}

TEST(SkinFrameRegion, StrideLongerThanTheRowIsHonoured) {
  // Rows of 3 pixels stored 4 apart; the padding pixel must never be read as a run.
  std::vector<std::uint32_t> pixels{kGrey, kMagenta, kGrey, 0xDEAD, kMagenta, kGrey, kGrey, 0xBEEF};
  auto batches = OpaqueRowRuns(pixels.data(), 3, 2, 4);
  ASSERT_EQ(batches.size(), 1u);
  const std::vector<Rect> expected{{0, 0, 1, 1}, {2, 0, 3, 1}, {1, 1, 3, 2}};
  EXPECT_EQ(batches[0].rects, expected);
}

TEST(SkinFrameRegion, BatchesHoldAtMost2000Rectangles) {
  // A checkerboard: every opaque pixel is a run of its own.
  Image image(101, 81, kMagenta);
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      if ((x + y) % 2 == 0) image.at(x, y) = kGrey;
    }
  }
  const size_t total = (101 * 81 + 1) / 2;  // 4091
  auto batches = image.Runs();
  ASSERT_EQ(batches.size(), 3u);
  EXPECT_EQ(batches[0].rects.size(), 2000u);
  EXPECT_EQ(batches[1].rects.size(), 2000u);
  EXPECT_EQ(batches[2].rects.size(), total - 4000);
  // Each batch's box covers its own rows only.
  EXPECT_EQ(batches[0].bounds.top, 0);
  EXPECT_EQ(batches[1].bounds.top, batches[0].rects.back().top);
  EXPECT_EQ(batches[2].bounds.bottom, 81);
  ExpectCoversExactlyTheOpaquePixels(image, batches);
}

TEST(SkinFrameRegion, ExactlyOneFullBatch) {
  Image image(4001, 1, kMagenta);
  for (int x = 0; x < 4000; x += 2) image.at(x, 0) = kGrey;
  auto batches = image.Runs();
  ASSERT_EQ(batches.size(), 1u);
  EXPECT_EQ(batches[0].rects.size(), 2000u);
  image.at(4000, 0) = kGrey;  // one more run: a second batch of one
  batches = image.Runs();
  ASSERT_EQ(batches.size(), 2u);
  EXPECT_EQ(batches[1].rects.size(), 1u);
  EXPECT_EQ(batches[1].bounds, (Rect{4000, 0, 4001, 1}));
}

TEST(SkinFrameButtons, PlacesFollowBitmapsAndInsets) {
  // The main window: 641 wide, close bitmap 21 x 17, 7 from the right, 1 from the top.
  const Rect close = CloseButtonRect(641, 7, 1, true, 21, 17);
  EXPECT_EQ(close, (Rect{613, 1, 634, 18}));
  EXPECT_EQ(MinimizeButtonRect(close, true, 21, 17), (Rect{592, 1, 613, 18}));
  EXPECT_EQ(MinimizeButtonRect(close, false, 21, 17), (Rect{}));
  // The small dialogs: 276 wide, 6 from the right.
  EXPECT_EQ(CloseButtonRect(276, 6, 1, true, 21, 17), (Rect{249, 1, 270, 18}));
  // No bitmap: empty, at 20 from the right and 5 from the top.
  const Rect none = CloseButtonRect(276, 6, 1, false, 0, 0);
  EXPECT_EQ(none, (Rect{256, 5, 256, 5}));
  EXPECT_FALSE(none.Contains(Point{256, 5}));
  EXPECT_EQ(IconRect(true), (Rect{30, 5, 46, 21}));
  EXPECT_EQ(IconRect(false), (Rect{30, 5, 30, 5}));
  EXPECT_EQ(EmptyAt(close), (Rect{613, 1, 613, 1}));
}

TEST(SkinFrameButtons, StateChoice) {
  const Rect button{100, 1, 121, 18};
  const Point inside{110, 10}, outside{90, 10}, press_inside{101, 2}, press_elsewhere{10, 10};
  EXPECT_EQ(ChooseButtonState(button, inside, false, press_elsewhere), ButtonState::kHover);
  EXPECT_EQ(ChooseButtonState(button, inside, true, press_inside), ButtonState::kPressed);
  EXPECT_EQ(ChooseButtonState(button, inside, true, press_elsewhere), ButtonState::kNormal);
  EXPECT_EQ(ChooseButtonState(button, outside, true, press_inside), ButtonState::kNormal);
  EXPECT_EQ(ChooseButtonState(button, outside, false, press_inside), ButtonState::kNormal);
  // Edges: left/top inside, right/bottom outside.
  EXPECT_EQ(ChooseButtonState(button, Point{100, 1}, false, {}), ButtonState::kHover);
  EXPECT_EQ(ChooseButtonState(button, Point{120, 17}, false, {}), ButtonState::kHover);
  EXPECT_EQ(ChooseButtonState(button, Point{121, 10}, false, {}), ButtonState::kNormal);
  EXPECT_EQ(ChooseButtonState(button, Point{110, 18}, false, {}), ButtonState::kNormal);
}

CaptionButtons MainWindowButtons() {
  CaptionButtons b;
  b.close = CloseButtonRect(641, 7, 1, true, 21, 17);
  b.maximize = EmptyAt(b.close);
  b.restore = EmptyAt(b.close);
  b.minimize = MinimizeButtonRect(b.close, true, 21, 17);
  b.icon = IconRect(true);
  return b;
}

TEST(SkinFrameButtons, ReleaseTriggersOnlyTheButtonThatWasPressed) {
  const CaptionButtons b = MainWindowButtons();
  const Point on_close{620, 5}, on_min{600, 5}, off{300, 10}, on_icon{35, 10};
  EXPECT_EQ(CommandOnRelease(b, on_close, on_close, false), CaptionCommand::kClose);
  EXPECT_EQ(CommandOnRelease(b, on_close, on_close, true), CaptionCommand::kClose);
  EXPECT_EQ(CommandOnRelease(b, on_min, on_min, false), CaptionCommand::kMinimize);
  // Pressed on close, released outside or over the other button: nothing.
  EXPECT_EQ(CommandOnRelease(b, off, on_close, false), CaptionCommand::kNone);
  EXPECT_EQ(CommandOnRelease(b, on_min, on_close, false), CaptionCommand::kNone);
  EXPECT_EQ(CommandOnRelease(b, on_close, on_min, false), CaptionCommand::kNone);
  // The press point is reset to (0, 0) after every release.
  EXPECT_EQ(CommandOnRelease(b, on_close, Point{0, 0}, false), CaptionCommand::kNone);
  EXPECT_EQ(CommandOnRelease(b, on_icon, on_icon, false), CaptionCommand::kNone);
  EXPECT_TRUE(b.Covers(on_icon));
  EXPECT_TRUE(b.Covers(on_close));
  EXPECT_FALSE(b.Covers(off));
}

TEST(SkinFrameButtons, MaximiseAndRestoreWhenTheyHaveRectangles) {
  CaptionButtons b;
  b.maximize = Rect{10, 0, 20, 10};
  b.restore = Rect{10, 0, 20, 10};
  EXPECT_EQ(CommandOnRelease(b, Point{15, 5}, Point{15, 5}, false), CaptionCommand::kMaximize);
  EXPECT_EQ(CommandOnRelease(b, Point{15, 5}, Point{15, 5}, true), CaptionCommand::kRestore);
}

TEST(SkinFrameDrag, ArmsOnlyForTheLeftButtonAloneInTheStrip) {
  constexpr unsigned kShift = 0x0004, kControl = 0x0008, kRight = 0x0002;
  const int caption = 30;
  for (int x : {0, 40, 300, 640}) {  // the whole width of the strip drags
    EXPECT_TRUE(ShouldArmDrag(kLeftButtonOnly, Point{x, 0}, caption, false, false)) << x;
    EXPECT_TRUE(ShouldArmDrag(kLeftButtonOnly, Point{x, 29}, caption, false, false)) << x;
  }
  EXPECT_FALSE(ShouldArmDrag(kLeftButtonOnly, Point{40, 30}, caption, false, false));
  EXPECT_FALSE(ShouldArmDrag(kLeftButtonOnly | kShift, Point{40, 5}, caption, false, false));
  EXPECT_FALSE(ShouldArmDrag(kLeftButtonOnly | kControl, Point{40, 5}, caption, false, false));
  EXPECT_FALSE(ShouldArmDrag(kLeftButtonOnly | kRight, Point{40, 5}, caption, false, false));
  EXPECT_FALSE(ShouldArmDrag(kLeftButtonOnly, Point{40, 5}, caption, true, false));  // over a button
  EXPECT_FALSE(ShouldArmDrag(kLeftButtonOnly, Point{40, 5}, caption, false, true));  // maximised
  EXPECT_TRUE(ShouldStartMove(kLeftButtonOnly, Point{40, 5}, caption, false, true, false));
  EXPECT_FALSE(ShouldStartMove(kLeftButtonOnly, Point{40, 5}, caption, false, false, false));
  EXPECT_FALSE(ShouldStartMove(kLeftButtonOnly | kShift, Point{40, 5}, caption, false, true, false));
  EXPECT_FALSE(ShouldStartMove(kLeftButtonOnly, Point{40, 35}, caption, false, true, false));
}

TEST(SkinFrameMenu, EntriesByPosition) {
  auto normal = SystemMenuRules(false);
  auto maximised = SystemMenuRules(true);
  const bool normal_expected[] = {false, true, true, true, true, true, true};
  const bool maximised_expected[] = {true, false, false, true, false, false, true};
  const int positions[] = {0, 1, 2, 3, 4, 6, 8};
  for (int i = 0; i < 7; ++i) {
    EXPECT_EQ(normal[i].position, positions[i]);
    EXPECT_EQ(normal[i].enabled, normal_expected[i]) << positions[i];
    EXPECT_EQ(maximised[i].position, positions[i]);
    EXPECT_EQ(maximised[i].enabled, maximised_expected[i]) << positions[i];
  }
}

}  // namespace
