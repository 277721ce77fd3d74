#include "grid/title_tip.h"

#include <algorithm>
#include <cstdlib>

#include "framework/gdi.h"
#include "framework/text_boundary.h"

namespace {

UINT DoubleClickOf(UINT down) {
  switch (down) {
    case WM_LBUTTONDOWN:
      return WM_LBUTTONDBLCLK;
    case WM_RBUTTONDOWN:
      return WM_RBUTTONDBLCLK;
    case WM_MBUTTONDOWN:
      return WM_MBUTTONDBLCLK;
    default:
      return down;
  }
}

// The non-client counterpart of a client-area button message.
UINT NonClientOf(UINT message) { return message - WM_LBUTTONDOWN + WM_NCLBUTTONDOWN; }

}  // namespace

bool CTitleTip::Show(HWND owner, const RECT& cell, std::string_view text, HFONT font) {
  if (owner == nullptr || text.empty()) return false;
  if (hwnd() == nullptr) {
    RegisterWindowClass(kClassName, CS_SAVEBITS, LoadCursorW(nullptr, IDC_ARROW),
                        reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_INFOBK + 1)));
    RECT none{0, 0, 0, 0};
    if (!Create(kClassName, L"", WS_POPUP | WS_BORDER, WS_EX_TOOLWINDOW | WS_EX_TOPMOST, none, owner, 0)) {
      return false;
    }
  }
  RECT hover = cell;
  MapWindowPoints(owner, nullptr, reinterpret_cast<POINT*>(&hover), 2);
  if (IsShown() && EqualRect(&hover, &hover_)) return true;
  // Only for the application the user works in.
  if (GetFocus() == nullptr) return false;

  std::wstring padded = L" " + win::Widen(text) + L" ";
  SIZE size{0, 0};
  {
    WindowDC dc(hwnd());
    SelectGuard select(dc.get(), font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
    GetTextExtentPoint32W(dc.get(), padded.c_str(), static_cast<int>(padded.size()), &size);
  }
  const int cell_width = cell.right - cell.left;
  if (size.cx <= cell_width) return false;  // the cell shows it all

  Hide();
  owner_ = owner;
  hover_ = hover;
  text_ = std::move(padded);
  font_ = font;
  const int border = 2 * GetSystemMetrics(SM_CXBORDER);
  RECT tip{hover.left, hover.top, hover.left + size.cx + border, hover.bottom};
  // Keep the tip on the monitor: a cell near its right edge gets the tip shifted left.
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  if (GetMonitorInfoW(MonitorFromRect(&tip, MONITOR_DEFAULTTONEAREST), &monitor) &&
      tip.right > monitor.rcWork.right) {
    const LONG shift = std::min(tip.right - monitor.rcWork.right, tip.left - monitor.rcWork.left);
    if (shift > 0) OffsetRect(&tip, -shift, 0);
  }
  SetWindowPos(hwnd(), HWND_TOPMOST, tip.left, tip.top, tip.right - tip.left, tip.bottom - tip.top,
               SWP_SHOWWINDOW | SWP_NOACTIVATE);
  InvalidateRect(hwnd(), nullptr, TRUE);
  // Mouse moves now come here, so that leaving the cell is noticed at once.
  SetCapture(hwnd());
  return true;
}

void CTitleTip::Hide() {
  if (hwnd() == nullptr) return;
  if (IsWindowVisible(hwnd())) ShowWindow(hwnd(), SW_HIDE);
  if (GetCapture() == hwnd()) ReleaseCapture();
}

bool CTitleTip::IsSecondClick(POINT screen, LONG time) const {
  const bool in_time = static_cast<DWORD>(time - last_time_) <= GetDoubleClickTime();
  const bool in_place = std::abs(screen.x - last_point_.x) <= GetSystemMetrics(SM_CXDOUBLECLK) / 2 &&
                        std::abs(screen.y - last_point_.y) <= GetSystemMetrics(SM_CYDOUBLECLK) / 2;
  return in_time && in_place;
}

bool CTitleTip::CompletesDoubleClick(HWND target, UINT message, POINT screen, LONG time) {
  if (last_message_ == 0 || target != last_target_ || message != last_message_) return false;
  if (awaiting_delivery_) {
    awaiting_delivery_ = false;  // this is the click the tip passed on
    return false;
  }
  last_message_ = 0;
  return IsSecondClick(screen, time);
}

void CTitleTip::PassClickOn(UINT message, WPARAM wparam, LPARAM lparam) {
  POINT screen{static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
  ClientToScreen(hwnd(), &screen);
  Hide();
  HWND target = WindowFromPoint(screen);
  if (target == nullptr) return;
  const LONG time = GetMessageTime();
  UINT forwarded = message;
  if (last_message_ == message && last_target_ == target && !awaiting_delivery_ &&
      IsSecondClick(screen, time)) {
    last_message_ = 0;
    if (GetClassLongPtrW(target, GCL_STYLE) & CS_DBLCLKS) forwarded = DoubleClickOf(message);
  } else {
    last_target_ = target;
    last_message_ = message;
    last_point_ = screen;
    last_time_ = time;
    awaiting_delivery_ = true;
  }
  const LRESULT hit = SendMessageW(target, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y));
  if (hit == HTCLIENT) {
    POINT client = screen;
    ScreenToClient(target, &client);
    PostMessageW(target, forwarded, wparam, MAKELPARAM(client.x, client.y));
  } else {
    PostMessageW(target, NonClientOf(forwarded), static_cast<WPARAM>(hit), MAKELPARAM(screen.x, screen.y));
  }
}

void CTitleTip::Paint() {
  PaintDC dc(hwnd());
  RECT client;
  GetClientRect(hwnd(), &client);
  SelectGuard select(dc.get(), font_ ? static_cast<HGDIOBJ>(font_) : GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(dc.get(), TRANSPARENT);
  DrawTextW(dc.get(), text_.c_str(), static_cast<int>(text_.size()), &client,
            DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

LRESULT CTitleTip::WindowProc(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_PAINT:
      Paint();
      return 0;
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    case WM_MOUSEMOVE: {
      POINT screen{static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
      ClientToScreen(hwnd(), &screen);
      if (!PtInRect(&hover_, screen)) Hide();
      return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      PassClickOn(message, wparam, lparam);
      return 0;
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
      PassClickOn(message - WM_LBUTTONDBLCLK + WM_LBUTTONDOWN, wparam, lparam);
      return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      Hide();
      if (owner_) PostMessageW(owner_, message, wparam, lparam);
      return 0;
    case WM_CAPTURECHANGED:
      // Another window took the mouse: the tip has no business staying.
      if (reinterpret_cast<HWND>(lparam) != hwnd() && IsWindowVisible(hwnd())) ShowWindow(hwnd(), SW_HIDE);
      return 0;
    default:
      return DefaultProc(message, wparam, lparam);
  }
}
