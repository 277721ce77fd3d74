#include "skin/skin_button.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>

#include "framework/text_boundary.h"
#include "skin/testing/skin_test_host.h"

namespace {

constexpr int kId = 1001;
constexpr COLORREF kNormal = RGB(200, 0, 0);
constexpr COLORREF kHover = RGB(0, 200, 0);
constexpr COLORREF kPressed = RGB(0, 0, 200);
constexpr COLORREF kDisabled = RGB(90, 90, 90);
constexpr COLORREF kBlack = RGB(0, 0, 0);

struct ButtonFixture {
  explicit ButtonFixture(const wchar_t* caption = L"OK") {
    HWND control = host.AddControl(L"BUTTON", kId, BS_PUSHBUTTON | WS_BORDER, caption, RECT{20, 20, 120, 50});
    EXPECT_TRUE(button.SubclassDlgItem(host.hwnd(), kId));
    EXPECT_EQ(button.hwnd(), control);
    button.SetBitmaps(SolidBitmap(61, 25, kNormal), SolidBitmap(61, 25, kHover),
                      SolidBitmap(61, 25, kPressed), SolidBitmap(61, 25, kDisabled));
  }

  // Asks for a draw through the host, as the system does, into a canvas.
  Canvas Draw(UINT state = 0) {
    Canvas canvas(61, 25, RGB(255, 255, 255));
    DRAWITEMSTRUCT item{ODT_BUTTON,         kId, 0, ODA_DRAWENTIRE, state, button.hwnd(), canvas.dc(),
                        RECT{0, 0, 61, 25}, 0};
    EXPECT_TRUE(SendMessageW(host.hwnd(), WM_DRAWITEM, kId, reinterpret_cast<LPARAM>(&item)));
    return canvas;
  }

  void MoveMouse(int x, int y, WPARAM keys = 0) {
    SendMessageW(button.hwnd(), WM_MOUSEMOVE, keys, MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)));
  }

  TestHost host;
  CSkinButton button;
};

TEST(SkinButton, BindingMakesTheButtonOwnerDrawnAndReadsItsCaption) {
  ButtonFixture f(L"\x786E\x5B9A");  // 确定
  const LONG_PTR style = GetWindowLongPtrW(f.button.hwnd(), GWL_STYLE);
  EXPECT_EQ(style & BS_TYPEMASK, BS_OWNERDRAW);
  EXPECT_EQ(style & WS_BORDER, 0);
  EXPECT_EQ(f.button.caption(), "\xC8\xB7\xB6\xA8");  // 确定 in code page 936
}

TEST(SkinButton, ANewCaptionIsTheWindowsTextAndTheOneDrawn) {
  ButtonFixture f(L"\x5BFC\x5165");         // 导入
  f.button.SetCaption("\xB9\xD8\xB1\xD5");  // 关闭 in code page 936
  EXPECT_EQ(f.button.caption(), "\xB9\xD8\xB1\xD5");
  EXPECT_EQ(win::GetWindowText(f.button.hwnd()), "\xB9\xD8\xB1\xD5");
}

TEST(SkinButton, TakesTheSizeOfItsNormalBitmapAtItsPlace) {
  ButtonFixture f;
  RECT place{};
  GetWindowRect(f.button.hwnd(), &place);
  MapWindowPoints(nullptr, f.host.hwnd(), reinterpret_cast<POINT*>(&place), 2);
  EXPECT_EQ(place.left, 20);
  EXPECT_EQ(place.top, 20);
  EXPECT_EQ(place.right - place.left, 61);
  EXPECT_EQ(place.bottom - place.top, 25);
}

TEST(SkinButton, KeepsItsTemplateSizeWithoutANormalBitmap) {
  ButtonFixture f;
  f.button.SetBitmaps(Bitmap(), SolidBitmap(10, 10, kHover), Bitmap(), Bitmap());
  RECT client{};
  GetClientRect(f.button.hwnd(), &client);
  EXPECT_EQ(client.right, 61);  // the size it had, not 10 x 10
  // A state without a bitmap draws nothing.
  EXPECT_EQ(f.Draw().Pixel(30, 12), RGB(255, 255, 255));
}

TEST(SkinButton, ShowsTheBitmapOfEachState) {
  ButtonFixture f;
  EXPECT_EQ(f.Draw().Pixel(30, 12), kNormal);

  f.MoveMouse(30, 12);
  ASSERT_TRUE(f.button.hover());
  EXPECT_EQ(f.Draw().Pixel(30, 12), kHover);
  EXPECT_EQ(f.Draw(ODS_SELECTED).Pixel(30, 12), kPressed);  // pressed wins over hover
  EXPECT_EQ(f.Draw(ODS_FOCUS).Pixel(30, 12), kHover);       // focus changes nothing

  SendMessageW(f.button.hwnd(), WM_MOUSELEAVE, 0, 0);
  EXPECT_FALSE(f.button.hover());
  EXPECT_EQ(f.Draw().Pixel(30, 12), kNormal);
  EXPECT_EQ(f.Draw(ODS_SELECTED).Pixel(0, 0), kPressed);

  EnableWindow(f.button.hwnd(), FALSE);
  EXPECT_EQ(f.Draw(ODS_DISABLED).Pixel(60, 24), kDisabled);
}

TEST(SkinButton, MarksTheFocusOnlyWhenTheKeyboardGaveIt) {
  constexpr COLORREF kCue = RGB(38, 77, 77);
  ButtonFixture f;
  f.button.SetFocusCueColor(kCue);
  // A click or the program gave the focus: the face alone.
  SetFocus(f.button.hwnd());
  EXPECT_EQ(f.Draw(ODS_FOCUS).Count(kCue), 0);
  // Tab did: a dotted frame 3 pixels inside the edge, every other pixel.
  SetFocus(f.host.hwnd());
  FocusByTab(f.button.hwnd());
  RECT bounds{};
  const Canvas focused = f.Draw(ODS_FOCUS);
  EXPECT_GT(focused.Count(kCue, &bounds), 50);
  EXPECT_EQ(bounds.left, 3);
  EXPECT_EQ(bounds.top, 3);
  EXPECT_EQ(bounds.right, 58);
  EXPECT_EQ(bounds.bottom, 22);
  EXPECT_EQ(focused.Pixel(3, 3), kCue);
  EXPECT_EQ(focused.Pixel(4, 3), kNormal);
  EXPECT_EQ(focused.Pixel(30, 12), kNormal);
  EXPECT_EQ(f.Draw(0).Count(kCue), 0);
  EXPECT_EQ(f.Draw(ODS_FOCUS | ODS_NOFOCUSRECT).Count(kCue), 0);  // the system hides cues
  // Gone with the focus, and not back with a focus the keyboard did not give.
  SetFocus(f.host.hwnd());
  SetFocus(f.button.hwnd());
  EXPECT_EQ(f.Draw(ODS_FOCUS).Count(kCue), 0);
}

TEST(SkinButton, SystemPaintReachesTheButtonThroughItsParent) {
  ButtonFixture f;
  const int before = f.host.draw_requests(kId);
  InvalidateRect(f.button.hwnd(), nullptr, TRUE);
  UpdateWindow(f.button.hwnd());
  EXPECT_GT(f.host.draw_requests(kId), before);
}

TEST(SkinButton, HoverIsRefusedWhileTheButtonIsHeldFromElsewhere) {
  ButtonFixture f;
  // A press that began on another control drags across the button.
  f.MoveMouse(30, 12, MK_LBUTTON);
  EXPECT_FALSE(f.button.hover());
  EXPECT_EQ(f.Draw().Pixel(30, 12), kNormal);

  // The same move without the button held lights it.
  f.MoveMouse(30, 12);
  EXPECT_TRUE(f.button.hover());
  // Once lit, holding the button down keeps it lit while over it ...
  f.MoveMouse(31, 12, MK_LBUTTON);
  EXPECT_TRUE(f.button.hover());
  // ... and moving off it (the button captures the mouse while pressed) puts it out.
  f.MoveMouse(-15, 12, MK_LBUTTON);
  EXPECT_FALSE(f.button.hover());
}

TEST(SkinButton, APressMovedOffTheButtonGivesNoClick) {
  ButtonFixture f;
  SendMessageW(f.button.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 12));
  SendMessageW(f.button.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(static_cast<WORD>(-40), 12));
  EXPECT_EQ(f.host.clicks(kId), 0);
  Click(f.button.hwnd(), 30, 12);
  EXPECT_EQ(f.host.clicks(kId), 1);  // a click still reaches the dialog
}

TEST(SkinButton, CaptionIsDrawnOnlyWhenAskedAndMovesWhilePressed) {
  ButtonFixture f(L"OK");
  EXPECT_EQ(f.Draw().Count(kBlack), 0);

  f.button.SetShowText(1);
  RECT up{}, down{};
  EXPECT_GT(f.Draw().Count(kBlack, &up), 0);
  EXPECT_GT(f.Draw(ODS_SELECTED).Count(kBlack, &down), 0);
  EXPECT_EQ(down.left, up.left + 1);
  EXPECT_EQ(down.top, up.top + 1);
  EXPECT_EQ(down.right, up.right + 1);
  EXPECT_EQ(down.bottom, up.bottom + 1);
}

std::wstring ToolTipText(HWND tooltip, HWND button) {
  wchar_t buffer[80] = {};
  TOOLINFOW tool{};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  tool.uFlags = TTF_IDISHWND;
  tool.hwnd = GetParent(button);
  tool.uId = reinterpret_cast<UINT_PTR>(button);
  tool.lpszText = buffer;
  SendMessageW(tooltip, TTM_GETTEXTW, 80, reinterpret_cast<LPARAM>(&tool));
  return buffer;
}

int ToolTipsOfThread() {
  int count = 0;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM counter) -> BOOL {
        wchar_t name[64] = {};
        GetClassNameW(window, name, 64);
        if (std::wstring(name) == TOOLTIPS_CLASSW) ++*reinterpret_cast<int*>(counter);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&count));
  return count;
}

TEST(SkinButton, SecondToolTipReplacesTheFirst) {
  ButtonFixture f;
  const int others = ToolTipsOfThread();
  f.button.SetToolTipText("\xB9\xD8\xD3\xDA");  // 关于
  HWND first = f.button.tooltip();
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(ToolTipText(first, f.button.hwnd()), L"\x5173\x4E8E");
  EXPECT_EQ(ToolTipsOfThread(), others + 1);

  f.button.SetToolTipText("\xC9\xE8\xD6\xC3");  // 设置
  HWND second = f.button.tooltip();
  ASSERT_NE(second, nullptr);
  EXPECT_FALSE(IsWindow(first));
  EXPECT_EQ(ToolTipsOfThread(), others + 1);
  EXPECT_EQ(SendMessageW(second, TTM_GETTOOLCOUNT, 0, 0), 1);
  EXPECT_EQ(ToolTipText(second, f.button.hwnd()), L"\x8BBE\x7F6E");
  // Mouse moves are relayed to the tooltip without disturbing hover.
  f.MoveMouse(30, 12);
  EXPECT_TRUE(f.button.hover());
}

}  // namespace

namespace {

TEST(SkinButton, BoundByTheDialogsDataExchangeBecomesOwnerDrawn) {
  TestHost host;
  host.AddControl(L"BUTTON", kId, BS_DEFPUSHBUTTON, L"Cancel", RECT{0, 0, 80, 30});
  CSkinButton button;
  Window& as_window = button;  // how data exchange sees every control
  ASSERT_TRUE(as_window.SubclassDlgItem(host.hwnd(), kId));
  EXPECT_EQ(GetWindowLongPtrW(button.hwnd(), GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
  EXPECT_EQ(button.caption(), "Cancel");
}

}  // namespace
