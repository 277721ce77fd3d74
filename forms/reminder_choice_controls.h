#pragma once
// The three option buttons of a reminder answer and how they follow the
// other controls, shared by the event editors and the reminder popup: typing
// in the minutes edit selects "after minutes", a change of either picker
// selects "at a date and time", a click checks its own button only. None of
// these reactions reads or judges the other fields: the dialog does that at OK.
#include <windows.h>

#include <cstdint>
#include <string>

#include "base/local_time.h"
#include "framework/dialog.h"
#include "skin/skin_check_box.h"

struct ReminderChoiceIds {
  int buttons[3];  // the option buttons of choices 0, 1 and 2
  int minutes;     // the minutes edit
  int date;        // the date picker
  int time;        // the time picker
};

// The option checked on screen among `ids`' buttons (0, 1 or 2), or -1.
int CheckedOptionOf(HWND dialog, const ReminderChoiceIds& ids);

class ReminderChoiceControls {
 public:
  // `choice` is the dialog's member that holds the answer.
  ReminderChoiceControls(const ReminderChoiceIds& ids, int& choice);

  // In the dialog's data exchange: binds the buttons to their objects.
  void Bind(DataExchange& dx);
  // In the dialog's data exchange: the choice <-> the checked button.
  void Exchange(DataExchange& dx);
  // At initialisation: the buttons' places (client pixels); the minutes
  // edit takes digits only.
  void Place(HWND dialog, const POINT (&places)[3]);
  CSkinRadioButton& button(int choice) { return buttons_[choice]; }

  // From the dialog's RouteMessage: the clicks, the minutes edit's changes
  // and the pickers' changes. True when the message was one of them.
  bool Route(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result);

  // At OK, when "after minutes" is chosen: the minutes as typed in the
  // field. Anything but a count is refused with a message, the field keeps
  // what was typed and gets the focus; false then.
  bool JudgeMinutes(HWND dialog, const std::string& typed, std::int32_t* minutes) const;

  // At OK, when "at a date and time" is chosen: a moment already past (a
  // year the picker refused leaves today's date, and the time the dialog
  // opened at) would remind at once. It is refused with a message naming
  // it, and the date picker gets the focus; false then.
  bool JudgeReminderTime(HWND dialog, Time32 when, Time32 now) const;

 private:
  void Select(int choice);

  ReminderChoiceIds ids_;
  int& choice_;
  CSkinRadioButton buttons_[3];
};
