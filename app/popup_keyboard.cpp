#include "app/popup_keyboard.h"

bool PopupKeyboard::Opened(bool own_dialog_active) {
  waiting_ = own_dialog_active;
  return !waiting_;
}

bool PopupKeyboard::TakeNow(bool popup_open, const std::function<bool()>& own_dialog_active) {
  if (!waiting_ || !popup_open || own_dialog_active()) return false;
  waiting_ = false;
  return true;
}
