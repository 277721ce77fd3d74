#include "dialogs/settings_dialog.h"

#include <algorithm>
#include <optional>

#include "base/program_path.h"
#include "dialogs/autorun_registry.h"
#include "framework/dialog_controls.h"
#include "framework/file_dialog.h"
#include "framework/gdi.h"
#include "framework/message_table.h"
#include "framework/text_boundary.h"
#include "res/resource.h"
#include "skin/skin_dressing.h"

namespace {

// The check boxes and option buttons sit on the skin's panel colour.
constexpr COLORREF kPanel = 0x4D4D26;  // RGB(38, 77, 77)

// "声音文件(*.wav)|*.wav|全部文件(*.*)|*.*|" (sound files, all files)
constexpr char kSoundFileFilter[] =
    "\xC9\xF9\xD2\xF4\xCE\xC4\xBC\xFE(*.wav)|*.wav|\xC8\xAB\xB2\xBF\xCE\xC4\xBC\xFE(*.*)|*.*|";

// The place the skin leaves for the sound file's edit.
constexpr int kSoundFileWidth = 182;
constexpr int kSoundFileHeight = 14;

}  // namespace

SettingsDialog::SettingsDialog() : CSkinDialog(IDD_SETTINGS) {}

void SettingsDialog::CopyFrom(const Settings& settings) {
  bAutoRun = settings.bAutoRun;
  bTray = settings.bTray;
  nTipType = settings.nTipType;
  bPlaySound = settings.bPlaySound;
  nSoundType = settings.nSoundType;
  strMark = settings.strMark;
  strSoundFileName = settings.strSoundFileName;
}

void SettingsDialog::CopyTo(Settings& settings) const {
  settings.bAutoRun = bAutoRun;
  settings.bTray = bTray;
  settings.nTipType = nTipType;
  settings.bPlaySound = bPlaySound;
  settings.nSoundType = nSoundType;
  settings.strMark = strMark;
  settings.strSoundFileName = strSoundFileName;
}

void SettingsDialog::DoDataExchange(DataExchange& dx) {
  dx.Control(IDOK, ok_);
  dx.Control(IDCANCEL, cancel_);
  dx.Control(IDC_SETTINGS_BROWSE, browse_);
  dx.Control(IDC_SETTINGS_AUTORUN, auto_run_);
  dx.Control(IDC_SETTINGS_TRAY, tray_);
  dx.Control(IDC_SETTINGS_PLAY_SOUND, play_sound_);
  dx.Control(IDC_SETTINGS_TIP_POPUP, tip_popup_);
  dx.Control(IDC_SETTINGS_TIP_FLASH, tip_flash_);
  dx.Control(IDC_SETTINGS_BEEP, beep_);
  dx.Control(IDC_SETTINGS_SOUND_FILE_CHOICE, sound_file_choice_);
  // Only the two texts travel with the data exchange; the boxes are set at
  // initialisation and read at OK.
  dx.Text(IDC_SETTINGS_MARK, strMark);
  dx.Text(IDC_SETTINGS_SOUND_FILE, strSoundFileName);
}

bool SettingsDialog::OnInitDialog() {
  UseWindowRegion();
  CSkinDialog::OnInitDialog();
  DressDialogFrame(*this, IDB_SETTINGS_BACKGROUND, /*close_right_inset=*/8);
  SetUpControls();
  ShowValues();
  return true;
}

void SettingsDialog::SetUpControls() {
  DressPushButton(ok_);
  DressPushButton(cancel_);
  browse_.SetBitmaps(IDB_BROWSE_NORMAL, IDB_BROWSE_HOVER, IDB_BROWSE_PRESSED, IDB_BROWSE_NORMAL);
  MoveDlgItem(hwnd(), IDOK, 110, 314);
  MoveDlgItem(hwnd(), IDCANCEL, 220, 314);

  for (CSkinCheckBox* box : {&auto_run_, &tray_, &play_sound_}) {
    box->SetBoxBitmaps(IDB_CHECK_UNCHECKED, IDB_CHECK_CHECKED);
    box->SetBkColor(kPanel);
  }
  for (CSkinRadioButton* radio : {&tip_popup_, &tip_flash_, &beep_, &sound_file_choice_}) {
    radio->SetBoxBitmaps(IDB_RADIO_UNCHECKED, IDB_RADIO_CHECKED);
    radio->SetBkColor(kPanel);
  }
  MoveDlgItem(hwnd(), IDC_SETTINGS_AUTORUN, 53, 67);
  MoveDlgItem(hwnd(), IDC_SETTINGS_TRAY, 53, 84);
  MoveDlgItem(hwnd(), IDC_SETTINGS_PLAY_SOUND, 53, 137);
  MoveDlgItem(hwnd(), IDC_SETTINGS_TIP_POPUP, 51, 102);
  MoveDlgItem(hwnd(), IDC_SETTINGS_TIP_FLASH, 51, 120);
  MoveDlgItem(hwnd(), IDC_SETTINGS_BEEP, 71, 154);
  MoveDlgItem(hwnd(), IDC_SETTINGS_SOUND_FILE_CHOICE, 71, 171);
  FitSoundFileEdit();
}

void SettingsDialog::FitSoundFileEdit() {
  HWND edit = GetDlgItem(hwnd(), IDC_SETTINGS_SOUND_FILE);
  if (edit == nullptr) return;
  RECT r{};
  GetWindowRect(edit, &r);
  MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&r), 2);
  // With the edit's sunken frame, 14 pixels hold a line of the 9-point font
  // only without the descenders of g, j, p and y: the edit grows about the
  // skin's place to one line, its frame and a pixel of air.
  MoveDlgItem(hwnd(), IDC_SETTINGS_SOUND_FILE, r.left, r.top, kSoundFileWidth, kSoundFileHeight);
  FitEditHeightToFont(edit);
}

void SettingsDialog::ShowValues() {
  play_sound_.SetCheck(bPlaySound ? 1 : 0);
  auto_run_.SetCheck(bAutoRun ? 1 : 0);
  tray_.SetCheck(bTray ? 1 : 0);
  // A value other than 0 or 1 (from a hand-edited config.ini) checks
  // neither option; OK then keeps it unless the user picks one.
  tip_popup_.SetCheck(nTipType == 0 ? 1 : 0);
  tip_flash_.SetCheck(nTipType == 1 ? 1 : 0);
  beep_.SetCheck(nSoundType == 0 ? 1 : 0);
  sound_file_choice_.SetCheck(nSoundType == 1 ? 1 : 0);
}

bool SettingsDialog::RouteMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result) {
  using Table = MessageTable<SettingsDialog>;
  static const Table table{
      Table::Command(IDC_SETTINGS_TIP_POPUP, BN_CLICKED, &SettingsDialog::OnTipPopup),
      Table::Command(IDC_SETTINGS_TIP_FLASH, BN_CLICKED, &SettingsDialog::OnTipFlash),
      Table::Command(IDC_SETTINGS_BEEP, BN_CLICKED, &SettingsDialog::OnBeep),
      Table::Command(IDC_SETTINGS_SOUND_FILE_CHOICE, BN_CLICKED, &SettingsDialog::OnSoundFileChoice),
      Table::Command(IDC_SETTINGS_BROWSE, BN_CLICKED, &SettingsDialog::OnBrowse),
  };
  return table.Route(*this, message, wparam, lparam, result) ||
         CSkinDialog::RouteMessage(message, wparam, lparam, result);
}

void SettingsDialog::OnTipPopup() {
  CSkinRadioButton::SelectInGroup({&tip_popup_, &tip_flash_}, &tip_popup_);
}
void SettingsDialog::OnTipFlash() {
  CSkinRadioButton::SelectInGroup({&tip_popup_, &tip_flash_}, &tip_flash_);
}
void SettingsDialog::OnBeep() { CSkinRadioButton::SelectInGroup({&beep_, &sound_file_choice_}, &beep_); }
void SettingsDialog::OnSoundFileChoice() {
  CSkinRadioButton::SelectInGroup({&beep_, &sound_file_choice_}, &sound_file_choice_);
}

void SettingsDialog::OnBrowse() {
  const std::optional<std::string> chosen = ChooseFileToOpen(hwnd(), kSoundFileFilter);
  if (!chosen) return;
  // The chosen path goes to the edit only: the members change at OK, so
  // Cancel after a browse still leaves everything as it was.
  win::SetDlgItemText(hwnd(), IDC_SETTINGS_SOUND_FILE, *chosen);
  OnSoundFileChoice();
}

void SettingsDialog::OnOK() {
  if (!UpdateData(true)) return;
  bPlaySound = play_sound_.GetCheck();
  bAutoRun = auto_run_.GetCheck();
  bTray = tray_.GetCheck();
  if (tip_popup_.GetCheck()) {
    nTipType = 0;
  } else if (tip_flash_.GetCheck()) {
    nTipType = 1;
  }
  if (beep_.GetCheck()) {
    nSoundType = 0;
  } else if (sound_file_choice_.GetCheck()) {
    nSoundType = 1;
  }
  // The registry follows the check box only when the user confirms.
  UpdateAutoRunEntry(bAutoRun != 0, ProgramFilePath());
  EndDialog(IDOK);
}
