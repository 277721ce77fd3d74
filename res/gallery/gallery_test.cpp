// The gallery: every dialog template opened with its skin, its controls
// placed and skinned as the dialogs do at start-up, and a screenshot of each
// saved under the build folder's gallery/ (TALLYO_GALLERY_DIR) for people to
// look at. The checks here only make sure the skin was applied.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "res/gallery/preview_dialog.h"
#include "res/gallery/screenshot.h"
#include "res/resource.h"

namespace {

using preview::BitmapButton;
using preview::Box;
using preview::ColourLabel;
using preview::DialogSkin;
using preview::ExtraText;
using preview::Move;

constexpr COLORREF kSkin = RGB(38, 77, 77);
constexpr COLORREF kCaption = RGB(25, 54, 54);
constexpr COLORREF kWhite = RGB(255, 255, 255);

DialogSkin Skin(int template_id, int background_bitmap, int close_right_inset = 6, bool minimize = false) {
  DialogSkin s;
  s.template_id = template_id;
  s.background_bitmap = background_bitmap;
  s.close_right_inset = close_right_inset;
  s.minimize_button = minimize;
  return s;
}

// The skinned OK / Cancel / Close button.
BitmapButton PushButton(int id, int x = -1, int y = -1) { return {id, IDB_PUSH_BUTTON_NORMAL, x, y, true}; }

Box Radio(int id, int x, int y, bool checked, COLORREF background = kWhite) {
  return {id, IDB_RADIO_UNCHECKED, IDB_RADIO_CHECKED, x, y, background, checked};
}

Box Check(int id, int x, int y, bool checked) {
  return {id, IDB_CHECK_UNCHECKED, IDB_CHECK_CHECKED, x, y, kSkin, checked};
}

// An advertisement link as the editor and the popup show one.
ExtraText AdLink() {
  // Quillo 新品：桌面便签小工具
  return {{150, 205, 350, 222}, L"Quillo \u65b0\u54c1\uff1a\u684c\u9762\u4fbf\u7b7e\u5c0f\u5de5\u5177", kWhite, true,
          0, true};
}

DialogSkin MainWindow() {
  DialogSkin s = Skin(IDD_MAIN, IDB_MAIN_BACKGROUND, 7, true);
  s.buttons = {{IDC_MAIN_ADD, IDB_LIST_BUTTON_NORMAL, 470, 330},
               {IDC_MAIN_DELETE, IDB_LIST_BUTTON_NORMAL, 538, 330},
               {IDC_MAIN_MODIFY, IDB_LIST_BUTTON_NORMAL, 470, 358},
               {IDC_MAIN_FIND, IDB_LIST_BUTTON_NORMAL, 538, 358},
               {IDC_MAIN_ABOUT, IDB_ABOUT_NORMAL, 375, 423, false},
               {IDC_MAIN_SETTINGS, IDB_SETTINGS_NORMAL, 440, 423, false},
               {IDC_MAIN_HELP, IDB_HELP_NORMAL, 505, 423, false},
               {IDC_MAIN_HOME, IDB_HOME_NORMAL, 570, 423, false}};
  // The version notice without a newer version: 版本：1.20 at x = 370.
  s.moves = {{IDC_MAIN_VERSION, 370, 12}};
  s.labels = {{IDC_MAIN_VERSION, RGB(0, 255, 0), kWhite, L"\u7248\u672c\uff1a1.20"},
              // 记得每天下午三点喝水
              {IDC_MAIN_NOTE, RGB(192, 192, 192), RGB(0, 0, 0),
               L"\u8bb0\u5f97\u6bcf\u5929\u4e0b\u5348\u4e09\u70b9\u559d\u6c34"}};
  s.combo_id = IDC_MAIN_VIEW_SELECTOR;
  s.combo_items = {L"\u6307\u5b9a\u65e5\u671f\u7684\u4e8b\u60c5",        // 指定日期的事情
                   L"\u6240\u6709\u8981\u63d0\u9192\u7684\u4e8b\u60c5",  // 所有要提醒的事情
                   L"\u6240\u6709\u8981\u8bb0\u5fc6\u7684\u4e8b\u60c5",  // 所有要记忆的事情
                   L"\u6240\u6709\u4e8b\u60c5"};                         // 所有事情
  // The ticker: 欢迎使用 Tallyo！今天也要记得按时休息。
  s.extras = {{{6, 399, 635, 421},
               L"\u6b22\u8fce\u4f7f\u7528 Tallyo\uff01\u4eca\u5929\u4e5f\u8981\u8bb0\u5f97\u6309\u65f6\u4f11\u606f\u3002",
               kWhite, false, RGB(38, 38, 38)}};
  return s;
}

DialogSkin AboutBox() {
  DialogSkin s = Skin(IDD_ABOUT, IDB_ABOUT_BACKGROUND);
  s.buttons = {PushButton(IDOK, 105, 131)};
  s.labels = {{IDC_ABOUT_VERSION, kSkin, kWhite, L"Tallyo 1.20"}};
  return s;
}

DialogSkin ConfirmBox() {
  DialogSkin s = Skin(IDD_CONFIRM, IDB_CONFIRM_BACKGROUND);
  s.buttons = {PushButton(IDOK, 55, 131), PushButton(IDCANCEL, 160, 131)};
  // 确定要退出程序吗？
  s.labels = {{IDC_CONFIRM_TEXT, kSkin, kWhite, L"\u786e\u5b9a\u8981\u9000\u51fa\u7a0b\u5e8f\u5417\uff1f"}};
  return s;
}

DialogSkin FindBox() {
  DialogSkin s = Skin(IDD_FIND, IDB_FIND_BACKGROUND);
  s.moves = {{IDC_FIND_KEYWORD, 102, 75, 122, 13}};
  s.buttons = {PushButton(IDOK, 55, 131), PushButton(IDCANCEL, 155, 131)};
  s.texts = {{IDC_FIND_KEYWORD, L"\u4f1a\u8bae"}};  // 会议
  return s;
}

DialogSkin SettingsBox() {
  DialogSkin s = Skin(IDD_SETTINGS, IDB_SETTINGS_BACKGROUND, 8);
  s.buttons = {PushButton(IDOK, 110, 314), PushButton(IDCANCEL, 220, 314),
               {IDC_SETTINGS_BROWSE, IDB_BROWSE_NORMAL, -1, -1, false}};
  s.boxes = {Check(IDC_SETTINGS_AUTORUN, 53, 67, true),
             Check(IDC_SETTINGS_TRAY, 53, 84, false),
             Radio(IDC_SETTINGS_TIP_POPUP, 51, 102, true, kSkin),
             Radio(IDC_SETTINGS_TIP_FLASH, 51, 120, false, kSkin),
             Check(IDC_SETTINGS_PLAY_SOUND, 53, 137, true),
             Radio(IDC_SETTINGS_BEEP, 71, 154, false, kSkin),
             Radio(IDC_SETTINGS_SOUND_FILE_CHOICE, 71, 171, true, kSkin)};
  s.moves = {{IDC_SETTINGS_SOUND_FILE, -1, -1, 182, 14}};
  s.texts = {{IDC_SETTINGS_SOUND_FILE, L"C:\\Windows\\Media\\ding.wav"},
             {IDC_SETTINGS_MARK, L"\u8bb0\u5f97\u6bcf\u5929\u4e0b\u5348\u4e09\u70b9\u559d\u6c34"}};
  return s;
}

DialogSkin Editor(int template_id, int background, bool with_link, int choice) {
  DialogSkin s = Skin(template_id, background);
  s.moves = {{IDC_EDITOR_TITLE, 68, 73, 269, 13},
             {IDC_EDITOR_MINUTES, 91, 174, 49, 13},
             {IDC_EDITOR_BODY, 68, 234, 270, 60},
             {IDC_EDITOR_DATE, 89, 151},
             {IDC_EDITOR_TIME, 181, 151}};
  s.boxes = {Radio(IDC_EDITOR_NO_REMIND, 50, 135, choice == 0), Radio(IDC_EDITOR_REMIND_AT, 50, 154, choice == 1),
             Radio(IDC_EDITOR_REMIND_AFTER, 50, 174, choice == 2)};
  s.buttons = {PushButton(IDOK), PushButton(IDCANCEL)};
  s.texts = {{IDC_EDITOR_MINUTES, L"0"}};
  if (template_id == IDD_MODIFY_EVENT) {
    s.texts.push_back({IDC_EDITOR_TITLE, L"\u5468\u4f8b\u4f1a"});  // 周例会
    // 准备上周的进度汇报
    s.texts.push_back({IDC_EDITOR_BODY, L"\u51c6\u5907\u4e0a\u5468\u7684\u8fdb\u5ea6\u6c47\u62a5"});
  }
  if (with_link) s.extras = {AdLink()};
  return s;
}

DialogSkin ReminderPopup() {
  DialogSkin s = Skin(IDD_REMINDER, IDB_REMINDER_BACKGROUND);
  s.moves = {{IDC_REMINDER_MINUTES, 102, 180, 49, 13},
             {IDC_REMINDER_BODY, 68, 235, 269, 59},
             {IDC_REMINDER_TITLE, 70, 65, 260, 60},
             {IDC_REMINDER_DATE, 100, 158},
             {IDC_REMINDER_TIME, 195, 158}};
  s.boxes = {Radio(IDC_REMINDER_DONE, 54, 143, true), Radio(IDC_REMINDER_AT, 54, 161, false),
             Radio(IDC_REMINDER_AFTER, 54, 179, false)};
  s.buttons = {PushButton(IDOK), PushButton(IDCANCEL)};
  // "周例会"您完成了吗？
  s.labels = {{IDC_REMINDER_TITLE, kSkin, kWhite, L"\"\u5468\u4f8b\u4f1a\"\u60a8\u5b8c\u6210\u4e86\u5417\uff1f"}};
  s.texts = {{IDC_REMINDER_MINUTES, L"0"},
             {IDC_REMINDER_BODY, L"\u51c6\u5907\u4e0a\u5468\u7684\u8fdb\u5ea6\u6c47\u62a5"}};
  s.extras = {AdLink()};
  return s;
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

struct GalleryEntry {
  const char* name;
  DialogSkin skin;
  SIZE size;
};

TEST(Gallery, EveryDialogWithItsSkin) {
  const GalleryEntry entries[] = {
      {"main", MainWindow(), {641, 481}},
      {"about", AboutBox(), {276, 169}},
      {"settings", SettingsBox(), {394, 349}},
      {"add_event", Editor(IDD_ADD_EVENT, IDB_ADD_EVENT_BACKGROUND, true, 0), {394, 348}},
      {"find", FindBox(), {276, 169}},
      {"modify_event", Editor(IDD_MODIFY_EVENT, IDB_MODIFY_EVENT_BACKGROUND, false, 1), {394, 348}},
      {"reminder", ReminderPopup(), {394, 349}},
      {"confirm", ConfirmBox(), {276, 169}},
  };
  const std::wstring folder = GalleryFolder();
  for (const GalleryEntry& entry : entries) {
    SCOPED_TRACE(entry.name);
    HWND hwnd = preview::Open(entry.skin, 40, 40);
    ASSERT_NE(hwnd, nullptr);
    RECT window;
    GetWindowRect(hwnd, &window);
    EXPECT_EQ(window.right - window.left, entry.size.cx);
    EXPECT_EQ(window.bottom - window.top, entry.size.cy);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    EXPECT_NE(GetWindowRgn(hwnd, region), ERROR) << "the window is not shaped";
    DeleteObject(region);

    preview::Screenshot shot = preview::CaptureWindow(hwnd);
    std::string name(entry.name);
    EXPECT_TRUE(preview::SaveBmp(shot, folder + L"\\" + std::wstring(name.begin(), name.end()) + L".bmp"));
    // The skin is painted: the caption strip shows its colour.
    EXPECT_EQ(shot.at(shot.width / 2, 4), kCaption);
    DestroyWindow(hwnd);
  }
}

}  // namespace
