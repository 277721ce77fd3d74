// The sync dialog on its real template and skin, driven from its own
// message loop: what it shows, what OK and "立即同步" hand over, what it
// refuses, "检测" against radicale on 127.0.0.1, and screenshots.
#include "dialogs/sync_dialog.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>

#include "caldav/testing/radicale_test_server.h"
#include "framework/testing/screen_capture.h"
#include "framework/testing/ui_test_support.h"
#include "framework/text_boundary.h"
#include "res/resource.h"

namespace {

constexpr char kWork[] = "\xB9\xA4\xD7\xF7";  // "工作"
// "上次同步 12:03：上传 2，下载 1"
constexpr char kResultLine[] =
    "\xC9\xCF\xB4\xCE\xCD\xAC\xB2\xBD 12:03\xA3\xBA\xC9\xCF\xB4\xAB 2\xA3\xAC\xCF\xC2\xD4\xD8 1";

SyncSettings Saved() {
  SyncSettings s;
  s.address = "http://127.0.0.1:5232/";
  s.user = "tallyo";
  s.calendar_url = "http://127.0.0.1:5232/tallyo/work/";
  s.calendar_name = kWork;
  s.enabled = true;
  s.interval_minutes = 30;
  return s;
}

INT_PTR RunDialog(SyncDialog& dialog, std::function<void(HWND)> script) {
  RunSoon([&dialog, script] { script(dialog.hwnd()); });
  return dialog.DoModal();
}

std::wstring WideText(HWND dialog, int id) {
  wchar_t text[512] = {};
  GetDlgItemTextW(dialog, id, text, 512);
  return text;
}

std::vector<std::string> CalendarNames(HWND dialog) {
  std::vector<std::string> names;
  HWND list = GetDlgItem(dialog, IDC_SYNC_CALENDAR);
  const int count = static_cast<int>(SendMessageW(list, CB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    wchar_t name[256] = {};
    SendMessageW(list, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(name));
    names.push_back(win::Narrow(name));
  }
  return names;
}

// A mouse click on the check box, as the user makes it.
void ClickBox(HWND dialog, int id) {
  HWND control = GetDlgItem(dialog, id);
  RECT client{};
  GetClientRect(control, &client);
  const LPARAM at = MAKELPARAM(3, client.bottom / 2);
  SendMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(control, WM_LBUTTONUP, 0, at);
}

// Clicks `button` and answers the message box it opens; its text.
std::string ClickAndAnswer(HWND dialog, int button) {
  std::string text;
  RunSoon([&] {
    HWND box = FindOwnedDialog(dialog);
    ASSERT_NE(box, nullptr);
    text = MessageBoxText(box);
    ClickButton(box, IDOK);
  });
  ClickButton(dialog, button);
  return text;
}

// Pumps the dialog's messages until "检测" is back (the worker is through).
void WaitForDiscovery(HWND dialog) {
  for (int i = 0; i < 1000 && !IsWindowEnabled(GetDlgItem(dialog, IDC_SYNC_DISCOVER)); ++i) {
    PumpPendingMessages();
    Sleep(20);
  }
  PumpPendingMessages();
}

std::wstring ScreenshotFolder() {
  const char* dir = std::getenv("TALLYO_SCREENSHOT_DIR");
  std::string path = dir ? dir : "screenshots";
  std::wstring wide(path.begin(), path.end());
  if (!wide.empty() && wide[0] == L'/') wide = L"Z:" + wide;
  for (wchar_t& c : wide) {
    if (c == L'/') c = L'\\';
  }
  CreateDirectoryW(wide.c_str(), nullptr);
  return wide;
}

void SaveScreenshot(HWND dialog, const wchar_t* name) {
  SetWindowPos(dialog, HWND_TOP, 40, 40, 0, 0, SWP_NOSIZE);
  RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  PumpPendingMessages();
  const screen_capture::Screenshot shot = screen_capture::CaptureWindow(dialog);
  EXPECT_EQ(shot.width, 394);
  EXPECT_EQ(shot.height, 349);
  EXPECT_TRUE(screen_capture::SaveBmp(shot, ScreenshotFolder() + L"\\" + name));
}

TEST(SyncDialog, ShowsTheSettingsThePasswordAndTheLastResult) {
  Watchdog watchdog("Shows");
  // "密码" and U+1F600, which code page 936 cannot hold.
  SyncDialog dialog(Saved(), "p\xE5\xAF\x86\xE7\xA0\x81\xF0\x9F\x98\x80", kResultLine);
  RunDialog(dialog, [&](HWND d) {
    EXPECT_EQ(win::GetDlgItemText(d, IDC_SYNC_ADDRESS), "http://127.0.0.1:5232/");
    EXPECT_EQ(win::GetDlgItemText(d, IDC_SYNC_USER), "tallyo");
    EXPECT_EQ(WideText(d, IDC_SYNC_PASSWORD), L"p\u5BC6\u7801\U0001F600");
    EXPECT_NE(GetWindowLongW(GetDlgItem(d, IDC_SYNC_PASSWORD), GWL_STYLE) & ES_PASSWORD, 0);
    EXPECT_EQ(CalendarNames(d), std::vector<std::string>{kWork});
    EXPECT_EQ(SendDlgItemMessageW(d, IDC_SYNC_CALENDAR, CB_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(IsDlgButtonChecked(d, IDC_SYNC_ENABLED), static_cast<UINT>(BST_CHECKED));
    EXPECT_EQ(win::GetDlgItemText(d, IDC_SYNC_INTERVAL), "30");
    EXPECT_EQ(win::GetDlgItemText(d, IDC_SYNC_RESULT), kResultLine);
    ClickButton(d, IDCANCEL);
  });

  SyncDialog fresh(SyncSettings{}, "", "");
  RunDialog(fresh, [&](HWND d) {
    EXPECT_EQ(win::GetDlgItemText(d, IDC_SYNC_ADDRESS), "");
    EXPECT_TRUE(CalendarNames(d).empty());
    EXPECT_EQ(IsDlgButtonChecked(d, IDC_SYNC_ENABLED), static_cast<UINT>(BST_UNCHECKED));
    EXPECT_EQ(win::GetDlgItemText(d, IDC_SYNC_INTERVAL), "15");
    EXPECT_EQ(win::GetDlgItemText(d, IDC_SYNC_RESULT),
              "\xBB\xB9\xC3\xBB\xD3\xD0\xCD\xAC\xB2\xBD\xB9\xFD");  // 还没有同步过
    SaveScreenshot(d, L"sync-empty.bmp");
    ClickButton(d, IDCANCEL);
  });
}

TEST(SyncDialog, OkHandsOverWhatTheUserTyped) {
  Watchdog watchdog("Ok");
  SyncDialog dialog(Saved(), "old", "");
  const INT_PTR answer = RunDialog(dialog, [&](HWND d) {
    win::SetDlgItemText(d, IDC_SYNC_ADDRESS, "  http://127.0.0.1:5232/tallyo/  ");
    win::SetDlgItemText(d, IDC_SYNC_USER, "\xD5\xC5\xC8\xFD");  // 张三
    SetDlgItemTextW(d, IDC_SYNC_PASSWORD, L"n\u00E9w\U0001F600");
    win::SetDlgItemText(d, IDC_SYNC_INTERVAL, "5");
    ClickBox(d, IDC_SYNC_ENABLED);
    ClickButton(d, IDOK);
  });
  EXPECT_EQ(answer, IDOK);
  SyncSettings expected = Saved();
  expected.address = "http://127.0.0.1:5232/tallyo/";
  expected.user = "\xD5\xC5\xC8\xFD";
  expected.interval_minutes = 5;
  expected.enabled = false;  // the click turned it off
  EXPECT_EQ(dialog.settings(), expected);
  EXPECT_EQ(dialog.password(), "n\xC3\xA9w\xF0\x9F\x98\x80");
}

TEST(SyncDialog, RefusesAnIntervalItCannotKeepAndSyncWithoutACalendar) {
  Watchdog watchdog("Refuses");
  SyncDialog dialog(SyncSettings{}, "", "");
  std::vector<std::string> messages;
  const INT_PTR answer = RunDialog(dialog, [&](HWND d) {
    for (const char* interval : {"0", "1441", "-3"}) {
      win::SetDlgItemText(d, IDC_SYNC_INTERVAL, interval);
      messages.push_back(ClickAndAnswer(d, IDOK));
      EXPECT_TRUE(IsWindow(d));
      EXPECT_EQ(GetFocus(), GetDlgItem(d, IDC_SYNC_INTERVAL));
    }
    win::SetDlgItemText(d, IDC_SYNC_INTERVAL, "1440");
    ClickBox(d, IDC_SYNC_ENABLED);  // on, with no calendar chosen
    messages.push_back(ClickAndAnswer(d, IDOK));
    messages.push_back(ClickAndAnswer(d, IDC_SYNC_NOW));
    EXPECT_TRUE(IsWindow(d));
    ClickBox(d, IDC_SYNC_ENABLED);  // off: OK needs no calendar, a pass does
    messages.push_back(ClickAndAnswer(d, IDC_SYNC_NOW));
    ClickButton(d, IDOK);
  });
  EXPECT_EQ(answer, IDOK);
  // "同步间隔请填 1 到 1440 分钟。" three times, then "开启同步前，请先“检测”并选择一个日历。"
  const std::string interval =
      "\xCD\xAC\xB2\xBD\xBC\xE4\xB8\xF4\xC7\xEB\xCC\xEE 1 \xB5\xBD 1440 \xB7\xD6\xD6\xD3\xA1\xA3";
  const std::string calendar =
      "\xBF\xAA\xC6\xF4\xCD\xAC\xB2\xBD\xC7\xB0\xA3\xAC\xC7\xEB\xCF\xC8\xA1\xB0\xBC\xEC\xB2\xE2\xA1\xB1\xB2"
      "\xA2"
      "\xD1\xA1\xD4\xF1\xD2\xBB\xB8\xF6\xC8\xD5\xC0\xFA\xA1\xA3";
  // "请先“检测”并选择一个日历。"
  const std::string choose =
      "\xC7\xEB\xCF\xC8\xA1\xB0\xBC\xEC\xB2\xE2\xA1\xB1\xB2\xA2\xD1\xA1\xD4\xF1\xD2\xBB\xB8\xF6\xC8\xD5\xC0"
      "\xFA\xA1\xA3";
  EXPECT_EQ(messages, (std::vector<std::string>{interval, interval, interval, calendar, calendar, choose}));
  EXPECT_EQ(dialog.settings().interval_minutes, 1440);
  EXPECT_FALSE(dialog.settings().enabled);
}

TEST(SyncDialog, DiscoversTheCalendarsAndSyncsNowWithWhatIsChosen) {
  Watchdog watchdog("Discovers", std::chrono::seconds(60));
  RadicaleTestServer server;
  ASSERT_EQ(server.problem(), "");
  HttpTransportOptions options;
  options.user = RadicaleTestServer::kUser;
  options.password = RadicaleTestServer::kPassword;
  std::unique_ptr<HttpTransport> transport = MakeHttpTransport(options);
  // "工作" and "家里" (UTF-8), and one that takes no to-dos.
  const std::string work =
      server.MakeCalendar(*transport, "dialog-work", "\xE5\xB7\xA5\xE4\xBD\x9C", {"VEVENT", "VTODO"});
  const std::string home =
      server.MakeCalendar(*transport, "dialog-home", "\xE5\xAE\xB6\xE9\x87\x8C", {"VEVENT"});
  ASSERT_FALSE(work.empty() || home.empty());

  SyncDialog dialog(SyncSettings{}, "", "");
  std::vector<SyncSettings> synced;
  std::vector<std::string> passwords;
  dialog.SetSyncNowHandler([&](const SyncSettings& s, const std::string& password) {
    synced.push_back(s);
    passwords.push_back(password);
    dialog.ShowResultLine(kResultLine);
  });
  RunDialog(dialog, [&](HWND d) {
    win::SetDlgItemText(d, IDC_SYNC_ADDRESS, server.Url("/"));
    win::SetDlgItemText(d, IDC_SYNC_USER, RadicaleTestServer::kUser);
    // A wrong password first: the status says so and nothing is listed.
    win::SetDlgItemText(d, IDC_SYNC_PASSWORD, "wrong");
    ClickButton(d, IDC_SYNC_DISCOVER);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(d, IDC_SYNC_DISCOVER)));  // once at a time
    WaitForDiscovery(d);
    // "服务器拒绝了这个用户名和密码"
    EXPECT_EQ(
        win::GetDlgItemText(d, IDC_SYNC_STATUS),
        "\xB7\xFE\xCE\xF1\xC6\xF7\xBE\xDC\xBE\xF8\xC1\xCB\xD5\xE2\xB8\xF6\xD3\xC3\xBB\xA7\xC3\xFB\xBA\xCD"
        "\xC3\xDC\xC2\xEB");
    EXPECT_TRUE(CalendarNames(d).empty());

    win::SetDlgItemText(d, IDC_SYNC_PASSWORD, RadicaleTestServer::kPassword);
    ClickButton(d, IDC_SYNC_DISCOVER);
    WaitForDiscovery(d);
    const std::vector<std::string> names = CalendarNames(d);
    EXPECT_NE(std::find(names.begin(), names.end(), kWork), names.end());
    const auto home_at = std::find(names.begin(), names.end(), "\xBC\xD2\xC0\xEF");  // 家里
    ASSERT_NE(home_at, names.end());
    // "找到 N 个日历"
    EXPECT_EQ(win::GetDlgItemText(d, IDC_SYNC_STATUS).rfind("\xD5\xD2\xB5\xBD ", 0), 0u);
    SaveScreenshot(d, L"sync-discovered.bmp");

    // The user picks "家里", which takes no to-dos: the status says memos stay here.
    SendDlgItemMessageW(d, IDC_SYNC_CALENDAR, CB_SETCURSEL, static_cast<WPARAM>(home_at - names.begin()), 0);
    SendMessageW(d, WM_COMMAND, MAKEWPARAM(IDC_SYNC_CALENDAR, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(GetDlgItem(d, IDC_SYNC_CALENDAR)));
    EXPECT_NE(win::GetDlgItemText(d, IDC_SYNC_STATUS).find("\xB4\xFD\xB0\xEC"), std::string::npos);  // 待办
    ClickBox(d, IDC_SYNC_ENABLED);
    ClickButton(d, IDC_SYNC_NOW);
    EXPECT_EQ(win::GetDlgItemText(d, IDC_SYNC_RESULT), kResultLine);
    SaveScreenshot(d, L"sync-synced.bmp");
    ClickButton(d, IDOK);
  });
  ASSERT_EQ(synced.size(), 1u);
  EXPECT_EQ(synced[0].calendar_url, home);
  EXPECT_EQ(synced[0].calendar_name, "\xBC\xD2\xC0\xEF");
  EXPECT_TRUE(synced[0].enabled);
  EXPECT_EQ(passwords[0], RadicaleTestServer::kPassword);
  EXPECT_EQ(dialog.settings(), synced[0]);
}

TEST(SyncDialog, ClosedWhileDiscoveringLosesNothing) {
  Watchdog watchdog("Closed");
  SyncDialog dialog(SyncSettings{}, "", "");
  RunDialog(dialog, [&](HWND d) {
    // Nothing answers on port 1: the worker ends after the dialog.
    win::SetDlgItemText(d, IDC_SYNC_ADDRESS, "http://127.0.0.1:1/");
    ClickButton(d, IDC_SYNC_DISCOVER);
    ClickButton(d, IDCANCEL);
  });
  Sleep(200);  // the worker's message goes to a window that is gone
  PumpPendingMessages();
}

}  // namespace
