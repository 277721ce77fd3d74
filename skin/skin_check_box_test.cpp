#include "skin/skin_check_box.h"

#include <gtest/gtest.h>

#include "framework/data_exchange.h"
#include "skin/testing/skin_test_host.h"

namespace {

constexpr COLORREF kUnchecked = RGB(250, 250, 0);
constexpr COLORREF kChecked = RGB(0, 120, 0);
constexpr COLORREF kSkinTeal = RGB(38, 77, 77);

// A 120 x 16 control with a 12 x 12 box: the box covers x 0..11, y 2..13.
template <typename Control>
struct BoxFixture {
  explicit BoxFixture(DWORD style, int id = 1026) : id(id) {
    host.AddControl(L"BUTTON", id, style, L"box", RECT{50, 60, 170, 76});
    EXPECT_TRUE(control.SubclassDlgItem(host.hwnd(), id));
    control.SetBoxBitmaps(SolidBitmap(12, 12, kUnchecked), SolidBitmap(12, 12, kChecked));
  }

  Canvas Draw(UINT state = 0) {
    Canvas canvas(120, 16, RGB(255, 255, 255));
    DRAWITEMSTRUCT item{ODT_BUTTON,  static_cast<UINT>(id), 0, ODA_DRAWENTIRE, state, control.hwnd(),
                        canvas.dc(), RECT{0, 0, 120, 16},   0};
    SendMessageW(host.hwnd(), WM_DRAWITEM, id, reinterpret_cast<LPARAM>(&item));
    return canvas;
  }

  int id;
  TestHost host;
  Control control;
};

TEST(SkinCheckBox, TogglesOnlyWhenTheBoxIsClicked) {
  BoxFixture<CSkinCheckBox> f(BS_AUTOCHECKBOX);
  EXPECT_EQ(f.control.GetCheck(), 0);

  Click(f.control.hwnd(), 5, 8);
  EXPECT_EQ(f.control.GetCheck(), 1);
  EXPECT_EQ(f.host.clicks(f.id), 1);

  // On the caption: the dialog hears the click, the box stays as it was.
  Click(f.control.hwnd(), 60, 8);
  EXPECT_EQ(f.control.GetCheck(), 1);
  EXPECT_EQ(f.host.clicks(f.id), 2);

  // The box's edges: the last pixel row and column belong to it, the next do not.
  Click(f.control.hwnd(), 11, 13);
  EXPECT_EQ(f.control.GetCheck(), 0);
  Click(f.control.hwnd(), 12, 8);
  Click(f.control.hwnd(), 5, 14);
  Click(f.control.hwnd(), 5, 1);
  EXPECT_EQ(f.control.GetCheck(), 0);
  EXPECT_EQ(f.host.clicks(f.id), 6);
}

TEST(SkinCheckBox, SpaceKeyTogglesLikeAClickOnTheBox) {
  BoxFixture<CSkinCheckBox> f(BS_AUTOCHECKBOX);
  SetFocus(f.control.hwnd());
  SendMessageW(f.control.hwnd(), WM_KEYDOWN, VK_SPACE, 0);
  SendMessageW(f.control.hwnd(), WM_KEYUP, VK_SPACE, 0);
  EXPECT_EQ(f.control.GetCheck(), 1);
  EXPECT_EQ(f.host.clicks(f.id), 1);
  // A stray key release without a press toggles nothing.
  SendMessageW(f.control.hwnd(), WM_KEYUP, VK_SPACE, 0);
  EXPECT_EQ(f.control.GetCheck(), 1);
}

TEST(SkinCheckBox, DrawsTheBoxOfItsStateOverItsBackground) {
  BoxFixture<CSkinCheckBox> f(BS_AUTOCHECKBOX);
  f.control.SetBkColor(kSkinTeal);
  Canvas off = f.Draw();
  EXPECT_EQ(off.Pixel(0, 2), kUnchecked);
  EXPECT_EQ(off.Pixel(11, 13), kUnchecked);
  EXPECT_EQ(off.Pixel(0, 1), kSkinTeal);
  EXPECT_EQ(off.Pixel(12, 8), kSkinTeal);
  EXPECT_EQ(off.Pixel(119, 0), kSkinTeal);

  f.control.SetCheck(1);
  EXPECT_EQ(f.Draw().Pixel(5, 8), kChecked);
}

TEST(SkinCheckBox, WithoutItsBoxImageDrawsNothing) {
  TestHost host;
  host.AddControl(L"BUTTON", 1027, BS_AUTOCHECKBOX, L"box", RECT{0, 0, 120, 16});
  CSkinCheckBox box;
  ASSERT_TRUE(box.SubclassDlgItem(host.hwnd(), 1027));
  Canvas canvas(120, 16, RGB(1, 2, 3));
  DRAWITEMSTRUCT item{ODT_BUTTON,          1027, 0, ODA_DRAWENTIRE, 0, box.hwnd(), canvas.dc(),
                      RECT{0, 0, 120, 16}, 0};
  SendMessageW(host.hwnd(), WM_DRAWITEM, 1027, reinterpret_cast<LPARAM>(&item));
  EXPECT_EQ(canvas.Count(RGB(1, 2, 3)), 120 * 16);
}

TEST(SkinCheckBox, AnswersTheDialogsCheckQueries) {
  BoxFixture<CSkinCheckBox> f(BS_AUTOCHECKBOX);
  EXPECT_EQ(IsDlgButtonChecked(f.host.hwnd(), f.id), BST_UNCHECKED);
  CheckDlgButton(f.host.hwnd(), f.id, BST_CHECKED);
  EXPECT_EQ(f.control.GetCheck(), 1);
  EXPECT_EQ(IsDlgButtonChecked(f.host.hwnd(), f.id), BST_CHECKED);
}

TEST(SkinRadioButton, MarksAFocusTheKeyboardGaveAroundItsCaption) {
  constexpr COLORREF kCue = RGB(236, 243, 242);
  BoxFixture<CSkinRadioButton> f(BS_RADIOBUTTON);
  f.control.SetBkColor(kSkinTeal);
  f.control.SetTextColor(kCue);
  const int caption_only = f.Draw(0).Count(kCue);
  SetFocus(f.control.hwnd());  // a click
  EXPECT_EQ(f.Draw(ODS_FOCUS).Count(kCue), caption_only);
  SetFocus(f.host.hwnd());
  FocusByTab(f.control.hwnd());
  RECT bounds{};
  const Canvas focused = f.Draw(ODS_FOCUS);
  EXPECT_GT(focused.Count(kCue, &bounds), caption_only + 20);
  EXPECT_GE(bounds.left, 12);  // beside the box, around the caption
  EXPECT_LT(bounds.right, 120);
  EXPECT_EQ(f.Draw(ODS_FOCUS | ODS_NOFOCUSRECT).Count(kCue), caption_only);
}

TEST(SkinRadioButton, MarksAFocusTheKeyboardGaveOnABareBox) {
  constexpr COLORREF kCue = RGB(236, 243, 242);
  TestHost host;
  host.AddControl(L"BUTTON", 1030, BS_RADIOBUTTON, L"caption painted elsewhere", RECT{50, 60, 62, 76});
  CSkinRadioButton radio;
  ASSERT_TRUE(radio.SubclassDlgItem(host.hwnd(), 1030));
  radio.SetBoxBitmaps(SolidBitmap(12, 12, kUnchecked), SolidBitmap(12, 12, kChecked));
  radio.SetTextColor(kCue);
  FocusByTab(radio.hwnd());
  Canvas canvas(12, 16, RGB(255, 255, 255));
  DRAWITEMSTRUCT item{ODT_BUTTON,         1030, 0, ODA_DRAWENTIRE, ODS_FOCUS, radio.hwnd(), canvas.dc(),
                      RECT{0, 0, 12, 16}, 0};
  SendMessageW(host.hwnd(), WM_DRAWITEM, 1030, reinterpret_cast<LPARAM>(&item));
  RECT bounds{};
  EXPECT_GT(canvas.Count(kCue, &bounds), 10);
  EXPECT_EQ(bounds.left, 0);
  EXPECT_EQ(bounds.top, 2);  // the box's frame
}

TEST(SkinRadioButton, IsSetOnlyByItsDialog) {
  // A template's plain radio style must still become owner-drawn.
  BoxFixture<CSkinRadioButton> f(BS_RADIOBUTTON, 1028);
  EXPECT_EQ(GetWindowLongPtrW(f.control.hwnd(), GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
  Click(f.control.hwnd(), 5, 8);
  EXPECT_EQ(f.control.GetCheck(), 0);
  EXPECT_EQ(f.host.clicks(f.id), 1);
}

TEST(SkinRadioButton, GroupKeepsOneOptionChecked) {
  TestHost host;
  CSkinRadioButton options[3];
  for (int i = 0; i < 3; ++i) {
    host.AddControl(L"BUTTON", 1008 + i, BS_AUTORADIOBUTTON, L"option",
                    RECT{50, 135 + 20 * i, 200, 150 + 20 * i});
    ASSERT_TRUE(options[i].SubclassDlgItem(host.hwnd(), 1008 + i));
  }
  CSkinRadioButton::SelectInGroup({&options[0], &options[1], &options[2]}, &options[1]);
  EXPECT_EQ(options[0].GetCheck(), 0);
  EXPECT_EQ(options[1].GetCheck(), 1);
  EXPECT_EQ(options[2].GetCheck(), 0);
  CSkinRadioButton::SelectInGroup({&options[0], &options[1], &options[2]}, &options[2]);
  EXPECT_EQ(options[1].GetCheck(), 0);
  EXPECT_EQ(options[2].GetCheck(), 1);
}

TEST(SkinRadioButton, DataExchangeReadsAndWritesASkinnedGroup) {
  TestHost host;
  CSkinRadioButton options[3];
  for (int i = 0; i < 3; ++i) {
    host.AddControl(L"BUTTON", 1008 + i, BS_AUTORADIOBUTTON | (i == 0 ? WS_GROUP : 0), L"option",
                    RECT{50, 135 + 20 * i, 200, 150 + 20 * i});
    ASSERT_TRUE(options[i].SubclassDlgItem(host.hwnd(), 1008 + i));
  }
  host.AddControl(L"BUTTON", 1011, BS_AUTOCHECKBOX | WS_GROUP, L"next group", RECT{50, 200, 200, 215});

  int index = 7;
  DataExchange read(host.hwnd(), /*saving=*/true);
  read.Radio(1008, index);
  EXPECT_EQ(index, -1);  // none checked yet
  options[2].SetCheck(1);
  DataExchange read_again(host.hwnd(), /*saving=*/true);
  read_again.Radio(1008, index);
  EXPECT_EQ(index, 2);

  index = 1;
  DataExchange write(host.hwnd(), /*saving=*/false);
  write.Radio(1008, index);
  EXPECT_EQ(options[0].GetCheck(), 0);
  EXPECT_EQ(options[1].GetCheck(), 1);
  EXPECT_EQ(options[2].GetCheck(), 0);
}

}  // namespace
