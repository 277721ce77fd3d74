#pragma once
// The main window (template 102): owner of everything that lives for the
// whole run. It loads the settings and the events, lists them in the grid,
// starts the update check, checks the reminders once a second, and can live
// hidden in the notification area.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "dialogs/event_list_view.h"
#include "events/event_change.h"
#include "events/event_list.h"
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

class MainDialog : public CSkinDialog, private ReminderHost {
 public:
  static constexpr UINT_PTR kRemoteConfigTimer = 1;
  static constexpr UINT_PTR kReminderTimer = 2;

  MainDialog();
  ~MainDialog() override;

  // ShowFromTray: answers a pending flashing alert, or shows the window.
  void ShowFromTray();
  // Re-runs the current view and refills the grid.
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
  void LoadEventsAtStart();
  void SetupWindow();
  void SetupButtons();
  void SetupLabels();
  void SetupViewSelector();
  void LoadIcons();
  void StartHidden();
  void StartUpdateCheck();

  // --- messages of the frame and the tray (main_dialog_frame.cpp) ---
  LRESULT OnPaint(WPARAM wparam, LPARAM lparam);
  LRESULT OnQueryDragIcon(WPARAM wparam, LPARAM lparam);
  LRESULT OnEraseBackground(WPARAM wparam, LPARAM lparam);
  LRESULT OnTrayNotify(WPARAM wparam, LPARAM lparam);
  LRESULT OnClose(WPARAM wparam, LPARAM lparam);
  LRESULT OnWindowPosChanging(WPARAM wparam, LPARAM lparam);
  void OnTimer1();
  void OnTimer2();
  void OnTrayShow();
  void OnTrayExit();
  void OnHome();
  void OnHelp();
  void OnAbout();
  void OnSettings();
  // Ends the program: any reminder popup first (it has no owner that would
  // take it along), then the main window.
  void EndProgram(bool destroy);
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
  HWND ViewSelector() const { return GetDlgItem(hwnd(), 1017); }
  // Highlights row nCurRow again after a rebuild, so the row that Modify and
  // Delete act on is the one the user sees.
  void HighlightCurrentRow();
  // Opens the modify dialog for the event created at `created`, if any.
  void ModifyEvent(Time32 created);
  // Takes in outside changes, makes `change`, saves, rebuilds the grid and
  // tells the user of any problem met on the way.
  void ChangeAndSave(const std::function<bool(EventList&)>& change, SaveWhen save_when = SaveWhen::kAlways);
  // Takes in what another program wrote to event.dat (each second, and
  // before every change); rebuilds the grid when the list was replaced.
  void TakeInOutsideChanges();
  void ReportLoadProblem(const LoadResult& result);
  void ReportOutcome(const ChangeOutcome& outcome);

  // --- the update check's display (main_dialog_remote.cpp) ---
  void ShowRemoteConfig();

  // --- the reminder check's world (main_dialog_reminders.cpp) ---
  Time32 Now() override;
  void Beep() override;
  void PlaySoundFile(const std::string& path) override;
  bool AskUser(const CMyEvent& due, ReminderAnswer* answer) override;
  void StartFlash() override;
  void StopFlash() override;
  void ChangeCommitted(const ChangeOutcome& outcome) override;

  // In the order the program's design gives them.
  Settings settings_;
  RemoteConfig remote_config_;
  EventList events_;
  std::int8_t nViewMode = 0;
  Time32 timeViewDate = 0;
  std::string strKeyword;
  std::int32_t nCurRow = -1;  // no row until the first click
  RECT rectStart{};
  int bStartHidden = 0;
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
  CSkinButton help_button_, settings_button_, home_button_, about_button_;
  Time32 timePicker = 0;
  std::string strVersionText;
  std::string strMarkText;
  HICON hMainIcon = nullptr;
  HICON hTrayIcon = nullptr;
  HICON hFlashIcon = nullptr;
  int version_label_width_ = 0;

  ReminderCheck reminder_check_;
  // The first erase of the run paints without the children's exclusion.
  bool first_erase_ = true;
  // While set, nothing may show the window (the hidden start).
  bool keep_invisible_ = false;
  // The popup the reminder check has open, if any.
  ReminderPopupDialog* open_popup_ = nullptr;
};
