#include "framework/testing/ui_test_support.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <vector>

#include "framework/text_boundary.h"

Watchdog::Watchdog(std::string name, std::chrono::seconds limit) : name_(std::move(name)) {
  thread_ = std::thread([this, limit] {
    std::unique_lock<std::mutex> lock(mutex_);
    if (!done_cv_.wait_for(lock, limit, [this] { return done_; })) {
      std::fprintf(stderr, "watchdog: %s did not finish in time; ending the test program\n", name_.c_str());
      std::fflush(stderr);
      ExitProcess(3);
    }
  });
}

Watchdog::~Watchdog() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    done_ = true;
  }
  done_cv_.notify_all();
  thread_.join();
}

void EnsureCommonControls() {
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof controls;
  controls.dwICC = ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_STANDARD_CLASSES;
  InitCommonControlsEx(&controls);
}

void PumpPendingMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

namespace {

// Steps waiting for their timer; test code runs on one thread only.
std::map<UINT_PTR, std::function<void()>>& PendingSteps() {
  static std::map<UINT_PTR, std::function<void()>> steps;
  return steps;
}

void CALLBACK RunStep(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  auto it = PendingSteps().find(id);
  if (it == PendingSteps().end()) return;
  std::function<void()> step = std::move(it->second);
  PendingSteps().erase(it);
  step();
}

struct FindOwned {
  HWND owner;
  HWND except;
  HWND found = nullptr;
};

BOOL CALLBACK CheckOwned(HWND hwnd, LPARAM lparam) {
  auto* search = reinterpret_cast<FindOwned*>(lparam);
  wchar_t class_name[16] = {};
  GetClassNameW(hwnd, class_name, 16);
  if (hwnd != search->except && std::wstring_view(class_name) == L"#32770" &&
      GetWindow(hwnd, GW_OWNER) == search->owner && IsWindowVisible(hwnd)) {
    search->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

void RunSoon(std::function<void()> step) {
  // A thread timer: WM_TIMER is made only when the queue is otherwise empty,
  // and every modal loop dispatches it.
  UINT_PTR id = SetTimer(nullptr, 0, USER_TIMER_MINIMUM, RunStep);
  PendingSteps()[id] = std::move(step);
}

HWND FindOwnedDialog(HWND owner, HWND except) {
  FindOwned search{owner, except};
  EnumThreadWindows(GetCurrentThreadId(), CheckOwned, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::string MessageBoxText(HWND message_box) {
  // The message text is the static control with id 0xFFFF.
  return win::GetWindowText(GetDlgItem(message_box, 0xFFFF));
}

void ClickButton(HWND dialog, int id) {
  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

RECT ClientRectOnScreen(HWND hwnd) {
  RECT r{};
  GetClientRect(hwnd, &r);
  MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

HBITMAP MakeBitmap(int width, int height, const std::function<COLORREF(int, int)>& pixel) {
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  std::vector<DWORD> pixels(static_cast<size_t>(width) * height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      COLORREF c = pixel(x, y);
      pixels[static_cast<size_t>(y) * width + x] = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
    }
  }
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  SetDIBits(screen, bitmap, 0, height, pixels.data(), &info, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  return bitmap;
}

std::wstring TempDirectory() {
  wchar_t buffer[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, buffer);
  return buffer;
}

void AnswerFileDialog(HWND owner, std::wstring path) {
  RunSoon([owner, path] {
    HWND file_dialog = FindOwnedDialog(owner);
    ASSERT_NE(file_dialog, nullptr);
    if (path.empty()) {
      PostMessageW(file_dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
      return;
    }
    // The explorer-style dialog's file name box (cmb13), or the older edit (edt1).
    if (!SetDlgItemTextW(file_dialog, 0x47C, path.c_str())) SetDlgItemTextW(file_dialog, 0x480, path.c_str());
    PostMessageW(file_dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  });
}
