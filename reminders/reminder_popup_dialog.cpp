#include "reminders/reminder_popup_dialog.h"

#include <commctrl.h>

#include <utility>
#include <vector>

#include "base/cp936.h"
#include "framework/dialog_controls.h"
#include "framework/text_boundary.h"
#include "res/program_skin.h"
#include "res/resource.h"

namespace {

// "您完成了吗？" (have you finished it?), after the quoted title.
constexpr char kDoneQuestion[] = "\xC4\xFA\xCD\xEA\xB3\xC9\xC1\xCB\xC2\xF0\xA3\xBF";

// "…", where a long title is cut so the question after it still shows.
constexpr char kEllipsis[] = "\xa1\xad";

// "我知道了，等下次再提醒我" (got it, remind me next time): the done answer
// of a series, which moves it to its next time. A one-off's wording is
// painted on the skin beside the bare option button.
constexpr char kSeriesDoneCaption[] =
    "\xce\xd2\xd6\xaa\xb5\xc0\xc1\xcb\xa3\xac\xb5\xc8\xcf\xc2\xb4\xce\xd4\xd9\xcc\xe1\xd0\xd1\xce\xd2";
// The series' done answer: its option button with the caption beside it,
// over the skin's one-off wording, to the title plate's right edge.
constexpr RECT kSeriesDonePlace{54, 142, 337, 158};
constexpr int kSeriesDoneGap = 6;

// How far a popup moves aside from another copy's popup in its place.
constexpr int kStepAside = 28;

// The title plate: the skin's colour, white text.
constexpr int kPlateDirection = 1;

constexpr ReminderChoiceIds kChoiceIds{{IDC_REMINDER_DONE, IDC_REMINDER_AT, IDC_REMINDER_AFTER},
                                       IDC_REMINDER_MINUTES,
                                       IDC_REMINDER_DATE,
                                       IDC_REMINDER_TIME};
// Where the option buttons of the three answers sit, by choice.
constexpr POINT kRadioPlaces[3] = {{54, 143}, {54, 161}, {54, 179}};

// What the title label shows: the title in quotes and the question, and
// under them `tail` (the repeat rule's line) when there is one. A title too
// long for the label is cut, by characters, and ends in "…", so the
// question and the tail always show whole.
std::string FitTitleLine(HWND label, const std::string& title, const std::string& tail) {
  auto line = [&](std::size_t kept) {
    std::string text = "\"";
    text.append(title, 0, kept);
    if (kept < title.size()) text += kEllipsis;
    text += '"';
    text += kDoneQuestion;
    if (!tail.empty()) {
      text += "\r\n";
      text += tail;
    }
    return text;
  };
  RECT place{};
  GetClientRect(label, &place);
  HDC dc = GetDC(label);
  if (dc == nullptr) return line(title.size());
  HGDIOBJ old_font = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)));
  auto fits = [&](const std::string& text) {
    RECT needed{0, 0, place.right, 0};
    DrawTextW(dc, win::Widen(text).c_str(), -1, &needed,
              DT_CALCRECT | DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX | DT_EXPANDTABS);
    return needed.bottom <= place.bottom;
  };
  std::string fitted = line(title.size());
  if (!fits(fitted)) {
    // The character boundaries of the title, then the longest start that fits.
    std::vector<std::size_t> ends{0};
    for (std::size_t i = 0; i < title.size(); i += cp936::CharLength(title, i)) ends.push_back(i);
    ends.push_back(title.size());
    std::size_t low = 0, high = ends.size() - 2;  // ends[low] fits (an empty start always shows)
    while (low < high) {
      const std::size_t middle = (low + high + 1) / 2;
      if (fits(line(ends[middle]))) {
        low = middle;
      } else {
        high = middle - 1;
      }
    }
    fitted = line(ends[low]);
  }
  SelectObject(dc, old_font);
  ReleaseDC(label, dc);
  return fitted;
}

// The popup windows of other copies of the program that sit at `corner`.
bool AnotherPopupAt(HWND self, POINT corner) {
  struct Search {
    HWND self;
    POINT corner;
    bool found;
  } search{self, corner, false};
  EnumWindows(
      [](HWND window, LPARAM param) -> BOOL {
        auto* s = reinterpret_cast<Search*>(param);
        if (window == s->self || !IsWindowVisible(window)) return TRUE;
        RECT r{};
        GetWindowRect(window, &r);
        if (r.left != s->corner.x || r.top != s->corner.y) return TRUE;
        if (win::GetWindowText(window) != win::GetWindowText(s->self)) return TRUE;
        s->found = true;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Held from the look for a free place until the popup shows there: a named
// mutex, shared by every copy of the program in this session.
class PlaceTurn {
 public:
  PlaceTurn() : mutex_(CreateMutexW(nullptr, /*bInitialOwner=*/FALSE, L"Tallyo.ReminderPopupPlace")) {
    // A copy that died holding it leaves it abandoned, which still counts as taken.
    if (mutex_ != nullptr) WaitForSingleObject(mutex_, /*dwMilliseconds=*/2000);
  }
  ~PlaceTurn() {
    if (mutex_ == nullptr) return;
    ReleaseMutex(mutex_);
    CloseHandle(mutex_);
  }
  PlaceTurn(const PlaceTurn&) = delete;
  PlaceTurn& operator=(const PlaceTurn&) = delete;

 private:
  HANDLE mutex_;
};

}  // namespace

ReminderPopupDialog::ReminderPopupDialog(HWND parent, const CMyEvent& due, Ad ad, std::string repeat_line)
    : CSkinDialog(IDD_REMINDER, parent),
      strTitle_(due.strTitle),
      repeat_line_(std::move(repeat_line)),
      ad_(std::move(ad)),
      choice_(kChoiceIds, answer_.fields.nChoice) {
  const Time32 now = NowTime();
  answer_.fields.timeDate = now;
  answer_.fields.timeOfDay = now;
  answer_.strContent = due.strContent;
}

bool ReminderPopupDialog::OnInitDialog() {
  UseWindowRegion();
  CSkinDialog::OnInitDialog();
  DressDialogFrame(*this, IDB_REMINDER_BACKGROUND);

  HWND dialog = hwnd();
  choice_.Place(dialog, kRadioPlaces);
  for (int choice = 0; choice < 3; ++choice) DressRadioButton(choice_.button(choice));
  // A series' own wording starts where the skin paints the one-off's.
  choice_.button(kNoReminder).SetCaptionGap(kSeriesDoneGap);
  MoveDlgItem(dialog, IDC_REMINDER_MINUTES, 102, 180, 49, 13);
  FitEditHeightToFont(GetDlgItem(dialog, IDC_REMINDER_MINUTES));  // 13 pixels may clip the font
  MoveDlgItem(dialog, IDC_REMINDER_BODY, 68, 235, 269, 59);
  LiftTextLimit(GetDlgItem(dialog, IDC_REMINDER_BODY));

  HWND done = GetDlgItem(dialog, IDC_REMINDER_DONE);
  one_off_done_caption_ = win::GetWindowText(done);
  RECT done_rect{};
  GetWindowRect(done, &done_rect);
  one_off_done_size_ = SIZE{done_rect.right - done_rect.left, done_rect.bottom - done_rect.top};
  ShowDoneAnswer();

  HWND title = GetDlgItem(dialog, IDC_REMINDER_TITLE);
  MoveDlgItem(dialog, IDC_REMINDER_TITLE, 70, 65, 260, 60);
  // The title is the user's text: an "&" in it is shown, not taken as a
  // mnemonic, and a long word breaks like in an edit instead of running off.
  SetWindowLongPtrW(title, GWL_STYLE, GetWindowLongPtrW(title, GWL_STYLE) | SS_NOPREFIX | SS_EDITCONTROL);
  ShowTitleLine();
  ShowWindow(title, SW_SHOWNA);
  DressPlateLabel(title_label_, kPlateDirection);

  MoveDlgItem(dialog, IDC_REMINDER_DATE, 100, 158);
  MoveDlgItem(dialog, IDC_REMINDER_TIME, 195, 158);
  LimitToTimeValueDays(GetDlgItem(dialog, IDC_REMINDER_DATE));
  DressPushButton(ok_);
  DressPushButton(cancel_);

  ShowAdLink(link_, dialog, kPopupAdLinkPlace, ad_.strText, ad_.strUrl);

  if (modeless()) return false;  // Open shows it, with or without the keyboard
  // Run modally: a top-level window of its own (the frame centres it on the
  // screen) that comes up in front.
  ShowWindow(dialog, SW_SHOW);
  SetForegroundWindow(dialog);
  return true;
}

void ReminderPopupDialog::ShowRepeatLine(std::string line) {
  if (line == repeat_line_) return;
  const bool was_series = !repeat_line_.empty();
  repeat_line_ = std::move(line);
  if (hwnd() == nullptr) return;
  ShowTitleLine();
  if (was_series != !repeat_line_.empty()) ShowDoneAnswer();
}

void ReminderPopupDialog::ShowTitleLine() {
  HWND title = GetDlgItem(hwnd(), IDC_REMINDER_TITLE);
  strTitleLine_ = FitTitleLine(title, strTitle_, repeat_line_);
  win::SetWindowText(title, strTitleLine_);
}

void ReminderPopupDialog::ShowDoneAnswer() {
  HWND done = GetDlgItem(hwnd(), IDC_REMINDER_DONE);
  if (repeat_line_.empty()) {
    // The skin's painted wording beside the bare button.
    win::SetWindowText(done, one_off_done_caption_);
    SetWindowPos(done, nullptr, kRadioPlaces[0].x, kRadioPlaces[0].y, one_off_done_size_.cx,
                 one_off_done_size_.cy, SWP_NOZORDER | SWP_NOACTIVATE);
  } else {
    // The button draws its own caption, on the skin's colour, over the
    // one-off wording.
    win::SetWindowText(done, kSeriesDoneCaption);
    SetWindowPos(done, nullptr, kSeriesDonePlace.left, kSeriesDonePlace.top,
                 kSeriesDonePlace.right - kSeriesDonePlace.left,
                 kSeriesDonePlace.bottom - kSeriesDonePlace.top, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  InvalidateRect(hwnd(), nullptr, TRUE);
}

bool ReminderPopupDialog::Open(bool take_keyboard, EndHandler on_end) {
  on_end_ = std::move(on_end);
  if (!CreateModeless()) return false;
  HWND dialog = hwnd();
  // Two copies of the program that alert at the same moment would both find
  // the place free and lie exactly on top of each other: the look for
  // another popup and the showing happen one copy at a time.
  PlaceTurn turn;
  RECT r{};
  GetWindowRect(dialog, &r);
  POINT corner{r.left, r.top};
  for (int step = 0; step < 8 && AnotherPopupAt(dialog, corner); ++step) {
    corner.x += kStepAside;
    corner.y += kStepAside;
  }
  if (corner.x != r.left)
    SetWindowPos(dialog, nullptr, corner.x, corner.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (take_keyboard) {
    ShowWindow(dialog, SW_SHOW);
    SetForegroundWindow(dialog);
    SetFocus(GetNextDlgTabItem(dialog, nullptr, FALSE));
  } else {
    // On top of the dialog the user is typing in, which keeps the keyboard.
    SetWindowPos(dialog, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  }
  return true;
}

void ReminderPopupDialog::OnModelessEnd(INT_PTR result) {
  EndHandler on_end = std::move(on_end_);
  on_end_ = nullptr;
  if (on_end) on_end(result == IDOK, answer_);
}

void ReminderPopupDialog::DoDataExchange(DataExchange& dx) {
  dx.Control(IDC_REMINDER_TITLE, title_label_);
  choice_.Bind(dx);
  dx.Control(IDOK, ok_);
  dx.Control(IDCANCEL, cancel_);
  dx.Text(IDC_REMINDER_TITLE, strTitleLine_);
  dx.Text(IDC_REMINDER_BODY, answer_.strContent);
  dx.Text(IDC_REMINDER_MINUTES, strMinutes_);
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
  if (answer_.fields.nChoice == kRemindAfterMinutes &&
      !choice_.JudgeMinutes(hwnd(), strMinutes_, &answer_.fields.nMinutes))
    return;
  if (answer_.fields.nChoice == kRemindAtDateTime) {
    const Time32 now = NowTime();
    if (!choice_.JudgeReminderTime(hwnd(), ReminderTimeFor(answer_.fields, now), now)) return;
  }
  EndDialog(IDOK);
}
