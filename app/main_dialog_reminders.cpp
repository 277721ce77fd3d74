// MainDialog as the world of the reminder check: the clock, the sound, the
// popup, the tray icon and the list view.
#include <windows.h>

#include <mmsystem.h>

#include "app/main_dialog.h"
#include "framework/text_boundary.h"
#include "reminders/reminder_popup_dialog.h"

Time32 MainDialog::Now() { return NowTime(); }

void MainDialog::Beep() { ::Beep(1000, 1000); }

void MainDialog::PlaySoundFile(const std::string& path) {
  sndPlaySoundW(win::Widen(path).c_str(), SND_ASYNC);
}

bool MainDialog::AskUser(const CMyEvent& due, ReminderAnswer* answer) {
  // The desktop as parent: a window of its own, shown whether the main
  // window is shown, hidden or minimised, and the main window stays usable.
  ReminderPopupDialog popup(GetDesktopWindow(), due, ad_pool_.PickAd());
  open_popup_ = &popup;
  const INT_PTR result = popup.DoModal();
  open_popup_ = nullptr;
  if (result != IDOK) return false;
  *answer = popup.answer();
  return true;
}

void MainDialog::StartFlash() { tray_icon_.StartFlash(); }

void MainDialog::StopFlash() { tray_icon_.StopFlash(); }

void MainDialog::ChangeCommitted(const ChangeOutcome& outcome) {
  ReportOutcome(outcome);
  RefreshList();
}
