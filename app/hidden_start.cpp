#include "app/hidden_start.h"

void HiddenStart::Begin(HWND window) {
  keep_invisible_ = true;
  const LONG_PTR ex_style = GetWindowLongPtrW(window, GWL_EXSTYLE);
  SetWindowLongPtrW(window, GWL_EXSTYLE, (ex_style & ~WS_EX_APPWINDOW) | WS_EX_TOOLWINDOW);

  // The skinned window has no frame: its client area is the whole window.
  RECT client{};
  GetClientRect(window, &client);
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
  start_rect_ = client;
  pending_ = true;
  ShowWindow(window, SW_HIDE);
}

void HiddenStart::FilterWindowPos(WINDOWPOS* pos) const {
  if (keep_invisible_) pos->flags &= ~SWP_SHOWWINDOW;
}

bool HiddenStart::ShowFirstTime(HWND window) {
  if (!pending_) return false;
  keep_invisible_ = false;
  pending_ = false;
  const LONG_PTR ex_style = GetWindowLongPtrW(window, GWL_EXSTYLE);
  SetWindowLongPtrW(window, GWL_EXSTYLE, (ex_style & ~WS_EX_TOOLWINDOW) | WS_EX_APPWINDOW);
  SetWindowPos(window, nullptr, start_rect_.left, start_rect_.top, start_rect_.right - start_rect_.left,
               start_rect_.bottom - start_rect_.top, SWP_NOZORDER | SWP_SHOWWINDOW | SWP_FRAMECHANGED);
  return true;
}
