#include "dialogs/sync_dialog.h"

#include <atomic>

#include "base/text_convert.h"
#include "caldav/http_transport.h"
#include "framework/dialog_controls.h"
#include "framework/message_table.h"
#include "framework/program_title.h"
#include "framework/text_boundary.h"
#include "framework/worker_thread.h"
#include "res/program_skin.h"
#include "res/resource.h"

namespace {

constexpr COLORREF kPanel = RGB(38, 77, 77);
constexpr COLORREF kText = RGB(236, 243, 242);
constexpr COLORREF kMuted = RGB(150, 184, 181);

constexpr char kDiscovering[] = "\xD5\xFD\xD4\xDA\xBC\xEC\xB2\xE2\xA1\xAD";  // "正在检测…"
constexpr char kFoundBefore[] = "\xD5\xD2\xB5\xBD ";                         // "找到 "
constexpr char kFoundAfter[] = " \xB8\xF6\xC8\xD5\xC0\xFA";                  // " 个日历"
// "；这个日历不收待办，备忘只留在本机"
constexpr char kNoTodos[] =
    "\xA3\xBB\xD5\xE2\xB8\xF6\xC8\xD5\xC0\xFA\xB2\xBB\xCA\xD5\xB4\xFD\xB0\xEC\xA3\xAC\xB1\xB8\xCD\xFC\xD6\xBB"
    "\xC1\xF4\xD4\xDA\xB1\xBE\xBB\xFA";
// "请填写日历服务器的地址"
constexpr char kNoAddress[] =
    "\xC7\xEB\xCC\xEE\xD0\xB4\xC8\xD5\xC0\xFA\xB7\xFE\xCE\xF1\xC6\xF7\xB5\xC4\xB5\xD8\xD6\xB7";
// "同步间隔请填 1 到 1440 分钟。"
constexpr char kBadInterval[] =
    "\xCD\xAC\xB2\xBD\xBC\xE4\xB8\xF4\xC7\xEB\xCC\xEE 1 \xB5\xBD 1440 \xB7\xD6\xD6\xD3\xA1\xA3";
// "开启同步前，请先“检测”并选择一个日历。"
constexpr char kNoCalendar[] =
    "\xBF\xAA\xC6\xF4\xCD\xAC\xB2\xBD\xC7\xB0\xA3\xAC\xC7\xEB\xCF\xC8\xA1\xB0\xBC\xEC\xB2\xE2\xA1\xB1\xB2\xA2"
    "\xD1\xA1\xD4\xF1\xD2\xBB\xB8\xF6\xC8\xD5\xC0\xFA\xA1\xA3";
// "请先“检测”并选择一个日历。", before "立即同步".
constexpr char kChooseCalendar[] =
    "\xC7\xEB\xCF\xC8\xA1\xB0\xBC\xEC\xB2\xE2\xA1\xB1\xB2\xA2\xD1\xA1\xD4\xF1\xD2\xBB\xB8\xF6\xC8\xD5\xC0\xFA"
    "\xA1\xA3";
constexpr char kSyncing[] = "\xD5\xFD\xD4\xDA\xCD\xAC\xB2\xBD\xA1\xAD";              // "正在同步…"
constexpr char kNeverSynced[] = "\xBB\xB9\xC3\xBB\xD3\xD0\xCD\xAC\xB2\xBD\xB9\xFD";  // "还没有同步过"

std::string Trimmed(std::string text) {
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.pop_back();
  std::size_t start = 0;
  while (start < text.size() && (text[start] == ' ' || text[start] == '\t')) ++start;
  return text.substr(start);
}

// The password goes to the server as UTF-8 and may hold characters code
// page 936 lacks: it is the one text read from a control without it.
std::wstring WideFromUtf8(const std::string& utf8) {
  if (utf8.empty()) return {};
  const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
  if (n > 0) MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
  return wide;
}

std::string Utf8FromWide(const std::wstring& wide) {
  if (wide.empty()) return {};
  const int size = static_cast<int>(wide.size());
  const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
  if (n > 0) WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, utf8.data(), n, nullptr, nullptr);
  return utf8;
}

void WipeWide(std::wstring& secret) {
  SecureZeroMemory(secret.data(), secret.size() * sizeof(wchar_t));
  secret.clear();
}

}  // namespace

// What the worker reads and writes; shared, so a dialog closed before the
// worker is through leaves it nothing to write into but this.
struct SyncDialog::DiscoveryJob {
  std::string address;   // as typed
  std::string user;      // UTF-8
  std::string password;  // UTF-8, wiped when the worker is through
  CalendarDiscovery result;
  std::atomic<bool> done{false};
};

SyncDialog::SyncDialog(const SyncSettings& settings, std::string password, std::string result_line)
    : CSkinDialog(IDD_SYNC),
      settings_(settings),
      password_(std::move(password)),
      result_line_(result_line.empty() ? std::string(kNeverSynced) : std::move(result_line)),
      enabled_(settings.enabled ? 1 : 0),
      interval_minutes_(settings.interval_minutes) {
  if (!settings_.calendar_url.empty()) {
    CalendarChoice saved;
    saved.url = settings_.calendar_url;
    saved.name = settings_.calendar_name.empty() ? settings_.calendar_url : settings_.calendar_name;
    saved.takes_todos = true;  // not known until "检测"
    calendars_.push_back(saved);
    calendar_index_ = 0;
  }
}

SyncDialog::~SyncDialog() { WipeSecret(password_); }

void SyncDialog::DoDataExchange(DataExchange& dx) {
  dx.Control(IDOK, ok_);
  dx.Control(IDCANCEL, cancel_);
  dx.Control(IDC_SYNC_DISCOVER, discover_);
  dx.Control(IDC_SYNC_NOW, sync_now_);
  dx.Control(IDC_SYNC_ENABLED, enabled_box_);
  dx.Control(IDC_SYNC_STATUS, status_label_);
  dx.Control(IDC_SYNC_RESULT, result_label_);
  dx.Text(IDC_SYNC_ADDRESS, settings_.address);
  dx.Text(IDC_SYNC_USER, settings_.user);
  dx.ListIndex(IDC_SYNC_CALENDAR, calendar_index_);
  dx.Check(IDC_SYNC_ENABLED, enabled_);
  dx.Int(IDC_SYNC_INTERVAL, interval_minutes_);
  if (!dx.saving()) {
    dx.Text(IDC_SYNC_STATUS, status_);
    dx.Text(IDC_SYNC_RESULT, result_line_);
  }
}

bool SyncDialog::OnInitDialog() {
  UseWindowRegion();
  FillCalendarList(settings_.calendar_url);
  CSkinDialog::OnInitDialog();
  DressDialogFrame(*this, IDB_SYNC_BACKGROUND, /*close_right_inset=*/8);
  PlaceControls();
  std::wstring wide = WideFromUtf8(password_);
  SetDlgItemTextW(hwnd(), IDC_SYNC_PASSWORD, wide.c_str());
  WipeWide(wide);
  return true;
}

void SyncDialog::PlaceControls() {
  HWND dialog = hwnd();
  for (CSkinButton* button : {&ok_, &cancel_, &discover_, &sync_now_}) DressPushButton(*button);
  MoveDlgItem(dialog, IDOK, 110, 314);
  MoveDlgItem(dialog, IDCANCEL, 220, 314);
  MoveDlgItem(dialog, IDC_SYNC_DISCOVER, 299, 102);
  MoveDlgItem(dialog, IDC_SYNC_NOW, 299, 217);
  struct Edit {
    int id, x, y, width;
  };
  for (const Edit& e : {Edit{IDC_SYNC_ADDRESS, 68, 56, 300}, Edit{IDC_SYNC_USER, 68, 82, 140},
                        Edit{IDC_SYNC_PASSWORD, 68, 108, 140}, Edit{IDC_SYNC_INTERVAL, 92, 234, 36}}) {
    MoveDlgItem(dialog, e.id, e.x, e.y, e.width, 13);
    FitEditHeightToFont(GetDlgItem(dialog, e.id));
  }
  LiftTextLimit(GetDlgItem(dialog, IDC_SYNC_ADDRESS));
  // Its own height and the list's: the closed box keeps the height of its font.
  MoveDlgItem(dialog, IDC_SYNC_CALENDAR, 68, 142, 220, 160);
  enabled_box_.SetBoxBitmaps(IDB_CHECK_UNCHECKED, IDB_CHECK_CHECKED);
  enabled_box_.SetBkColor(kPanel);
  MoveDlgItem(dialog, IDC_SYNC_ENABLED, 68, 212);
  status_label_.SetBackground(kPanel, kPanel, 0, 0);
  status_label_.SetLabelTextColor(kMuted);
  MoveDlgItem(dialog, IDC_SYNC_STATUS, 68, 168, 300, 28);
  result_label_.SetBackground(kPanel, kPanel, 0, 0);
  result_label_.SetLabelTextColor(kText);
  MoveDlgItem(dialog, IDC_SYNC_RESULT, 68, 268, 300, 28);
}

bool SyncDialog::RouteMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result) {
  using Table = MessageTable<SyncDialog>;
  static const Table table{
      Table::Command(IDC_SYNC_DISCOVER, BN_CLICKED, &SyncDialog::OnDiscover),
      Table::Command(IDC_SYNC_NOW, BN_CLICKED, &SyncDialog::OnSyncNow),
      Table::Command(IDC_SYNC_CALENDAR, CBN_SELCHANGE, &SyncDialog::OnCalendarChosen),
      Table::Message(kDiscoveryDone, &SyncDialog::OnDiscoveryDone),
  };
  return table.Route(*this, message, wparam, lparam, result) ||
         CSkinDialog::RouteMessage(message, wparam, lparam, result);
}

std::string SyncDialog::ReadPassword() const {
  HWND edit = GetDlgItem(hwnd(), IDC_SYNC_PASSWORD);
  std::wstring wide(static_cast<std::size_t>(GetWindowTextLengthW(edit)) + 1, L'\0');
  wide.resize(static_cast<std::size_t>(GetWindowTextW(edit, wide.data(), static_cast<int>(wide.size()))));
  std::string utf8 = Utf8FromWide(wide);
  WipeWide(wide);
  return utf8;
}

bool SyncDialog::ReadValues(bool for_a_pass) {
  const SyncSettings before = settings_;
  if (!UpdateData(true)) return false;
  settings_.address = Trimmed(settings_.address);
  settings_.user = Trimmed(settings_.user);
  if (interval_minutes_ < 1 || interval_minutes_ > kLongestIntervalMinutes) {
    win::MessageBox(hwnd(), kBadInterval, kProgramTitle, MB_OK | MB_ICONEXCLAMATION);
    SetFocus(GetDlgItem(hwnd(), IDC_SYNC_INTERVAL));
    return false;
  }
  const bool chosen = calendar_index_ >= 0 && calendar_index_ < static_cast<int>(calendars_.size());
  if ((enabled_ != 0 || for_a_pass) && (!chosen || settings_.address.empty())) {
    win::MessageBox(hwnd(), enabled_ != 0 ? kNoCalendar : kChooseCalendar, kProgramTitle,
                    MB_OK | MB_ICONEXCLAMATION);
    SetFocus(GetDlgItem(hwnd(), chosen ? IDC_SYNC_ADDRESS : IDC_SYNC_DISCOVER));
    return false;
  }
  settings_.calendar_url = chosen ? calendars_[calendar_index_].url : std::string();
  settings_.calendar_name = chosen ? calendars_[calendar_index_].name : std::string();
  settings_.enabled = enabled_ != 0;
  settings_.interval_minutes = interval_minutes_;
  WipeSecret(password_);
  password_ = ReadPassword();
  return true;
}

void SyncDialog::OnOK() {
  if (ReadValues(/*for_a_pass=*/false)) EndDialog(IDOK);
}

void SyncDialog::OnSyncNow() {
  if (!ReadValues(/*for_a_pass=*/true)) return;
  ShowResultLine(kSyncing);  // until the pass's own line comes
  if (sync_now_handler_) sync_now_handler_(settings_, password_);
}

void SyncDialog::ShowResultLine(const std::string& line) {
  result_line_ = line;
  win::SetDlgItemText(hwnd(), IDC_SYNC_RESULT, line);
}

void SyncDialog::ShowStatus(const std::string& text) {
  status_ = text;
  win::SetDlgItemText(hwnd(), IDC_SYNC_STATUS, text);
}

void SyncDialog::OnDiscover() {
  const std::string address = Trimmed(win::GetDlgItemText(hwnd(), IDC_SYNC_ADDRESS));
  if (address.empty()) {
    ShowStatus(kNoAddress);
    SetFocus(GetDlgItem(hwnd(), IDC_SYNC_ADDRESS));
    return;
  }
  auto job = std::make_shared<DiscoveryJob>();
  job->address = cp936::ToUtf8(address);
  job->user = cp936::ToUtf8(Trimmed(win::GetDlgItemText(hwnd(), IDC_SYNC_USER)));
  job->password = ReadPassword();
  discovery_ = job;
  ShowStatus(kDiscovering);
  EnableWindow(GetDlgItem(hwnd(), IDC_SYNC_DISCOVER), FALSE);
  const std::function<void()> signal = PostMessageSignal(hwnd(), kDiscoveryDone);
  const bool started = StartWorkerThread([job, signal] {
    HttpTransportOptions options;
    options.user = job->user;
    options.password = job->password;
    WipeSecret(job->password);
    std::unique_ptr<HttpTransport> transport = MakeHttpTransport(std::move(options));
    job->result = DiscoverCalendars(*transport, job->address);
    transport.reset();  // the transport overwrites its copy of the password
    job->done = true;
    signal();
  });
  if (!started) {
    job->result.message = kDiscovering;  // never shown: the button comes back at once
    job->done = true;
    OnDiscoveryDone(0, 0);
  }
}

LRESULT SyncDialog::OnDiscoveryDone(WPARAM, LPARAM) {
  if (!discovery_ || !discovery_->done) return 0;
  const CalendarDiscovery found = discovery_->result;
  discovery_.reset();
  EnableWindow(GetDlgItem(hwnd(), IDC_SYNC_DISCOVER), TRUE);
  if (!found.ok()) {
    ShowStatus(found.message);
    return 0;
  }
  const int chosen = static_cast<int>(SendDlgItemMessageW(hwnd(), IDC_SYNC_CALENDAR, CB_GETCURSEL, 0, 0));
  const std::string keep = chosen >= 0 && chosen < static_cast<int>(calendars_.size())
                               ? calendars_[chosen].url
                               : settings_.calendar_url;
  calendars_ = found.calendars;
  calendars_discovered_ = true;
  FillCalendarList(keep);
  OnCalendarChosen();
  return 0;
}

void SyncDialog::FillCalendarList(const std::string& chosen_url) {
  HWND list = GetDlgItem(hwnd(), IDC_SYNC_CALENDAR);
  SendMessageW(list, CB_RESETCONTENT, 0, 0);
  calendar_index_ = calendars_.empty() ? -1 : 0;
  for (std::size_t i = 0; i < calendars_.size(); ++i) {
    const std::wstring name = win::Widen(calendars_[i].name);
    SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    if (calendars_[i].url == chosen_url) calendar_index_ = static_cast<int>(i);
  }
  SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(calendar_index_), 0);
}

void SyncDialog::OnCalendarChosen() {
  if (!calendars_discovered_) return;
  const int chosen = static_cast<int>(SendDlgItemMessageW(hwnd(), IDC_SYNC_CALENDAR, CB_GETCURSEL, 0, 0));
  std::string status = kFoundBefore + std::to_string(calendars_.size()) + kFoundAfter;
  if (chosen >= 0 && chosen < static_cast<int>(calendars_.size()) && !calendars_[chosen].takes_todos) {
    status += kNoTodos;
  }
  ShowStatus(status);
}
