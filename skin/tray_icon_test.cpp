#include "skin/tray_icon.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/testing/ui_test_support.h"

namespace {

// What the shell was asked, in order.
struct ShellRequest {
  DWORD message;
  NOTIFYICONDATAW record;
};

class ShellRecorder {
 public:
  BOOL answer = TRUE;
  std::vector<ShellRequest> requests;

  CTrayIcon::ShellNotify Call() {
    return [this](DWORD message, NOTIFYICONDATAW* record) {
      requests.push_back(ShellRequest{message, *record});
      return answer;
    };
  }
  int Count(DWORD message) const {
    int n = 0;
    for (const ShellRequest& r : requests) n += r.message == message;
    return n;
  }
  const ShellRequest& last() const { return requests.back(); }
};

// Records the callbacks the tray icon passes on.
class OwnerWindow : public Window {
 public:
  struct Call {
    WPARAM wparam;
    LPARAM lparam;
  };
  std::vector<Call> calls;

  bool Make() {
    RegisterWindowClass(L"TallyoTrayTestOwner", 0, nullptr, nullptr);
    return Create(L"TallyoTrayTestOwner", L"owner", WS_POPUP, 0, RECT{0, 0, 20, 20}, nullptr, 0);
  }

 protected:
  LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override {
    if (message == WM_TRAYNOTIFY) {
      calls.push_back(Call{wparam, lparam});
      return 0;
    }
    return Window::WindowProc(message, wparam, lparam);
  }
};

class TrayIconTest : public ::testing::Test {
 protected:
  HICON main_icon_ = LoadIconW(nullptr, IDI_APPLICATION);
  HICON alternate_icon_ = LoadIconW(nullptr, IDI_WINLOGO);
  ShellRecorder shell_;
  OwnerWindow owner_;
};

constexpr UINT kIconId = 0xFFFFFFFF;

TEST_F(TrayIconTest, AddIconRegistersTheRecordAndItsHiddenWindow) {
  Watchdog watchdog("AddIcon");
  CTrayIcon tray(shell_.Call());
  ASSERT_TRUE(owner_.Make());
  EXPECT_EQ(tray.hwnd(), nullptr);
  EXPECT_TRUE(tray.AddIcon(&owner_, "Tallyo", main_icon_, alternate_icon_, kIconId));
  ASSERT_EQ(shell_.requests.size(), 1u);
  const ShellRequest& add = shell_.requests[0];
  EXPECT_EQ(add.message, static_cast<DWORD>(NIM_ADD));
  EXPECT_EQ(add.record.cbSize, static_cast<DWORD>(NOTIFYICONDATAW_V2_SIZE));
  EXPECT_EQ(add.record.hWnd, tray.hwnd());
  EXPECT_EQ(add.record.uID, kIconId);
  EXPECT_EQ(add.record.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
  EXPECT_EQ(add.record.uFlags, 7u);
  EXPECT_EQ(add.record.uCallbackMessage, 5586u);
  EXPECT_EQ(add.record.hIcon, main_icon_);
  EXPECT_STREQ(add.record.szTip, L"Tallyo");
  EXPECT_TRUE(tray.added());
  // The hidden window: a pop-up of 10 x 10 that is never shown.
  HWND hidden = tray.hwnd();
  ASSERT_TRUE(IsWindow(hidden));
  EXPECT_FALSE(IsWindowVisible(hidden));
  EXPECT_EQ(GetWindowLongW(hidden, GWL_STYLE) & (WS_POPUP | WS_CHILD | WS_CAPTION),
            static_cast<LONG>(WS_POPUP));
  EXPECT_EQ(GetParent(hidden), nullptr);
  RECT r{};
  GetWindowRect(hidden, &r);
  EXPECT_EQ(r.right - r.left, 10);
  EXPECT_EQ(r.bottom - r.top, 10);
}

TEST_F(TrayIconTest, SecondAddIconChangesNothing) {
  Watchdog watchdog("AddTwice");
  CTrayIcon tray(shell_.Call());
  shell_.answer = FALSE;  // even a refused first add counts as added
  EXPECT_FALSE(tray.AddIcon(nullptr, "Tallyo", main_icon_, alternate_icon_, kIconId));
  HWND hidden = tray.hwnd();
  EXPECT_EQ(tray.AddIcon(&owner_, "Other", alternate_icon_, main_icon_, 7), 1);
  EXPECT_EQ(shell_.requests.size(), 1u);
  EXPECT_EQ(tray.hwnd(), hidden);
  EXPECT_EQ(tray.record().uID, kIconId);
  EXPECT_EQ(tray.record().hIcon, main_icon_);
  EXPECT_STREQ(tray.record().szTip, L"Tallyo");
  // The flag says added, so showing an icon is a modify request.
  tray.SetIcon(alternate_icon_);
  EXPECT_EQ(shell_.last().message, static_cast<DWORD>(NIM_MODIFY));
}

TEST_F(TrayIconTest, FlashAlternatesBetweenTheTwoIcons) {
  Watchdog watchdog("FlashPhases");
  CTrayIcon tray(shell_.Call());
  ASSERT_TRUE(tray.AddIcon(nullptr, "Tallyo", main_icon_, alternate_icon_, kIconId));
  EXPECT_NE(tray.StartFlash(), 0u);
  EXPECT_EQ(tray.flash_phase(), 1);
  auto tick = [&] { SendMessageW(tray.hwnd(), WM_TIMER, 1, 0); };
  tick();
  EXPECT_EQ(shell_.last().message, static_cast<DWORD>(NIM_MODIFY));
  EXPECT_EQ(shell_.last().record.uFlags, static_cast<UINT>(NIF_ICON));
  EXPECT_EQ(shell_.last().record.hIcon, alternate_icon_);
  EXPECT_EQ(tray.flash_phase(), 2);
  tick();
  EXPECT_EQ(shell_.last().record.hIcon, main_icon_);
  EXPECT_EQ(tray.flash_phase(), 1);
  tick();
  EXPECT_EQ(tray.flash_phase(), 2);
  // Starting again while flashing: the next tick blanks the icon again.
  tray.StartFlash();
  EXPECT_EQ(tray.flash_phase(), 1);
  tick();
  EXPECT_EQ(shell_.last().record.hIcon, alternate_icon_);
  // Other timer ids do not flash.
  const size_t before = shell_.requests.size();
  SendMessageW(tray.hwnd(), WM_TIMER, 2, 0);
  EXPECT_EQ(shell_.requests.size(), before);
  EXPECT_EQ(shell_.Count(NIM_ADD), 1);

  tray.StopFlash();
  EXPECT_EQ(shell_.last().message, static_cast<DWORD>(NIM_MODIFY));
  EXPECT_EQ(shell_.last().record.hIcon, main_icon_);
  EXPECT_EQ(tray.flash_phase(), 2);         // StopFlash leaves the phase alone
  EXPECT_FALSE(KillTimer(tray.hwnd(), 1));  // the flash timer is gone
}

TEST_F(TrayIconTest, FlashTimerRunsOnTheHiddenWindow) {
  Watchdog watchdog("FlashTimer");
  CTrayIcon tray(shell_.Call());
  ASSERT_TRUE(tray.AddIcon(nullptr, "Tallyo", main_icon_, alternate_icon_, kIconId));
  ASSERT_NE(tray.StartFlash(), 0u);
  MSG msg;
  while (shell_.requests.size() < 3 && GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  EXPECT_EQ(shell_.requests[1].record.hIcon, alternate_icon_);
  EXPECT_EQ(shell_.requests[2].record.hIcon, main_icon_);
  tray.StopFlash();
}

TEST_F(TrayIconTest, StopFlashWithoutStartShowsTheMainIcon) {
  Watchdog watchdog("StopWithoutStart");
  CTrayIcon tray(shell_.Call());
  tray.StopFlash();  // no window yet: nothing to ask the shell
  EXPECT_TRUE(shell_.requests.empty());
  ASSERT_TRUE(tray.AddIcon(nullptr, "Tallyo", main_icon_, alternate_icon_, kIconId));
  tray.StopFlash();
  ASSERT_EQ(shell_.requests.size(), 2u);
  EXPECT_EQ(shell_.last().message, static_cast<DWORD>(NIM_MODIFY));
  EXPECT_EQ(shell_.last().record.hIcon, main_icon_);
  EXPECT_EQ(tray.flash_phase(), 1);
  EXPECT_EQ(CTrayIcon(shell_.Call()).StartFlash(), 0u);  // no window: no timer
}

TEST_F(TrayIconTest, CallbacksGoToTheOwnerOnlyForTheIconsId) {
  Watchdog watchdog("Callbacks");
  CTrayIcon tray(shell_.Call());
  ASSERT_TRUE(owner_.Make());
  ASSERT_TRUE(tray.AddIcon(&owner_, "Tallyo", main_icon_, alternate_icon_, kIconId));
  HWND hidden = tray.hwnd();
  EXPECT_EQ(SendMessageW(hidden, WM_TRAYNOTIFY, kIconId, WM_LBUTTONDBLCLK), 1);
  EXPECT_EQ(SendMessageW(hidden, WM_TRAYNOTIFY, kIconId, MAKELPARAM(WM_RBUTTONUP, 3)), 1);
  EXPECT_EQ(SendMessageW(hidden, WM_TRAYNOTIFY, 5, WM_LBUTTONDBLCLK), 0);
  EXPECT_EQ(SendMessageW(hidden, WM_TRAYNOTIFY, 0, WM_LBUTTONDBLCLK), 0);
  ASSERT_EQ(owner_.calls.size(), 2u);
  EXPECT_EQ(owner_.calls[0].wparam, static_cast<WPARAM>(kIconId));
  EXPECT_EQ(owner_.calls[0].lparam, WM_LBUTTONDBLCLK);
  EXPECT_EQ(owner_.calls[1].lparam, MAKELPARAM(WM_RBUTTONUP, 3));
  // The owner's window gone: answered 1 and dropped.
  owner_.Destroy();
  EXPECT_EQ(SendMessageW(hidden, WM_TRAYNOTIFY, kIconId, WM_LBUTTONDBLCLK), 1);
  EXPECT_EQ(owner_.calls.size(), 2u);
}

TEST_F(TrayIconTest, WithoutOwnerTheRightIdIsAnsweredOne) {
  Watchdog watchdog("NoOwner");
  CTrayIcon tray(shell_.Call());
  ASSERT_TRUE(tray.AddIcon(nullptr, "Tallyo", main_icon_, alternate_icon_, 42));
  EXPECT_EQ(SendMessageW(tray.hwnd(), WM_TRAYNOTIFY, 42, WM_RBUTTONUP), 1);
  EXPECT_EQ(SendMessageW(tray.hwnd(), WM_TRAYNOTIFY, 43, WM_RBUTTONUP), 0);
}

TEST_F(TrayIconTest, NewTaskbarGetsTheIconAgainWithItsCurrentFrame) {
  Watchdog watchdog("TaskbarCreated");
  CTrayIcon tray(shell_.Call());
  ASSERT_TRUE(tray.AddIcon(nullptr, "Tallyo", main_icon_, alternate_icon_, kIconId));
  const UINT taskbar_created = RegisterWindowMessageW(L"TaskbarCreated");
  tray.StartFlash();
  SendMessageW(tray.hwnd(), WM_TIMER, 1, 0);  // the blank frame is showing
  PostMessageW(HWND_BROADCAST, taskbar_created, 0, 0);
  PumpPendingMessages();
  ASSERT_EQ(shell_.Count(NIM_ADD), 2);
  const ShellRequest& again = shell_.last();
  EXPECT_EQ(again.message, static_cast<DWORD>(NIM_ADD));
  EXPECT_EQ(again.record.uFlags, 7u);
  EXPECT_EQ(again.record.hIcon, alternate_icon_);
  EXPECT_EQ(again.record.uID, kIconId);
  EXPECT_EQ(again.record.uCallbackMessage, 5586u);
  EXPECT_STREQ(again.record.szTip, L"Tallyo");
  // Flashing goes on as before.
  SendMessageW(tray.hwnd(), WM_TIMER, 1, 0);
  EXPECT_EQ(shell_.last().message, static_cast<DWORD>(NIM_MODIFY));
  EXPECT_EQ(shell_.last().record.hIcon, main_icon_);
  tray.StopFlash();
  // A removed icon is not brought back by a new taskbar.
  tray.RemoveIcon();
  SendMessageW(tray.hwnd(), taskbar_created, 0, 0);
  EXPECT_EQ(shell_.Count(NIM_ADD), 2);
}

TEST_F(TrayIconTest, RemoveAndShowAgain) {
  Watchdog watchdog("RemoveAndShow");
  CTrayIcon tray(shell_.Call());
  ASSERT_TRUE(tray.AddIcon(nullptr, "Tallyo", main_icon_, alternate_icon_, kIconId));
  EXPECT_TRUE(tray.RemoveIcon());
  EXPECT_EQ(shell_.last().message, static_cast<DWORD>(NIM_DELETE));
  EXPECT_EQ(shell_.last().record.uFlags, 0u);
  EXPECT_EQ(shell_.last().record.uID, kIconId);
  EXPECT_FALSE(tray.added());
  // Showing an icon adds it again with the id, callback and tip of AddIcon.
  tray.SetIcon(alternate_icon_);
  EXPECT_EQ(shell_.last().message, static_cast<DWORD>(NIM_ADD));
  EXPECT_EQ(shell_.last().record.uFlags, 7u);
  EXPECT_EQ(shell_.last().record.hIcon, alternate_icon_);
  EXPECT_STREQ(shell_.last().record.szTip, L"Tallyo");
  EXPECT_TRUE(tray.added());
}

TEST_F(TrayIconTest, DestructionRemovesTheIconAndTheWindow) {
  Watchdog watchdog("Destruction");
  HWND hidden = nullptr;
  {
    CTrayIcon tray(shell_.Call());
    ASSERT_TRUE(tray.AddIcon(nullptr, "Tallyo", main_icon_, alternate_icon_, kIconId));
    hidden = tray.hwnd();
  }
  EXPECT_EQ(shell_.last().message, static_cast<DWORD>(NIM_DELETE));
  EXPECT_FALSE(IsWindow(hidden));
  // Never added: nothing to remove.
  shell_.requests.clear();
  { CTrayIcon unused(shell_.Call()); }
  EXPECT_TRUE(shell_.requests.empty());
}

TEST_F(TrayIconTest, LongTipsAreCutAtACharacterBoundary) {
  Watchdog watchdog("LongTip");
  std::string chinese;
  for (int i = 0; i < 35; ++i) chinese += "\xD6\xD0";  // 中, 70 bytes
  CTrayIcon tray(shell_.Call());
  ASSERT_TRUE(tray.AddIcon(nullptr, chinese, main_icon_, alternate_icon_, 1));
  EXPECT_EQ(std::wstring(tray.record().szTip),
            std::wstring(31, L'\u4E2D'));  // 62 bytes; the 32nd would not fit

  CTrayIcon ascii(shell_.Call());
  ASSERT_TRUE(ascii.AddIcon(nullptr, std::string(80, 'a'), main_icon_, alternate_icon_, 2));
  EXPECT_EQ(std::wstring(ascii.record().szTip), std::wstring(63, L'a'));

  CTrayIcon mixed(shell_.Call());
  ASSERT_TRUE(mixed.AddIcon(nullptr, "a" + chinese, main_icon_, alternate_icon_, 3));
  EXPECT_EQ(std::wstring(mixed.record().szTip), L"a" + std::wstring(31, L'\u4E2D'));  // exactly 63 bytes
}

TEST_F(TrayIconTest, TheTipChangesWithOneModifyAndKeepsWhatTheShellShows) {
  Watchdog watchdog("SetTip");
  CTrayIcon tray(shell_.Call());
  tray.SetTip("early");  // before the icon is added: nothing is sent
  EXPECT_TRUE(shell_.requests.empty());
  ASSERT_TRUE(tray.AddIcon(nullptr, "Tallyo", main_icon_, alternate_icon_, kIconId));
  tray.SetTip("2026-12-08 09:00 \xD5\xBE\xBB\xE1 (\xC3\xBF\xCC\xEC)");  // 站会 (每天)
  ASSERT_EQ(shell_.requests.size(), 2u);
  EXPECT_EQ(shell_.last().message, static_cast<DWORD>(NIM_MODIFY));
  EXPECT_EQ(shell_.last().record.uFlags, static_cast<UINT>(NIF_TIP));
  EXPECT_STREQ(shell_.last().record.szTip, L"2026-12-08 09:00 \u7AD9\u4F1A (\u6BCF\u5929)");
  tray.SetTip("2026-12-08 09:00 \xD5\xBE\xBB\xE1 (\xC3\xBF\xCC\xEC)");
  EXPECT_EQ(shell_.requests.size(), 2u);  // the same tip: nothing sent
  // 200 characters: the 127 the shell holds.
  std::string long_tip;
  for (int i = 0; i < 200; ++i) long_tip += "\xD6\xD0";  // 中
  tray.SetTip(long_tip);
  EXPECT_EQ(std::wstring(shell_.last().record.szTip), std::wstring(127, L'\u4E2D'));
}

TEST_F(TrayIconTest, RealShellCallDoesNotDisturbTheFlags) {
  Watchdog watchdog("RealShell");
  CTrayIcon tray;  // Shell_NotifyIconW; under Wine the answer depends on the desktop
  tray.AddIcon(nullptr, "Tallyo", main_icon_, alternate_icon_, kIconId);
  EXPECT_TRUE(tray.added());
  tray.RemoveIcon();
  EXPECT_FALSE(tray.added());
}

}  // namespace
