#include "dialogs/event_editor_dialog.h"

#include <commctrl.h>

#include <utility>

#include "base/system_time_win.h"
#include "framework/dialog_controls.h"
#include "framework/text_boundary.h"
#include "repeat/repeat_series.h"
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

// The "重复" drop-down, and the note beside it.
constexpr RECT kRepeatPlace{89, 195, 254, 355};
constexpr RECT kRepeatNotePlace{259, 198, 376, 214};
// "首次 " (first time), before the month, day and time a series starts at.
constexpr char kFirstTime[] = "\xca\xd7\xb4\xce ";
constexpr COLORREF kSkinTeal = RGB(38, 77, 77);
constexpr COLORREF kSkinAccent = RGB(242, 170, 62);

// The local time a picker shows; nullopt when it shows none it can hold.
std::optional<Time32> PickedTime(HWND picker) {
  SYSTEMTIME shown{};
  if (DateTime_GetSystemtime(picker, &shown) != GDT_VALID) return std::nullopt;
  Time32 t = 0;
  if (!FromLocalTime(FromSystemTime(shown), &t)) return std::nullopt;
  return t;
}

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
  const bool reminds = CheckedOptionOf(hwnd(), kChoiceIds) != kNoReminder;
  HWND list = GetDlgItem(hwnd(), IDC_EDITOR_REPEAT);
  if (reminds == (IsWindowEnabled(list) != FALSE)) return;
  if (!reminds) {
    // Without a reminder nothing repeats, and the greyed box says so; the
    // entry the user had comes back with a reminder.
    repeat_choice_while_greyed_ = static_cast<int>(SendMessageW(list, CB_GETCURSEL, 0, 0));
    SendMessageW(list, CB_SETCURSEL, 0, 0);
  } else if (repeat_choice_while_greyed_ >= 0) {
    SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(repeat_choice_while_greyed_), 0);
    repeat_choice_while_greyed_ = -1;
  }
  EnableWindow(list, reminds ? TRUE : FALSE);
}

std::optional<Time32> EventEditorDialog::MovedSeriesStart(Time32 now) const {
  HWND dialog = hwnd();
  if (CheckedOptionOf(dialog, kChoiceIds) != kRemindAtDateTime) return std::nullopt;
  const std::optional<Time32> day = PickedTime(GetDlgItem(dialog, IDC_EDITOR_DATE));
  const std::optional<Time32> time = PickedTime(GetDlgItem(dialog, IDC_EDITOR_TIME));
  if (!day || !time) return std::nullopt;
  const Time32 when = CombineDateAndTime(*day, *time);
  if (when >= now || KeepsReminderTime(when)) return std::nullopt;
  const int entry = static_cast<int>(SendDlgItemMessageW(dialog, IDC_EDITOR_REPEAT, CB_GETCURSEL, 0, 0));
  const std::optional<RepeatRule> rule =
      RepeatRuleForChoice(entry, current_rule_ ? &*current_rule_ : nullptr);
  if (!rule) return std::nullopt;
  return FirstReminderNotPast(when, *rule, now);
}

void EventEditorDialog::ShowRepeatNote() {
  const std::optional<Time32> start = MovedSeriesStart(NowTime());
  // "首次 12-09 07:41": month, day, hour and minute of "2026-12-09 07:41:00".
  std::string note = start ? kFirstTime + FormatTime(*start).substr(5, 11) : std::string();
  // 自定义 says what the rule is: "每月第二个星期二".
  const int entry = static_cast<int>(SendDlgItemMessageW(hwnd(), IDC_EDITOR_REPEAT, CB_GETCURSEL, 0, 0));
  if (!start && entry == kCustomRepeatChoice && current_rule_) note = RepeatShortName(*current_rule_);
  HWND label = GetDlgItem(hwnd(), IDC_EDITOR_REPEAT_NOTE);
  if (win::GetWindowText(label) != note) win::SetWindowText(label, note);
  ShowWindow(label, note.empty() ? SW_HIDE : SW_SHOWNA);
}

bool EventEditorDialog::OnInitDialog() {
  UseWindowRegion();
  // The note beside "重复", bound like the template's controls.
  HWND note = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | SS_LEFT | SS_NOPREFIX | SS_CENTERIMAGE,
                              kRepeatNotePlace.left, kRepeatNotePlace.top,
                              kRepeatNotePlace.right - kRepeatNotePlace.left,
                              kRepeatNotePlace.bottom - kRepeatNotePlace.top, hwnd(),
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_EDITOR_REPEAT_NOTE)),
                              GetModuleHandleW(nullptr), nullptr);
  SendMessageW(note, WM_SETFONT, SendMessageW(hwnd(), WM_GETFONT, 0, 0), FALSE);
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
  MoveDlgItem(dialog, IDC_EDITOR_REPEAT, kRepeatPlace.left, kRepeatPlace.top,
              kRepeatPlace.right - kRepeatPlace.left, kRepeatPlace.bottom - kRepeatPlace.top);
  repeat_note_.SetBackground(kSkinTeal, kSkinTeal, 0, 0);
  repeat_note_.SetLabelTextColor(kSkinAccent);
  EnableRepeatChoice();
  ShowRepeatNote();
  DressPushButton(ok_);
  DressPushButton(cancel_);

  // The user starts with the title; the dialog manager selects its text.
  SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, IDC_EDITOR_TITLE)), TRUE);
  return false;  // the focus is set
}

void EventEditorDialog::DoDataExchange(DataExchange& dx) {
  choice_.Bind(dx);
  dx.Control(IDC_EDITOR_REPEAT_NOTE, repeat_note_);
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
    ShowRepeatNote();
    return true;
  }
  if (message == WM_COMMAND && LOWORD(wparam) == IDC_EDITOR_REPEAT && HIWORD(wparam) == CBN_SELCHANGE) {
    ShowRepeatNote();
    *result = 0;
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
    // A series at a time already past starts at its next occurrence, as
    // the note beside "重复" says; a one-off there is refused.
    if (const std::optional<Time32> start = MovedSeriesStart(now)) {
      reminder.timeDate = *start;
      reminder.timeOfDay = *start;
    }
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
