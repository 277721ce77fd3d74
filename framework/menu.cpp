#include "framework/menu.h"

Menu::Menu(UINT resource_id) : menu_(LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resource_id))) {}

Menu::~Menu() {
  if (menu_ != nullptr) DestroyMenu(menu_);
}

Menu& Menu::operator=(Menu&& other) noexcept {
  if (this != &other) {
    if (menu_ != nullptr) DestroyMenu(menu_);
    menu_ = std::exchange(other.menu_, nullptr);
  }
  return *this;
}

HMENU Menu::SubMenu(int position) const { return menu_ != nullptr ? GetSubMenu(menu_, position) : nullptr; }

void TrackPopupMenuFor(HWND owner, HMENU popup, POINT screen_point) {
  if (popup == nullptr) return;
  // The owner must be the foreground window, or the menu does not close when
  // the user clicks elsewhere (a tray icon's owner usually is not).
  SetForegroundWindow(owner);
  TrackPopupMenuEx(popup, TPM_LEFTALIGN | TPM_LEFTBUTTON, screen_point.x, screen_point.y, owner, nullptr);
  // A message of its own makes the task switch complete, so a second menu
  // opens on the first click.
  PostMessageW(owner, WM_NULL, 0, 0);
}

bool ShowResourcePopupMenu(HWND owner, UINT resource_id, int position) {
  Menu menu(resource_id);
  HMENU popup = menu.SubMenu(position);
  if (popup == nullptr) return false;
  POINT cursor{};
  GetCursorPos(&cursor);
  TrackPopupMenuFor(owner, popup, cursor);
  return true;
}
