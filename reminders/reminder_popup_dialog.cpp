#include "reminders/reminder_popup_dialog.h"

#include <commctrl.h>

#include <utility>

#include "framework/dialog_controls.h"
#include "framework/text_boundary.h"
#include "res/program_skin.h"
#include "res/resource.h"

namespace {

// "您完成了吗？" (have you finished it?), after the quoted title.
constexpr char kDoneQuestion[] = "\xC4\xFA\xCD\xEA\xB3\xC9\xC1\xCB\xC2\xF0\xA3\xBF";

// The title plate: the skin's colour, white text.
constexpr int kPlateDirection = 1;

constexpr ReminderChoiceIds kChoiceIds{{IDC_REMINDER_DONE, IDC_REMINDER_AT, IDC_REMINDER_AFTER},
                                       IDC_REMINDER_MINUTES,
                                       IDC_REMINDER_DATE,
                                       IDC_REMINDER_TIME};
// Where the option buttons of the three answers sit, by choice.
constexpr POINT kRadioPlaces[3] = {{54, 143}, {54, 161}, {54, 179}};

}  // namespace

ReminderPopupDialog::ReminderPopupDialog(HWND parent, const CMyEvent& due, Ad ad)
    : CSkinDialog(IDD_REMINDER, parent),
      strTitle_(due.strTitle),
      ad_(std::move(ad)),
      choice_(kChoiceIds, answer_.fields.nChoice) {
  const Time32 now = NowTime();
  answer_.fields.timeDate = now;
  answer_.fields.timeOfDay = now;
  answer_.strContent = due.strContent;
}

bool ReminderPopupDialog::OnInitDialog() {
  UseWindowRegion();
  strTitleLine_ = "\"" + strTitle_ + "\"" + kDoneQuestion;
  CSkinDialog::OnInitDialog();
  DressDialogFrame(*this, IDB_REMINDER_BACKGROUND);

  HWND dialog = hwnd();
  choice_.Place(dialog, kRadioPlaces);
  for (int choice = 0; choice < 3; ++choice) DressRadioButton(choice_.button(choice));
  MoveDlgItem(dialog, IDC_REMINDER_MINUTES, 102, 180, 49, 13);
  FitEditHeightToFont(GetDlgItem(dialog, IDC_REMINDER_MINUTES));  // 13 pixels may clip the font
  MoveDlgItem(dialog, IDC_REMINDER_BODY, 68, 235, 269, 59);

  HWND title = GetDlgItem(dialog, IDC_REMINDER_TITLE);
  MoveDlgItem(dialog, IDC_REMINDER_TITLE, 70, 65, 260, 60);
  // The title is the user's text: an "&" in it is shown, not taken as a mnemonic.
  SetWindowLongPtrW(title, GWL_STYLE, GetWindowLongPtrW(title, GWL_STYLE) | SS_NOPREFIX);
  ShowWindow(title, SW_SHOWNA);
  DressPlateLabel(title_label_, kPlateDirection);

  MoveDlgItem(dialog, IDC_REMINDER_DATE, 100, 158);
  MoveDlgItem(dialog, IDC_REMINDER_TIME, 195, 158);
  LimitToTimeValueDays(GetDlgItem(dialog, IDC_REMINDER_DATE));
  DressPushButton(ok_);
  DressPushButton(cancel_);

  ShowAdLink(link_, dialog, ad_.strText, ad_.strUrl);

  // A top-level window of its own (the frame centres it on the screen): it
  // comes up in front, whether the main window is shown, hidden in the
  // notification area or minimised.
  SetForegroundWindow(dialog);
  return true;
}

void ReminderPopupDialog::DoDataExchange(DataExchange& dx) {
  dx.Control(IDC_REMINDER_TITLE, title_label_);
  choice_.Bind(dx);
  dx.Control(IDOK, ok_);
  dx.Control(IDCANCEL, cancel_);
  dx.Text(IDC_REMINDER_TITLE, strTitleLine_);
  dx.Text(IDC_REMINDER_BODY, answer_.strContent);
  dx.Int(IDC_REMINDER_MINUTES, answer_.fields.nMinutes);
  dx.DateTime(IDC_REMINDER_DATE, answer_.fields.timeDate);
  dx.DateTime(IDC_REMINDER_TIME, answer_.fields.timeOfDay);
  choice_.Exchange(dx);
}

bool ReminderPopupDialog::RouteMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result) {
  return choice_.Route(message, wparam, lparam, result) ||
         CSkinDialog::RouteMessage(message, wparam, lparam, result);
}

void ReminderPopupDialog::OnOK() {
  // The controls' values are the answer: choice, day, time, minutes, body.
  if (!UpdateData(true)) return;  // the refused field has the focus
  EndDialog(IDOK);
}
