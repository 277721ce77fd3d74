#include "skin/tray_icon.h"

#include <algorithm>
#include <string>

#include "base/cp936.h"
#include "framework/text_boundary.h"

namespace {

const wchar_t kHiddenWindowClass[] = L"TallyoTrayIconWindow";
// The tip field holds 63 characters of the old record and a terminating zero.
constexpr std::size_t kTipBytes = 63;

// The first `limit` bytes of a code page 936 text, not splitting a character.
std::string_view Truncate(std::string_view text, std::size_t limit) {
  std::size_t end = 0;
  while (end < text.size()) {
    const std::size_t next = end + cp936::CharLength(text, end);
    if (next > limit) break;
    end = next;
  }
  return text.substr(0, end);
}

}  // namespace

CTrayIcon::CTrayIcon(ShellNotify shell)
    : shell_(std::move(shell)), taskbar_created_(RegisterWindowMessageW(L"TaskbarCreated")) {
  // The size that carries a tip of 128 characters (the first one stops at
  // 64): the tip names the next reminder with its title.
  record_.cbSize = NOTIFYICONDATAW_V2_SIZE;
  record_.uCallbackMessage = WM_TRAYNOTIFY;
}

CTrayIcon::~CTrayIcon() {
  if (hwnd() != nullptr) RemoveIcon();
}

bool CTrayIcon::EnsureWindow() {
  if (hwnd() != nullptr) return true;
  if (!RegisterWindowClass(kHiddenWindowClass, 0, nullptr, nullptr)) return false;
  // A pop-up that is never shown: only the shell's callbacks and the timer reach it.
  return Create(kHiddenWindowClass, L"", WS_POPUP, 0, RECT{0, 0, 10, 10}, nullptr, 0);
}

BOOL CTrayIcon::AddIcon(Window* owner, std::string_view tip, HICON main_icon, HICON alternate_icon, UINT id) {
  if (!EnsureWindow()) return FALSE;
  if (added_) return added_;
  alternate_icon_ = alternate_icon;
  owner_ = owner;
  main_icon_ = main_icon;
  record_.hWnd = hwnd();
  record_.uID = id;
  record_.hIcon = main_icon;
  record_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  const std::wstring wide_tip = win::Widen(Truncate(tip, kTipBytes));
  std::fill(std::begin(record_.szTip), std::end(record_.szTip), L'\0');
  std::copy_n(wide_tip.begin(), std::min<std::size_t>(wide_tip.size(), kTipBytes), record_.szTip);
  const BOOL result = shell_(NIM_ADD, &record_);
  added_ = 1;  // the shell's answer is not trusted either way; a later SetIcon modifies
  return result;
}

void CTrayIcon::SetIcon(HICON icon) {
  // Without the hidden window there is nothing the shell could call back.
  if (hwnd() == nullptr) return;
  record_.hIcon = icon;
  if (added_) {
    record_.uFlags = NIF_ICON;
    shell_(NIM_MODIFY, &record_);
  } else {
    record_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    shell_(NIM_ADD, &record_);
  }
  added_ = 1;
}

void CTrayIcon::SetTip(std::string_view tip) {
  std::wstring wide = win::Widen(tip);
  constexpr std::size_t kLongest = std::size(NOTIFYICONDATAW{}.szTip) - 1;
  if (wide.size() > kLongest) {
    wide.resize(kLongest);
    // Not half of a character outside the basic plane.
    if (wide.back() >= 0xD800 && wide.back() <= 0xDBFF) wide.pop_back();
  }
  if (wide == record_.szTip) return;
  std::fill(std::begin(record_.szTip), std::end(record_.szTip), L'\0');
  std::copy(wide.begin(), wide.end(), record_.szTip);
  if (hwnd() == nullptr || !added_) return;
  record_.uFlags = NIF_TIP;
  shell_(NIM_MODIFY, &record_);
}

UINT_PTR CTrayIcon::StartFlash() {
  flash_phase_ = 1;
  if (hwnd() == nullptr) return 0;
  return SetTimer(hwnd(), kFlashTimer, kFlashPeriodMs, nullptr);
}

void CTrayIcon::StopFlash() {
  StopTimer(kFlashTimer);
  SetIcon(main_icon_);
}

BOOL CTrayIcon::RemoveIcon() {
  record_.uFlags = 0;
  const BOOL result = shell_(NIM_DELETE, &record_);
  added_ = 0;
  return result;
}

void CTrayIcon::FlashStep() {
  if (flash_phase_ == 1) {
    SetIcon(alternate_icon_);
    flash_phase_ = 2;
  } else {
    SetIcon(main_icon_);
    flash_phase_ = 1;
  }
}

void CTrayIcon::AddAgainForNewTaskbar() {
  // The new taskbar knows no icons: add ours again, showing the frame it showed.
  if (!added_) return;
  record_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  shell_(NIM_ADD, &record_);
}

LRESULT CTrayIcon::OnTrayNotification(WPARAM wparam, LPARAM lparam) {
  if (static_cast<UINT>(wparam) != record_.uID) return 0;
  HWND owner = owner_ != nullptr ? owner_->hwnd() : nullptr;
  if (owner != nullptr) SendMessageW(owner, WM_TRAYNOTIFY, wparam, lparam);
  return 1;
}

LRESULT CTrayIcon::WindowProc(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_TRAYNOTIFY) return OnTrayNotification(wparam, lparam);
  if (taskbar_created_ != 0 && message == taskbar_created_) {
    AddAgainForNewTaskbar();
    return 0;
  }
  if (message == WM_TIMER && wparam == kFlashTimer) FlashStep();
  return Window::WindowProc(message, wparam, lparam);
}
