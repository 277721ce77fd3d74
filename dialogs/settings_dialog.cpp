#include "dialogs/settings_dialog.h"

#include <algorithm>
#include <optional>

#include "framework/dialog_controls.h"
#include "framework/file_dialog.h"
#include "framework/gdi.h"
#include "framework/message_table.h"
#include "framework/text_boundary.h"
#include "res/program_skin.h"
#include "res/resource.h"

namespace {

// The check boxes and option buttons sit on the skin's panel colour.
constexpr COLORREF kPanel = 0x4D4D26;  // RGB(38, 77, 77)

// "声音文件(*.wav)|*.wav|全部文件(*.*)|*.*|" (sound files, all files)
constexpr char kSoundFileFilter[] =
    "\xC9\xF9\xD2\xF4\xCE\xC4\xBC\xFE(*.wav)|*.wav|\xC8\xAB\xB2\xBF\xCE\xC4\xBC\xFE(*.*)|*.*|";

// The place the skin leaves for the sound file's edit.
constexpr int kSoundFileWidth = 182;
constexpr int kSoundFileHeight = 14;

// An option pair for a number setting: 0 is the first option; any other
// value (1, or a value from a hand-edited config.ini, which the program
// treats as 1) shows as the second, and is kept while the second stays chosen.
void ExchangeKind(DataExchange& dx, int first_option, int& value) {
  int option = value == 0 ? 0 : 1;
  dx.Radio(first_option, option);
  if (!dx.saving()) return;
  if (option == 0) {
    value = 0;
  } else if (option == 1 && value == 0) {
    value = 1;
  }
}

// A check box for a flag setting: any nonzero value (the program treats it
// as on) shows checked, and is kept while the box stays checked.
void ExchangeFlag(DataExchange& dx, int box, int& value) {
  int checked = value != 0 ? 1 : 0;
  dx.Check(box, checked);
  if (dx.saving() && checked != (value != 0 ? 1 : 0)) value = checked;
}

}  // namespace

SettingsDialog::SettingsDialog(const Settings& settings) : CSkinDialog(IDD_SETTINGS), settings_(settings) {}

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
  ExchangeFlag(dx, IDC_SETTINGS_AUTORUN, settings_.bAutoRun);
  ExchangeFlag(dx, IDC_SETTINGS_TRAY, settings_.bTray);
  ExchangeKind(dx, IDC_SETTINGS_TIP_POPUP, settings_.nTipType);
  ExchangeFlag(dx, IDC_SETTINGS_PLAY_SOUND, settings_.bPlaySound);
  ExchangeKind(dx, IDC_SETTINGS_BEEP, settings_.nSoundType);
  dx.Text(IDC_SETTINGS_SOUND_FILE, settings_.strSoundFileName);
  dx.Text(IDC_SETTINGS_MARK, settings_.strMark);
}

bool SettingsDialog::OnInitDialog() {
  UseWindowRegion();
  CSkinDialog::OnInitDialog();
  DressDialogFrame(*this, IDB_SETTINGS_BACKGROUND, /*close_right_inset=*/8);
  SetUpControls();
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
    DressRadioButton(*radio);
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
  LiftTextLimit(GetDlgItem(hwnd(), IDC_SETTINGS_MARK));
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
