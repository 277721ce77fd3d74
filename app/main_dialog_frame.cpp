// MainDialog: its message table, painting, the tray icon, hiding, showing,
// closing and exiting, and the buttons that open pages and dialogs.
#include <string>

#include "app/about_dialog.h"
#include "app/confirm_dialog.h"
#include "app/import_texts.h"
#include "app/main_dialog.h"
#include "app/main_texts.h"
#include "base/program_path.h"
#include "dialogs/autorun_registry.h"
#include "dialogs/settings_dialog.h"
#include "framework/menu.h"
#include "framework/message_table.h"
#include "framework/program_title.h"
#include "framework/shell.h"
#include "framework/text_boundary.h"
#include "grid/grid_notify.h"
#include "reminders/reminder_popup_dialog.h"
#include "res/resource.h"
#include "settings/path_helper.h"
#include "update/update_server.h"

namespace {

constexpr WORD kTrayDoubleClick = WM_LBUTTONDBLCLK;  // 515
constexpr WORD kTrayRightButtonUp = WM_RBUTTONUP;    // 517
constexpr int kTrayMenuPopup = 0;

}  // namespace

bool MainDialog::RouteMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result) {
  using Table = MessageTable<MainDialog>;
  static const Table table{
      Table::Message(WM_PAINT, &MainDialog::OnPaint),
      Table::Message(WM_QUERYDRAGICON, &MainDialog::OnQueryDragIcon),
      Table::Message(kUpdateCheckDone, &MainDialog::OnUpdateCheckDone),
      Table::Command(IDC_MAIN_HOME, BN_CLICKED, &MainDialog::OnHome),
      Table::Command(IDC_MAIN_SETTINGS, BN_CLICKED, &MainDialog::OnSettings),
      Table::Command(IDC_MAIN_HELP, BN_CLICKED, &MainDialog::OnHelp),
      Table::Command(IDC_MAIN_ABOUT, BN_CLICKED, &MainDialog::OnAbout),
      Table::Command(IDC_MAIN_ADD, BN_CLICKED, &MainDialog::OnAdd),
      Table::Notify(IDC_MAIN_VIEW_DATE, DTN_DATETIMECHANGE, &MainDialog::OnDateChanged),
      Table::Command(IDC_MAIN_VIEW_SELECTOR, CBN_SELCHANGE, &MainDialog::OnViewSelected),
      Table::Command(IDC_MAIN_FIND, BN_CLICKED, &MainDialog::OnFind),
      Table::Notify(IDC_EVENT_GRID, NM_CLICK, &MainDialog::OnGridClick),
      Table::Notify(IDC_EVENT_GRID, NM_DBLCLK, &MainDialog::OnGridDoubleClick),
      Table::Notify(IDC_EVENT_GRID, NM_RCLICK, &MainDialog::OnGridRightClick),
      Table::Command(ID_ROW_MODIFY, 0, &MainDialog::OnModify),
      Table::Command(ID_ROW_DELETE, 0, &MainDialog::OnDelete),
      Table::Message(WM_TRAYNOTIFY, &MainDialog::OnTrayNotify),
      Table::Message(WM_CLOSE, &MainDialog::OnClose),
      Table::Message(WM_ENDSESSION, &MainDialog::OnEndSession),
      Table::Command(ID_TRAY_EXIT, 0, &MainDialog::OnTrayExit),
      Table::Command(ID_TRAY_SHOW, 0, &MainDialog::OnTrayShow),
      Table::Command(ID_TRAY_IMPORT, 0, &MainDialog::OnChooseCalendarFile),
      Table::Command(IDC_MAIN_IMPORT, BN_CLICKED, &MainDialog::OnChooseCalendarFile),
      Table::Message(WM_DROPFILES, &MainDialog::OnDropFiles),
      Table::Message(WM_COPYDATA, &MainDialog::OnCopyData),
      Table::Message(kImportPending, &MainDialog::OnImportPending),
      Table::Command(ID_TRAY_SYNC, 0, &MainDialog::OnSyncDialog),
      Table::Message(kSyncReportReady, &MainDialog::OnSyncReportReady),
      Table::Message(WM_ERASEBKGND, &MainDialog::OnEraseBackground),
      Table::Command(IDC_MAIN_DELETE, BN_CLICKED, &MainDialog::OnDelete),
      Table::Command(IDC_MAIN_MODIFY, BN_CLICKED, &MainDialog::OnModify),
  };
  return table.Route(*this, message, wparam, lparam, result) ||
         CSkinDialog::RouteMessage(message, wparam, lparam, result);
}

LRESULT MainDialog::WindowProc(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_WINDOWPOSCHANGING) hidden_start_.FilterWindowPos(reinterpret_cast<WINDOWPOS*>(lparam));
  // Back from a dialog of the program (the main window is its owner): a
  // popup that waited for the user to finish typing there comes forward,
  // once the activation is over.
  if (message == WM_ACTIVATE && LOWORD(wparam) != WA_INACTIVE && popup_keyboard_.waiting()) {
    PostMessageW(hwnd(), kGivePopupTheKeyboard, 0, 0);
  }
  if (message == kGivePopupTheKeyboard) {
    GivePopupTheKeyboard();
    return 0;
  }
  const LRESULT result = CSkinDialog::WindowProc(message, wparam, lparam);
  // Every show, hide, minimise and restore ends here: the ticker moves only
  // while someone can see it.
  if (message == WM_WINDOWPOSCHANGED) scroll_text_.FollowTopLevelWindow();
  return result;
}

void MainDialog::OnOK() {}

void MainDialog::OnCancel() { OnClose(0, 0); }

LRESULT MainDialog::OnPaint(WPARAM wparam, LPARAM lparam) {
  if (!IsIconic(hwnd())) return DefaultProc(WM_PAINT, wparam, lparam);
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(hwnd(), &paint);
  SendMessageW(hwnd(), WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  RECT client{};
  GetClientRect(hwnd(), &client);
  const int x = (client.right - GetSystemMetrics(SM_CXICON) + 1) / 2;
  const int y = (client.bottom - GetSystemMetrics(SM_CYICON) + 1) / 2;
  DrawIcon(dc, x, y, hMainIcon);
  EndPaint(hwnd(), &paint);
  return 0;
}

LRESULT MainDialog::OnQueryDragIcon(WPARAM, LPARAM) { return reinterpret_cast<LRESULT>(hMainIcon); }

LRESULT MainDialog::OnEraseBackground(WPARAM wparam, LPARAM) {
  HDC dc = reinterpret_cast<HDC>(wparam);
  const bool skip_clip = first_erase_ || bSkipClipOnce != 0;
  first_erase_ = false;
  bSkipClipOnce = 0;
  if (!skip_clip) {
    // The children paint themselves: keep the background off them, or they
    // flicker with every erase.
    const int children[] = {IDC_EVENT_GRID, IDC_MAIN_IMPORT, IDC_MAIN_ABOUT,     IDC_MAIN_SETTINGS,
                            IDC_MAIN_HELP,  IDC_MAIN_HOME,   IDC_MAIN_VIEW_DATE, IDC_MAIN_VIEW_SELECTOR,
                            IDC_MAIN_ADD,   IDC_MAIN_FIND,   IDC_MAIN_DELETE,    IDC_MAIN_MODIFY,
                            IDC_MAIN_NOTE};
    auto exclude = [&](HWND child) {
      if (child == nullptr) return;
      RECT r{};
      GetWindowRect(child, &r);
      MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&r), 2);
      ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom);
    };
    for (int id : children) exclude(GetDlgItem(hwnd(), id));
    exclude(scroll_text_.hwnd());
  }
  return CSkinDialog::OnEraseBackground(dc);
}

LRESULT MainDialog::OnUpdateCheckDone(WPARAM, LPARAM) {
  ShowRemoteConfig();
  return 0;
}

void MainDialog::OnSecondTick() { second_tick_.Run(controller_, reminder_check_, *this); }

void MainDialog::FreeEndedPopup() { ended_popup_.reset(); }

LRESULT MainDialog::OnTrayNotify(WPARAM, LPARAM lparam) {
  switch (LOWORD(lparam)) {
    case kTrayDoubleClick:
      ShowFromTray();
      break;
    case kTrayRightButtonUp:
      ShowResourcePopupMenu(hwnd(), IDR_TRAY_MENU, kTrayMenuPopup);
      break;
    default:
      break;
  }
  return 1;
}

void MainDialog::OnTrayShow() { ShowFromTray(); }

void MainDialog::ShowFromTray() {
  if (reminder_check_.AnswerFlashingAlert()) return;
  bSkipClipOnce = 1;
  if (hidden_start_.ShowFirstTime(hwnd())) {
    RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  } else {
    bSkipClipOnce = 0;
    ShowWindow(hwnd(), IsIconic(hwnd()) ? SW_RESTORE : SW_SHOWNORMAL);
  }
  SetForegroundWindow(hwnd());
}

LRESULT MainDialog::OnClose(WPARAM, LPARAM) {
  if (settings_.bTray != 0) {
    // The program lives on in the notification area; the check goes on.
    ShowWindow(hwnd(), SW_HIDE);
    return 0;
  }
  // Changes that could not be saved are lost by exiting: the question says so.
  const bool all_saved = controller_.SaveBeforeExit();
  ConfirmDialog question(all_saved ? kExitQuestion : ExitLosesChangesQuestion());
  if (question.DoModal() == IDOK) EndProgram(/*destroy=*/false);
  return 0;
}

LRESULT MainDialog::OnEndSession(WPARAM wparam, LPARAM) {
  // Windows is shutting down or the user logs off: a last try at what is not saved.
  if (wparam != 0) controller_.SaveBeforeExit();
  return 0;
}

void MainDialog::OnTrayExit() {
  if (import_running_) {
    // Its worker holds the folder's lock: the import is seen through first.
    win::MessageBox(hwnd(), kImportBeforeExit, kProgramTitle, MB_OK | MB_ICONINFORMATION);
    return;
  }
  if (MayEndWithUnsavedChanges()) EndProgram(/*destroy=*/true);
}

bool MainDialog::MayEndWithUnsavedChanges() {
  if (controller_.SaveBeforeExit()) return true;
  ConfirmDialog question(ExitLosesChangesQuestion());
  return question.DoModal() == IDOK;
}

const char* MainDialog::ExitLosesChangesQuestion() const {
  // It names the file the save stopped at: repeat.ini, or event.dat.
  return controller_.RuleFileBehind() ? kExitLosesRuleChanges : kExitLosesChanges;
}

void MainDialog::EndProgram(bool destroy) {
  if (popup_ != nullptr) popup_->EndDialog(IDCANCEL);
  if (destroy) {
    DestroyWindow(hwnd());
  } else {
    EndDialog(IDCANCEL);
  }
}

void MainDialog::OpenWebPage(const char* path) {
  const UpdateServer server =
      ConfiguredUpdateServer(DefaultFileSystem(), PathHelper().MakeAppPath(kConfigFileName));
  OpenWithShell(hwnd(), MakeWebPageUrl(server, path));
}

void MainDialog::OnHome() { OpenWebPage(kHomePagePath); }

void MainDialog::OnHelp() { OpenWebPage(kHelpPagePath); }

void MainDialog::OnAbout() {
  AboutDialog about;
  about.DoModal();
}

void MainDialog::OnSettings() {
  SettingsDialog dialog(settings_);
  if (dialog.DoModal() != IDOK) return;
  settings_ = dialog.settings();
  // The registry follows the check box only when the user confirms.
  UpdateAutoRunEntry(settings_.bAutoRun != 0, ProgramFilePath());
  Status saved = settings_.SaveSettings();
  if (!saved.ok()) {
    win::MessageBox(hwnd(), std::string(kSettingsSaveFailed) + "\r\n" + saved.message(), kProgramTitle,
                    MB_OK | MB_ICONWARNING);
  }
  if (settings_.strMark != strMarkText) {
    strMarkText = settings_.strMark;
    UpdateData(false);
    ShowNote();
  }
}
