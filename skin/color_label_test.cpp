#include "skin/color_label.h"

#include <gtest/gtest.h>

#include "skin/testing/skin_test_host.h"

namespace {

constexpr int kId = 1004;
constexpr COLORREF kGreen = RGB(0, 255, 0);

struct LabelFixture {
  LabelFixture() {
    host.AddControl(L"STATIC", kId, SS_LEFT, L"Tallyo 1.20", RECT{20, 30, 120, 45});
    EXPECT_TRUE(label.SubclassDlgItem(host.hwnd(), kId));
  }
  // Asks the label's colours through its parent, as the static control does,
  // and paints a 100 x 15 canvas with the brush it gets.
  Canvas Paint(HBRUSH* brush_out = nullptr) {
    Canvas canvas(100, 15);
    SetTextColor(canvas.dc(), RGB(1, 1, 1));
    HBRUSH brush = reinterpret_cast<HBRUSH>(SendMessageW(host.hwnd(), WM_CTLCOLORSTATIC,
                                                         reinterpret_cast<WPARAM>(canvas.dc()),
                                                         reinterpret_cast<LPARAM>(label.hwnd())));
    RECT all{0, 0, 100, 15};
    FillRect(canvas.dc(), &all, brush);
    if (brush_out != nullptr) *brush_out = brush;
    return canvas;
  }
  TestHost host;
  CColorLabel label;
};

TEST(ColorLabel, StartsWithAMagentaBrush) {
  LabelFixture f;
  EXPECT_EQ(f.Paint().Pixel(50, 7), RGB(255, 0, 255));
}

TEST(ColorLabel, ShowsAPlainPlateOfItsColourAndItsTextColour) {
  LabelFixture f;
  f.label.SetBackground(kGreen, kGreen, 0x1000000, 0);
  f.label.SetLabelTextColor(RGB(255, 255, 255));
  HBRUSH brush = nullptr;
  Canvas canvas = f.Paint(&brush);
  EXPECT_EQ(brush, f.label.background_brush());
  EXPECT_EQ(canvas.Count(kGreen), 100 * 15);
  EXPECT_EQ(GetTextColor(canvas.dc()), RGB(255, 255, 255));
  EXPECT_EQ(GetBkMode(canvas.dc()), TRANSPARENT);
}

TEST(ColorLabel, StaysAPlainPlateAfterTheDialogMovesIt) {
  LabelFixture f;
  f.label.SetBackground(kGreen, kGreen, 0x1000000, 0);
  // The main window moves its version label after setting it up, twice.
  for (POINT place : {POINT{250, 12}, POINT{120, 200}}) {
    SetWindowPos(f.label.hwnd(), nullptr, place.x, place.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    EXPECT_EQ(f.Paint().Count(kGreen), 100 * 15) << place.x;
  }
}

TEST(ColorLabel, ErasesNothing) {
  LabelFixture f;
  f.label.SetLabelTextColor(RGB(255, 255, 255));
  Canvas canvas(100, 15, RGB(7, 7, 7));
  EXPECT_EQ(SendMessageW(f.label.hwnd(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas.dc()), 0), 1);
  EXPECT_EQ(canvas.Count(RGB(7, 7, 7)), 100 * 15);
  EXPECT_EQ(GetTextColor(canvas.dc()), RGB(255, 255, 255));
}

}  // namespace
