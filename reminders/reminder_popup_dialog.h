#pragma once
// The reminder popup (template 134): one due event, its title in a question
// whether it is done, its body (editable), and three answers: done, again at
// a date and time, again after some minutes. It only collects the answer;
// the caller applies it (ApplyReminderAnswer) to the event found again by
// its creation time.
#include <windows.h>

#include <functional>
#include <string>

#include "base/ad.h"
#include "events/my_event.h"
#include "forms/reminder_choice_controls.h"
#include "reminders/reminder_answer.h"
#include "skin/color_label.h"
#include "skin/link_label.h"
#include "skin/skin_button.h"
#include "skin/skin_check_box.h"
#include "skin/skin_dialog.h"

class ReminderPopupDialog : public CSkinDialog {
 public:
  // `parent` is the desktop window, so the popup is a top-level window of its
  // own that shows whatever state the main window is in. The event's title
  // and body are copied; `ad` may be empty (no link is shown).
  // `repeat_line` says how a repeating reminder repeats and when it comes
  // next ("每天重复 · 下次 2026-12-08 09:00"); empty for a one-off.
  ReminderPopupDialog(HWND parent, const CMyEvent& due, Ad ad, std::string repeat_line = {});

  // Called once when an opened popup ends: with OK and the answer, or
  // without an answer (Cancel, the close box, closed by the program).
  using EndHandler = std::function<void(bool answered, const ReminderAnswer& answer)>;

  // Opens the popup without a loop of its own and returns at once (false
  // when it could not be created). It comes up in front of every window;
  // with `take_keyboard` false it leaves the keyboard where it is (the user
  // may be typing in another dialog) until the user moves to it. A popup of
  // another copy of the program in the same place is not covered: this one
  // moves aside.
  bool Open(bool take_keyboard, EndHandler on_end);

  // Keeps the repeat line current while the popup is open: its next time
  // moves on as time passes, and another program may change or drop the
  // rule. The done answer is worded for a series or a one-off to match.
  void ShowRepeatLine(std::string line);
  const std::string& repeat_line() const { return repeat_line_; }

  // The answer, meaningful after DoModal returned IDOK.
  const ReminderAnswer& answer() const { return answer_; }

 protected:
  bool OnInitDialog() override;
  void OnModelessEnd(INT_PTR result) override;
  void OnOK() override;
  void DoDataExchange(DataExchange& dx) override;
  bool RouteMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result) override;

 private:
  // The title label's text for the current repeat line, and the done
  // answer's wording: for a series it says the reminder comes again.
  void ShowTitleLine();
  void ShowDoneAnswer();

  std::string strTitle_;      // the event's title
  std::string strTitleLine_;  // label 1020: the question whether it is done
  std::string repeat_line_;
  Ad ad_;
  // The done answer as the template gives it (a one-off's), and its size.
  std::string one_off_done_caption_;
  SIZE one_off_done_size_{};
  ReminderAnswer answer_;         // also the members the controls exchange with
  std::string strMinutes_ = "0";  // the minutes edit as typed, judged at OK
  CColorLabel title_label_;
  ReminderChoiceControls choice_;  // radios 1023, 1024, 1026 and answer_.fields.nChoice
  CSkinButton ok_, cancel_;
  CLinkLabel link_;
  EndHandler on_end_;
};
