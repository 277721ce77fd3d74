// MainDialog: its message table, painting, the tray icon, hiding, showing,
// closing and exiting, and the buttons that open pages and dialogs.
#include <string>

#include "app/about_dialog.h"
#include "app/confirm_dialog.h"
#include "app/main_dialog.h"
#include "app/main_texts.h"
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
      Table::Timer(kRemoteConfigTimer, &MainDialog::OnTimer1),
      Table::Timer(kReminderTimer, &MainDialog::OnTimer2),
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
      Table::Command(ID_TRAY_EXIT, 0, &MainDialog::OnTrayExit),
      Table::Command(ID_TRAY_SHOW, 0, &MainDialog::OnTrayShow),
      Table::Message(WM_ERASEBKGND, &MainDialog::OnEraseBackground),
      Table::Command(IDC_MAIN_DELETE, BN_CLICKED, &MainDialog::OnDelete),
      Table::Command(IDC_MAIN_MODIFY, BN_CLICKED, &MainDialog::OnModify),
  };
  return table.Route(*this, message, wparam, lparam, result) ||
         CSkinDialog::RouteMessage(message, wparam, lparam, result);
}

LRESULT MainDialog::WindowProc(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_WINDOWPOSCHANGING) OnWindowPosChanging(wparam, lparam);
  return CSkinDialog::WindowProc(message, wparam, lparam);
}

LRESULT MainDialog::OnWindowPosChanging(WPARAM, LPARAM lparam) {
  // The hidden start: whoever tries to show the window (the modal run shows
  // its dialog when it first goes idle) is refused until the first "show".
  if (keep_invisible_) reinterpret_cast<WINDOWPOS*>(lparam)->flags &= ~SWP_SHOWWINDOW;
  return 0;
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
    const int children[] = {IDC_EVENT_GRID, IDC_MAIN_ABOUT,     IDC_MAIN_SETTINGS,      IDC_MAIN_HELP,
                            IDC_MAIN_HOME,  IDC_MAIN_VIEW_DATE, IDC_MAIN_VIEW_SELECTOR, IDC_MAIN_ADD,
                            IDC_MAIN_FIND,  IDC_MAIN_DELETE,    IDC_MAIN_MODIFY,        IDC_MAIN_NOTE};
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

void MainDialog::OnTimer1() { ShowRemoteConfig(); }

void MainDialog::OnTimer2() {
  TakeInOutsideChanges();
  reminder_check_.Tick();
}

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
  if (bStartHidden != 0) {
    keep_invisible_ = false;
    LONG_PTR ex_style = GetWindowLongPtrW(hwnd(), GWL_EXSTYLE);
    SetWindowLongPtrW(hwnd(), GWL_EXSTYLE, (ex_style & ~WS_EX_TOOLWINDOW) | WS_EX_APPWINDOW);
    bStartHidden = 0;
    bSkipClipOnce = 1;
    SetWindowPos(hwnd(), nullptr, rectStart.left, rectStart.top, rectStart.right - rectStart.left,
                 rectStart.bottom - rectStart.top, SWP_NOZORDER | SWP_SHOWWINDOW | SWP_FRAMECHANGED);
    RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  } else {
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
  ConfirmDialog question(kExitQuestion);
  if (question.DoModal() == IDOK) EndProgram(/*destroy=*/false);
  return 0;
}

void MainDialog::OnTrayExit() { EndProgram(/*destroy=*/true); }

void MainDialog::EndProgram(bool destroy) {
  // Every change was saved when it was made: nothing is pending.
  if (open_popup_ != nullptr) open_popup_->EndDialog(IDCANCEL);
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
  SettingsDialog dialog;
  dialog.CopyFrom(settings_);
  if (dialog.DoModal() != IDOK) return;
  dialog.CopyTo(settings_);
  Status saved = settings_.SaveSettings();
  if (!saved.ok()) {
    win::MessageBox(hwnd(), std::string(kSettingsSaveFailed) + "\r\n" + saved.message(), kProgramTitle,
                    MB_OK | MB_ICONWARNING);
  }
  if (settings_.strMark != strMarkText) {
    strMarkText = settings_.strMark;
    UpdateData(false);
  }
}
