#pragma once
// When a reminder popup takes the keyboard. A popup that comes up while the
// user types in another dialog of the program comes up without it: Enter
// there must not answer a reminder the user has not read. It takes the
// keyboard once no dialog of the program is active any more (looked at every
// second, and when the main window is activated again). Nor does it take the
// keyboard from the main window while that is active (a popup that Cancel
// brings back comes a second later, when the keys are the main window's
// again): it comes up on top and the user clicks it, unless the user asked
// for it (a flashing alert answered from the tray). Window-free: the main
// window asks, and moves the focus.
#include <functional>

class PopupKeyboard {
 public:
  // What the user is doing as a popup opens.
  struct Moment {
    bool own_dialog_active = false;   // typing in another dialog of the program
    bool main_window_active = false;  // the main window has the keyboard
    bool asked_for = false;           // the user asked for this popup (from the tray)
  };
  // True when the popup takes the keyboard at once.
  bool Opened(const Moment& moment);
  // The popup ended, answered or not.
  void Ended() { waiting_ = false; }

  // A popup waits for the keyboard: the main window, activated, looks again
  // once the activation is over.
  bool waiting() const { return waiting_; }

  // True when the waiting popup takes the keyboard now: it is open and no
  // dialog of the program is active. It waits no more then. Asks
  // `own_dialog_active` only while a popup waits.
  bool TakeNow(bool popup_open, const std::function<bool()>& own_dialog_active);

 private:
  bool waiting_ = false;
};
