#pragma once
// Menus from the program's resources, and pop-up menus at the cursor.
#include <windows.h>

#include <utility>

// Owns a menu loaded from a resource; DestroyMenu on destruction.
class Menu {
 public:
  Menu() = default;
  explicit Menu(UINT resource_id);
  ~Menu();
  Menu(Menu&& other) noexcept : menu_(std::exchange(other.menu_, nullptr)) {}
  Menu& operator=(Menu&& other) noexcept;
  Menu(const Menu&) = delete;
  Menu& operator=(const Menu&) = delete;

  HMENU get() const { return menu_; }
  explicit operator bool() const { return menu_ != nullptr; }
  // The pop-up at `position` (owned by this menu), or null.
  HMENU SubMenu(int position) const;

 private:
  HMENU menu_ = nullptr;
};

// Tracks `popup` at `screen_point` for `owner`, left-aligned, with the left
// button; the chosen item arrives at `owner` as a WM_COMMAND. Returns once
// the menu has closed.
void TrackPopupMenuFor(HWND owner, HMENU popup, POINT screen_point);

// Loads menu resource `resource_id`, tracks its pop-up `position` at the
// cursor for `owner` and destroys it. Returns false when the menu is missing.
bool ShowResourcePopupMenu(HWND owner, UINT resource_id, int position);
