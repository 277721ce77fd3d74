#include "framework/window.h"

#include <gtest/gtest.h>

#include <vector>

#include "framework/testing/ui_test_support.h"

namespace {

const wchar_t kTestClass[] = L"TallyoFrameworkTestWindow";

class RecordingWindow : public Window {
 public:
  std::vector<UINT> messages;
  std::vector<WPARAM> timer_ids;
  int final_calls = 0;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override {
    if (message == WM_APP || message == WM_CREATE || message == WM_DESTROY) messages.push_back(message);
    if (message == WM_TIMER) {
      timer_ids.push_back(wparam);
      return 0;
    }
    if (message == WM_APP) return 99;
    return Window::WindowProc(message, wparam, lparam);
  }
  void OnFinalMessage() override { ++final_calls; }
};

RECT SmallRect() { return RECT{0, 0, 50, 40}; }

TEST(Window, CreatesBindsAndForgetsItsWindow) {
  Watchdog watchdog("CreateWindow");
  ASSERT_TRUE(Window::RegisterWindowClass(kTestClass, 0, nullptr, nullptr));
  ASSERT_TRUE(Window::RegisterWindowClass(kTestClass, 0, nullptr, nullptr));  // twice is harmless
  RecordingWindow window;
  ASSERT_TRUE(window.Create(kTestClass, L"", WS_POPUP, 0, SmallRect(), nullptr, 0));
  HWND hwnd = window.hwnd();
  EXPECT_EQ(Window::FromHandle(hwnd), &window);
  EXPECT_FALSE(window.Create(kTestClass, L"", WS_POPUP, 0, SmallRect(), nullptr, 0));  // already bound
  EXPECT_EQ(SendMessageW(hwnd, WM_APP, 0, 0), 99);
  window.Destroy();
  EXPECT_EQ(window.hwnd(), nullptr);
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_EQ(window.final_calls, 1);
  EXPECT_EQ(window.messages, (std::vector<UINT>{WM_CREATE, WM_APP, WM_DESTROY}));
  // Usable again.
  ASSERT_TRUE(window.Create(kTestClass, L"", WS_POPUP, 0, SmallRect(), nullptr, 0));
  window.Destroy();
}

TEST(Window, DestructorDestroysACreatedWindow) {
  Watchdog watchdog("DestructorDestroys");
  ASSERT_TRUE(Window::RegisterWindowClass(kTestClass, 0, nullptr, nullptr));
  HWND hwnd = nullptr;
  {
    RecordingWindow window;
    ASSERT_TRUE(window.Create(kTestClass, L"", WS_POPUP, 0, SmallRect(), nullptr, 0));
    hwnd = window.hwnd();
  }
  EXPECT_FALSE(IsWindow(hwnd));
}

TEST(Window, SubclassesAnExistingControlAndLetsItGo) {
  Watchdog watchdog("Subclass");
  HWND edit = CreateWindowExW(0, L"Edit", L"x", WS_POPUP, 0, 0, 50, 20, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(edit, nullptr);
  {
    RecordingWindow window;
    EXPECT_FALSE(window.Subclass(nullptr));
    ASSERT_TRUE(window.Subclass(edit));
    EXPECT_FALSE(window.Subclass(edit));
    EXPECT_EQ(SendMessageW(edit, WM_APP, 0, 0), 99);
    // Default processing still reaches the control's own procedure.
    SetWindowTextW(edit, L"abc");
    EXPECT_EQ(GetWindowTextLengthW(edit), 3);
  }
  // The object is gone but the control lives on, unhooked.
  ASSERT_TRUE(IsWindow(edit));
  EXPECT_EQ(Window::FromHandle(edit), nullptr);
  EXPECT_EQ(SendMessageW(edit, WM_APP, 0, 0), 0);
  DestroyWindow(edit);
}

TEST(Window, TimersFireOnTheWindowAndStop) {
  Watchdog watchdog("Timers");
  ASSERT_TRUE(Window::RegisterWindowClass(kTestClass, 0, nullptr, nullptr));
  RecordingWindow window;
  EXPECT_FALSE(window.StartTimer(1, 10));  // no window yet
  ASSERT_TRUE(window.Create(kTestClass, L"", WS_POPUP, 0, SmallRect(), nullptr, 0));
  ASSERT_TRUE(window.StartTimer(7, 10));
  MSG msg;
  while (window.timer_ids.size() < 2 && GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  window.StopTimer(7);
  PumpPendingMessages();
  const size_t count = window.timer_ids.size();
  EXPECT_EQ(window.timer_ids[0], 7u);
  // After StopTimer no WM_TIMER is waiting any more.
  EXPECT_FALSE(PeekMessageW(&msg, window.hwnd(), WM_TIMER, WM_TIMER, PM_NOREMOVE));
  EXPECT_EQ(window.timer_ids.size(), count);
  window.Destroy();
}

}  // namespace

namespace {

TEST(Window, CreationDataOfAnUnboundWindowIsNotTakenForAnObject) {
  Watchdog watchdog("CreationData");
  ASSERT_TRUE(Window::RegisterWindowClass(kTestClass, 0, nullptr, nullptr));
  // A window of our class made by someone else (a dialog template does this)
  // carries creation data that is not a Window: it must stay unbound.
  int not_a_window = 0x5A5A5A5A;
  HWND hwnd = CreateWindowExW(0, kTestClass, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                              GetModuleHandleW(nullptr), &not_a_window);
  ASSERT_NE(hwnd, nullptr);
  EXPECT_EQ(Window::FromHandle(hwnd), nullptr);
  DestroyWindow(hwnd);
}

TEST(Window, DestroyDestroysASystemControlItCreated) {
  Watchdog watchdog("CreatedControl");
  RecordingWindow window;
  ASSERT_TRUE(window.Create(L"STATIC", L"x", WS_POPUP, 0, SmallRect(), nullptr, 0));
  HWND hwnd = window.hwnd();
  EXPECT_EQ(Window::FromHandle(hwnd), &window);
  window.Destroy();
  EXPECT_FALSE(IsWindow(hwnd));
}

}  // namespace
