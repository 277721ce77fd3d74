#include "reminders/reminder_check.h"

ReminderCheck::ReminderCheck(EventList& events, const Settings& settings, ReminderHost& host)
    : events_(events), settings_(settings), host_(host) {}

void ReminderCheck::Tick() {
  if (bCheckEnabled == 0) return;
  const CMyEvent* due = events_.FindDue(host_.Now());
  if (due == nullptr) return;
  const CMyEvent snapshot = *due;
  bCheckEnabled = 0;
  Sound();
  if (settings_.nTipType != 0) {
    // Any kind but the popup flashes (a hand-edited config.ini may hold 2):
    // AnswerFlashingAlert answers whatever made the icon flash.
    flashing_ = true;
    host_.StartFlash();
    return;
  }
  AskAndApply(snapshot);
  bCheckEnabled = 1;
}

bool ReminderCheck::AnswerFlashingAlert() {
  if (!flashing_ || bPopupOpen != 0) return false;
  flashing_ = false;
  host_.StopFlash();
  const CMyEvent* due = events_.FindDue(host_.Now());
  if (due != nullptr) {
    const CMyEvent snapshot = *due;
    bPopupOpen = 1;
    AskAndApply(snapshot);
    bPopupOpen = 0;
  }
  bCheckEnabled = 1;
  return true;
}

void ReminderCheck::Sound() {
  if (settings_.bPlaySound == 0) return;
  if (settings_.nSoundType == 0) {
    host_.Beep();
  } else {
    host_.PlaySoundFile(settings_.strSoundFileName);
  }
}

void ReminderCheck::AskAndApply(const CMyEvent& due) {
  ReminderAnswer answer;
  if (!host_.AskUser(due, &answer)) return;
  const Time32 created = due.timeCreate;
  ChangeOutcome outcome = ChangeEvents(
      events_, [&](EventList& list) { return ApplyReminderAnswer(list, created, answer, host_.Now()); },
      SaveWhen::kIfApplied);
  host_.ChangeCommitted(outcome);
}
