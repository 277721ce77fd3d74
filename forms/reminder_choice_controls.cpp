#include "forms/reminder_choice_controls.h"

#include <commctrl.h>

#include "events/reminder_choice.h"
#include "framework/dialog_controls.h"
#include "framework/message_table.h"
#include "framework/program_title.h"
#include "framework/text_boundary.h"

namespace {

// "请键入分钟数（0 或正整数）。" (please type a number of minutes: 0 or a positive whole number)
constexpr char kEnterMinutes[] =
    "\xc7\xeb\xbc\xfc\xc8\xeb\xb7\xd6\xd6\xd3\xca\xfd\xa3\xa8"
    "0 \xbb\xf2\xd5\xfd\xd5\xfb\xca\xfd\xa3\xa9\xa1\xa3";

// "提醒时间 <time> 已经过去，请选择以后的时间。" (the reminder time ... has
// passed, please choose a later time)
constexpr char kTimePassedBefore[] = "\xcc\xe1\xd0\xd1\xca\xb1\xbc\xe4 ";
constexpr char kTimePassedAfter[] =
    " \xd2\xd1\xbe\xad\xb9\xfd\xc8\xa5\xa3\xac\xc7\xeb\xd1\xa1\xd4\xf1\xd2\xd4\xba\xf3\xb5\xc4\xca\xb1\xbc"
    "\xe4\xa1\xa3";

}  // namespace

int CheckedOptionOf(HWND dialog, const ReminderChoiceIds& ids) {
  for (int i = 0; i < 3; ++i) {
    if (SendDlgItemMessageW(dialog, ids.buttons[i], BM_GETCHECK, 0, 0) == BST_CHECKED) return i;
  }
  return -1;
}

ReminderChoiceControls::ReminderChoiceControls(const ReminderChoiceIds& ids, int& choice)
    : ids_(ids), choice_(choice) {}

void ReminderChoiceControls::Bind(DataExchange& dx) {
  for (int i = 0; i < 3; ++i) dx.Control(ids_.buttons[i], buttons_[i]);
}

void ReminderChoiceControls::Exchange(DataExchange& dx) { dx.Radio(ids_.buttons[0], choice_); }

void ReminderChoiceControls::Place(HWND dialog, const POINT (&places)[3]) {
  for (int i = 0; i < 3; ++i) MoveDlgItem(dialog, ids_.buttons[i], places[i].x, places[i].y);
  HWND minutes = GetDlgItem(dialog, ids_.minutes);
  SetWindowLongPtrW(minutes, GWL_STYLE, GetWindowLongPtrW(minutes, GWL_STYLE) | ES_NUMBER);
}

bool ReminderChoiceControls::JudgeMinutes(HWND dialog, const std::string& typed,
                                          std::int32_t* minutes) const {
  if (std::optional<std::int32_t> count = ParseMinutesField(typed)) {
    *minutes = *count;
    return true;
  }
  win::MessageBox(dialog, kEnterMinutes, kProgramTitle, MB_OK | MB_ICONEXCLAMATION);
  HWND field = GetDlgItem(dialog, ids_.minutes);
  SetFocus(field);
  SendMessageW(field, EM_SETSEL, 0, -1);
  return false;
}

void ReminderChoiceControls::Select(int choice) {
  choice_ = choice;
  CSkinRadioButton::SelectInGroup({&buttons_[0], &buttons_[1], &buttons_[2]}, &buttons_[choice]);
}

bool ReminderChoiceControls::Route(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result) {
  if (message == WM_COMMAND) {
    const int id = LOWORD(wparam);
    const WORD code = CommandCode(wparam, lparam);
    for (int i = 0; i < 3; ++i) {
      if (id == ids_.buttons[i] && code == BN_CLICKED) {
        Select(i);
        *result = 0;
        return true;
      }
    }
    if (id == ids_.minutes && code == EN_CHANGE) {
      // Only when the user typed: the dialog's own exchange sends no change.
      Select(kRemindAfterMinutes);
      *result = 0;
      return true;
    }
    return false;
  }
  if (message == WM_NOTIFY) {
    const auto* header = reinterpret_cast<const NMHDR*>(lparam);
    if (header == nullptr || header->code != DTN_DATETIMECHANGE) return false;
    const int id = static_cast<int>(header->idFrom);
    if (id != ids_.date && id != ids_.time) return false;
    Select(kRemindAtDateTime);
    *result = 0;
    return true;
  }
  return false;
}

bool ReminderChoiceControls::JudgeReminderTime(HWND dialog, Time32 when, Time32 now) const {
  if (when >= now) return true;
  win::MessageBox(dialog, kTimePassedBefore + FormatTime(when) + kTimePassedAfter, kProgramTitle,
                  MB_OK | MB_ICONEXCLAMATION);
  SetFocus(GetDlgItem(dialog, ids_.date));
  return false;
}
