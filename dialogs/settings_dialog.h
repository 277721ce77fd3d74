#pragma once
// The settings dialog (template 130): a copy of the seven settings. On OK it
// also brings the start-with-Windows entry in line with its check box; the
// main window then takes the values over and saves config.ini.
#include <windows.h>

#include <string>

#include "settings/settings.h"
#include "skin/skin_button.h"
#include "skin/skin_check_box.h"
#include "skin/skin_dialog.h"

class SettingsDialog : public CSkinDialog {
 public:
  SettingsDialog();

  // The seven values, named as in Settings.
  int bAutoRun = 0;
  int bTray = 0;
  int nTipType = 0;
  int bPlaySound = 0;
  int nSoundType = 0;
  std::string strMark;
  std::string strSoundFileName;

  void CopyFrom(const Settings& settings);
  void CopyTo(Settings& settings) const;

 protected:
  bool OnInitDialog() override;
  void OnOK() override;
  void DoDataExchange(DataExchange& dx) override;
  bool RouteMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result) override;

 private:
  void SetUpControls();
  void ShowValues();
  void FitSoundFileEdit();
  void OnTipPopup();
  void OnTipFlash();
  void OnBeep();
  void OnSoundFileChoice();
  void OnBrowse();

  CSkinButton ok_, cancel_, browse_;
  CSkinCheckBox auto_run_, tray_, play_sound_;
  CSkinRadioButton tip_popup_, tip_flash_;     // nTipType 0 and 1
  CSkinRadioButton beep_, sound_file_choice_;  // nSoundType 0 and 1
};
