#include "app/popup_keyboard.h"

bool PopupKeyboard::Opened(const Moment& moment) {
  waiting_ = moment.own_dialog_active;
  return !waiting_ && (moment.asked_for || !moment.main_window_active);
}

bool PopupKeyboard::TakeNow(bool popup_open, const std::function<bool()>& own_dialog_active) {
  if (!waiting_ || !popup_open || own_dialog_active()) return false;
  waiting_ = false;
  return true;
}
