// MainDialog: construction, window initialisation and the set-up of its skin
// and controls.
#include "app/main_dialog.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>

#include "app/import_hand_over.h"
#include "app/import_request.h"
#include "app/main_texts.h"
#include "framework/application.h"
#include "framework/command_line.h"
#include "framework/dialog_controls.h"
#include "framework/program_title.h"
#include "framework/text_boundary.h"
#include "framework/worker_thread.h"
#include "reminders/reminder_popup_dialog.h"
#include "res/program_skin.h"
#include "res/resource.h"
#include "settings/path_helper.h"
#include "update/update_server.h"

namespace {

constexpr COLORREF kTickerGrey = 0x262626;
constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kBlack = 0x000000;
constexpr COLORREF kVersionGreen = 0x00FF00;
constexpr COLORREF kNoteGrey = 0xC0C0C0;
constexpr int kHorizontal = 0x1000000;
constexpr UINT kAllIcons = 0xFFFFFFFF;  // the tray icon's id
// Left edge of the minimise button: the close button's 21 pixels, 7 inside
// the right edge of the 641-pixel frame, and the minimise button's 21 before it.
constexpr int kCaptionButtonsLeft = 641 - 7 - 21 - 21;

// Whether the system is version 5.1 or later (its icons have alpha).
bool IsXpOrLater() {
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (!GetVersionExW(&info)) return true;
#pragma GCC diagnostic pop
  return info.dwMajorVersion > 5 || (info.dwMajorVersion == 5 && info.dwMinorVersion >= 1);
}

HICON LoadIconSized(UINT id, int size) {
  return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_ICON, size,
                                       size, LR_DEFAULTCOLOR | LR_SHARED));
}

void Move(HWND dialog, int id, int x, int y) {
  SetWindowPos(GetDlgItem(dialog, id), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

MainDialog::MainDialog() : CSkinDialog(IDD_MAIN), reminder_check_(controller_.events(), settings_, *this) {
  bXpIcons = IsXpOrLater() ? 1 : 0;
  LoadIcons();
  timePicker = NowTime();
  // Until the update check answers, the version label keeps its caption.
  strVersionText = kVersionCheckCaption;
}

MainDialog::~MainDialog() = default;  // the popup's type is complete here

void MainDialog::LoadIcons() {
  hMainIcon = LoadIconSized(bXpIcons ? IDI_MAIN : IDI_MAIN_CLASSIC, GetSystemMetrics(SM_CXICON));
  const int small = GetSystemMetrics(SM_CXSMICON);
  hTrayIcon = LoadIconSized(bXpIcons ? IDI_MAIN : IDI_TRAY_CLASSIC, small);
  hFlashIcon = LoadIconSized(IDI_TRAY_FLASH, small);
}

bool MainDialog::OnInitDialog() {
  UseWindowRegion();
  CSkinDialog::OnInitDialog();
  settings_.LoadSettings();
  // A damaged file: the records before the fault are kept and the file is
  // set aside before the next save; the program goes on as usual.
  const ControllerResult loaded = controller_.Load();
  controller_.ShowDay(NowTime());
  strMarkText = settings_.strMark;
  SetupWindow();
  for (const Notice& notice : loaded.notices) {
    win::MessageBox(hwnd(), notice.text, kProgramTitle, MB_OK | MB_ICONEXCLAMATION);
  }
  const std::string arguments = Application::Arguments();
  if (IsTheArgument(arguments, "hide")) {
    CenterOverOwner();
    hidden_start_.Begin(hwnd());
  }
  // Calendar files come by a drop, by name on the command line, or from a
  // second start that finds this copy by its mark.
  DragAcceptFiles(hwnd(), TRUE);
  MarkAsMainWindow(hwnd());
  if (std::optional<std::string> file = FileOfArguments(arguments)) QueueImport(*file);
  StartUpdateCheck();
  StartSync();
  second_timer_.Start(1000, [this] { OnSecondTick(); });
  UpdateData(false);
  ShowNote();
  return true;
}

void MainDialog::DoDataExchange(DataExchange& dx) {
  dx.Control(IDC_MAIN_NOTE, note_label_);
  dx.Control(IDC_MAIN_VERSION, version_label_);
  dx.Control(IDC_MAIN_MODIFY, modify_button_);
  dx.Control(IDC_MAIN_DELETE, delete_button_);
  dx.Control(IDC_MAIN_FIND, find_button_);
  dx.Control(IDC_MAIN_ADD, add_button_);
  dx.Control(IDC_MAIN_HELP, help_button_);
  dx.Control(IDC_MAIN_SETTINGS, settings_button_);
  dx.Control(IDC_MAIN_HOME, home_button_);
  dx.Control(IDC_MAIN_ABOUT, about_button_);
  dx.Control(IDC_MAIN_IMPORT, import_button_);
  dx.DateTime(IDC_MAIN_VIEW_DATE, timePicker);
  dx.Text(IDC_MAIN_VERSION, strVersionText);
  dx.Text(IDC_MAIN_NOTE, strMarkText);
  dx.Control(IDC_EVENT_GRID, grid_);
}

void MainDialog::SetupWindow() {
  DressDialogFrame(*this, IDB_MAIN_BACKGROUND, /*close_right_inset=*/7);  // opens centred on the screen
  KeepBackgroundOnlyOnScreen();  // weeks in the tray without the picture
  SetMinimizeButtonBitmaps(IDB_MINIMIZE_NORMAL, IDB_MINIMIZE_HOVER, IDB_MINIMIZE_PRESSED);
  SetFrameIcon(hMainIcon, 0);
  // The taskbar and Alt+Tab want the small icon at its own size.
  SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(hTrayIcon));

  tray_icon_.AddIcon(this, kProgramTitle, hTrayIcon, hFlashIcon, kAllIcons);

  scroll_text_.Create(hwnd(), RECT{6, 399, 635, 421});
  // Not on screen yet: showing the window sets the ticker going.
  scroll_text_.FollowTopLevelWindow();
  scroll_text_.SetBackgroundColors(kTickerGrey, kTickerGrey, 0);
  scroll_text_.SetTextColors(kWhite, kWhite);
  scroll_text_.SetScrollPeriod(80);

  SetupButtons();
  SetupLabels();
  grid_.SetupColumns();
  RefreshList();
  SetupViewSelector();
}

void MainDialog::SetupButtons() {
  struct PictureButton {
    CSkinButton& button;
    int id;
    UINT normal, hover, pressed;
    const char* tip;
    int x;
  };
  const PictureButton pictures[] = {
      {import_button_, IDC_MAIN_IMPORT, IDB_IMPORT_NORMAL, IDB_IMPORT_HOVER, IDB_IMPORT_PRESSED, kImportTip,
       310},
      {about_button_, IDC_MAIN_ABOUT, IDB_ABOUT_NORMAL, IDB_ABOUT_HOVER, IDB_ABOUT_PRESSED, kAboutTip, 375},
      {settings_button_, IDC_MAIN_SETTINGS, IDB_SETTINGS_NORMAL, IDB_SETTINGS_HOVER, IDB_SETTINGS_PRESSED,
       kSettingsTip, 440},
      {help_button_, IDC_MAIN_HELP, IDB_HELP_NORMAL, IDB_HELP_HOVER, IDB_HELP_PRESSED, kHelpTip, 505},
      {home_button_, IDC_MAIN_HOME, IDB_HOME_NORMAL, IDB_HOME_HOVER, IDB_HOME_PRESSED, kHomeTip, 570},
  };
  for (const PictureButton& p : pictures) {
    p.button.SetBitmaps(p.normal, p.hover, p.pressed, p.pressed);
    p.button.SetToolTipText(p.tip);
    Move(hwnd(), p.id, p.x, 423);
  }

  struct ListButton {
    CSkinButton& button;
    int id, x, y;
  };
  const ListButton list_buttons[] = {
      {add_button_, IDC_MAIN_ADD, 470, 330},
      {delete_button_, IDC_MAIN_DELETE, 538, 330},
      {modify_button_, IDC_MAIN_MODIFY, 470, 358},
      {find_button_, IDC_MAIN_FIND, 538, 358},
  };
  for (const ListButton& b : list_buttons) {
    b.button.SetBitmaps(IDB_LIST_BUTTON_NORMAL, IDB_LIST_BUTTON_HOVER, IDB_LIST_BUTTON_PRESSED,
                        IDB_LIST_BUTTON_PRESSED);
    b.button.SetShowText(1);
    Move(hwnd(), b.id, b.x, b.y);
  }
}

void MainDialog::SetupLabels() {
  version_label_.SetBackground(kVersionGreen, kVersionGreen, kHorizontal, 0);
  version_label_.SetLabelTextColor(kWhite);
  // At x 450 the template's width would run under the minimise and close
  // buttons (from x 592), and offline the label stays there for the whole
  // run: it ends before them until the version notice moves it left.
  HWND version = GetDlgItem(hwnd(), IDC_MAIN_VERSION);
  RECT r{};
  GetWindowRect(version, &r);
  version_label_width_ = r.right - r.left;
  SetWindowPos(version, nullptr, 450, 12, std::min<int>(version_label_width_, kCaptionButtonsLeft - 2 - 450),
               r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
  note_label_.SetBackground(kNoteGrey, kNoteGrey, kHorizontal, 0);
  note_label_.SetLabelTextColor(kBlack);
}

void MainDialog::ShowNote() {
  // The note is a read-only edit: a text longer than its box scrolls, and
  // the scroll bar shows only then.
  HWND note = GetDlgItem(hwnd(), IDC_MAIN_NOTE);
  RECT box{};
  GetClientRect(note, &box);
  const int line = FontLineHeight(note);
  const int visible_lines = line > 0 ? (box.bottom - box.top) / line : 1;
  ShowScrollBar(note, SB_VERT, FALSE);
  const LRESULT lines = SendMessageW(note, EM_GETLINECOUNT, 0, 0);
  ShowScrollBar(note, SB_VERT, lines > visible_lines ? TRUE : FALSE);
}

void MainDialog::SetupViewSelector() {
  HWND selector = ViewSelector();
  for (const char* entry : kViewSelectorEntries) {
    SendMessageW(selector, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(win::Widen(entry).c_str()));
  }
  SendMessageW(selector, CB_SETCURSEL, 0, 0);
}

void MainDialog::StartUpdateCheck() {
  remote_config_.SetServer(
      ConfiguredUpdateServer(DefaultFileSystem(), PathHelper().MakeAppPath(kConfigFileName)));
  remote_config_.SetCompletionSignal(PostMessageSignal(hwnd(), kUpdateCheckDone));
  remote_config_.StartFetchThread();
}
