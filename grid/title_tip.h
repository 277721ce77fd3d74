#pragma once
// The title tip: a small topmost window that shows the whole text of a grid
// cell too narrow for it, placed exactly over the cell and widened to the
// text. It goes away when the mouse leaves the cell, on any key (which goes
// on to the grid) and on any click, which goes on to the window below.
#include <windows.h>

#include <string>
#include <string_view>

#include "framework/window.h"

class CTitleTip : public Window {
 public:
  static constexpr wchar_t kClassName[] = L"ZTitleTip";

  CTitleTip() = default;

  // Shows `text` (code page 936) over `cell` (client coordinates of `owner`)
  // in `font`, when the application has the keyboard focus and the text with
  // a blank on each side is wider than the cell. Returns true when shown.
  bool Show(HWND owner, const RECT& cell, std::string_view text, HFONT font);
  void Hide();
  bool IsShown() const { return hwnd() != nullptr && IsWindowVisible(hwnd()); }
  // The cell rectangle the tip stands for, in screen coordinates.
  const RECT& hover_rect() const { return hover_; }
  const std::wstring& text() const { return text_; }

  // True when a button press at `screen` on `target`, at message time `time`,
  // is the second click of a double-click whose first click the tip passed
  // on (the system cannot see that pair, as the clicks reached two windows).
  bool CompletesDoubleClick(HWND target, UINT message, POINT screen, LONG time);

 protected:
  LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  void Paint();
  void PassClickOn(UINT message, WPARAM wparam, LPARAM lparam);
  // Whether a click at `screen`, `time` is close enough to the recorded one.
  bool IsSecondClick(POINT screen, LONG time) const;

  HWND owner_ = nullptr;
  RECT hover_{};
  std::wstring text_;
  HFONT font_ = nullptr;
  // The last click passed on, for double-click detection.
  HWND last_target_ = nullptr;
  UINT last_message_ = 0;
  POINT last_point_{};
  LONG last_time_ = 0;
  // The passed-on click has yet to reach its target (where it must not count
  // as the second click of a pair).
  bool awaiting_delivery_ = false;
};
