#pragma once
// The main window's once-a-second work, in the one order that is right:
// first what other programs wrote to event.dat is taken in (and a failed save
// tried again), then the reminders are checked on that list, so that a popup
// whose event was answered or deleted elsewhere closes in the same second;
// then an open popup's repeat line is brought up to date (its next time, a
// rule changed elsewhere); last, a popup that waited for a dialog may take
// the keyboard.
#include "app/main_controller.h"
#include "reminders/reminder_check.h"

// What the window does in the tick.
class SecondTickWindow {
 public:
  virtual ~SecondTickWindow() = default;
  // First: a popup that ended from inside its own handlers is freed.
  virtual void FreeEndedPopup() = 0;
  // The notices of the controller's look at event.dat, and the list filled
  // again if it changed.
  virtual void Present(const ControllerResult& result) = 0;
  // The open popup's repeat line, as the rule and the clock give it now.
  virtual void KeepPopupRepeatLineCurrent() = 0;
  // Last: a popup that waited for a dialog takes the keyboard if it may.
  virtual void GivePopupTheKeyboard() = 0;
};

class SecondTick {
 public:
  // One tick. Does nothing while a tick is running: a message box it shows
  // runs a loop in which the timer keeps firing.
  void Run(MainController& controller, ReminderCheck& reminders, SecondTickWindow& window);

 private:
  bool running_ = false;
};
