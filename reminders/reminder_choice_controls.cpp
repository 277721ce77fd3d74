#include "reminders/reminder_choice_controls.h"

#include "events/reminder_choice.h"
#include "framework/dialog_controls.h"
#include "framework/text_boundary.h"
#include "res/resource.h"

ReminderChoiceControls::ReminderChoiceControls(const int (&ids)[3], int minutes_id, int& choice)
    : ids_{ids[0], ids[1], ids[2]}, minutes_id_(minutes_id), choice_(choice) {}

void ReminderChoiceControls::Bind(DataExchange& dx) {
  for (int i = 0; i < 3; ++i) dx.Control(ids_[i], buttons_[i]);
}

void ReminderChoiceControls::Exchange(DataExchange& dx) { dx.Radio(ids_[0], choice_); }

void ReminderChoiceControls::Dress(HWND dialog, const POINT (&places)[3]) {
  for (int i = 0; i < 3; ++i) {
    buttons_[i].SetBoxBitmaps(IDB_RADIO_UNCHECKED, IDB_RADIO_CHECKED);
    MoveDlgItem(dialog, ids_[i], places[i].x, places[i].y);
  }
}

void ReminderChoiceControls::OnClicked(int id) {
  for (int i = 0; i < 3; ++i) {
    if (ids_[i] == id) {
      CSkinRadioButton::SelectInGroup({&buttons_[0], &buttons_[1], &buttons_[2]}, &buttons_[i]);
      return;
    }
  }
}

bool ReminderChoiceControls::Select(Dialog& dialog, int choice) {
  const bool accepted = dialog.UpdateData(true);
  choice_ = choice;
  dialog.UpdateData(false);
  return accepted;
}

void ReminderChoiceControls::OnMinutesChanged(Dialog& dialog) {
  HWND minutes = GetDlgItem(dialog.hwnd(), minutes_id_);
  const std::string typed = win::GetWindowText(minutes);
  const bool accepted = Select(dialog, kRemindAfterMinutes);
  PlaceCaretAfterRewrite(minutes, typed, !accepted);
}

void ReminderChoiceControls::OnPickerChanged(Dialog& dialog) { Select(dialog, kRemindAtDateTime); }
