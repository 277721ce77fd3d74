// MainDialog as the world of the reminder check: the clock, the sound, the
// popup, the tray icon, and the saving of an answer.
#include <windows.h>

#include "app/main_dialog.h"
#include "framework/program_title.h"
#include "framework/sound.h"
#include "framework/text_boundary.h"
#include "reminders/next_reminder_tip.h"
#include "reminders/reminder_popup_dialog.h"

Time32 MainDialog::Now() { return NowTime(); }

void MainDialog::Beep() { ::Beep(1000, 1000); }

void MainDialog::PlaySoundFile(const std::string& path) { PlaySoundFileAsync(path); }

bool MainDialog::OwnDialogActive() const {
  HWND active = GetForegroundWindow();
  if (active == nullptr || active == hwnd()) return false;
  DWORD process = 0;
  GetWindowThreadProcessId(active, &process);
  return process == GetCurrentProcessId();
}

bool MainDialog::MainWindowActive() const {
  return GetForegroundWindow() == hwnd() && IsWindowVisible(hwnd());
}

void MainDialog::ShowPopup(const CMyEvent& due, EventKey key) {
  // The desktop as parent: a window of its own, shown whether the main
  // window is shown, hidden or minimised, and the main window stays usable.
  // It does not take the keyboard from a dialog the user is typing in:
  // Enter there must not answer a reminder the user has not read.
  popup_key_ = key;
  popup_ = std::make_unique<ReminderPopupDialog>(GetDesktopWindow(), due, ad_pool_.PickAd(),
                                                 controller_.RepeatLine(key, NowTime()));
  // Not from a dialog the user types in, nor from the active main window
  // (popup_keyboard.h); a popup the user asked for from the tray is next.
  const bool takes_keyboard = popup_keyboard_.Opened({.own_dialog_active = OwnDialogActive(),
                                                      .main_window_active = MainWindowActive(),
                                                      .asked_for = reminder_check_.bPopupOpen != 0});
  const bool opened = popup_->Open(takes_keyboard, [this](bool answered, const ReminderAnswer& answer) {
    // Called from inside the popup's own handlers: it is freed later.
    ended_popup_ = std::move(popup_);
    popup_keyboard_.Ended();
    if (answered) {
      reminder_check_.Answered(answer);
    } else {
      reminder_check_.Dismissed();
    }
  });
  if (!opened) {
    popup_.reset();
    popup_keyboard_.Ended();
    reminder_check_.Dismissed();
  }
}

void MainDialog::GivePopupTheKeyboard() {
  // The dialog the user was typing in has closed: the reminder is next.
  if (popup_keyboard_.TakeNow(popup_ != nullptr, [this] { return OwnDialogActive(); })) {
    SetForegroundWindow(popup_->hwnd());
  }
}

void MainDialog::KeepPopupRepeatLineCurrent() {
  // Its next time moves on while the popup stays open, and another program
  // may have changed the rule (taken in by this tick).
  if (popup_ != nullptr) popup_->ShowRepeatLine(controller_.RepeatLine(popup_key_, NowTime()));
}

void MainDialog::ClosePopup() {
  if (popup_ != nullptr) popup_->EndDialog(IDCANCEL);
}

void MainDialog::ShowNextReminderTip() {
  // A sync problem that waits for the user comes before the next reminder.
  const std::string tip = !sync_problem_tip_.empty()
                              ? sync_problem_tip_
                              : NextReminderTip(controller_.events(), controller_.rules());
  tray_icon_.SetTip(tip.empty() ? std::string(kProgramTitle) : tip);
}

void MainDialog::StartFlash() { tray_icon_.StartFlash(); }

void MainDialog::StopFlash() { tray_icon_.StopFlash(); }

void MainDialog::CommitAnswer(EventKey key, const ReminderAnswer& answer) {
  Present(controller_.Answer(key, answer, NowTime()));
}
