#include "dialogs/event_editor_dialog.h"

#include <commctrl.h>

#include <utility>

#include "framework/dialog_controls.h"
#include "framework/text_boundary.h"
#include "repeat/repeat_texts.h"
#include "res/program_skin.h"
#include "res/resource.h"

namespace {

constexpr ReminderChoiceIds kChoiceIds{{IDC_EDITOR_NO_REMIND, IDC_EDITOR_REMIND_AT, IDC_EDITOR_REMIND_AFTER},
                                       IDC_EDITOR_MINUTES,
                                       IDC_EDITOR_DATE,
                                       IDC_EDITOR_TIME};
// Where the option buttons sit, by choice.
constexpr POINT kRadioPlaces[3] = {{50, 135}, {50, 154}, {50, 174}};

}  // namespace

// --- EventEditorDialog --------------------------------------------------------

EventEditorDialog::EventEditorDialog(UINT template_id, UINT background_id, const RepeatRule* rule)
    : CSkinDialog(template_id), background_id_(background_id), choice_(kChoiceIds, reminder.nChoice) {
  const Time32 now = NowTime();
  reminder.timeDate = now;
  reminder.timeOfDay = now;
  if (rule != nullptr) current_rule_ = *rule;
  nRepeatChoice = initial_repeat_choice_ = RepeatChoiceOf(rule);
}

std::optional<RepeatRule> EventEditorDialog::ChosenRule() const {
  if (reminder.nChoice == kNoReminder) return std::nullopt;
  return RepeatRuleForChoice(nRepeatChoice, current_rule_ ? &*current_rule_ : nullptr);
}

void EventEditorDialog::FillRepeatChoices() {
  HWND list = GetDlgItem(hwnd(), IDC_EDITOR_REPEAT);
  for (const RepeatChoice& choice : RepeatChoices()) {
    SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(win::Widen(choice.label).c_str()));
  }
  // A rule no entry stands for (set with tallyo-cli) is offered as it is.
  if (nRepeatChoice == kCustomRepeatChoice) {
    SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(win::Widen(kCustomRepeatLabel).c_str()));
  }
}

void EventEditorDialog::EnableRepeatChoice() {
  const int shown = CheckedOptionOf(hwnd(), kChoiceIds);
  EnableWindow(GetDlgItem(hwnd(), IDC_EDITOR_REPEAT), shown != kNoReminder ? TRUE : FALSE);
}

bool EventEditorDialog::OnInitDialog() {
  UseWindowRegion();
  FillRepeatChoices();  // before the data exchange chooses an entry
  CSkinDialog::OnInitDialog();
  DressDialogFrame(*this, background_id_);

  HWND dialog = hwnd();
  choice_.Place(dialog, kRadioPlaces);
  for (int choice = 0; choice < 3; ++choice) DressRadioButton(choice_.button(choice));
  MoveDlgItem(dialog, IDC_EDITOR_TITLE, 68, 73, 269, 13);
  MoveDlgItem(dialog, IDC_EDITOR_MINUTES, 91, 174, 49, 13);
  MoveDlgItem(dialog, IDC_EDITOR_BODY, 68, 234, 270, 60);
  // 13 pixels are too few for the dialog font under some font substitutes.
  FitEditHeightToFont(GetDlgItem(dialog, IDC_EDITOR_TITLE));
  FitEditHeightToFont(GetDlgItem(dialog, IDC_EDITOR_MINUTES));
  LiftTextLimit(GetDlgItem(dialog, IDC_EDITOR_TITLE));
  LiftTextLimit(GetDlgItem(dialog, IDC_EDITOR_BODY));
  MoveDlgItem(dialog, IDC_EDITOR_DATE, 89, 151);
  MoveDlgItem(dialog, IDC_EDITOR_TIME, 181, 151);
  LimitToTimeValueDays(GetDlgItem(dialog, IDC_EDITOR_DATE));
  // Its own height and the list's: the closed box keeps the height of its font.
  MoveDlgItem(dialog, IDC_EDITOR_REPEAT, 89, 195, 176, 160);
  EnableRepeatChoice();
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
  dx.Text(IDC_EDITOR_MINUTES, strMinutes);
  dx.ListIndex(IDC_EDITOR_REPEAT, nRepeatChoice);
  choice_.Exchange(dx);
}

bool EventEditorDialog::RouteMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result) {
  if (choice_.Route(message, wparam, lparam, result)) {
    EnableRepeatChoice();
    return true;
  }
  return CSkinDialog::RouteMessage(message, wparam, lparam, result);
}

void EventEditorDialog::OnOK() {
  if (!UpdateData(true)) return;  // the refused field has the focus; nothing changes
  if (reminder.nChoice == kRemindAfterMinutes &&
      !choice_.JudgeMinutes(hwnd(), strMinutes, &reminder.nMinutes))
    return;
  const Time32 now = NowTime();
  if (reminder.nChoice == kRemindAtDateTime) {
    const Time32 when = ReminderTimeFor(reminder, now);
    if (!KeepsReminderTime(when) && !choice_.JudgeReminderTime(hwnd(), when, now)) return;
  }
  Confirm(now);
  EndDialog(IDOK);
}

// --- AddEventDialog -----------------------------------------------------------

AddEventDialog::AddEventDialog(Ad ad)
    : EventEditorDialog(IDD_ADD_EVENT, IDB_ADD_EVENT_BACKGROUND), ad_(std::move(ad)) {}

bool AddEventDialog::OnInitDialog() {
  const bool result = EventEditorDialog::OnInitDialog();
  ShowAdLink(link_, hwnd(), kEditorAdLinkPlace, ad_.strText, ad_.strUrl);
  return result;
}

void AddEventDialog::Confirm(Time32 now) {
  event_.emplace(now);
  event_->strTitle = strTitle;
  event_->strContent = strContent;
  ApplyEditorChoice(reminder, now, *event_);
}

// --- ModifyEventDialog --------------------------------------------------------

ModifyEventDialog::ModifyEventDialog(const CMyEvent& original, const RepeatRule* rule)
    : EventEditorDialog(IDD_MODIFY_EVENT, IDB_MODIFY_EVENT_BACKGROUND, rule),
      had_reminder_(original.bRemind != 0),
      original_reminder_time_(original.timeRemind),
      edited_(original) {
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

bool ModifyEventDialog::KeepsReminderTime(Time32 when) const {
  return had_reminder_ && when == original_reminder_time_;
}
