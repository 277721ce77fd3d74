// Every resource the program loads by number is present, has the size and
// form the windows rely on, and its Chinese texts survive the resource
// compiler intact.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "res/resource.h"
#include "res/testing/stand_in_controls.h"
#include "tallyo_version.h"

namespace {

HINSTANCE Module() { return GetModuleHandleW(nullptr); }

constexpr COLORREF kMagenta = RGB(255, 0, 255);

// A bitmap resource as a top-down 32-bit pixel array.
struct Pixels {
  int width = 0;
  int height = 0;
  int bits_per_pixel = 0;
  std::vector<COLORREF> rgb;  // RGB() values, row by row from the top
  COLORREF at(int x, int y) const { return rgb[y * width + x]; }
};

Pixels LoadPixels(int id) {
  Pixels p;
  HBITMAP bitmap = static_cast<HBITMAP>(
      LoadImageW(Module(), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  if (bitmap == nullptr) return p;
  DIBSECTION dib{};
  GetObjectW(bitmap, sizeof dib, &dib);
  p.width = dib.dsBm.bmWidth;
  p.height = dib.dsBm.bmHeight;
  p.bits_per_pixel = dib.dsBm.bmBitsPixel;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = p.width;
  info.bmiHeader.biHeight = -p.height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  std::vector<DWORD> raw(static_cast<size_t>(p.width) * p.height);
  HDC dc = GetDC(nullptr);
  GetDIBits(dc, bitmap, 0, p.height, raw.data(), &info, DIB_RGB_COLORS);
  ReleaseDC(nullptr, dc);
  DeleteObject(bitmap);
  p.rgb.reserve(raw.size());
  for (DWORD v : raw) p.rgb.push_back(RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF));
  return p;
}

struct ExpectedBitmap {
  int id;
  int width;
  int height;
  bool background;
};

const ExpectedBitmap kBitmaps[] = {
    {IDB_MAIN_BACKGROUND, 641, 481, true},
    {IDB_CLOSE_HOVER, 21, 17, false},
    {IDB_CLOSE_NORMAL, 21, 17, false},
    {IDB_CLOSE_PRESSED, 21, 17, false},
    {IDB_MINIMIZE_HOVER, 21, 17, false},
    {IDB_MINIMIZE_NORMAL, 21, 17, false},
    {IDB_MINIMIZE_PRESSED, 21, 17, false},
    {IDB_HELP_HOVER, 65, 54, false},
    {IDB_HELP_NORMAL, 65, 54, false},
    {IDB_HELP_PRESSED, 65, 54, false},
    {IDB_HOME_HOVER, 65, 54, false},
    {IDB_HOME_NORMAL, 65, 54, false},
    {IDB_HOME_PRESSED, 65, 54, false},
    {IDB_ABOUT_HOVER, 65, 54, false},
    {IDB_ABOUT_NORMAL, 65, 54, false},
    {IDB_ABOUT_PRESSED, 65, 54, false},
    {IDB_SETTINGS_HOVER, 65, 54, false},
    {IDB_SETTINGS_NORMAL, 65, 54, false},
    {IDB_SETTINGS_PRESSED, 65, 54, false},
    {IDB_LIST_BUTTON_HOVER, 61, 25, false},
    {IDB_LIST_BUTTON_NORMAL, 61, 25, false},
    {IDB_LIST_BUTTON_PRESSED, 61, 25, false},
    {IDB_ADD_EVENT_BACKGROUND, 394, 348, true},
    {IDB_PUSH_BUTTON_HOVER, 69, 23, false},
    {IDB_PUSH_BUTTON_NORMAL, 69, 23, false},
    {IDB_PUSH_BUTTON_PRESSED, 69, 23, false},
    {IDB_RADIO_UNCHECKED, 15, 14, false},
    {IDB_RADIO_CHECKED, 15, 14, false},
    {IDB_MODIFY_EVENT_BACKGROUND, 394, 348, true},
    {IDB_REMINDER_BACKGROUND, 394, 349, true},
    {IDB_ABOUT_BACKGROUND, 276, 169, true},
    {IDB_SETTINGS_BACKGROUND, 394, 349, true},
    {IDB_CHECK_CHECKED, 12, 12, false},
    {IDB_CHECK_UNCHECKED, 12, 12, false},
    {IDB_FIND_BACKGROUND, 276, 169, true},
    {IDB_CONFIRM_BACKGROUND, 276, 169, true},
    {IDB_BROWSE_HOVER, 18, 18, false},
    {IDB_BROWSE_NORMAL, 18, 18, false},
    {IDB_BROWSE_PRESSED, 18, 18, false},
    {IDB_IMPORT_BACKGROUND, 394, 250, true},
    {IDB_IMPORT_HOVER, 65, 54, false},
    {IDB_IMPORT_NORMAL, 65, 54, false},
    {IDB_IMPORT_PRESSED, 65, 54, false},
    {IDB_SYNC_BACKGROUND, 394, 349, true},
};

// The rounded corners that the window region cuts away lie in squares of
// this size at the four corners of every background.
constexpr int kCornerSquare = 8;

bool InCornerSquare(const Pixels& p, int x, int y) {
  bool left = x < kCornerSquare, right = x >= p.width - kCornerSquare;
  bool top = y < kCornerSquare, bottom = y >= p.height - kCornerSquare;
  return (left || right) && (top || bottom);
}

TEST(Resources, BitmapsHaveTheSizesTheWindowsUse) {
  for (const ExpectedBitmap& want : kBitmaps) {
    SCOPED_TRACE(want.id);
    Pixels p = LoadPixels(want.id);
    ASSERT_FALSE(p.rgb.empty()) << "bitmap missing";
    EXPECT_EQ(p.width, want.width);
    EXPECT_EQ(p.height, want.height);
    EXPECT_EQ(p.bits_per_pixel, 24);
  }
}

TEST(Resources, MagentaOnlyInTheCornersOfBackgrounds) {
  for (const ExpectedBitmap& want : kBitmaps) {
    SCOPED_TRACE(want.id);
    Pixels p = LoadPixels(want.id);
    ASSERT_FALSE(p.rgb.empty());
    int stray = 0;
    for (int y = 0; y < p.height; ++y)
      for (int x = 0; x < p.width; ++x)
        if (p.at(x, y) == kMagenta && !(want.background && InCornerSquare(p, x, y))) ++stray;
    EXPECT_EQ(stray, 0) << "magenta outside the corners";
    if (want.background) {
      // Each corner is cut: its outermost pixel is magenta, and the middle
      // of every edge is not (the window keeps its full width and height).
      EXPECT_EQ(p.at(0, 0), kMagenta);
      EXPECT_EQ(p.at(p.width - 1, 0), kMagenta);
      EXPECT_EQ(p.at(0, p.height - 1), kMagenta);
      EXPECT_EQ(p.at(p.width - 1, p.height - 1), kMagenta);
      EXPECT_NE(p.at(p.width / 2, 0), kMagenta);
      EXPECT_NE(p.at(p.width / 2, p.height - 1), kMagenta);
      EXPECT_NE(p.at(0, p.height / 2), kMagenta);
      EXPECT_NE(p.at(p.width - 1, p.height / 2), kMagenta);
    }
  }
}

TEST(Resources, BoxesAndButtonsBlendIntoTheSkinColour) {
  // Check boxes and option buttons are drawn at their natural size on the
  // dialog's skin colour (38, 77, 77): their corners must be that colour.
  const COLORREF skin = RGB(38, 77, 77);
  for (int id : {IDB_RADIO_UNCHECKED, IDB_RADIO_CHECKED, IDB_CHECK_CHECKED, IDB_CHECK_UNCHECKED,
                 IDB_PUSH_BUTTON_NORMAL, IDB_BROWSE_NORMAL, IDB_LIST_BUTTON_NORMAL}) {
    SCOPED_TRACE(id);
    Pixels p = LoadPixels(id);
    ASSERT_FALSE(p.rgb.empty());
    EXPECT_EQ(p.at(0, 0), skin);
    EXPECT_EQ(p.at(p.width - 1, 0), skin);
    EXPECT_EQ(p.at(0, p.height - 1), skin);
    EXPECT_EQ(p.at(p.width - 1, p.height - 1), skin);
  }
  // Checked and unchecked boxes differ (the mark is visible).
  EXPECT_NE(LoadPixels(IDB_RADIO_CHECKED).rgb, LoadPixels(IDB_RADIO_UNCHECKED).rgb);
  EXPECT_NE(LoadPixels(IDB_CHECK_CHECKED).rgb, LoadPixels(IDB_CHECK_UNCHECKED).rgb);
}

TEST(Resources, ButtonStatesAreDistinct) {
  for (int first : {IDB_CLOSE_HOVER, IDB_MINIMIZE_HOVER, IDB_HELP_HOVER, IDB_HOME_HOVER, IDB_ABOUT_HOVER,
                    IDB_SETTINGS_HOVER, IDB_LIST_BUTTON_HOVER, IDB_PUSH_BUTTON_HOVER, IDB_BROWSE_HOVER,
                    IDB_IMPORT_HOVER}) {
    SCOPED_TRACE(first);
    Pixels hover = LoadPixels(first), normal = LoadPixels(first + 1), pressed = LoadPixels(first + 2);
    EXPECT_NE(hover.rgb, normal.rgb);
    EXPECT_NE(pressed.rgb, normal.rgb);
    EXPECT_NE(pressed.rgb, hover.rgb);
  }
}

// ---------------------------------------------------------------- icons

#pragma pack(push, 2)
struct GroupIconEntry {
  BYTE width;
  BYTE height;
  BYTE colour_count;
  BYTE reserved;
  WORD planes;
  WORD bit_count;
  DWORD bytes;
  WORD id;
};
struct GroupIconHeader {
  WORD reserved;
  WORD type;
  WORD count;
};
#pragma pack(pop)

// (size, bits per pixel) of every image in an icon group.
std::set<std::pair<int, int>> IconImages(int id) {
  std::set<std::pair<int, int>> out;
  HRSRC res = FindResourceW(Module(), MAKEINTRESOURCEW(id), RT_GROUP_ICON);
  if (res == nullptr) return out;
  auto* header = static_cast<const GroupIconHeader*>(LockResource(LoadResource(Module(), res)));
  auto* entries = reinterpret_cast<const GroupIconEntry*>(header + 1);
  for (int i = 0; i < header->count; ++i) {
    EXPECT_EQ(entries[i].width, entries[i].height);
    out.insert({entries[i].width == 0 ? 256 : entries[i].width, entries[i].bit_count});
  }
  return out;
}

TEST(Resources, IconsCarryTheirSizesAndColourDepths) {
  using Set = std::set<std::pair<int, int>>;
  EXPECT_EQ(IconImages(IDI_MAIN_CLASSIC), (Set{{48, 8}, {32, 8}, {24, 8}, {16, 8}}));
  EXPECT_EQ(IconImages(IDI_MAIN), (Set{{48, 32}, {32, 32}, {16, 32}}));
  EXPECT_EQ(IconImages(IDI_TRAY_CLASSIC), (Set{{16, 4}}));
  EXPECT_EQ(IconImages(IDI_TRAY_FLASH), (Set{{32, 32}, {16, 32}}));
  for (int id : {IDI_MAIN_CLASSIC, IDI_MAIN, IDI_TRAY_CLASSIC, IDI_TRAY_FLASH}) {
    HICON icon = static_cast<HICON>(LoadImageW(Module(), MAKEINTRESOURCEW(id), IMAGE_ICON, 16, 16, 0));
    EXPECT_NE(icon, nullptr) << id;
    if (icon) DestroyIcon(icon);
  }
}

// Draws an icon on a plain background and counts the pixels it changed.
int ChangedPixels(int id, int size, COLORREF background) {
  HICON icon = static_cast<HICON>(LoadImageW(Module(), MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, 0));
  if (icon == nullptr) return -1;
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, size, size);
  HGDIOBJ old = SelectObject(dc, bitmap);
  HBRUSH brush = CreateSolidBrush(background);
  RECT all{0, 0, size, size};
  FillRect(dc, &all, brush);
  DrawIconEx(dc, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
  int changed = 0;
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x)
      if (GetPixel(dc, x, y) != background) ++changed;
  SelectObject(dc, old);
  DeleteObject(brush);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  DestroyIcon(icon);
  return changed;
}

// The flash frame covers what is under it: a notification area that does
// not erase behind an icon still shows the flash.
TEST(Resources, EveryIconCoversItsBackgroundTheFlashFrameToo) {
  for (COLORREF background : {RGB(255, 255, 255), RGB(0, 0, 0), RGB(10, 120, 200)}) {
    EXPECT_GT(ChangedPixels(IDI_TRAY_FLASH, 16, background), 180);
    EXPECT_GT(ChangedPixels(IDI_MAIN, 16, background), 100);
    EXPECT_GT(ChangedPixels(IDI_TRAY_CLASSIC, 16, background), 100);
    EXPECT_GT(ChangedPixels(IDI_MAIN_CLASSIC, 32, background), 400);
  }
}

// ---------------------------------------------------------------- templates

struct ExpectedTemplate {
  int id;
  std::vector<int> controls;
};

const ExpectedTemplate kTemplates[] = {
    {IDD_MAIN,
     {IDC_EVENT_GRID, IDC_MAIN_VIEW_DATE, IDC_MAIN_VIEW_SELECTOR, IDC_MAIN_ADD, IDC_MAIN_DELETE,
      IDC_MAIN_MODIFY, IDC_MAIN_FIND, IDC_MAIN_IMPORT, IDC_MAIN_ABOUT, IDC_MAIN_SETTINGS, IDC_MAIN_HELP,
      IDC_MAIN_HOME, IDC_MAIN_VERSION, IDC_MAIN_NOTE}},
    {IDD_ABOUT, {IDOK, IDC_ABOUT_VERSION}},
    {IDD_SETTINGS,
     {IDOK, IDCANCEL, IDC_SETTINGS_AUTORUN, IDC_SETTINGS_TRAY, IDC_SETTINGS_TIP_POPUP, IDC_SETTINGS_TIP_FLASH,
      IDC_SETTINGS_PLAY_SOUND, IDC_SETTINGS_BEEP, IDC_SETTINGS_SOUND_FILE_CHOICE, IDC_SETTINGS_SOUND_FILE,
      IDC_SETTINGS_BROWSE, IDC_SETTINGS_MARK}},
    {IDD_ADD_EVENT,
     {IDOK, IDCANCEL, IDC_EDITOR_TITLE, IDC_EDITOR_BODY, IDC_EDITOR_NO_REMIND, IDC_EDITOR_REMIND_AT,
      IDC_EDITOR_REMIND_AFTER, IDC_EDITOR_DATE, IDC_EDITOR_TIME, IDC_EDITOR_MINUTES}},
    {IDD_FIND, {IDOK, IDCANCEL, IDC_FIND_KEYWORD}},
    {IDD_MODIFY_EVENT,
     {IDOK, IDCANCEL, IDC_EDITOR_TITLE, IDC_EDITOR_BODY, IDC_EDITOR_NO_REMIND, IDC_EDITOR_REMIND_AT,
      IDC_EDITOR_REMIND_AFTER, IDC_EDITOR_DATE, IDC_EDITOR_TIME, IDC_EDITOR_MINUTES}},
    {IDD_REMINDER,
     {IDOK, IDCANCEL, IDC_REMINDER_TITLE, IDC_REMINDER_BODY, IDC_REMINDER_DONE, IDC_REMINDER_AT,
      IDC_REMINDER_AFTER, IDC_REMINDER_DATE, IDC_REMINDER_TIME, IDC_REMINDER_MINUTES}},
    {IDD_CONFIRM, {IDOK, IDCANCEL, IDC_CONFIRM_TEXT}},
    {IDD_IMPORT, {IDOK, IDCANCEL, IDC_IMPORT_TEXT}},
    {IDD_SYNC,
     {IDOK, IDCANCEL, IDC_SYNC_ADDRESS, IDC_SYNC_USER, IDC_SYNC_PASSWORD, IDC_SYNC_DISCOVER,
      IDC_SYNC_CALENDAR, IDC_SYNC_STATUS, IDC_SYNC_ENABLED, IDC_SYNC_INTERVAL, IDC_SYNC_NOW,
      IDC_SYNC_RESULT}},
};

INT_PTR CALLBACK QuietDialogProc(HWND, UINT message, WPARAM, LPARAM) {
  return message == WM_INITDIALOG ? TRUE : FALSE;
}

std::wstring ClassOf(HWND hwnd) {
  wchar_t name[64] = {};
  GetClassNameW(hwnd, name, 64);
  return name;
}

std::wstring TextOf(HWND hwnd) {
  wchar_t text[256] = {};
  GetWindowTextW(hwnd, text, 256);
  return text;
}

class Templates : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { res_testing::RegisterStandInControls(); }
};

TEST_F(Templates, EveryDialogOpensWithAllItsControls) {
  for (const ExpectedTemplate& want : kTemplates) {
    SCOPED_TRACE(want.id);
    ASSERT_NE(FindResourceW(Module(), MAKEINTRESOURCEW(want.id), RT_DIALOG), nullptr);
    HWND dialog = res_testing::CreateHidden(want.id, QuietDialogProc);
    ASSERT_NE(dialog, nullptr) << "template does not open";
    for (int control : want.controls) EXPECT_NE(GetDlgItem(dialog, control), nullptr) << control;
    DestroyWindow(dialog);
  }
}

TEST_F(Templates, ControlsHaveTheirClasses) {
  HWND main = res_testing::CreateHidden(IDD_MAIN, QuietDialogProc);
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(ClassOf(GetDlgItem(main, IDC_EVENT_GRID)), L"MFCGridCtrl");
  EXPECT_EQ(ClassOf(GetDlgItem(main, IDC_MAIN_VIEW_DATE)), DATETIMEPICK_CLASSW);
  EXPECT_EQ(ClassOf(GetDlgItem(main, IDC_MAIN_VIEW_SELECTOR)), L"ComboBox");
  EXPECT_EQ(GetWindowLongW(GetDlgItem(main, IDC_MAIN_VIEW_SELECTOR), GWL_STYLE) & 3, CBS_DROPDOWNLIST);
  // The note: a text longer than its box scrolls.
  EXPECT_EQ(ClassOf(GetDlgItem(main, IDC_MAIN_NOTE)), L"Edit");
  const LONG note_style = GetWindowLongW(GetDlgItem(main, IDC_MAIN_NOTE), GWL_STYLE);
  EXPECT_TRUE(note_style & ES_MULTILINE);
  EXPECT_TRUE(note_style & ES_READONLY);
  EXPECT_TRUE(note_style & WS_VSCROLL);
  DestroyWindow(main);

  HWND editor = res_testing::CreateHidden(IDD_ADD_EVENT, QuietDialogProc);
  ASSERT_NE(editor, nullptr);
  LONG time_style = GetWindowLongW(GetDlgItem(editor, IDC_EDITOR_TIME), GWL_STYLE);
  EXPECT_EQ(time_style & DTS_TIMEFORMAT, DTS_TIMEFORMAT);
  EXPECT_EQ(time_style & DTS_UPDOWN, DTS_UPDOWN);
  LONG body_style = GetWindowLongW(GetDlgItem(editor, IDC_EDITOR_BODY), GWL_STYLE);
  EXPECT_TRUE(body_style & ES_MULTILINE);
  EXPECT_TRUE(body_style & ES_WANTRETURN);
  EXPECT_TRUE(body_style & WS_VSCROLL);
  DestroyWindow(editor);
}

TEST_F(Templates, ChineseCaptionsComeThroughIntact) {
  struct Expect {
    int dialog;
    int control;  // 0: the dialog's own caption
    const wchar_t* text;
  };
  const Expect expectations[] = {
      {IDD_MAIN, 0, L"Tallyo-Quillo\u8f6f\u4ef6\u7cfb\u5217"},    // Tallyo-Quillo软件系列
      {IDD_MAIN, IDC_MAIN_ADD, L"\u589e\u52a0"},                  // 增加
      {IDD_MAIN, IDC_MAIN_VERSION, L"\u7248\u672c\u68c0\u6d4b"},  // 版本检测
      {IDD_MAIN, IDC_MAIN_NOTE, L""},
      {IDD_ABOUT, IDOK, L"\u5173 \u95ed"},             // 关 闭
      {IDD_REMINDER, 0, L"\u4e8b\u60c5\u63d0\u9192"},  // 事情提醒
      // 我知道了，不用再提醒我了
      {IDD_REMINDER, IDC_REMINDER_DONE,
       L"\u6211\u77e5\u9053\u4e86\uff0c\u4e0d\u7528\u518d\u63d0\u9192\u6211\u4e86"},
      // 点击关闭按钮时将程序最小化到托盘区
      {IDD_SETTINGS, IDC_SETTINGS_TRAY,
       L"\u70b9\u51fb\u5173\u95ed\u6309\u94ae\u65f6\u5c06\u7a0b\u5e8f\u6700\u5c0f\u5316\u5230\u6258\u76d8"
       L"\u533a"},
      {IDD_ADD_EVENT, IDC_EDITOR_REMIND_AFTER, L"\u6307\u5b9a\u65f6\u957f\u63d0\u9192"},  // 指定时长提醒
      {IDD_SYNC, 0, L"\u65e5\u5386\u540c\u6b65"},                                         // 日历同步
      {IDD_SYNC, IDC_SYNC_NOW, L"\u7acb\u5373\u540c\u6b65"},                              // 立即同步
  };
  for (const Expect& e : expectations) {
    HWND dialog = res_testing::CreateHidden(e.dialog, QuietDialogProc);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(TextOf(e.control ? GetDlgItem(dialog, e.control) : dialog), e.text)
        << e.dialog << "/" << e.control;
    DestroyWindow(dialog);
  }
}

// ---------------------------------------------------------------- menus, strings, version

std::wstring MenuText(HMENU menu, UINT position) {
  wchar_t text[64] = {};
  GetMenuStringW(menu, position, text, 64, MF_BYPOSITION);
  return text;
}

TEST(Resources, RowMenuOffersModifyAndDelete) {
  HMENU menu = LoadMenuW(Module(), MAKEINTRESOURCEW(IDR_ROW_MENU));
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(MenuText(menu, 0), L"RCLICK");
  HMENU popup = GetSubMenu(menu, 0);
  ASSERT_NE(popup, nullptr);
  ASSERT_EQ(GetMenuItemCount(popup), 2);
  EXPECT_EQ(GetMenuItemID(popup, 0), static_cast<UINT>(ID_ROW_MODIFY));
  EXPECT_EQ(MenuText(popup, 0), L"\u4fee\u6539");  // 修改
  EXPECT_EQ(GetMenuItemID(popup, 1), static_cast<UINT>(ID_ROW_DELETE));
  EXPECT_EQ(MenuText(popup, 1), L"\u5220\u9664");  // 删除
  DestroyMenu(menu);
}

TEST(Resources, TrayMenuOffersShowImportSyncAndExit) {
  HMENU menu = LoadMenuW(Module(), MAKEINTRESOURCEW(IDR_TRAY_MENU));
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(MenuText(menu, 0), L"TRAY_POPUP");
  HMENU popup = GetSubMenu(menu, 0);
  ASSERT_NE(popup, nullptr);
  ASSERT_EQ(GetMenuItemCount(popup), 5);
  EXPECT_EQ(GetMenuItemID(popup, 0), static_cast<UINT>(ID_TRAY_SHOW));
  EXPECT_EQ(MenuText(popup, 0), L"\u663e\u793a");  // 显示
  EXPECT_EQ(GetMenuItemID(popup, 1), static_cast<UINT>(ID_TRAY_IMPORT));
  EXPECT_EQ(MenuText(popup, 1), L"\u5bfc\u5165\u65e5\u5386...");  // 导入日历...
  EXPECT_EQ(GetMenuItemID(popup, 2), static_cast<UINT>(ID_TRAY_SYNC));
  EXPECT_EQ(MenuText(popup, 2), L"\u65e5\u5386\u540c\u6b65...");  // 日历同步...
  EXPECT_EQ(GetMenuState(popup, 3, MF_BYPOSITION) & MF_SEPARATOR, static_cast<UINT>(MF_SEPARATOR));
  EXPECT_EQ(GetMenuItemID(popup, 4), static_cast<UINT>(ID_TRAY_EXIT));
  EXPECT_EQ(MenuText(popup, 4), L"\u9000\u51fa");  // 退出
  DestroyMenu(menu);
}

TEST(Resources, SocketFailureMessage) {
  wchar_t text[128] = {};
  ASSERT_GT(LoadStringW(Module(), IDS_SOCKETS_INIT_FAILED, text, 128), 0);
  // Windows 通信端口初始化失败。
  EXPECT_STREQ(text, L"Windows \u901a\u4fe1\u7aef\u53e3\u521d\u59cb\u5316\u5931\u8d25\u3002");
}

TEST(Resources, VersionIsTheBuildsVersion) {
  HRSRC res = FindResourceW(Module(), MAKEINTRESOURCEW(VS_VERSION_INFO), RT_VERSION);
  ASSERT_NE(res, nullptr);
  auto* data = static_cast<const BYTE*>(LockResource(LoadResource(Module(), res)));
  DWORD size = SizeofResource(Module(), res);
  const VS_FIXEDFILEINFO* fixed = nullptr;
  for (DWORD i = 0; i + sizeof(VS_FIXEDFILEINFO) <= size; i += 4) {
    DWORD signature;
    std::memcpy(&signature, data + i, sizeof signature);
    if (signature == 0xFEEF04BD) {
      fixed = reinterpret_cast<const VS_FIXEDFILEINFO*>(data + i);
      break;
    }
  }
  ASSERT_NE(fixed, nullptr);
  EXPECT_EQ(fixed->dwFileVersionMS, static_cast<DWORD>(MAKELONG(TALLYO_VERSION_MINOR, TALLYO_VERSION_MAJOR)));
  EXPECT_EQ(fixed->dwProductVersionMS,
            static_cast<DWORD>(MAKELONG(TALLYO_VERSION_MINOR, TALLYO_VERSION_MAJOR)));
}

TEST(Resources, ManifestAsksForCommonControlsSix) {
  HRSRC res = FindResourceW(Module(), MAKEINTRESOURCEW(1), RT_MANIFEST);
  ASSERT_NE(res, nullptr);
  std::string manifest(static_cast<const char*>(LockResource(LoadResource(Module(), res))),
                       SizeofResource(Module(), res));
  EXPECT_NE(manifest.find("Microsoft.Windows.Common-Controls"), std::string::npos);
  EXPECT_NE(manifest.find("version=\"6.0.0.0\""), std::string::npos);
  EXPECT_NE(manifest.find("<dpiAware"), std::string::npos);
  EXPECT_NE(manifest.find("supportedOS"), std::string::npos);
}

}  // namespace
