#include "reminders/reminder_check.h"

ReminderCheck::ReminderCheck(const EventList& events, const Settings& settings, ReminderHost& host)
    : events_(events), settings_(settings), host_(host) {}

void ReminderCheck::Tick() {
  if (bCheckEnabled == 0) {
    if (AlertStillDue()) return;
    // Answered or deleted elsewhere: nothing is left to alert.
    EndAlert();
  }
  const CMyEvent* due = events_.FindDue(host_.Now());
  if (due == nullptr) return;
  const CMyEvent snapshot = *due;
  bCheckEnabled = 0;
  alerted_ = events_.KeyOf(*due);
  Sound();
  if (settings_.nTipType != 0) {
    // Any kind but the popup flashes (a hand-edited config.ini may hold 2):
    // AnswerFlashingAlert answers whatever made the icon flash.
    flashing_ = true;
    host_.StartFlash();
    return;
  }
  OpenPopup(snapshot);
}

bool ReminderCheck::AnswerFlashingAlert() {
  if (!flashing_ || bPopupOpen != 0) return false;
  flashing_ = false;
  host_.StopFlash();
  const CMyEvent* due = events_.FindDue(host_.Now());
  if (due == nullptr) {
    bCheckEnabled = 1;
    return true;
  }
  const CMyEvent snapshot = *due;
  alerted_ = events_.KeyOf(*due);
  bPopupOpen = 1;
  OpenPopup(snapshot);
  return true;
}

void ReminderCheck::Answered(const ReminderAnswer& answer) {
  if (!popup_showing_) return;
  const EventKey key = alerted_;
  popup_showing_ = false;
  bPopupOpen = 0;
  host_.CommitAnswer(key, answer);
  bCheckEnabled = 1;
}

void ReminderCheck::Dismissed() {
  if (!popup_showing_) return;
  popup_showing_ = false;
  bPopupOpen = 0;
  bCheckEnabled = 1;
}

void ReminderCheck::Sound() {
  if (settings_.bPlaySound == 0) return;
  if (settings_.nSoundType == 0) {
    host_.Beep();
  } else {
    host_.PlaySoundFile(settings_.strSoundFileName);
  }
}

void ReminderCheck::OpenPopup(const CMyEvent& due) {
  popup_showing_ = true;
  host_.ShowPopup(due, alerted_);
}

bool ReminderCheck::AlertStillDue() const {
  const CMyEvent* event = events_.Find(alerted_);
  return event != nullptr && event->bRemind != 0 && event->timeRemind <= host_.Now();
}

void ReminderCheck::EndAlert() {
  if (popup_showing_) {
    popup_showing_ = false;
    host_.ClosePopup();
  }
  if (flashing_) {
    flashing_ = false;
    host_.StopFlash();
  }
  bPopupOpen = 0;
  bCheckEnabled = 1;
}
