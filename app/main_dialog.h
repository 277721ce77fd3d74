#pragma once
// The main window (template 102): owner of everything that lives for the
// whole run. It loads the settings and the events, lists them in the grid,
// starts the update check, checks the reminders once a second, and can live
// hidden in the notification area. What it does with the events is decided
// by its MainController; the window turns messages into calls on it and
// shows what it is told to.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/hidden_start.h"
#include "app/main_controller.h"
#include "app/picked_row.h"
#include "app/popup_keyboard.h"
#include "app/second_tick.h"
#include "app/sync_worker.h"
#include "base/app_path.h"
#include "dialogs/event_list_view.h"
#include "events/event_list.h"
#include "framework/interval_timer.h"
#include "reminders/reminder_check.h"
#include "settings/settings.h"
#include "skin/color_label.h"
#include "skin/link_label.h"
#include "skin/scroll_text.h"
#include "skin/skin_button.h"
#include "skin/skin_dialog.h"
#include "skin/tray_icon.h"
#include "update/ad_pool.h"
#include "update/remote_config.h"

class ReminderPopupDialog;
class SyncDialog;

// The settings, and the controller, which owns the event list: the reminder
// check (a member of MainDialog) reads both. A base is built before every
// member and destroyed after them, whatever order the members are declared in.
struct MainDialogRecords {
  Settings settings_;
  // event.dat beside the program.
  MainController controller_{DefaultFileSystem(), MakeAppPath("event.dat")};
};

class MainDialog : public CSkinDialog,
                   private MainDialogRecords,
                   private ReminderHost,
                   private SecondTickWindow {
 public:
  // Posted by the update worker once it has published its result (or given up).
  static constexpr UINT kUpdateCheckDone = WM_APP + 1;
  // Posted to itself after an activation (see GivePopupTheKeyboard).
  static constexpr UINT kGivePopupTheKeyboard = WM_APP + 2;
  // Posted to itself when a calendar file waits to be imported.
  static constexpr UINT kImportPending = WM_APP + 3;
  // Posted by the sync worker when a pass's report waits.
  static constexpr UINT kSyncReportReady = WM_APP + 4;

  MainDialog();
  ~MainDialog() override;

  // ShowFromTray: answers a pending flashing alert, or shows the window.
  void ShowFromTray();
  // Fills the grid with the current view, the picked event highlighted.
  void RefreshList();

 protected:
  bool OnInitDialog() override;
  void OnOK() override;      // Enter does nothing
  void OnCancel() override;  // Escape acts like the close button
  void DoDataExchange(DataExchange& dx) override;
  bool RouteMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result) override;
  LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  // --- start-up (main_dialog.cpp) ---
  void SetupWindow();
  void SetupButtons();
  void SetupLabels();
  void SetupViewSelector();
  void LoadIcons();
  void StartUpdateCheck();
  void ShowNote();

  // --- messages of the frame and the tray (main_dialog_frame.cpp) ---
  LRESULT OnPaint(WPARAM wparam, LPARAM lparam);
  LRESULT OnQueryDragIcon(WPARAM wparam, LPARAM lparam);
  LRESULT OnEraseBackground(WPARAM wparam, LPARAM lparam);
  LRESULT OnTrayNotify(WPARAM wparam, LPARAM lparam);
  LRESULT OnClose(WPARAM wparam, LPARAM lparam);
  LRESULT OnEndSession(WPARAM wparam, LPARAM lparam);
  LRESULT OnUpdateCheckDone(WPARAM wparam, LPARAM lparam);
  void OnSecondTick();
  void OnTrayShow();
  void OnTrayExit();
  void OnHome();
  void OnHelp();
  void OnAbout();
  void OnSettings();
  // Ends the program: any reminder popup first (it has no owner that would
  // take it along), then the main window.
  void EndProgram(bool destroy);
  // Changes not saved yet: one more try, and if it fails the user decides.
  bool MayEndWithUnsavedChanges();
  // The question before an exit that loses changes, naming the file behind.
  const char* ExitLosesChangesQuestion() const;
  void OpenWebPage(const char* path);

  // --- the list and its commands (main_dialog_list.cpp) ---
  LRESULT OnDateChanged(NMHDR* header);
  void OnViewSelected();
  void OnFind();
  void OnAdd();
  void OnModify();
  void OnDelete();
  LRESULT OnGridClick(NMHDR* header);
  LRESULT OnGridRightClick(NMHDR* header);
  LRESULT OnGridDoubleClick(NMHDR* header);
  HWND ViewSelector() const;
  // Makes `row` the picked one: the event it lists is what Modify and
  // Delete act on.
  void PickRow(int row);
  // Opens the modify dialog for the event named by `key`, if any.
  void ModifyEvent(EventKey key);
  // Offers to add `edited`, whose event was deleted while the modify dialog
  // was open, as a new event with `rule`.
  void KeepEditAsNewEvent(const CMyEvent& edited, const std::optional<RepeatRule>& rule);
  // Shows the notices of a controller call and fills the grid again if the
  // list changed.
  void Present(const ControllerResult& result) override;

  // --- calendar files to import (main_dialog_import.cpp) ---
  // "导入" and the tray menu's "导入日历...": the file-open dialog.
  void OnChooseCalendarFile();
  LRESULT OnDropFiles(WPARAM wparam, LPARAM lparam);
  // A file handed over by a second start on the same folder.
  LRESULT OnCopyData(WPARAM wparam, LPARAM lparam);
  LRESULT OnImportPending(WPARAM wparam, LPARAM lparam);
  // Imported in turn, after what the window is doing now.
  void QueueImport(std::string path);
  void ImportCalendarFile(const std::string& path);

  // --- the update check's display (main_dialog_remote.cpp) ---
  // Once, when the worker's message has come and the document is loaded.
  void ShowRemoteConfig();

  // --- the calendar sync (main_dialog_sync.cpp) ---
  // sync.ini read, the worker started (a pass at once when sync is on).
  void StartSync();
  void OnSyncDialog();
  LRESULT OnSyncReportReady(WPARAM wparam, LPARAM lparam);
  // Saves sync.ini and the password, and gives the worker the settings.
  void ApplySyncSettings(const SyncSettings& settings, const std::string& password);
  std::string SyncSettingsPath() const;

  // --- the reminder check's world (main_dialog_reminders.cpp) ---
  Time32 Now() override;
  void Beep() override;
  void PlaySoundFile(const std::string& path) override;
  void ShowPopup(const CMyEvent& due, EventKey key) override;
  void ClosePopup() override;
  void StartFlash() override;
  void StopFlash() override;
  void CommitAnswer(EventKey key, const ReminderAnswer& answer) override;
  // True while a dialog of this program other than the main window is
  // active: the user may be typing in it.
  bool OwnDialogActive() const;
  // The main window is shown and active: the user may be typing in it.
  bool MainWindowActive() const;
  // A popup that came up without the keyboard takes it once no dialog of
  // the program is active any more.
  void GivePopupTheKeyboard() override;
  void FreeEndedPopup() override;
  void KeepPopupRepeatLineCurrent() override;
  // The tray icon's tip names the next reminder (plain "Tallyo" when none
  // is pending), so a user can hover instead of opening the window.
  void ShowNextReminderTip();

  // In the order the program's design gives them (the settings and the
  // controller with the events come first, in MainDialogRecords).
  RemoteConfig remote_config_;
  PickedRow picked_row_;
  int bSkipClipOnce = 0;
  int bXpIcons = 1;
  AdPool ad_pool_;
  CTrayIcon tray_icon_;
  CScrollText scroll_text_;
  CLinkLabel download_link_;
  EventListView grid_;
  CColorLabel note_label_;
  CColorLabel version_label_;
  CSkinButton modify_button_, delete_button_, find_button_, add_button_;
  CSkinButton help_button_, settings_button_, home_button_, about_button_, import_button_;
  Time32 timePicker = 0;
  std::string strVersionText;
  std::string strMarkText;
  HICON hMainIcon = nullptr;
  HICON hTrayIcon = nullptr;
  HICON hFlashIcon = nullptr;
  int version_label_width_ = 0;
  bool remote_config_shown_ = false;

  ReminderCheck reminder_check_;
  HiddenStart hidden_start_;
  // Once a second, also while the program rests in the tray: a timer of its
  // own, as a message to the dialog costs several times as much under Wine.
  IntervalTimer second_timer_;
  // The first erase of the run paints without the children's exclusion.
  bool first_erase_ = true;
  SecondTick second_tick_;
  // The popup the reminder check has open, if any, and one that has ended
  // and is freed at the next tick (it ends from inside its own handlers).
  std::unique_ptr<ReminderPopupDialog> popup_;
  std::unique_ptr<ReminderPopupDialog> ended_popup_;
  PopupKeyboard popup_keyboard_;
  EventKey popup_key_;  // the event the open popup is for
  // Calendar files waiting for their import, and whether one runs.
  std::vector<std::string> pending_imports_;
  bool import_running_ = false;

  // The calendar sync: its settings, its worker (passes run there, never
  // here), the last pass's line, and a problem that waits for the user
  // (shown in the tray tip; told once in a message).
  SyncSettings sync_settings_;
  std::unique_ptr<SyncWorker> sync_worker_;
  std::string sync_result_line_;
  std::string sync_problem_tip_;
  bool sync_problem_told_ = false;
  SyncDialog* sync_dialog_ = nullptr;  // while the sync dialog is open
};
