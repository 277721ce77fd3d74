#pragma once
// Turns a button control of a dialog template into an owner-drawn one, as the
// skinned buttons, check boxes and option buttons need when they are bound.
#include <windows.h>

// Replaces the button type with BS_OWNERDRAW (the other bits of the low
// style byte stay) and removes WS_BORDER. The type is replaced rather than
// OR-ed: BS_RADIOBUTTON | BS_OWNERDRAW would be a different button type
// altogether (0x0F), which the system draws itself.
void MakeButtonOwnerDrawn(HWND button);

// Called in WM_SETFOCUS: the focus came by the keyboard (Tab, Shift+Tab, an
// arrow key of an option group is down, no mouse button is), not by a
// click nor by the program. Only such focus gets a focus cue, as Windows
// hides cues until the keyboard is used.
bool FocusCameByKeyboard();

// A window owned by an object: destroyed with it unless already gone.
class OwnedWindow {
 public:
  OwnedWindow() = default;
  ~OwnedWindow() { Reset(); }
  OwnedWindow(const OwnedWindow&) = delete;
  OwnedWindow& operator=(const OwnedWindow&) = delete;
  HWND get() const { return hwnd_; }
  void Reset(HWND hwnd = nullptr) {
    if (hwnd_ != nullptr && IsWindow(hwnd_)) DestroyWindow(hwnd_);
    hwnd_ = hwnd;
  }

 private:
  HWND hwnd_ = nullptr;
};
