#include "app/second_tick.h"

void SecondTick::Run(MainController& controller, ReminderCheck& reminders, SecondTickWindow& window) {
  if (running_) return;
  running_ = true;
  window.FreeEndedPopup();
  window.Present(controller.Tick());
  reminders.Tick();
  window.KeepPopupRepeatLineCurrent();
  window.GivePopupTheKeyboard();
  running_ = false;
}
