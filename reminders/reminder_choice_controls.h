#pragma once
// The three option buttons of a reminder answer and how they follow the
// other controls, shared by the event editors and the reminder popup: a
// change of the minutes edit selects "after minutes", a change of either
// picker selects "at a date and time", a click checks its own button only.
#include <windows.h>

#include "framework/dialog.h"
#include "skin/skin_check_box.h"

class ReminderChoiceControls {
 public:
  // `ids` are the buttons of choices 0, 1 and 2; `minutes_id` the minutes
  // edit; `choice` the dialog's member that holds the answer.
  ReminderChoiceControls(const int (&ids)[3], int minutes_id, int& choice);

  // In the dialog's data exchange: binds the buttons to their objects.
  void Bind(DataExchange& dx);
  // In the dialog's data exchange: the choice <-> the checked button.
  void Exchange(DataExchange& dx);
  // At initialisation: the buttons' box images and places (client pixels).
  void Dress(HWND dialog, const POINT (&places)[3]);

  // The dialog's reactions, from its message table.
  void OnClicked(int id);
  void OnMinutesChanged(Dialog& dialog);
  void OnPickerChanged(Dialog& dialog);

 private:
  // Reads the controls, selects `choice` and writes everything back; false
  // when a control refused its value (the user has been told, and the last
  // valid value is written back).
  bool Select(Dialog& dialog, int choice);

  int ids_[3];
  int minutes_id_;
  int& choice_;
  CSkinRadioButton buttons_[3];
};
