#pragma once
// When a reminder popup takes the keyboard. A popup that comes up while the
// user types in another dialog of the program comes up without it: Enter
// there must not answer a reminder the user has not read. It takes the
// keyboard once no dialog of the program is active any more (looked at every
// second, and when the main window is activated again). Window-free: the
// main window asks, and moves the focus.
#include <functional>

class PopupKeyboard {
 public:
  // A popup opens while a dialog of the program is active or not. True when
  // it takes the keyboard at once.
  bool Opened(bool own_dialog_active);
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
