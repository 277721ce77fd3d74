#include "dialogs/event_editor_dialog.h"

#include <commctrl.h>

#include <utility>

#include "framework/dialog_controls.h"
#include "framework/message_table.h"
#include "framework/text_boundary.h"
#include "res/resource.h"
#include "skin/skin_dressing.h"

namespace {

// Where the advertisement link sits, client pixels.
constexpr RECT kLinkRect{150, 205, 350, 222};

// The three option buttons, by choice, and where they sit.
constexpr int kRadioIds[3] = {IDC_EDITOR_NO_REMIND, IDC_EDITOR_REMIND_AT, IDC_EDITOR_REMIND_AFTER};
constexpr POINT kRadioPlaces[3] = {{50, 135}, {50, 154}, {50, 174}};

}  // namespace

// --- EventEditorDialog --------------------------------------------------------

EventEditorDialog::EventEditorDialog(UINT template_id, UINT background_id)
    : CSkinDialog(template_id),
      background_id_(background_id),
      choice_(kRadioIds, IDC_EDITOR_MINUTES, reminder.nChoice) {
  const Time32 now = NowTime();
  reminder.timeDate = now;
  reminder.timeOfDay = now;
}

bool EventEditorDialog::OnInitDialog() {
  UseWindowRegion();
  CSkinDialog::OnInitDialog();
  DressDialogFrame(*this, background_id_);

  HWND dialog = hwnd();
  choice_.Dress(dialog, kRadioPlaces);
  MoveDlgItem(dialog, IDC_EDITOR_TITLE, 68, 73, 269, 13);
  MoveDlgItem(dialog, IDC_EDITOR_MINUTES, 91, 174, 49, 13);
  MoveDlgItem(dialog, IDC_EDITOR_BODY, 68, 234, 270, 60);
  // 13 pixels are too few for the dialog font under some font substitutes.
  FitEditHeightToFont(GetDlgItem(dialog, IDC_EDITOR_TITLE));
  FitEditHeightToFont(GetDlgItem(dialog, IDC_EDITOR_MINUTES));
  MoveDlgItem(dialog, IDC_EDITOR_DATE, 89, 151);
  MoveDlgItem(dialog, IDC_EDITOR_TIME, 181, 151);
  LimitToTimeValueDays(GetDlgItem(dialog, IDC_EDITOR_DATE));
  DressPushButton(ok_);
  DressPushButton(cancel_);

  // The user starts with the title; the dialog manager selects its text.
  SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, IDC_EDITOR_TITLE)), TRUE);
  return false;  // the focus is set
}

void EventEditorDialog::DoDataExchange(DataExchange& dx) {
  choice_.Bind(dx);
  dx.Control(IDOK, ok_);
  dx.Control(IDCANCEL, cancel_);
  dx.Text(IDC_EDITOR_TITLE, strTitle);
  dx.Text(IDC_EDITOR_BODY, strContent);
  dx.DateTime(IDC_EDITOR_DATE, reminder.timeDate);
  dx.DateTime(IDC_EDITOR_TIME, reminder.timeOfDay);
  dx.Int(IDC_EDITOR_MINUTES, reminder.nMinutes);
  choice_.Exchange(dx);
}

bool EventEditorDialog::RouteMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result) {
  using Table = MessageTable<EventEditorDialog>;
  static const Table table{
      Table::CommandRange(IDC_EDITOR_NO_REMIND, IDC_EDITOR_REMIND_AFTER, BN_CLICKED,
                          &EventEditorDialog::OnRadioClicked),
      Table::Command(IDC_EDITOR_MINUTES, EN_CHANGE, &EventEditorDialog::OnMinutesChanged),
      Table::Notify(IDC_EDITOR_DATE, DTN_DATETIMECHANGE, &EventEditorDialog::OnPickerChanged),
      Table::Notify(IDC_EDITOR_TIME, DTN_DATETIMECHANGE, &EventEditorDialog::OnPickerChanged),
  };
  return table.Route(*this, message, wparam, lparam, result) ||
         CSkinDialog::RouteMessage(message, wparam, lparam, result);
}

void EventEditorDialog::OnRadioClicked(int id) { choice_.OnClicked(id); }

void EventEditorDialog::OnMinutesChanged() { choice_.OnMinutesChanged(*this); }

LRESULT EventEditorDialog::OnPickerChanged(NMHDR*) {
  choice_.OnPickerChanged(*this);
  return 0;
}

void EventEditorDialog::OnOK() {
  if (!UpdateData(true)) return;  // the refused field has the focus; nothing changes
  Confirm(NowTime());
  EndDialog(IDOK);
}

// --- AddEventDialog -----------------------------------------------------------

AddEventDialog::AddEventDialog(Ad ad)
    : EventEditorDialog(IDD_ADD_EVENT, IDB_ADD_EVENT_BACKGROUND), ad_(std::move(ad)) {}

bool AddEventDialog::OnInitDialog() {
  const bool result = EventEditorDialog::OnInitDialog();
  if (!ad_.strText.empty() && link_.Create(hwnd(), kLinkRect)) {
    link_.SetTransparent();
    link_.SetLinkText(ad_.strText);
    link_.SetLinkTarget(ad_.strUrl);
  }
  return result;
}

void AddEventDialog::Confirm(Time32 now) {
  event_ = std::make_unique<CMyEvent>(now);
  event_->strTitle = strTitle;
  event_->strContent = strContent;
  ApplyEditorChoice(reminder, now, *event_);
}

// --- ModifyEventDialog --------------------------------------------------------

ModifyEventDialog::ModifyEventDialog(const CMyEvent& original)
    : EventEditorDialog(IDD_MODIFY_EVENT, IDB_MODIFY_EVENT_BACKGROUND), edited_(original) {
  strTitle = original.strTitle;
  strContent = original.strContent;
  reminder.nChoice = original.bRemind ? kRemindAtDateTime : kNoReminder;
  if (original.bRemind) {
    reminder.timeDate = original.timeRemind;
    reminder.timeOfDay = original.timeRemind;
  }
}

bool ModifyEventDialog::OnInitDialog() {
  // A memo's pickers offer the moment the dialog opens.
  if (!edited_.bRemind) {
    const Time32 now = NowTime();
    reminder.timeDate = now;
    reminder.timeOfDay = now;
  }
  return EventEditorDialog::OnInitDialog();
}

void ModifyEventDialog::Confirm(Time32 now) {
  edited_.strTitle = strTitle;
  edited_.strContent = strContent;
  ApplyEditorChoice(reminder, now, edited_);
}
