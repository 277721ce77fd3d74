// MainDialog: the calendar sync. The worker runs the passes on its own
// thread; the window reads sync.ini, keeps the password with the system,
// opens the sync dialog from the tray menu, and shows what the passes
// report. What a pass wrote to the folder reaches the grid the way any
// other program's write does: at the next one-second look.
#include <optional>

#include "app/main_dialog.h"
#include "app/main_texts.h"
#include "app/program_sync.h"
#include "app/sync_texts.h"
#include "base/file_system.h"
#include "dialogs/sync_dialog.h"
#include "framework/program_title.h"
#include "framework/text_boundary.h"
#include "framework/worker_thread.h"
#include "sync/sync_password.h"
#include "sync/sync_settings.h"

std::string MainDialog::SyncSettingsPath() const {
  return SyncSettingsPathBeside(controller_.events().FilePath());
}

void MainDialog::StartSync() {
  // An unreadable sync.ini leaves the sync off; the dialog shows the defaults.
  LoadSyncSettings(DefaultFileSystem(), SyncSettingsPath(), &sync_settings_);
  auto program_sync =
      std::make_shared<ProgramSync>(DefaultFileSystem(), controller_.events().FilePath(),
                                    [](const std::string& address) { return LoadSyncPassword(address); });
  sync_worker_ = std::make_unique<SyncWorker>(
      [program_sync](const SyncSettings& settings) { return program_sync->RunPass(settings); },
      PostMessageSignal(hwnd(), kSyncReportReady));
  sync_worker_->Configure(sync_settings_);
}

void MainDialog::OnSyncDialog() {
  if (sync_dialog_ != nullptr) {  // the tray menu again while it is open
    SetForegroundWindow(sync_dialog_->hwnd());
    return;
  }
  std::string password = LoadSyncPassword(sync_settings_.address).value_or("");
  SyncDialog dialog(sync_settings_, password, sync_result_line_);
  WipeSecret(password);
  dialog.SetSyncNowHandler([this](const SyncSettings& settings, const std::string& typed) {
    ApplySyncSettings(settings, typed);
    if (sync_worker_ != nullptr) sync_worker_->SyncNow();
  });
  sync_dialog_ = &dialog;
  const INT_PTR answer = dialog.DoModal();
  sync_dialog_ = nullptr;
  if (answer == IDOK) ApplySyncSettings(dialog.settings(), dialog.password());
}

void MainDialog::ApplySyncSettings(const SyncSettings& settings, const std::string& password) {
  bool changed = settings != sync_settings_;
  const Status saved = SaveSyncSettings(DefaultFileSystem(), SyncSettingsPath(), settings);
  if (!saved.ok()) {
    win::MessageBox(hwnd(), std::string(kSyncSettingsNotSaved) + "\r\n" + saved.message(), kProgramTitle,
                    MB_OK | MB_ICONWARNING);
  }
  if (SyncPasswordsKept() && !settings.address.empty()) {
    std::optional<std::string> kept = LoadSyncPassword(settings.address);
    if (kept != password) {
      changed = true;
      const Status stored = password.empty() ? ForgetSyncPassword(settings.address)
                                             : SaveSyncPassword(settings.address, settings.user, password);
      if (!stored.ok()) {
        win::MessageBox(hwnd(), std::string(kSyncPasswordNotSaved) + "\r\n" + stored.message(), kProgramTitle,
                        MB_OK | MB_ICONWARNING);
      }
    }
    if (kept) WipeSecret(*kept);
  }
  sync_settings_ = settings;
  if (!changed) return;
  // New settings: a stop waits no more, and a pass follows at once.
  sync_problem_tip_.clear();
  sync_problem_told_ = false;
  ShowNextReminderTip();
  if (sync_worker_ != nullptr) sync_worker_->Configure(settings);
}

LRESULT MainDialog::OnSyncReportReady(WPARAM, LPARAM) {
  if (sync_worker_ == nullptr) return 0;
  const std::vector<SyncReport> reports = sync_worker_->TakeReports();
  if (reports.empty()) return 0;
  const SyncReport& last = reports.back();
  LocalTime now{};
  ToLocalTime(NowTime(), &now);
  sync_result_line_ = SyncResultLine(last, now);
  if (sync_dialog_ != nullptr) sync_dialog_->ShowResultLine(sync_result_line_);
  if (last.completed) {
    sync_problem_tip_.clear();
    sync_problem_told_ = false;
  } else if (sync_worker_->stopped_for_user()) {
    sync_problem_tip_ = SyncStoppedTip(last);
    ShowNextReminderTip();
    // Told once; with the sync dialog open, its result line tells it.
    if (!sync_problem_told_ && sync_dialog_ == nullptr) {
      sync_problem_told_ = true;
      const std::string reason = SyncStopReason(last);
      win::MessageBox(hwnd(), std::string(kSyncStopped) + reason + "\r\n" + kSyncCheckSettings, kProgramTitle,
                      MB_OK | MB_ICONWARNING);
      return 0;
    }
    sync_problem_told_ = true;
  }
  ShowNextReminderTip();
  return 0;
}
