// The controls with the program's own skin bitmaps, as the dialogs set them
// up. Runs when the resources are linked in (res/ builds them).
#include <gtest/gtest.h>

#include "skin/skin_button.h"
#include "skin/skin_check_box.h"
#include "skin/skin_painter.h"
#include "skin/testing/skin_test_host.h"

#ifdef TALLYO_HAVE_RESOURCES
#include "res/resource.h"

namespace {

SIZE ClientSize(HWND hwnd) {
  RECT client{};
  GetClientRect(hwnd, &client);
  return SIZE{client.right, client.bottom};
}

// Draws a button or box control through the host into a canvas of its size.
Canvas DrawThroughHost(TestHost& host, HWND control, int id, UINT state) {
  SIZE size = ClientSize(control);
  Canvas canvas(size.cx, size.cy, RGB(1, 2, 3));
  DRAWITEMSTRUCT item{ODT_BUTTON,  static_cast<UINT>(id),        0, ODA_DRAWENTIRE, state, control,
                      canvas.dc(), RECT{0, 0, size.cx, size.cy}, 0};
  SendMessageW(host.hwnd(), WM_DRAWITEM, id, reinterpret_cast<LPARAM>(&item));
  return canvas;
}

bool SamePixels(const Canvas& a, const Canvas& b, SIZE size) {
  for (int y = 0; y < size.cy; ++y) {
    for (int x = 0; x < size.cx; ++x) {
      if (a.Pixel(x, y) != b.Pixel(x, y)) return false;
    }
  }
  return true;
}

TEST(SkinResources, StandardPushButtonTakesItsBitmapsSize) {
  TestHost host;
  host.AddControl(L"BUTTON", IDOK, BS_DEFPUSHBUTTON, L"OK", RECT{10, 10, 100, 40});
  CSkinButton ok;
  ASSERT_TRUE(ok.SubclassDlgItem(host.hwnd(), IDOK));
  ok.SetBitmaps(IDB_PUSH_BUTTON_NORMAL, IDB_PUSH_BUTTON_HOVER, IDB_PUSH_BUTTON_PRESSED,
                IDB_PUSH_BUTTON_PRESSED);
  ok.SetShowText(1);
  const SIZE size = ClientSize(ok.hwnd());
  EXPECT_EQ(size.cx, 69);
  EXPECT_EQ(size.cy, 23);
  // Drawn fully (the bitmaps carry no magenta), and the disabled face is the pressed picture.
  Canvas normal = DrawThroughHost(host, ok.hwnd(), IDOK, 0);
  EXPECT_EQ(normal.Count(RGB(1, 2, 3)), 0);
  Canvas pressed = DrawThroughHost(host, ok.hwnd(), IDOK, ODS_SELECTED);
  EnableWindow(ok.hwnd(), FALSE);
  Canvas disabled = DrawThroughHost(host, ok.hwnd(), IDOK, ODS_DISABLED);
  EXPECT_FALSE(SamePixels(normal, pressed, size));
  // Pressed moves the caption; compare the disabled face with an unmoved pressed one.
  ok.SetShowText(0);
  EnableWindow(ok.hwnd(), TRUE);
  Canvas pressed_bare = DrawThroughHost(host, ok.hwnd(), IDOK, ODS_SELECTED);
  EnableWindow(ok.hwnd(), FALSE);
  Canvas disabled_bare = DrawThroughHost(host, ok.hwnd(), IDOK, ODS_DISABLED);
  EXPECT_TRUE(SamePixels(pressed_bare, disabled_bare, size));
}

TEST(SkinResources, PictureAndBrowseButtonsTakeTheirBitmapsSizes) {
  TestHost host;
  host.AddControl(L"BUTTON", 1003, BS_PUSHBUTTON, L"", RECT{0, 0, 20, 20});
  host.AddControl(L"BUTTON", 1035, BS_PUSHBUTTON, L"...", RECT{0, 100, 40, 140});
  CSkinButton about, browse;
  ASSERT_TRUE(about.SubclassDlgItem(host.hwnd(), 1003));
  ASSERT_TRUE(browse.SubclassDlgItem(host.hwnd(), 1035));
  about.SetBitmaps(IDB_ABOUT_NORMAL, IDB_ABOUT_HOVER, IDB_ABOUT_PRESSED, IDB_ABOUT_PRESSED);
  browse.SetBitmaps(IDB_BROWSE_NORMAL, IDB_BROWSE_HOVER, IDB_BROWSE_PRESSED, IDB_BROWSE_NORMAL);
  EXPECT_EQ(ClientSize(about.hwnd()).cx, 65);
  EXPECT_EQ(ClientSize(about.hwnd()).cy, 54);
  EXPECT_EQ(ClientSize(browse.hwnd()).cx, 18);
  EXPECT_EQ(ClientSize(browse.hwnd()).cy, 18);
}

TEST(SkinResources, BoxesShowTheirStateInTheSkinColour) {
  TestHost host;
  host.AddControl(L"BUTTON", 1026, BS_AUTOCHECKBOX, L"", RECT{53, 67, 200, 83});
  host.AddControl(L"BUTTON", 1028, BS_AUTORADIOBUTTON, L"", RECT{51, 102, 200, 118});
  CSkinCheckBox check;
  CSkinRadioButton radio;
  ASSERT_TRUE(check.SubclassDlgItem(host.hwnd(), 1026));
  ASSERT_TRUE(radio.SubclassDlgItem(host.hwnd(), 1028));
  check.SetBoxBitmaps(IDB_CHECK_UNCHECKED, IDB_CHECK_CHECKED);
  radio.SetBoxBitmaps(IDB_RADIO_UNCHECKED, IDB_RADIO_CHECKED);
  const COLORREF teal = RGB(38, 77, 77);
  check.SetBkColor(teal);
  radio.SetBkColor(teal);

  struct Case {
    CSkinBoxButton* control;
    int id;
    SIZE box;
  };
  for (const Case& c : {Case{&check, 1026, {12, 12}}, Case{&radio, 1028, {15, 14}}}) {
    const SIZE size = ClientSize(c.control->hwnd());
    const int top = (size.cy - c.box.cy) / 2;
    Canvas off = DrawThroughHost(host, c.control->hwnd(), c.id, 0);
    c.control->SetCheck(1);
    Canvas on = DrawThroughHost(host, c.control->hwnd(), c.id, 0);
    // Beside the box the background is the skin colour; the box centre changes with the state.
    EXPECT_EQ(off.Pixel(c.box.cx + 2, size.cy / 2), teal) << c.id;
    EXPECT_NE(off.Pixel(c.box.cx / 2, top + c.box.cy / 2), on.Pixel(c.box.cx / 2, top + c.box.cy / 2))
        << c.id;
  }
}

}  // namespace

#else

TEST(SkinResources, NeedTheResourceObject) { GTEST_SKIP() << "res/ is not built"; }

#endif
