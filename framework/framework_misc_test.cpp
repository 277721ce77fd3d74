// Menus, the file-open dialog, the worker thread.
#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <functional>

#include "framework/file_dialog.h"
#include "framework/interval_timer.h"
#include "framework/menu.h"
#include "framework/sound.h"
#include "framework/testing/ui_test_support.h"
#include "framework/text_boundary.h"
#include "framework/window.h"
#include "framework/worker_thread.h"

namespace {

const wchar_t kOwnerClass[] = L"TallyoFrameworkMiscOwner";

// Records the commands and WM_NULL it receives.
class CommandOwner : public Window {
 public:
  std::vector<WORD> commands;
  int nulls = 0;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override {
    if (message == WM_COMMAND) commands.push_back(LOWORD(wparam));
    if (message == WM_NULL) ++nulls;
    return Window::WindowProc(message, wparam, lparam);
  }
};

TEST(Menu, MissingResourceIsEmpty) {
  Menu menu(31999);
  EXPECT_FALSE(menu);
  EXPECT_EQ(menu.SubMenu(0), nullptr);
  EXPECT_FALSE(ShowResourcePopupMenu(nullptr, 31999, 0));
}

TEST(Menu, TrackedChoiceArrivesAsACommand) {
  Watchdog watchdog("TrackPopup");
  ASSERT_TRUE(Window::RegisterWindowClass(kOwnerClass, 0, nullptr, nullptr));
  CommandOwner owner;
  ASSERT_TRUE(
      owner.Create(kOwnerClass, L"owner", WS_POPUP | WS_VISIBLE, 0, RECT{100, 100, 300, 200}, nullptr, 0));
  HMENU popup = CreatePopupMenu();
  AppendMenuW(popup, MF_STRING, 32773, L"\u663E\u793A");
  AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(popup, MF_STRING, 32774, L"\u9000\u51FA");
  bool menu_seen = false;
  RunSoon([&] {
    // Inside the menu loop: choose the first item with the keyboard.
    HWND menu_window = FindWindowW(L"#32768", nullptr);
    menu_seen = menu_window != nullptr;
    PostMessageW(menu_window, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(menu_window, WM_KEYDOWN, VK_RETURN, 0);
  });
  TrackPopupMenuFor(owner.hwnd(), popup, POINT{120, 120});
  PumpPendingMessages();
  EXPECT_TRUE(menu_seen);
  EXPECT_EQ(owner.commands, std::vector<WORD>{32773});
  EXPECT_EQ(owner.nulls, 1);
  DestroyMenu(popup);
}

TEST(FileDialog, FilterBecomesZeroSeparatedPairs) {
  // "声音文件(*.wav)|*.wav|全部文件(*.*)|*.*|"
  const std::string filter =
      "\xC9\xF9\xD2\xF4\xCE\xC4\xBC\xFE(*.wav)|*.wav|\xC8\xAB\xB2\xBF\xCE\xC4\xBC\xFE(*.*)|*.*|";
  constexpr wchar_t kExpected[] =
      L"\u58F0\u97F3\u6587\u4EF6(*.wav)\0*.wav\0\u5168\u90E8\u6587\u4EF6(*.*)\0*.*\0";
  const std::wstring expected(kExpected, sizeof kExpected / sizeof kExpected[0]);  // ends with two zeros
  EXPECT_EQ(FileDialogFilter(filter), expected);
}

TEST(FileDialog, ReturnsTheChosenPathInCodePage936) {
  Watchdog watchdog("ChooseFile");
  ASSERT_TRUE(Window::RegisterWindowClass(kOwnerClass, 0, nullptr, nullptr));
  CommandOwner owner;
  ASSERT_TRUE(
      owner.Create(kOwnerClass, L"owner", WS_POPUP | WS_VISIBLE, 0, RECT{0, 0, 100, 100}, nullptr, 0));
  const std::wstring path = TempDirectory() + L"\u63D0\u9192\u58F0.wav";  // 提醒声.wav
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  CloseHandle(file);
  AnswerFileDialog(owner.hwnd(), path);
  std::optional<std::string> chosen = ChooseFileToOpen(owner.hwnd(), "Sound(*.wav)|*.wav|All(*.*)|*.*|");
  ASSERT_TRUE(chosen.has_value());
  EXPECT_EQ(*chosen, win::Narrow(path));
  EXPECT_NE(chosen->find("\xCC\xE1\xD0\xD1\xC9\xF9.wav"), std::string::npos);
  DeleteFileW(path.c_str());
}

TEST(FileDialog, PathThatCodePage936CannotHoldIsRefused) {
  Watchdog watchdog("UnrepresentablePath");
  ASSERT_TRUE(Window::RegisterWindowClass(kOwnerClass, 0, nullptr, nullptr));
  CommandOwner owner;
  ASSERT_TRUE(
      owner.Create(kOwnerClass, L"owner", WS_POPUP | WS_VISIBLE, 0, RECT{0, 0, 100, 100}, nullptr, 0));
  const std::wstring path = TempDirectory() + L"\u0E01\u0E02.wav";  // Thai letters
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  CloseHandle(file);
  std::vector<std::string> messages;
  bool cancelled_again = false;
  const HWND owner_hwnd = owner.hwnd();
  auto is_message_box = [](HWND w) { return GetDlgItem(w, 0xFFFF) != nullptr; };
  // The file dialog is answered, then the message box, then the dialog
  // that asks again is cancelled.
  std::function<void()> cancel_file_dialog = [&] {
    HWND w = FindOwnedDialog(owner_hwnd);
    if (w == nullptr || is_message_box(w)) return RunSoon(cancel_file_dialog);
    cancelled_again = true;
    PostMessageW(w, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  };
  std::function<void()> answer_message_box = [&] {
    HWND w = FindOwnedDialog(owner_hwnd);
    if (w == nullptr || !is_message_box(w)) return RunSoon(answer_message_box);
    messages.push_back(MessageBoxText(w));
    ClickButton(w, IDOK);
    RunSoon(cancel_file_dialog);
  };
  RunSoon([&] {
    HWND w = FindOwnedDialog(owner_hwnd);
    ASSERT_NE(w, nullptr);
    if (!SetDlgItemTextW(w, 0x47C, path.c_str())) SetDlgItemTextW(w, 0x480, path.c_str());
    PostMessageW(w, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    RunSoon(answer_message_box);
  });
  EXPECT_FALSE(ChooseFileToOpen(owner.hwnd(), "All(*.*)|*.*|").has_value());
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].find("\xC7\xEB\xC1\xED\xD1\xA1"), std::string::npos);  // 请另选
  EXPECT_TRUE(cancelled_again);
  DeleteFileW(path.c_str());
}

TEST(WorkerThread, RunsTheWorkOnAnotherThread) {
  Watchdog watchdog("WorkerThread");
  HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::atomic<DWORD> worker_id{0};
  ASSERT_TRUE(StartWorkerThread([&] {
    worker_id = GetCurrentThreadId();
    SetEvent(done);
  }));
  ASSERT_EQ(WaitForSingleObject(done, INFINITE), WAIT_OBJECT_0);
  EXPECT_NE(worker_id.load(), 0u);
  EXPECT_NE(worker_id.load(), GetCurrentThreadId());
  CloseHandle(done);
}

TEST(WorkerThread, ItsSignalArrivesOnceInTheWindowsOwnThread) {
  Watchdog watchdog("WorkerSignal");
  constexpr UINT kDone = WM_APP + 7;
  ASSERT_TRUE(Window::RegisterWindowClass(kOwnerClass, 0, nullptr, nullptr));
  struct Receiver : Window {
    std::vector<DWORD> threads;
    LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override {
      if (message == kDone) threads.push_back(GetCurrentThreadId());
      return Window::WindowProc(message, wparam, lparam);
    }
  } receiver;
  ASSERT_TRUE(receiver.Create(kOwnerClass, L"receiver", WS_POPUP, 0, RECT{0, 0, 10, 10}, nullptr, 0));
  HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::function<void()> signal = PostMessageSignal(receiver.hwnd(), kDone);
  ASSERT_TRUE(StartWorkerThread([&] {
    signal();
    SetEvent(done);
  }));
  ASSERT_EQ(WaitForSingleObject(done, INFINITE), WAIT_OBJECT_0);
  EXPECT_TRUE(receiver.threads.empty());  // posted, not sent: nothing ran on the worker
  PumpPendingMessages();
  EXPECT_EQ(receiver.threads, std::vector<DWORD>{GetCurrentThreadId()});
  PumpPendingMessages();
  EXPECT_EQ(receiver.threads.size(), 1u);
  CloseHandle(done);
  const HWND gone = receiver.hwnd();
  receiver.Destroy();
  PostMessageSignal(gone, kDone)();     // a window that is gone drops it
  PostMessageSignal(nullptr, kDone)();  // no window is not the raising thread's queue
  MSG stray{};
  EXPECT_FALSE(PeekMessageW(&stray, reinterpret_cast<HWND>(-1), kDone, kDone, PM_REMOVE));
  PumpPendingMessages();
  EXPECT_EQ(receiver.threads.size(), 1u);
}

TEST(Sound, TheSoundLibraryComesWithTheFirstSound) {
  EXPECT_EQ(GetModuleHandleW(L"winmm.dll"), nullptr);  // not loaded with the program
  // A silent WAV file of eight samples.
  const std::wstring path = TempDirectory() + L"tallyo-silence.wav";
  const unsigned char wav[] = {'R', 'I', 'F',  'F',  44, 0,    0,    0,    'W',  'A',  'V',  'E',  'f',
                               'm', 't', ' ',  16,   0,  0,    0,    1,    0,    1,    0,    0x40, 0x1F,
                               0,   0,   0x40, 0x1F, 0,  0,    1,    0,    8,    0,    'd',  'a',  't',
                               'a', 8,   0,    0,    0,  0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80};
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(file, wav, sizeof wav, &written, nullptr);
  CloseHandle(file);
  EXPECT_TRUE(PlaySoundFileAsync(win::Narrow(path)));
  EXPECT_NE(GetModuleHandleW(L"winmm.dll"), nullptr);
  EXPECT_TRUE(PlaySoundFileAsync(win::Narrow(path)));
  DeleteFileW(path.c_str());
}

// Dispatches this thread's messages, waiting for them, until `done()`.
void PumpUntil(const std::function<bool()>& done) {
  MSG msg;
  while (!done() && GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
}

TEST(IntervalTimer, TicksOnItsOwnThreadAlsoInsideAModalLoop) {
  Watchdog watchdog("IntervalTimer");
  ASSERT_TRUE(Window::RegisterWindowClass(kOwnerClass, 0, nullptr, nullptr));
  CommandOwner owner;
  ASSERT_TRUE(owner.Create(kOwnerClass, L"owner", WS_POPUP, 0, RECT{100, 100, 300, 200}, nullptr, 0));
  IntervalTimer timer;
  int ticks = 0;
  bool elsewhere = false;
  const DWORD thread = GetCurrentThreadId();
  ASSERT_TRUE(timer.Start(1, [&] {
    elsewhere |= GetCurrentThreadId() != thread;
    // A message box's loop, as while a dialog of the program is open.
    HWND box = FindOwnedDialog(owner.hwnd());
    if (++ticks >= 3 && box != nullptr) PostMessageW(box, WM_COMMAND, IDOK, 0);
  }));
  EXPECT_TRUE(timer.running());
  MessageBoxW(owner.hwnd(), L"ticking", L"IntervalTimer", MB_OK);
  EXPECT_GE(ticks, 3);
  EXPECT_FALSE(elsewhere);
}

TEST(IntervalTimer, StopsAndStartsAgainWithItsNewFunction) {
  Watchdog watchdog("IntervalTimerStop");
  IntervalTimer timer;
  int first = 0;
  int second = 0;
  ASSERT_TRUE(timer.Start(1, [&] { ++first; }));
  PumpUntil([&] { return first >= 2; });
  ASSERT_TRUE(timer.Start(1, [&] { ++second; }));
  const int first_then = first;
  PumpUntil([&] { return second >= 2; });
  EXPECT_EQ(first, first_then);

  timer.Stop();
  EXPECT_FALSE(timer.running());
  const int second_then = second;
  Sleep(30);
  PumpPendingMessages();
  EXPECT_EQ(second, second_then);
}

}  // namespace
