#pragma once
// The calendar sync dialog (template 136): the server's address, the user
// and the password; "检测" finds the server's calendars on a worker thread
// and lists them by name; the calendar, on/off and the minutes between
// passes; "立即同步"; and the line of the last pass. The owner takes the
// values over at OK (sync.ini, the password kept by the system) and is
// handed them at "立即同步" too, which saves and syncs at once.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "skin/color_label.h"
#include "skin/skin_button.h"
#include "skin/skin_check_box.h"
#include "skin/skin_dialog.h"
#include "sync/calendar_discovery.h"
#include "sync/sync_settings.h"

class SyncDialog : public CSkinDialog {
 public:
  // Posted by the discovery's worker when it is through.
  static constexpr UINT kDiscoveryDone = WM_APP + 20;
  // The longest interval the dialog takes: a day.
  static constexpr int kLongestIntervalMinutes = 24 * 60;

  // `password` is UTF-8 (what the system keeps, "" for none); `result_line`
  // the last pass's line ("" before the first).
  SyncDialog(const SyncSettings& settings, std::string password, std::string result_line);
  ~SyncDialog() override;

  // The values as confirmed, meaningful after OK or in the sync-now handler.
  const SyncSettings& settings() const { return settings_; }
  const std::string& password() const { return password_; }

  // Called at "立即同步" with the values as the dialog holds them (checked
  // like OK; the dialog stays open).
  void SetSyncNowHandler(std::function<void(const SyncSettings&, const std::string&)> handler) {
    sync_now_handler_ = std::move(handler);
  }
  // A pass ended while the dialog is open.
  void ShowResultLine(const std::string& line);

 protected:
  bool OnInitDialog() override;
  void OnOK() override;
  void DoDataExchange(DataExchange& dx) override;
  bool RouteMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result) override;

 private:
  struct DiscoveryJob;

  void PlaceControls();
  // The controls into settings_ and password_; false, with the user told
  // and the focus on the field, when a value cannot be taken. A calendar
  // must be chosen when the sync is on or `for_a_pass` ("立即同步").
  bool ReadValues(bool for_a_pass);
  void OnDiscover();
  LRESULT OnDiscoveryDone(WPARAM wparam, LPARAM lparam);
  void OnCalendarChosen();
  void OnSyncNow();
  void FillCalendarList(const std::string& chosen_url);
  void ShowStatus(const std::string& text);
  std::string ReadPassword() const;

  SyncSettings settings_;
  std::string password_;
  std::string result_line_;
  std::function<void(const SyncSettings&, const std::string&)> sync_now_handler_;
  std::vector<CalendarChoice> calendars_;  // as the drop-down lists them
  bool calendars_discovered_ = false;      // the list came from "检测" (else it is the saved one)
  int calendar_index_ = -1;
  int enabled_ = 0;
  std::int32_t interval_minutes_ = 15;
  std::string status_;
  std::shared_ptr<DiscoveryJob> discovery_;  // the one running or last done
  CSkinButton ok_, cancel_, discover_, sync_now_;
  CSkinCheckBox enabled_box_;
  CColorLabel status_label_, result_label_;
};
