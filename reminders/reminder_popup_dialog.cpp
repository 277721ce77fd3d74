#include "reminders/reminder_popup_dialog.h"

#include <commctrl.h>

#include <utility>

#include "framework/dialog_controls.h"
#include "framework/message_table.h"
#include "framework/text_boundary.h"
#include "res/resource.h"

namespace {

// "您完成了吗？" (have you finished it?), after the quoted title.
constexpr char kDoneQuestion[] = "\xC4\xFA\xCD\xEA\xB3\xC9\xC1\xCB\xC2\xF0\xA3\xBF";

// The title plate: the skin's colour, white text.
constexpr COLORREF kPlateColor = RGB(38, 77, 77);
constexpr int kPlateDirection = 1;
constexpr COLORREF kPlateTextColor = RGB(255, 255, 255);

// Where the advertisement link sits, client pixels.
constexpr RECT kLinkRect{150, 205, 350, 222};

// The three answers, by choice, and where their option buttons sit.
constexpr int kRadioIds[3] = {IDC_REMINDER_DONE, IDC_REMINDER_AT, IDC_REMINDER_AFTER};
constexpr POINT kRadioPlaces[3] = {{54, 143}, {54, 161}, {54, 179}};

int RadioIndex(int id) {
  for (int i = 0; i < 3; ++i) {
    if (kRadioIds[i] == id) return i;
  }
  return -1;
}

}  // namespace

ReminderPopupDialog::ReminderPopupDialog(HWND parent, const CMyEvent& due, Ad ad)
    : CSkinDialog(IDD_REMINDER, parent), strTitle_(due.strTitle), ad_(std::move(ad)) {
  const Time32 now = NowTime();
  answer_.fields.timeDate = now;
  answer_.fields.timeOfDay = now;
  answer_.strContent = due.strContent;
}

bool ReminderPopupDialog::OnInitDialog() {
  UseWindowRegion();
  strTitleLine_ = "\"" + strTitle_ + "\"" + kDoneQuestion;
  CSkinDialog::OnInitDialog();
  SetBackgroundBitmap(IDB_REMINDER_BACKGROUND);
  SetCloseButtonBitmaps(IDB_CLOSE_NORMAL, IDB_CLOSE_HOVER, IDB_CLOSE_PRESSED);
  SetCaptionHeight(30);
  SetDragFullWindows(1);

  HWND dialog = hwnd();
  for (int i = 0; i < 3; ++i) {
    radios_[i].SetBoxBitmaps(IDB_RADIO_UNCHECKED, IDB_RADIO_CHECKED);
    MoveDlgItem(dialog, kRadioIds[i], kRadioPlaces[i].x, kRadioPlaces[i].y);
  }
  MoveDlgItem(dialog, IDC_REMINDER_MINUTES, 102, 180, 49, 13);
  FitEditHeightToFont(GetDlgItem(dialog, IDC_REMINDER_MINUTES));  // 13 pixels may clip the font
  MoveDlgItem(dialog, IDC_REMINDER_BODY, 68, 235, 269, 59);

  HWND title = GetDlgItem(dialog, IDC_REMINDER_TITLE);
  MoveDlgItem(dialog, IDC_REMINDER_TITLE, 70, 65, 260, 60);
  // The title is the user's text: an "&" in it is shown, not taken as a mnemonic.
  SetWindowLongPtrW(title, GWL_STYLE, GetWindowLongPtrW(title, GWL_STYLE) | SS_NOPREFIX);
  ShowWindow(title, SW_SHOWNA);
  title_label_.SetBackground(kPlateColor, kPlateColor, kPlateDirection, 0);
  title_label_.SetLabelTextColor(kPlateTextColor);

  MoveDlgItem(dialog, IDC_REMINDER_DATE, 100, 158);
  MoveDlgItem(dialog, IDC_REMINDER_TIME, 195, 158);
  LimitToTimeValueDays(GetDlgItem(dialog, IDC_REMINDER_DATE));
  for (CSkinButton* button : {&ok_, &cancel_}) {
    button->SetBitmaps(IDB_PUSH_BUTTON_NORMAL, IDB_PUSH_BUTTON_HOVER, IDB_PUSH_BUTTON_PRESSED,
                       IDB_PUSH_BUTTON_PRESSED);
    button->SetShowText(1);
  }

  if (!ad_.strText.empty() && link_.Create(dialog, kLinkRect)) {
    link_.SetTransparent();
    link_.SetLinkText(ad_.strText);
    link_.SetLinkTarget(ad_.strUrl);
  }

  // A top-level window of its own (the frame centres it on the screen): it
  // comes up in front, whether the main window is shown, hidden in the
  // notification area or minimised.
  SetForegroundWindow(dialog);
  return true;
}

void ReminderPopupDialog::DoDataExchange(DataExchange& dx) {
  dx.Control(IDC_REMINDER_TITLE, title_label_);
  for (int i = 0; i < 3; ++i) dx.Control(kRadioIds[i], radios_[i]);
  dx.Control(IDOK, ok_);
  dx.Control(IDCANCEL, cancel_);
  dx.Text(IDC_REMINDER_TITLE, strTitleLine_);
  dx.Text(IDC_REMINDER_BODY, answer_.strContent);
  dx.Int(IDC_REMINDER_MINUTES, answer_.fields.nMinutes);
  dx.DateTime(IDC_REMINDER_DATE, answer_.fields.timeDate);
  dx.DateTime(IDC_REMINDER_TIME, answer_.fields.timeOfDay);
  dx.Radio(IDC_REMINDER_DONE, answer_.fields.nChoice);
}

bool ReminderPopupDialog::RouteMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result) {
  using Table = MessageTable<ReminderPopupDialog>;
  static const Table table{
      // The minutes edit (1025) lies inside this range but never sends BN_CLICKED.
      Table::CommandRange(IDC_REMINDER_DONE, IDC_REMINDER_AFTER, BN_CLICKED,
                          &ReminderPopupDialog::OnRadioClicked),
      Table::Command(IDC_REMINDER_MINUTES, EN_CHANGE, &ReminderPopupDialog::OnMinutesChanged),
      Table::Notify(IDC_REMINDER_DATE, DTN_DATETIMECHANGE, &ReminderPopupDialog::OnPickerChanged),
      Table::Notify(IDC_REMINDER_TIME, DTN_DATETIMECHANGE, &ReminderPopupDialog::OnPickerChanged),
  };
  return table.Route(*this, message, wparam, lparam, result) ||
         CSkinDialog::RouteMessage(message, wparam, lparam, result);
}

void ReminderPopupDialog::OnRadioClicked(int id) {
  const int index = RadioIndex(id);
  if (index < 0) return;
  CSkinRadioButton::SelectInGroup({&radios_[0], &radios_[1], &radios_[2]}, &radios_[index]);
}

bool ReminderPopupDialog::SelectChoice(int choice) {
  // A refused minutes text has been reported and keeps the last number,
  // which the write-back puts into the edit again.
  const bool accepted = UpdateData(true);
  answer_.fields.nChoice = choice;
  UpdateData(false);
  return accepted;
}

void ReminderPopupDialog::OnMinutesChanged() {
  HWND minutes = GetDlgItem(hwnd(), IDC_REMINDER_MINUTES);
  const std::string typed = win::GetWindowText(minutes);
  const bool accepted = SelectChoice(kRemindAfterMinutes);
  PlaceCaretAfterRewrite(minutes, typed, !accepted);
}

LRESULT ReminderPopupDialog::OnPickerChanged(NMHDR*) {
  SelectChoice(kRemindAtDateTime);
  return 0;
}

void ReminderPopupDialog::OnOK() {
  // The controls' values are the answer: choice, day, time, minutes, body.
  if (!UpdateData(true)) return;  // the refused field has the focus
  EndDialog(IDOK);
}
