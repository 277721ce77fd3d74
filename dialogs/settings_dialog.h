#pragma once
// The settings dialog (template 130): a copy of the seven settings, all
// exchanged with the controls in one place. The main window takes the values
// over at OK, saves config.ini and brings the start-with-Windows entry in
// line with them.
#include <windows.h>

#include <string>

#include "settings/settings.h"
#include "skin/skin_button.h"
#include "skin/skin_check_box.h"
#include "skin/skin_dialog.h"

class SettingsDialog : public CSkinDialog {
 public:
  explicit SettingsDialog(const Settings& settings);

  // The values as confirmed, meaningful after DoModal returned IDOK.
  const Settings& settings() const { return settings_; }

 protected:
  bool OnInitDialog() override;
  void DoDataExchange(DataExchange& dx) override;
  bool RouteMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result) override;

 private:
  void SetUpControls();
  void FitSoundFileEdit();
  void OnTipPopup();
  void OnTipFlash();
  void OnBeep();
  void OnSoundFileChoice();
  void OnBrowse();

  Settings settings_;
  CSkinButton ok_, cancel_, browse_;
  CSkinCheckBox auto_run_, tray_, play_sound_;
  CSkinRadioButton tip_popup_, tip_flash_;     // nTipType 0 and 1
  CSkinRadioButton beep_, sound_file_choice_;  // nSoundType 0 and 1
};
