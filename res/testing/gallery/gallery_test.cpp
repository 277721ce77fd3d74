// The gallery: every dialog template opened with the skinned frame and
// controls, set up as its dialog sets itself up at start-up, and saved as a
// screenshot under the build folder's gallery/ (TALLYO_GALLERY_DIR) for
// people to look at. The checks only make sure the skin was applied.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "res/resource.h"
#include "res/testing/gallery/gallery_dialog.h"
#include "res/testing/stand_in_controls.h"
#include "tallyo_version.h"

namespace {

using gallery::GalleryDialog;

constexpr COLORREF kSkin = RGB(38, 77, 77);
constexpr COLORREF kCaption = RGB(25, 54, 54);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr int kHorizontal = 0x1000000;

const wchar_t kNote[] =
    L"\u8bb0\u5f97\u6bcf\u5929\u4e0b\u5348\u4e09\u70b9\u559d\u6c34";  // 记得每天下午三点喝水
const wchar_t kTitle[] = L"\u5468\u4f8b\u4f1a";                       // 周例会
const wchar_t kBody[] = L"\u51c6\u5907\u4e0a\u5468\u7684\u8fdb\u5ea6\u6c47\u62a5";  // 准备上周的进度汇报
// Quillo 新品：桌面便签小工具
const wchar_t kAd[] = L"Quillo \u65b0\u54c1\uff1a\u684c\u9762\u4fbf\u7b7e\u5c0f\u5de5\u5177";

void MainWindow(GalleryDialog& d) {
  d.Frame(IDB_MAIN_BACKGROUND, 7, true);
  // 欢迎使用 Tallyo！今天也要记得按时休息。
  d.Ticker({6, 399, 635, 421},
           L"\u6b22\u8fce\u4f7f\u7528 "
           L"Tallyo\uff01\u4eca\u5929\u4e5f\u8981\u8bb0\u5f97\u6309\u65f6\u4f11\u606f\u3002");
  d.Button(IDC_MAIN_IMPORT, 181, 180, 182, 182, 310, 423, false);
  d.Button(IDC_MAIN_ABOUT, 149, 148, 150, 150, 375, 423, false);
  d.Button(IDC_MAIN_SETTINGS, 152, 151, 153, 153, 440, 423, false);
  d.Button(IDC_MAIN_HELP, 143, 142, 144, 144, 505, 423, false);
  d.Button(IDC_MAIN_HOME, 146, 145, 147, 147, 570, 423, false);
  d.Button(IDC_MAIN_ADD, 155, 154, 156, 156, 470, 330, true);
  d.Button(IDC_MAIN_DELETE, 155, 154, 156, 156, 538, 330, true);
  d.Button(IDC_MAIN_MODIFY, 155, 154, 156, 156, 470, 358, true);
  d.Button(IDC_MAIN_FIND, 155, 154, 156, 156, 538, 358, true);
  // The version notice without a newer version: 版本：<version> at x = 370.
  d.Label(IDC_MAIN_VERSION, RGB(0, 255, 0), kWhite, L"\u7248\u672c\uff1a" TALLYO_VERSION_TEXT, kHorizontal);
  d.Move(IDC_MAIN_VERSION, 370, 12);
  d.Label(IDC_MAIN_NOTE, RGB(192, 192, 192), RGB(0, 0, 0), kNote, kHorizontal);
  d.ComboItems(IDC_MAIN_VIEW_SELECTOR,
               {L"\u6307\u5b9a\u65e5\u671f\u7684\u4e8b\u60c5",        // 指定日期的事情
                L"\u6240\u6709\u8981\u63d0\u9192\u7684\u4e8b\u60c5",  // 所有要提醒的事情
                L"\u6240\u6709\u8981\u8bb0\u5fc6\u7684\u4e8b\u60c5",  // 所有要记忆的事情
                L"\u6240\u6709\u4e8b\u60c5"});                        // 所有事情
}

void AboutBox(GalleryDialog& d) {
  d.Frame(IDB_ABOUT_BACKGROUND, 6, false);
  d.PushButton(IDOK, 105, 131);
  d.Label(IDC_ABOUT_VERSION, kSkin, kWhite, L"Tallyo " TALLYO_VERSION_TEXT, kHorizontal);
}

void ConfirmBox(GalleryDialog& d) {
  d.Frame(IDB_CONFIRM_BACKGROUND, 6, false);
  d.PushButton(IDOK, 55, 131);
  d.PushButton(IDCANCEL, 160, 131);
  // 确定要退出程序吗？
  d.Label(IDC_CONFIRM_TEXT, kSkin, kWhite, L"\u786e\u5b9a\u8981\u9000\u51fa\u7a0b\u5e8f\u5417\uff1f",
          kHorizontal);
}

void FindBox(GalleryDialog& d) {
  d.Frame(IDB_FIND_BACKGROUND, 6, false);
  d.Move(IDC_FIND_KEYWORD, 102, 75, 122, 13);
  d.PushButton(IDOK, 55, 131);
  d.PushButton(IDCANCEL, 155, 131);
  d.Text(IDC_FIND_KEYWORD, L"\u4f1a\u8bae");  // 会议
}

void SettingsBox(GalleryDialog& d) {
  d.Frame(IDB_SETTINGS_BACKGROUND, 8, false);
  d.PushButton(IDOK, 110, 314);
  d.PushButton(IDCANCEL, 220, 314);
  d.Button(IDC_SETTINGS_BROWSE, 177, 176, 178, 177, -1, -1, false);
  d.Check(IDC_SETTINGS_AUTORUN, 53, 67, true, kSkin);
  d.Check(IDC_SETTINGS_TRAY, 53, 84, false, kSkin);
  d.Check(IDC_SETTINGS_PLAY_SOUND, 53, 137, true, kSkin);
  d.Radio(IDC_SETTINGS_TIP_POPUP, 51, 102, true, &kSkin);
  d.Radio(IDC_SETTINGS_TIP_FLASH, 51, 120, false, &kSkin);
  d.Radio(IDC_SETTINGS_BEEP, 71, 154, false, &kSkin);
  d.Radio(IDC_SETTINGS_SOUND_FILE_CHOICE, 71, 171, true, &kSkin);
  d.Move(IDC_SETTINGS_SOUND_FILE, -1, -1, 182, 14);
  d.Text(IDC_SETTINGS_SOUND_FILE, L"C:\\Windows\\Media\\ding.wav");
  d.Text(IDC_SETTINGS_MARK, kNote);
}

void Editor(GalleryDialog& d, UINT background, bool modify) {
  d.Frame(background, 6, false);
  d.Radio(IDC_EDITOR_NO_REMIND, 50, 135, !modify);
  d.Radio(IDC_EDITOR_REMIND_AT, 50, 154, modify);
  d.Radio(IDC_EDITOR_REMIND_AFTER, 50, 174, false);
  d.Move(IDC_EDITOR_TITLE, 68, 73, 269, 13);
  d.Move(IDC_EDITOR_MINUTES, 91, 174, 49, 13);
  d.Move(IDC_EDITOR_BODY, 68, 234, 270, 60);
  d.Move(IDC_EDITOR_DATE, 89, 151);
  d.Move(IDC_EDITOR_TIME, 181, 151);
  d.PushButton(IDOK);
  d.PushButton(IDCANCEL);
  d.Text(IDC_EDITOR_MINUTES, L"0");
  if (modify) {
    d.Text(IDC_EDITOR_TITLE, kTitle);
    d.Text(IDC_EDITOR_BODY, kBody);
  } else {
    d.Link({150, 205, 350, 222}, kAd);
  }
}

void ReminderPopup(GalleryDialog& d) {
  d.Frame(IDB_REMINDER_BACKGROUND, 6, false);
  d.Radio(IDC_REMINDER_DONE, 54, 143, true);
  d.Radio(IDC_REMINDER_AT, 54, 161, false);
  d.Radio(IDC_REMINDER_AFTER, 54, 179, false);
  d.Move(IDC_REMINDER_MINUTES, 102, 180, 49, 13);
  d.Move(IDC_REMINDER_BODY, 68, 235, 269, 59);
  // "周例会"您完成了吗？
  d.Label(IDC_REMINDER_TITLE, kSkin, kWhite, L"\"\u5468\u4f8b\u4f1a\"\u60a8\u5b8c\u6210\u4e86\u5417\uff1f",
          1);
  d.Move(IDC_REMINDER_TITLE, 70, 65, 260, 60);
  d.Move(IDC_REMINDER_DATE, 100, 158);
  d.Move(IDC_REMINDER_TIME, 195, 158);
  d.PushButton(IDOK);
  d.PushButton(IDCANCEL);
  d.Text(IDC_REMINDER_MINUTES, L"0");
  d.Text(IDC_REMINDER_BODY, kBody);
  d.Link({150, 205, 350, 222}, kAd);
}

// The gallery folder as a Windows path (Wine maps the Unix root to Z:).
std::wstring GalleryFolder() {
  const char* dir = std::getenv("TALLYO_GALLERY_DIR");
  std::string path = dir ? dir : "gallery";
  std::wstring wide(path.begin(), path.end());
  if (!wide.empty() && wide[0] == L'/') wide = L"Z:" + wide;
  for (wchar_t& c : wide)
    if (c == L'/') c = L'\\';
  CreateDirectoryW(wide.c_str(), nullptr);
  return wide;
}

struct Entry {
  const wchar_t* name;
  UINT template_id;
  GalleryDialog::Setup setup;
  SIZE size;
};

TEST(Gallery, EveryDialogWithItsSkin) {
  res_testing::RegisterStandInControls();
  const Entry entries[] = {
      {L"main", IDD_MAIN, MainWindow, {641, 481}},
      {L"about", IDD_ABOUT, AboutBox, {276, 169}},
      {L"settings", IDD_SETTINGS, SettingsBox, {394, 349}},
      {L"add_event",
       IDD_ADD_EVENT,
       [](GalleryDialog& d) { Editor(d, IDB_ADD_EVENT_BACKGROUND, false); },
       {394, 348}},
      {L"find", IDD_FIND, FindBox, {276, 169}},
      {L"modify_event",
       IDD_MODIFY_EVENT,
       [](GalleryDialog& d) { Editor(d, IDB_MODIFY_EVENT_BACKGROUND, true); },
       {394, 348}},
      {L"reminder", IDD_REMINDER, ReminderPopup, {394, 349}},
      {L"confirm", IDD_CONFIRM, ConfirmBox, {276, 169}},
  };
  const std::wstring folder = GalleryFolder();
  for (const Entry& entry : entries) {
    SCOPED_TRACE(entry.template_id);
    GalleryDialog dialog(entry.template_id, entry.setup);
    screen_capture::Screenshot shot = dialog.Photograph();
    ASSERT_EQ(shot.width, entry.size.cx);
    ASSERT_EQ(shot.height, entry.size.cy);
    EXPECT_TRUE(screen_capture::SaveBmp(shot, folder + L"\\" + entry.name + L".bmp"));
    // The skin is painted: the caption strip shows its colour.
    EXPECT_EQ(shot.at(shot.width / 2, 4), kCaption);
  }
}

}  // namespace
