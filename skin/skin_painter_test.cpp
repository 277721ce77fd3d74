#include "skin/skin_painter.h"

#include <gtest/gtest.h>

#include "skin/testing/skin_test_host.h"

namespace {

constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kGrey = RGB(128, 128, 128);

TEST(SkinPainter, TransparentStretchLeavesMagentaOut) {
  // A 4 x 4 grey bitmap whose top-left 2 x 2 is magenta, drawn at 8 x 8.
  Bitmap bitmap = SolidBitmap(4, 4, kGrey);
  {
    WindowDC screen(nullptr);
    MemoryDC memory(screen.get());
    SelectGuard select(memory.get(), bitmap.get());
    Brush magenta(CreateSolidBrush(kSkinKeyColor));
    RECT corner{0, 0, 2, 2};
    FillRect(memory.get(), &corner, magenta.get());
  }
  Canvas canvas(20, 20, kBlue);
  CSkinPainter::DrawTransparent(canvas.dc(), bitmap.get(), RECT{4, 4, 12, 12});
  EXPECT_EQ(canvas.Pixel(4, 4), kBlue);
  EXPECT_EQ(canvas.Pixel(7, 7), kBlue);
  EXPECT_EQ(canvas.Pixel(8, 4), kGrey);
  EXPECT_EQ(canvas.Pixel(11, 11), kGrey);
  EXPECT_EQ(canvas.Pixel(12, 12), kBlue);
  EXPECT_EQ(canvas.Count(kGrey), 64 - 16);
}

TEST(SkinPainter, NaturalBlitKeepsTheBitmapSize) {
  Bitmap bitmap = SolidBitmap(15, 14, kGrey);
  Canvas canvas(30, 30, kBlue);
  CSkinPainter::DrawBitmap(canvas.dc(), bitmap.get(), 3, 5);
  RECT bounds{};
  EXPECT_EQ(canvas.Count(kGrey, &bounds), 15 * 14);
  EXPECT_EQ(bounds.left, 3);
  EXPECT_EQ(bounds.top, 5);
  CSkinPainter::DrawBitmap(canvas.dc(), nullptr, 0, 0);  // nothing, no crash
  EXPECT_EQ(canvas.Pixel(0, 0), kBlue);
}

TEST(SkinPainter, GradientRunsAlongTheDirectionWord) {
  const COLORREF black = RGB(0, 0, 0), white = RGB(255, 255, 255);
  Canvas horizontal(100, 10);
  CSkinPainter::DrawGradient(horizontal.dc(), black, white, 0x1000000, RECT{0, 0, 100, 10});
  EXPECT_EQ(horizontal.Pixel(0, 0), horizontal.Pixel(0, 9));
  EXPECT_LT(GetRValue(horizontal.Pixel(0, 5)), GetRValue(horizontal.Pixel(99, 5)));

  Canvas vertical(10, 100);
  CSkinPainter::DrawGradient(vertical.dc(), black, white, 0x10000000, RECT{0, 0, 10, 100});
  EXPECT_EQ(vertical.Pixel(0, 0), vertical.Pixel(9, 0));
  EXPECT_LT(GetRValue(vertical.Pixel(5, 0)), GetRValue(vertical.Pixel(5, 99)));

  // Equal colours give a plain fill.
  Canvas plain(50, 20);
  CSkinPainter::DrawGradient(plain.dc(), RGB(38, 38, 38), RGB(38, 38, 38), 0, RECT{0, 0, 50, 20});
  EXPECT_EQ(plain.Count(RGB(38, 38, 38)), 50 * 20);
}

TEST(SkinPainter, ParentBackgroundIsThePartUnderTheControl) {
  TestHost host;
  HWND control = host.AddControl(L"STATIC", 5, 0, L"", RECT{190, 10, 210, 20});
  Canvas canvas(20, 10);
  CSkinPainter::DrawParentBackground(control, canvas.dc());
  EXPECT_EQ(canvas.Pixel(0, 0), TestHost::kLeftColor);
  EXPECT_EQ(canvas.Pixel(9, 9), TestHost::kLeftColor);
  EXPECT_EQ(canvas.Pixel(10, 0), TestHost::kRightColor);
  EXPECT_EQ(canvas.Pixel(19, 9), TestHost::kRightColor);
}

TEST(SkinPainter, MissingBitmapsAreEmpty) {
  EXPECT_FALSE(CSkinPainter::LoadBitmapResource(64000));
  SIZE none = CSkinPainter::BitmapSize(nullptr);
  EXPECT_EQ(none.cx, 0);
  EXPECT_EQ(none.cy, 0);
  EXPECT_TRUE(CSkinPainter::CreateSkinFont(9));
}

}  // namespace
