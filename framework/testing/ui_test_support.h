#pragma once
// Helpers for tests that drive real windows under Wine: a watchdog so a
// stuck modal loop fails the test instead of hanging it, message pumping,
// and finding the modal windows (message boxes, menus) a test must answer.
#include <windows.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

// Ends the process with a message when it is still alive after `limit`.
// One per test: `Watchdog watchdog("MyTest");`.
class Watchdog {
 public:
  explicit Watchdog(std::string name, std::chrono::seconds limit = std::chrono::seconds(30));
  ~Watchdog();
  Watchdog(const Watchdog&) = delete;
  Watchdog& operator=(const Watchdog&) = delete;

 private:
  std::string name_;
  std::mutex mutex_;
  std::condition_variable done_cv_;
  bool done_ = false;
  std::thread thread_;
};

// Registers the common controls the tests use (date and time pickers...).
void EnsureCommonControls();

// Dispatches every message waiting for this thread (sent and posted).
void PumpPendingMessages();

// Runs `step` from this thread's message loop once it is idle: posts a
// message to a helper window, so the step runs inside whatever modal loop
// is active by then (a dialog's, a message box's, a menu's).
void RunSoon(std::function<void()> step);

// A top-level dialog window (class "#32770") of this thread owned by
// `owner`, other than `except`; null if none. Message boxes are such windows.
HWND FindOwnedDialog(HWND owner, HWND except = nullptr);

// This user's folder for temporary files, ending in a backslash.
std::wstring TempDirectory();

// Answers the next file-open dialog owned by `owner`: types `path` into its
// file name box and confirms, or cancels it when `path` is empty.
void AnswerFileDialog(HWND owner, std::wstring path);

// The text of a message box (its static text control), as code page 936.
std::string MessageBoxText(HWND message_box);

// Sends a click of button `id` to a dialog (BN_CLICKED from that control).
void ClickButton(HWND dialog, int id);

// The window's client rectangle in screen coordinates.
RECT ClientRectOnScreen(HWND hwnd);

// A 24-bit device-dependent bitmap of the given size, filled by `pixel`
// (x, y) -> COLORREF. Made for skin tests, which take bitmaps from memory.
HBITMAP MakeBitmap(int width, int height, const std::function<COLORREF(int, int)>& pixel);
