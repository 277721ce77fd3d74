#include "skin/skin_dialog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "framework/dialog_template.h"
#include "framework/testing/ui_test_support.h"

namespace {

constexpr COLORREF kMagenta = RGB(255, 0, 255);
constexpr COLORREF kBackground = RGB(38, 77, 77);
constexpr COLORREF kCloseNormal = RGB(128, 128, 128);
constexpr COLORREF kCloseHover = RGB(200, 200, 200);
constexpr COLORREF kClosePressed = RGB(60, 60, 60);
constexpr int kWidth = 160;
constexpr int kHeight = 100;

// A background with magenta corners cut as small staircases.
bool IsCornerPixel(int x, int y, int width, int height) {
  const int dx = std::min(x, width - 1 - x);
  const int dy = std::min(y, height - 1 - y);
  return dx + dy < 3;
}

Bitmap CornerBackground(int width = kWidth, int height = kHeight) {
  return Bitmap(MakeBitmap(width, height, [=](int x, int y) {
    return IsCornerPixel(x, y, width, height) ? kMagenta : kBackground;
  }));
}

// A 21 x 17 caption button: one colour, with a magenta pixel at (0, 0).
Bitmap ButtonBitmap(COLORREF colour) {
  return Bitmap(MakeBitmap(21, 17, [=](int x, int y) { return x == 0 && y == 0 ? kMagenta : colour; }));
}

class TestSkinDialog : public CSkinDialog {
 public:
  explicit TestSkinDialog(const DLGTEMPLATE* t) : CSkinDialog(t) {}

  // Set-up done in OnInitDialog; the default is what every dialog of the program does.
  bool use_region = true;
  std::function<Bitmap()> background = [] { return CornerBackground(); };
  // When set, the background comes from this source instead, which the
  // dialog may call again.
  std::function<Bitmap()> source;
  bool close_button = true;
  bool minimize_button = false;
  HICON icon = nullptr;
  std::function<void(TestSkinDialog&)> script;

  std::vector<WPARAM> sys_commands;
  std::vector<std::vector<UINT>> menu_states;  // per WM_INITMENUPOPUP, the state of each position

  using CSkinDialog::GetCloseButtonRect;
  using CSkinDialog::GetIconRect;
  using CSkinDialog::GetMinimizeButtonRect;

 protected:
  bool OnInitDialog() override {
    if (use_region) UseWindowRegion();
    CSkinDialog::OnInitDialog();
    if (source) {
      SetBackgroundSource(source);
    } else {
      SetBackgroundBitmap(background());
    }
    if (close_button) {
      SetCloseButtonBitmaps(ButtonBitmap(kCloseNormal), ButtonBitmap(kCloseHover),
                            ButtonBitmap(kClosePressed));
    }
    if (minimize_button) {
      SetMinimizeButtonBitmaps(ButtonBitmap(RGB(0, 0, 128)), ButtonBitmap(RGB(0, 0, 200)),
                               ButtonBitmap(RGB(0, 0, 60)));
    }
    SetCaptionHeight(30);
    SetDragFullWindows(1);
    if (icon != nullptr) SetFrameIcon(icon, 0);
    if (script) PostMessageW(hwnd(), kRunScript, 0, 0);
    return true;
  }

  bool RouteMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result) override {
    if (message == kRunScript) {
      script(*this);
      *result = 0;
      return true;
    }
    if (message == WM_SYSCOMMAND) sys_commands.push_back(wparam);
    if (message == WM_INITMENUPOPUP) {
      HMENU menu = reinterpret_cast<HMENU>(wparam);
      std::vector<UINT> states;
      for (int i = 0; i < GetMenuItemCount(menu); ++i) states.push_back(GetMenuState(menu, i, MF_BYPOSITION));
      menu_states.push_back(states);
      EndMenu();
    }
    return CSkinDialog::RouteMessage(message, wparam, lparam, result);
  }

 private:
  static constexpr UINT kRunScript = WM_APP + 101;
};

class SkinDialogTest : public ::testing::Test {
 protected:
  void SetUp() override { EnsureCommonControls(); }

  // Runs `body` in the dialog and closes it afterwards. The dialog manager
  // shows a dialog only once its queue is idle; `show` shows it first, as
  // the user would see it (and costs Wine a wait for the window manager
  // when the window is hidden again, so only tests that need it ask).
  void Run(TestSkinDialog& dialog, std::function<void(TestSkinDialog&)> body, bool show = false) {
    dialog.script = [body, show](TestSkinDialog& d) {
      if (show) {
        ShowWindow(d.hwnd(), SW_SHOWNORMAL);
        UpdateWindow(d.hwnd());
      }
      body(d);
      if (d.hwnd() != nullptr) d.EndDialog(IDOK);
    };
    dialog.DoModal();
  }

  static LPARAM At(int x, int y) { return MAKELPARAM(x, y); }

  // Whether a window move request is waiting, removing it so no move loop starts.
  static bool TakeMoveRequest(HWND hwnd, LPARAM* where = nullptr) {
    MSG msg;
    if (!PeekMessageW(&msg, hwnd, WM_NCLBUTTONDOWN, WM_NCLBUTTONDOWN, PM_REMOVE)) return false;
    EXPECT_EQ(msg.wParam, static_cast<WPARAM>(HTCAPTION));
    if (where != nullptr) *where = msg.lParam;
    return true;
  }

  // Region of the window (window coordinates), or null when it has none.
  static HRGN WindowRegion(HWND hwnd) {
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    if (GetWindowRgn(hwnd, region) == ERROR) {
      DeleteObject(region);
      return nullptr;
    }
    return region;
  }

  DialogTemplate template_{WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, 20, 20, 120, 80, "skin"};
};

TEST_F(SkinDialogTest, BecomesABorderlessWindowOfTheBackgroundsSize) {
  Watchdog watchdog("Borderless");
  TestSkinDialog dialog(template_.get());
  Run(dialog, [](TestSkinDialog& d) {
    const LONG style = GetWindowLongW(d.hwnd(), GWL_STYLE);
    EXPECT_FALSE(style & WS_CAPTION);
    EXPECT_FALSE(style & DS_MODALFRAME);
    EXPECT_TRUE(style & WS_SYSMENU);
    RECT window{}, client{};
    GetWindowRect(d.hwnd(), &window);
    GetClientRect(d.hwnd(), &client);
    EXPECT_EQ(window.right - window.left, kWidth);
    EXPECT_EQ(window.bottom - window.top, kHeight);
    EXPECT_EQ(client.right, kWidth);  // the client area is the whole window
    EXPECT_EQ(client.bottom, kHeight);
    EXPECT_FALSE(GetWindowLongW(d.hwnd(), GWL_EXSTYLE) & WS_EX_LAYERED);
    EXPECT_EQ(d.caption_height(), 30);
    EXPECT_EQ(d.drag_full_windows(), 1);
  });
}

TEST_F(SkinDialogTest, RegionLeavesOutTheMagentaCorners) {
  Watchdog watchdog("MagentaCorners");
  TestSkinDialog dialog(template_.get());
  Run(dialog, [](TestSkinDialog& d) {
    HRGN region = WindowRegion(d.hwnd());
    ASSERT_NE(region, nullptr);
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) {
        ASSERT_EQ(PtInRegion(region, x, y) != FALSE, !IsCornerPixel(x, y, kWidth, kHeight)) << x << "," << y;
      }
    }
    EXPECT_FALSE(PtInRegion(region, kWidth, 50));
    DeleteObject(region);
  });
}

TEST_F(SkinDialogTest, BackgroundWithoutMagentaGivesARectangle) {
  Watchdog watchdog("NoMagenta");
  TestSkinDialog dialog(template_.get());
  dialog.background = [] { return Bitmap(MakeBitmap(90, 70, [](int, int) { return kBackground; })); };
  Run(dialog, [](TestSkinDialog& d) {
    HRGN region = WindowRegion(d.hwnd());
    ASSERT_NE(region, nullptr);
    RECT box{};
    EXPECT_EQ(GetRgnBox(region, &box), SIMPLEREGION);
    EXPECT_EQ(box.left, 0);
    EXPECT_EQ(box.top, 0);
    EXPECT_EQ(box.right, 90);
    EXPECT_EQ(box.bottom, 70);
    DeleteObject(region);
  });
}

TEST_F(SkinDialogTest, RegionOfManyBatchesMatchesEveryPixel) {
  Watchdog watchdog("ManyBatches");
  // A checkerboard of 2 x 1 cells: about 4500 runs, three batches.
  auto transparent = [](int x, int y) { return ((x / 2) + y) % 2 == 0; };
  TestSkinDialog dialog(template_.get());
  dialog.background = [&] {
    return Bitmap(
        MakeBitmap(180, 50, [&](int x, int y) { return transparent(x, y) ? kMagenta : kBackground; }));
  };
  Run(dialog, [&](TestSkinDialog& d) {
    HRGN region = WindowRegion(d.hwnd());
    ASSERT_NE(region, nullptr);
    for (int y = 0; y < 50; ++y) {
      for (int x = 0; x < 180; ++x) {
        ASSERT_EQ(PtInRegion(region, x, y) != FALSE, !transparent(x, y)) << x << "," << y;
      }
    }
    DeleteObject(region);
  });
}

TEST_F(SkinDialogTest, WithoutBackgroundTheWindowStaysRectangular) {
  Watchdog watchdog("NoBackground");
  TestSkinDialog dialog(template_.get());
  dialog.background = [] { return Bitmap(); };
  Run(dialog, [](TestSkinDialog& d) {
    EXPECT_FALSE(d.has_background());
    EXPECT_EQ(WindowRegion(d.hwnd()), nullptr);
    // A resource that does not exist leaves the slot empty as well.
    d.SetBackgroundBitmap(31999u);
    EXPECT_FALSE(d.has_background());
    EXPECT_EQ(WindowRegion(d.hwnd()), nullptr);
  });
}

TEST_F(SkinDialogTest, AllMagentaBackgroundKeepsTheWindowVisible) {
  Watchdog watchdog("AllMagenta");
  TestSkinDialog dialog(template_.get());
  dialog.background = [] { return Bitmap(MakeBitmap(50, 40, [](int, int) { return kMagenta; })); };
  Run(dialog, [](TestSkinDialog& d) { EXPECT_EQ(WindowRegion(d.hwnd()), nullptr); });
}

TEST_F(SkinDialogTest, WithoutRegionShapingTheFrameUsesAColourKey) {
  Watchdog watchdog("ColourKey");
  TestSkinDialog dialog(template_.get());
  dialog.use_region = false;
  Run(dialog, [](TestSkinDialog& d) {
    EXPECT_TRUE(GetWindowLongW(d.hwnd(), GWL_EXSTYLE) & WS_EX_LAYERED);
    EXPECT_EQ(WindowRegion(d.hwnd()), nullptr);
  });
}

TEST_F(SkinDialogTest, ReplacingABitmapDeletesTheOldOne) {
  Watchdog watchdog("ReplaceBitmap");
  TestSkinDialog dialog(template_.get());
  Run(dialog, [](TestSkinDialog& d) {
    Bitmap first = CornerBackground(100, 60);
    HBITMAP first_handle = first.get();
    d.SetBackgroundBitmap(std::move(first));
    RECT window{};
    GetWindowRect(d.hwnd(), &window);
    EXPECT_EQ(window.right - window.left, 100);
    EXPECT_EQ(window.bottom - window.top, 60);
    d.SetBackgroundBitmap(CornerBackground(120, 70));
    BITMAP info{};
    EXPECT_EQ(GetObjectW(first_handle, sizeof info, &info), 0);  // deleted
    GetWindowRect(d.hwnd(), &window);
    EXPECT_EQ(window.right - window.left, 120);
    // The region follows the new background.
    HRGN region = WindowRegion(d.hwnd());
    ASSERT_NE(region, nullptr);
    EXPECT_TRUE(PtInRegion(region, 119, 35));
    EXPECT_FALSE(PtInRegion(region, 119, 69));
    DeleteObject(region);
  });
}

TEST_F(SkinDialogTest, CaptionElementPlaces) {
  Watchdog watchdog("Places");
  TestSkinDialog dialog(template_.get());
  dialog.minimize_button = true;
  Run(dialog, [](TestSkinDialog& d) {
    RECT close = d.GetCloseButtonRect();
    EXPECT_EQ(close.left, kWidth - 6 - 21);
    EXPECT_EQ(close.top, 1);
    EXPECT_EQ(close.right, kWidth - 6);
    EXPECT_EQ(close.bottom, 18);
    RECT minimize = d.GetMinimizeButtonRect();
    EXPECT_EQ(minimize.right, close.left);
    EXPECT_EQ(minimize.left, close.left - 21);
    d.SetCloseButtonInsets(7, 1);
    EXPECT_EQ(d.GetCloseButtonRect().right, kWidth - 7);
    RECT icon = d.GetIconRect();
    EXPECT_EQ(icon.right - icon.left, 0);  // no frame icon
    // Over a caption button the window answers "client" (it has no caption any more).
    POINT p{close.left + 3, close.top + 3};
    ClientToScreen(d.hwnd(), &p);
    EXPECT_EQ(SendMessageW(d.hwnd(), WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y)), HTCLIENT);
  });
}

TEST_F(SkinDialogTest, CloseButtonPressAndReleaseClosesTheDialog) {
  Watchdog watchdog("CloseClick");
  TestSkinDialog dialog(template_.get());
  dialog.script = [](TestSkinDialog& d) {
    RECT close = d.GetCloseButtonRect();
    SendMessageW(d.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, At(close.left + 2, close.top + 2));
    SendMessageW(d.hwnd(), WM_LBUTTONUP, 0, At(close.right - 2, close.bottom - 2));
  };
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);  // SC_CLOSE -> WM_CLOSE -> Cancel
  ASSERT_FALSE(dialog.sys_commands.empty());
  EXPECT_EQ(dialog.sys_commands[0], static_cast<WPARAM>(SC_CLOSE));
}

TEST_F(SkinDialogTest, PressOnCloseReleasedElsewhereDoesNothing) {
  Watchdog watchdog("CloseMovedOff");
  TestSkinDialog dialog(template_.get());
  dialog.minimize_button = true;
  Run(dialog, [](TestSkinDialog& d) {
    RECT close = d.GetCloseButtonRect();
    RECT minimize = d.GetMinimizeButtonRect();
    HWND h = d.hwnd();
    // Press on close, move off, release outside.
    SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, At(close.left + 2, close.top + 2));
    SendMessageW(h, WM_MOUSEMOVE, MK_LBUTTON, At(close.left - 30, 50));
    SendMessageW(h, WM_LBUTTONUP, 0, At(close.left - 30, 50));
    // Press on close, release over minimise.
    SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, At(close.left + 2, close.top + 2));
    SendMessageW(h, WM_LBUTTONUP, 0, At(minimize.left + 2, minimize.top + 2));
    // Press elsewhere, release on close: the press point was reset to (0, 0).
    SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, At(60, 60));
    SendMessageW(h, WM_LBUTTONUP, 0, At(close.left + 2, close.top + 2));
    EXPECT_TRUE(d.sys_commands.empty());
    PumpPendingMessages();
    EXPECT_TRUE(IsWindow(h));
    TakeMoveRequest(h);
  });
  EXPECT_TRUE(dialog.sys_commands.empty());
}

TEST_F(SkinDialogTest, MinimiseButtonMinimises) {
  Watchdog watchdog("MinimiseClick");
  TestSkinDialog dialog(template_.get());
  dialog.minimize_button = true;
  Run(dialog, [](TestSkinDialog& d) {
    RECT minimize = d.GetMinimizeButtonRect();
    SendMessageW(d.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, At(minimize.left + 5, minimize.top + 5));
    SendMessageW(d.hwnd(), WM_LBUTTONUP, 0, At(minimize.left + 6, minimize.top + 6));
    ASSERT_EQ(d.sys_commands.size(), 1u);
    EXPECT_EQ(d.sys_commands[0], static_cast<WPARAM>(SC_MINIMIZE));
    EXPECT_TRUE(IsIconic(d.hwnd()));
  });
}

TEST_F(SkinDialogTest, CaptionStripMovesTheWindowOnlyWithTheLeftButtonAlone) {
  Watchdog watchdog("DragArming");
  TestSkinDialog dialog(template_.get());
  dialog.minimize_button = true;
  Run(dialog, [](TestSkinDialog& d) {
    HWND h = d.hwnd();
    RECT close = d.GetCloseButtonRect();
    RECT minimize = d.GetMinimizeButtonRect();
    auto press_and_move = [&](WPARAM down_keys, LPARAM down_at, WPARAM move_keys, LPARAM move_at) {
      SendMessageW(h, WM_LBUTTONDOWN, down_keys, down_at);
      SendMessageW(h, WM_MOUSEMOVE, move_keys, move_at);
      LPARAM where = 0;
      const bool moved = TakeMoveRequest(h, &where);
      SendMessageW(h, WM_LBUTTONUP, 0, down_at);
      if (moved) {
        EXPECT_EQ(where, move_at);
      }
      return moved;
    };
    // Any x of the strip: left edge, before the buttons, right of the close button.
    for (int x :
         {0, 5, 60, static_cast<int>(minimize.left) - 1, static_cast<int>(close.right) + 1, kWidth - 1}) {
      EXPECT_TRUE(press_and_move(MK_LBUTTON, At(x, 10), MK_LBUTTON, At(x, 12))) << x;
    }
    EXPECT_TRUE(press_and_move(MK_LBUTTON, At(50, 29), MK_LBUTTON, At(50, 29)));
    // Shift or Ctrl held at the press or at the move: no move.
    EXPECT_FALSE(press_and_move(MK_LBUTTON | MK_SHIFT, At(50, 10), MK_LBUTTON, At(52, 12)));
    EXPECT_FALSE(press_and_move(MK_LBUTTON | MK_CONTROL, At(50, 10), MK_LBUTTON, At(52, 12)));
    EXPECT_FALSE(press_and_move(MK_LBUTTON, At(50, 10), MK_LBUTTON | MK_SHIFT, At(52, 12)));
    EXPECT_FALSE(press_and_move(MK_LBUTTON, At(50, 10), MK_LBUTTON | MK_CONTROL, At(52, 12)));
    EXPECT_FALSE(press_and_move(MK_LBUTTON | MK_RBUTTON, At(50, 10), MK_LBUTTON, At(52, 12)));
    // Below the strip, or moving out of it.
    EXPECT_FALSE(press_and_move(MK_LBUTTON, At(50, 30), MK_LBUTTON, At(50, 20)));
    EXPECT_FALSE(press_and_move(MK_LBUTTON, At(50, 10), MK_LBUTTON, At(50, 31)));
    // A move without the button, or with the button after a press on a caption button.
    EXPECT_FALSE(press_and_move(MK_LBUTTON, At(50, 10), 0, At(52, 12)));
    EXPECT_FALSE(press_and_move(MK_LBUTTON, At(close.left + 2, 5), MK_LBUTTON, At(50, 12)));
    EXPECT_FALSE(press_and_move(MK_LBUTTON, At(minimize.left + 2, 5), MK_LBUTTON, At(50, 12)));
    // A double click in the strip arms like a press.
    SendMessageW(h, WM_LBUTTONDBLCLK, MK_LBUTTON, At(40, 10));
    SendMessageW(h, WM_MOUSEMOVE, MK_LBUTTON, At(41, 10));
    EXPECT_TRUE(TakeMoveRequest(h));
    // One request per press, however many moves follow.
    SendMessageW(h, WM_MOUSEMOVE, MK_LBUTTON, At(42, 10));
    EXPECT_FALSE(TakeMoveRequest(h));
    SendMessageW(h, WM_LBUTTONUP, 0, At(42, 10));
  });
}

TEST_F(SkinDialogTest, MaximiseCoversTheWorkAreaAndRestoreBringsItBack) {
  Watchdog watchdog("Maximise");
  TestSkinDialog dialog(template_.get());
  Run(dialog, [](TestSkinDialog& d) {
    HWND h = d.hwnd();
    RECT before{};
    GetWindowRect(h, &before);
    // The system menu's choice arrives as a command and becomes the system command.
    SendMessageW(h, WM_COMMAND, MAKEWPARAM(SC_MAXIMIZE, 0), 0);
    ASSERT_FALSE(d.sys_commands.empty());
    EXPECT_EQ(d.sys_commands.front(), static_cast<WPARAM>(SC_MAXIMIZE));
    RECT area{}, now{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    GetWindowRect(h, &now);
    EXPECT_EQ(now.left, area.left);
    EXPECT_EQ(now.top, area.top);
    EXPECT_EQ(now.right, area.right);
    EXPECT_EQ(now.bottom, area.bottom);
    EXPECT_TRUE(IsWindowVisible(h));
    // The shape still follows the bitmap.
    HRGN region = WindowRegion(h);
    ASSERT_NE(region, nullptr);
    EXPECT_TRUE(PtInRegion(region, kWidth / 2, kHeight / 2));
    EXPECT_FALSE(PtInRegion(region, kWidth + 10, kHeight / 2));
    DeleteObject(region);
    // The close button stays inside the shape.
    EXPECT_EQ(d.GetCloseButtonRect().right, kWidth - 6);
    if (IsZoomed(h)) {
      // While maximised the caption strip does not move the window.
      SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, At(50, 10));
      SendMessageW(h, WM_MOUSEMOVE, MK_LBUTTON, At(52, 10));
      EXPECT_FALSE(TakeMoveRequest(h));
      SendMessageW(h, WM_LBUTTONUP, 0, At(52, 10));
    }
    SendMessageW(h, WM_COMMAND, MAKEWPARAM(SC_RESTORE, 0), 0);
    GetWindowRect(h, &now);
    EXPECT_EQ(now.left, before.left);
    EXPECT_EQ(now.top, before.top);
    EXPECT_EQ(now.right - now.left, kWidth);
    EXPECT_EQ(now.bottom - now.top, kHeight);
  });
}

TEST_F(SkinDialogTest, MaximisedSizeIsTheWorkArea) {
  Watchdog watchdog("MinMaxInfo");
  TestSkinDialog dialog(template_.get());
  Run(dialog, [](TestSkinDialog& d) {
    MINMAXINFO info{};
    SendMessageW(d.hwnd(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    RECT area{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    EXPECT_EQ(info.ptMaxSize.x, area.right - area.left);
    EXPECT_EQ(info.ptMaxSize.y, area.bottom - area.top);
  });
}

TEST_F(SkinDialogTest, SystemCommandIdsFromCommandsOnly) {
  Watchdog watchdog("CommandIds");
  TestSkinDialog dialog(template_.get());
  Run(dialog, [](TestSkinDialog& d) {
    SendMessageW(d.hwnd(), WM_COMMAND, MAKEWPARAM(16, 0), 0);
    SendMessageW(d.hwnd(), WM_COMMAND, MAKEWPARAM(SC_MOVE + 1, 0), 0);  // not one of the ids
    ASSERT_EQ(d.sys_commands.size(), 1u);
    EXPECT_EQ(d.sys_commands[0], 16u);
  });
}

TEST_F(SkinDialogTest, IconAreaOpensTheSystemMenuAndDoesNotArmAMove) {
  Watchdog watchdog("SystemMenu");
  TestSkinDialog dialog(template_.get());
  HICON icon = LoadIconW(nullptr, IDI_APPLICATION);
  dialog.icon = icon;
  Run(dialog, [&](TestSkinDialog& d) {
    HWND h = d.hwnd();
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageW(h, WM_GETICON, ICON_SMALL, 0)), icon);
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageW(h, WM_GETICON, ICON_BIG, 0)), icon);
    RECT area = d.GetIconRect();
    EXPECT_EQ(area.left, 30);
    EXPECT_EQ(area.top, 5);
    EXPECT_EQ(area.right, 46);
    EXPECT_EQ(area.bottom, 21);
    SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, At(35, 10));  // returns once the menu is closed
    ASSERT_EQ(d.menu_states.size(), 1u);
    const std::vector<UINT>& states = d.menu_states[0];
    // Not maximised: position 0 (restore) grayed, the others enabled.
    if (!states.empty()) {
      EXPECT_TRUE(states[0] & MF_GRAYED);
    }
    for (size_t position : {1u, 2u, 3u, 4u, 6u}) {
      if (position < states.size() && !(states[position] & MF_SEPARATOR)) {
        EXPECT_FALSE(states[position] & MF_GRAYED) << position;
      }
    }
    SendMessageW(h, WM_MOUSEMOVE, MK_LBUTTON, At(80, 10));
    EXPECT_FALSE(TakeMoveRequest(h));
    SendMessageW(h, WM_LBUTTONUP, 0, At(80, 10));
  });
}

TEST_F(SkinDialogTest, OffScreenTheBackgroundGoesAndComesBackToPaintAndShape) {
  Watchdog watchdog("BackgroundOnScreen");
  TestSkinDialog dialog(template_.get());
  int loads = 0;
  dialog.source = [&] {
    ++loads;
    return CornerBackground();
  };
  Run(dialog, [&](TestSkinDialog& d) {
    HWND h = d.hwnd();
    ASSERT_FALSE(IsWindowVisible(h));
    HDC screen = GetDC(h);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP canvas = CreateCompatibleBitmap(screen, kWidth, kHeight);
    HGDIOBJ old = SelectObject(memory, canvas);
    auto paint = [&] {
      SetPixel(memory, 60, 60, RGB(1, 2, 3));
      SendMessageW(h, WM_ERASEBKGND, reinterpret_cast<WPARAM>(memory), 0);
      return GetPixel(memory, 60, 60);
    };
    auto moved = [&] { SetWindowPos(h, nullptr, 30, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE); };
    auto shaped_by_corners = [&] {
      HRGN region = WindowRegion(h);
      const bool shaped = region != nullptr && !PtInRegion(region, 0, 0) && PtInRegion(region, 3, 0) &&
                          !PtInRegion(region, kWidth - 1, kHeight - 1) && PtInRegion(region, 60, 60);
      if (region != nullptr) DeleteObject(region);
      return shaped;
    };
    const int at_start = loads;

    // Hidden: the picture goes at once; size and shape stay.
    d.KeepBackgroundOnlyOnScreen();
    EXPECT_TRUE(d.has_background());
    EXPECT_TRUE(shaped_by_corners());
    EXPECT_EQ(loads, at_start);
    EXPECT_EQ(paint(), kBackground);  // loaded again to paint
    EXPECT_EQ(loads, at_start + 1);
    moved();  // still hidden: it goes again
    EXPECT_EQ(paint(), kBackground);
    EXPECT_EQ(loads, at_start + 2);

    // On screen it stays.
    ShowWindow(h, SW_SHOWNOACTIVATE);
    moved();
    EXPECT_EQ(paint(), kBackground);
    const int shown = loads;
    moved();
    EXPECT_EQ(paint(), kBackground);
    EXPECT_EQ(loads, shown);

    // Minimised it goes; restored, the shape is made from it again.
    ShowWindow(h, SW_SHOWMINNOACTIVE);
    ASSERT_TRUE(IsIconic(h));
    const int minimised = loads;
    ShowWindow(h, SW_SHOWNOACTIVATE);
    EXPECT_FALSE(IsIconic(h));
    EXPECT_GT(loads, minimised);
    EXPECT_TRUE(shaped_by_corners());
    EXPECT_EQ(paint(), kBackground);

    SelectObject(memory, old);
    DeleteObject(canvas);
    DeleteDC(memory);
    ReleaseDC(h, screen);
  });
}

TEST_F(SkinDialogTest, PaintsTheBackgroundAndTheButtonStates) {
  Watchdog watchdog("Paint");
  TestSkinDialog dialog(template_.get());
  Run(dialog, [](TestSkinDialog& d) {
    HWND h = d.hwnd();
    HDC screen = GetDC(h);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP canvas = CreateCompatibleBitmap(screen, kWidth, kHeight);
    HGDIOBJ old = SelectObject(memory, canvas);
    RECT close = d.GetCloseButtonRect();
    auto paint = [&] { return SendMessageW(h, WM_ERASEBKGND, reinterpret_cast<WPARAM>(memory), 0); };
    // The real cursor away from the dialog, so the button shows its normal state.
    SetCursorPos(1200, 880);

    EXPECT_EQ(paint(), 1);
    EXPECT_EQ(GetPixel(memory, 60, 60), kBackground);
    EXPECT_EQ(GetPixel(memory, close.left + 5, close.top + 5), kCloseNormal);
    // The button's magenta pixel lets the background through.
    EXPECT_EQ(GetPixel(memory, close.left, close.top), kBackground);

    POINT over{close.left + 5, close.top + 5};
    ClientToScreen(h, &over);
    if (SetCursorPos(over.x, over.y)) {
      POINT check{};
      GetCursorPos(&check);
      if (check.x == over.x && check.y == over.y) {
        paint();
        EXPECT_EQ(GetPixel(memory, close.left + 5, close.top + 5), kCloseHover);
      }
    }
    SetCursorPos(1200, 880);
    SelectObject(memory, old);
    DeleteObject(canvas);
    DeleteDC(memory);
    ReleaseDC(h, screen);
  });
}

TEST_F(SkinDialogTest, NonClientMessagesLeaveTheWholeWindowToTheClient) {
  Watchdog watchdog("NonClient");
  TestSkinDialog dialog(template_.get());
  Run(
      dialog,
      [](TestSkinDialog& d) {
        HWND h = d.hwnd();
        NCCALCSIZE_PARAMS params{};
        params.rgrc[0] = RECT{10, 10, 200, 150};
        EXPECT_EQ(SendMessageW(h, WM_NCCALCSIZE, TRUE, reinterpret_cast<LPARAM>(&params)), 0);
        EXPECT_EQ(params.rgrc[0].left, 10);
        EXPECT_EQ(params.rgrc[0].bottom, 150);
        SendMessageW(h, WM_NCPAINT, 1, 0);
        RECT update{};
        EXPECT_TRUE(GetUpdateRect(h, &update, FALSE));
        // And painting comes to rest (a timer still gets its turn afterwards).
        bool idle = false;
        RunSoon([&] { idle = true; });
        MSG msg;
        while (!idle && GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
        EXPECT_TRUE(idle);
      },
      /*show=*/true);
}

}  // namespace
