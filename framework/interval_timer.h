#pragma once
// A timer that calls a function every period on the thread that started it,
// through a message-only window of its own. It is for what runs while the
// program rests: under Wine every message to a subclassed window, or to one
// whose object is found through a window property, costs round trips to
// Wine's server, where this window keeps its object in its user data and a
// tick costs the timer message alone. Modal loops of the thread (message
// boxes, menus, dialogs) keep it ticking.
#include <windows.h>

#include <functional>

class IntervalTimer {
 public:
  IntervalTimer() = default;
  ~IntervalTimer();
  IntervalTimer(const IntervalTimer&) = delete;
  IntervalTimer& operator=(const IntervalTimer&) = delete;

  // Calls `tick` every `period_ms` milliseconds from now on; a running timer
  // starts its period again with the new function. False when the system
  // could not make the window or the timer.
  // REQUIRES: `tick` does not stop or destroy this timer.
  bool Start(UINT period_ms, std::function<void()> tick);
  void Stop();
  bool running() const { return window_ != nullptr; }

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

  HWND window_ = nullptr;
  std::function<void()> tick_;
};
