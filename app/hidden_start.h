#pragma once
// The start with the argument "hide": the main window lives in the
// notification area only, without a taskbar button, and nothing may show it
// (not even the modal run that shows its dialog when it first goes idle)
// until the user's first "show" puts it back where it would have opened.
#include <windows.h>

class HiddenStart {
 public:
  // Hides `window` and keeps it hidden from now on.
  void Begin(HWND window);

  // From WM_WINDOWPOSCHANGING: takes the "show" out of any attempt to show
  // the window while the hidden start lasts.
  void FilterWindowPos(WINDOWPOS* pos) const;

  // The first "show" after a hidden start: gives the window its taskbar
  // button back and shows it at its starting place. False, and nothing
  // done, when the window did not start hidden or has been shown already.
  bool ShowFirstTime(HWND window);

 private:
  bool keep_invisible_ = false;
  bool pending_ = false;  // not shown yet since the hidden start
  RECT start_rect_{};     // where the window opened, screen pixels
};
