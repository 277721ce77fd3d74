// The settings dialog on its real template and skin, driven from its own
// message loop: the boxes it shows for each value, what OK and Cancel do
// with the members and the start-with-Windows entry, the browse button with
// the system's file-open dialog, and a screenshot.
#include "dialogs/settings_dialog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/program_path.h"
#include "dialogs/autorun_entry.h"
#include "dialogs/autorun_registry.h"
#include "framework/dialog_controls.h"
#include "framework/testing/screen_capture.h"
#include "framework/testing/ui_test_support.h"
#include "framework/text_boundary.h"
#include "res/resource.h"
#include "settings/testing/settings_test_util.h"

namespace {

// "记得每天下午三点喝水" and "周五交周报": a note of two lines.
constexpr char kTwoLineNote[] =
    "\xBC\xC7\xB5\xC3\xC3\xBF\xCC\xEC\xCF\xC2\xCE\xE7\xC8\xFD\xB5\xE3\xBA\xC8\xCB\xAE\r\n"
    "\xD6\xDC\xCE\xE5\xBD\xBB\xD6\xDC\xB1\xA8";

constexpr int kBoxes[] = {IDC_SETTINGS_AUTORUN,          IDC_SETTINGS_TRAY,       IDC_SETTINGS_TIP_POPUP,
                          IDC_SETTINGS_TIP_FLASH,        IDC_SETTINGS_PLAY_SOUND, IDC_SETTINGS_BEEP,
                          IDC_SETTINGS_SOUND_FILE_CHOICE};

// --- The registry -----------------------------------------------------------
// Each test gets an empty stand-in for the current user's hive (a key of the
// Wine prefix's registry that HKEY_CURRENT_USER points to in this process),
// so the prefix's own Run key never holds an entry that would start this
// test program at the next Wine start.
constexpr wchar_t kSandboxPath[] = L"Software\\Tallyo tests\\settings_dialog";

struct RunValue {
  DWORD type = 0;
  DWORD bytes = 0;
  std::wstring text;
};

class RegistrySandbox {
 public:
  RegistrySandbox() {
    RegDeleteTreeW(HKEY_CURRENT_USER, kSandboxPath);
    EXPECT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kSandboxPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &hive_,
                              nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(RegOverridePredefKey(HKEY_CURRENT_USER, hive_), ERROR_SUCCESS);
  }
  ~RegistrySandbox() {
    RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    RegCloseKey(hive_);
    RegDeleteTreeW(HKEY_CURRENT_USER, kSandboxPath);
    RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Tallyo tests");  // only when nothing else is in it
  }

  // The entry as stored, or nullopt when there is none.
  std::optional<RunValue> Entry() const {
    HKEY run = nullptr;
    if (RegOpenKeyExW(hive_, win::Widen(kAutoRunKey).c_str(), 0, KEY_QUERY_VALUE, &run) != ERROR_SUCCESS) {
      return std::nullopt;
    }
    RunValue value;
    std::vector<wchar_t> buffer(4096, L'\0');
    value.bytes = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    const LSTATUS status = RegQueryValueExW(run, win::Widen(kAutoRunValueName).c_str(), nullptr, &value.type,
                                            reinterpret_cast<BYTE*>(buffer.data()), &value.bytes);
    RegCloseKey(run);
    if (status != ERROR_SUCCESS) return std::nullopt;
    value.text = buffer.data();
    return value;
  }

  // Stores a value of the user's own, as another program might have.
  void SetEntry(const std::wstring& text) {
    HKEY run = nullptr;
    ASSERT_EQ(RegCreateKeyExW(hive_, win::Widen(kAutoRunKey).c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                              &run, nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(run, win::Widen(kAutoRunValueName).c_str(), 0, REG_SZ,
                   reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(run);
  }

 private:
  HKEY hive_ = nullptr;
};

// --- Driving the dialog -----------------------------------------------------

// Runs the dialog; `script` runs from its message loop once it is up and
// must end it.
INT_PTR RunDialog(SettingsDialog& dialog, std::function<void(HWND)> script) {
  RunSoon([&dialog, script] { script(dialog.hwnd()); });
  return dialog.DoModal();
}

bool IsChecked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

// The ids of the check boxes and option buttons that show a check.
std::vector<int> CheckedBoxes(HWND dialog) {
  std::vector<int> checked;
  for (int id : kBoxes) {
    if (IsChecked(dialog, id)) checked.push_back(id);
  }
  return checked;
}

// A mouse click on the box of a check box or option button (its left edge,
// halfway down), as the user makes it.
void ClickBox(HWND dialog, int id) {
  HWND control = GetDlgItem(dialog, id);
  RECT client{};
  GetClientRect(control, &client);
  const LPARAM at = MAKELPARAM(3, client.bottom / 2);
  SendMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(control, WM_LBUTTONUP, 0, at);
}

// A settings record as a fresh config.ini gives it, with a two-line note.
Settings Defaults() {
  Settings s;
  s.nTipType = 1;
  s.strMark = kTwoLineNote;
  s.bPlaySound = 0;
  s.nSoundType = 0;
  s.strSoundFileName = "";
  s.bAutoRun = 0;
  s.bTray = 1;
  return s;
}

class SettingsDialogTest : public ::testing::Test {
 protected:
  RegistrySandbox registry;
};

// --- Opening ----------------------------------------------------------------

TEST_F(SettingsDialogTest, ShowsEachValueInItsBox) {
  Watchdog watchdog("ShowsEachValue");
  struct Case {
    int bAutoRun, bTray, nTipType, bPlaySound, nSoundType;
    std::vector<int> checked;
  };
  const Case cases[] = {
      {0, 0, 0, 0, 0, {IDC_SETTINGS_TIP_POPUP, IDC_SETTINGS_BEEP}},
      {1,
       1,
       1,
       1,
       1,
       {IDC_SETTINGS_AUTORUN, IDC_SETTINGS_TRAY, IDC_SETTINGS_TIP_FLASH, IDC_SETTINGS_PLAY_SOUND,
        IDC_SETTINGS_SOUND_FILE_CHOICE}},
      // A value other than 0 or 1 shows as the second option of its pair,
      // as the program treats it.
      {0,
       1,
       7,
       1,
       -1,
       {IDC_SETTINGS_TRAY, IDC_SETTINGS_TIP_FLASH, IDC_SETTINGS_PLAY_SOUND, IDC_SETTINGS_SOUND_FILE_CHOICE}},
      // Any non-zero flag counts as set, as everywhere else in the program.
      {7,
       -1,
       0,
       5,
       1,
       {IDC_SETTINGS_AUTORUN, IDC_SETTINGS_TRAY, IDC_SETTINGS_TIP_POPUP, IDC_SETTINGS_PLAY_SOUND,
        IDC_SETTINGS_SOUND_FILE_CHOICE}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.bAutoRun << c.bTray << c.nTipType << c.bPlaySound << c.nSoundType);
    Settings values = Defaults();
    values.bAutoRun = c.bAutoRun;
    values.bTray = c.bTray;
    values.nTipType = c.nTipType;
    values.bPlaySound = c.bPlaySound;
    values.nSoundType = c.nSoundType;
    values.strSoundFileName = "D:\\\xC9\xF9\xD2\xF4\\ding.wav";  // D:\声音\ding.wav
    SettingsDialog dialog(values);
    std::vector<int> checked;
    std::string note, sound_file;
    RunDialog(dialog, [&](HWND d) {
      checked = CheckedBoxes(d);
      note = win::GetDlgItemText(d, IDC_SETTINGS_MARK);
      sound_file = win::GetDlgItemText(d, IDC_SETTINGS_SOUND_FILE);
      ClickButton(d, IDCANCEL);
    });
    EXPECT_EQ(checked, c.checked);
    EXPECT_EQ(note, kTwoLineNote);
    EXPECT_EQ(sound_file, values.strSoundFileName);
  }
}

// Place in the dialog's client coordinates.
RECT PlaceOf(HWND dialog, int id) {
  RECT r{};
  GetWindowRect(GetDlgItem(dialog, id), &r);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

TEST_F(SettingsDialogTest, NothingIsCutOffOrCrowded) {
  Watchdog watchdog("NothingCutOff");
  SettingsDialog dialog(Defaults());
  RunDialog(dialog, [&](HWND d) {
    RECT window{};
    GetWindowRect(d, &window);
    EXPECT_EQ(window.right - window.left, 394);
    EXPECT_EQ(window.bottom - window.top, 349);
    // The sound file's edit: the skin's width, a whole line of its font
    // with some air, left of the browse button and clear of it.
    const RECT edit = PlaceOf(d, IDC_SETTINGS_SOUND_FILE);
    const RECT browse = PlaceOf(d, IDC_SETTINGS_BROWSE);
    EXPECT_EQ(edit.right - edit.left, 182);
    EXPECT_LE(edit.right, browse.left);
    HWND edit_window = GetDlgItem(d, IDC_SETTINGS_SOUND_FILE);
    RECT client{};
    GetClientRect(edit_window, &client);
    EXPECT_GE(client.bottom, FontLineHeight(edit_window) + 2);
    // The note lies inside the window, above OK and Cancel, which sit side by side.
    const RECT note = PlaceOf(d, IDC_SETTINGS_MARK);
    const RECT ok = PlaceOf(d, IDOK);
    const RECT cancel = PlaceOf(d, IDCANCEL);
    EXPECT_LE(note.bottom, ok.top);
    EXPECT_GE(note.left, 0);
    EXPECT_LE(note.right, 394);
    EXPECT_LE(ok.right, cancel.left);
    EXPECT_LE(cancel.bottom, 349);
    ClickButton(d, IDCANCEL);
  });
}

// --- OK ---------------------------------------------------------------------

TEST_F(SettingsDialogTest, OkTakesOverWhatTheUserChanged) {
  Watchdog watchdog("OkTakesOver");
  SettingsDialog dialog(Defaults());  // popup off, flashing on, beep, no sound, no auto-run, tray
  std::vector<int> after_clicks;
  const INT_PTR result = RunDialog(dialog, [&](HWND d) {
    ClickBox(d, IDC_SETTINGS_AUTORUN);
    ClickBox(d, IDC_SETTINGS_TRAY);
    ClickBox(d, IDC_SETTINGS_PLAY_SOUND);
    // An option button checks itself and unchecks its partner.
    ClickBox(d, IDC_SETTINGS_TIP_POPUP);
    ClickBox(d, IDC_SETTINGS_SOUND_FILE_CHOICE);
    after_clicks = CheckedBoxes(d);
    win::SetDlgItemText(d, IDC_SETTINGS_MARK, "first\r\nsecond");
    win::SetDlgItemText(d, IDC_SETTINGS_SOUND_FILE, "C:\\Media\\ding.wav");
    ClickButton(d, IDOK);
  });
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(after_clicks, (std::vector<int>{IDC_SETTINGS_AUTORUN, IDC_SETTINGS_TIP_POPUP,
                                            IDC_SETTINGS_PLAY_SOUND, IDC_SETTINGS_SOUND_FILE_CHOICE}));
  const Settings taken = dialog.settings();
  EXPECT_EQ(taken.bAutoRun, 1);
  EXPECT_EQ(taken.bTray, 0);
  EXPECT_EQ(taken.nTipType, 0);
  EXPECT_EQ(taken.bPlaySound, 1);
  EXPECT_EQ(taken.nSoundType, 1);
  EXPECT_EQ(taken.strMark, "first\r\nsecond");
  EXPECT_EQ(taken.strSoundFileName, "C:\\Media\\ding.wav");
  // The main window writes the start-with-Windows entry, not the dialog.
  EXPECT_FALSE(registry.Entry().has_value());
}

TEST_F(SettingsDialogTest, OkKeepsAValueTheSecondOptionStandsFor) {
  Watchdog watchdog("OkKeepsUnknown");
  Settings values = Defaults();
  values.nTipType = 2;
  values.nSoundType = -1;
  {
    SettingsDialog dialog(values);
    RunDialog(dialog, [](HWND d) { ClickButton(d, IDOK); });
    const Settings taken = dialog.settings();
    ExpectSameSettings(taken, values);
  }
  {
    // Picking the other option replaces the value; the untouched pair keeps its own.
    SettingsDialog dialog(values);
    RunDialog(dialog, [](HWND d) {
      ClickBox(d, IDC_SETTINGS_TIP_POPUP);
      ClickButton(d, IDOK);
    });
    EXPECT_EQ(dialog.settings().nTipType, 0);
    EXPECT_EQ(dialog.settings().nSoundType, -1);
  }
}

TEST_F(SettingsDialogTest, EnterInTheNoteMakesANewLine) {
  Watchdog watchdog("EnterInNote");
  Settings values = Defaults();
  values.strMark = "a";
  SettingsDialog dialog(values);
  const INT_PTR result = RunDialog(dialog, [&](HWND d) {
    HWND note = GetDlgItem(d, IDC_SETTINGS_MARK);
    SetFocus(note);
    SendMessageW(note, EM_SETSEL, 1, 1);
    // Through the dialog's message loop, as typed keys arrive.
    PostMessageW(note, WM_KEYDOWN, VK_RETURN, 0);
    PostMessageW(note, WM_KEYUP, VK_RETURN, 0xC0000001);
    // The line break (the character the key makes) is in by the time the
    // queue is empty; then one more character on the new line.
    RunSoon([d, note] {
      PostMessageW(note, WM_CHAR, 'b', 0);
      RunSoon([d] { ClickButton(d, IDOK); });
    });
  });
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(dialog.settings().strMark, "a\r\nb");
}

// --- Cancel -----------------------------------------------------------------

TEST_F(SettingsDialogTest, CancelAfterChangingEverythingChangesNothing) {
  Watchdog watchdog("CancelChangesNothing");
  const std::wstring wav = TempDirectory() + L"cancelled.wav";
  HANDLE file = CreateFileW(wav.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  CloseHandle(file);
  // Cancel, Escape and the close box all leave the members and the entry alone.
  const std::function<void(HWND)> ways_to_cancel[] = {
      [](HWND d) { ClickButton(d, IDCANCEL); },
      [](HWND d) { PostMessageW(GetDlgItem(d, IDC_SETTINGS_TRAY), WM_KEYDOWN, VK_ESCAPE, 0); },
      [](HWND d) { SendMessageW(d, WM_SYSCOMMAND, SC_CLOSE, 0); },
  };
  for (int way = 0; way < 3; ++way) {
    SCOPED_TRACE(way);
    registry.SetEntry(L"someone else's command");
    Settings values = Defaults();
    values.bAutoRun = way % 2;
    SettingsDialog dialog(values);
    const INT_PTR result = RunDialog(dialog, [&](HWND d) {
      for (int id : kBoxes) ClickBox(d, id);
      win::SetDlgItemText(d, IDC_SETTINGS_MARK, "changed");
      AnswerFileDialog(d, wav);
      ClickButton(d, IDC_SETTINGS_BROWSE);
      EXPECT_EQ(win::Widen(win::GetDlgItemText(d, IDC_SETTINGS_SOUND_FILE)), wav);
      ways_to_cancel[way](d);
    });
    EXPECT_EQ(result, IDCANCEL);
    const Settings after = dialog.settings();
    ExpectSameSettings(after, values);
    ASSERT_TRUE(registry.Entry().has_value());
    EXPECT_EQ(registry.Entry()->text, L"someone else's command");
  }
  DeleteFileW(wav.c_str());
}

// --- Browse -----------------------------------------------------------------

TEST_F(SettingsDialogTest, BrowseShowsTheChosenFileAndSelectsIt) {
  Watchdog watchdog("Browse");
  const std::wstring wav = TempDirectory() + L"\u63D0\u9192\u58F0.wav";  // 提醒声.wav
  HANDLE file = CreateFileW(wav.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  CloseHandle(file);
  Settings values = Defaults();
  values.strSoundFileName = "C:\\old.wav";
  SettingsDialog dialog(values);
  std::vector<int> after_cancelled, after_chosen;
  std::string shown_after_cancel, shown;
  const INT_PTR result = RunDialog(dialog, [&](HWND d) {
    // Typed but not confirmed: browsing keeps it.
    win::SetDlgItemText(d, IDC_SETTINGS_MARK, "typed before browsing");
    // A cancelled choice changes nothing.
    AnswerFileDialog(d, L"");
    ClickButton(d, IDC_SETTINGS_BROWSE);
    after_cancelled = CheckedBoxes(d);
    shown_after_cancel = win::GetDlgItemText(d, IDC_SETTINGS_SOUND_FILE);
    AnswerFileDialog(d, wav);
    ClickButton(d, IDC_SETTINGS_BROWSE);
    after_chosen = CheckedBoxes(d);
    shown = win::GetDlgItemText(d, IDC_SETTINGS_SOUND_FILE);
    ClickButton(d, IDOK);
  });
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(after_cancelled,
            (std::vector<int>{IDC_SETTINGS_TRAY, IDC_SETTINGS_TIP_FLASH, IDC_SETTINGS_BEEP}));
  EXPECT_EQ(shown_after_cancel, "C:\\old.wav");
  EXPECT_EQ(after_chosen,
            (std::vector<int>{IDC_SETTINGS_TRAY, IDC_SETTINGS_TIP_FLASH, IDC_SETTINGS_SOUND_FILE_CHOICE}));
  EXPECT_EQ(shown, win::Narrow(wav));
  EXPECT_EQ(dialog.settings().strSoundFileName, win::Narrow(wav));
  EXPECT_EQ(dialog.settings().nSoundType, 1);
  EXPECT_EQ(dialog.settings().strMark, "typed before browsing");
  DeleteFileW(wav.c_str());
}

// --- The start-with-Windows entry --------------------------------------------

// What the main window does when the dialog is confirmed with "开机自动运行" as given.
void ConfirmWithAutoRun(int auto_run) { UpdateAutoRunEntry(auto_run != 0, ProgramFilePath()); }

TEST_F(SettingsDialogTest, TheEntryIsWrittenWhenAutoRunIsOnAndRemovedOtherwise) {
  Watchdog watchdog("AutoRunEntry");
  // Off with no entry (and no Run key at all): still nothing, no trouble.
  ConfirmWithAutoRun(0);
  EXPECT_FALSE(registry.Entry().has_value());

  // On: the Run key is made and holds the program's path and " hide".
  ConfirmWithAutoRun(1);
  std::optional<RunValue> entry = registry.Entry();
  ASSERT_TRUE(entry.has_value());
  EXPECT_EQ(entry->type, static_cast<DWORD>(REG_SZ));
  const std::string program = ProgramFilePath();
  ASSERT_FALSE(program.empty());
  const std::string expected =
      program.find(' ') == std::string::npos ? program + " hide" : "\"" + program + "\" hide";
  EXPECT_EQ(entry->text, win::Widen(expected));
  EXPECT_EQ(entry->bytes, (entry->text.size() + 1) * sizeof(wchar_t));  // the terminating zero counts

  // On again: the same entry, written over.
  ConfirmWithAutoRun(1);
  EXPECT_EQ(registry.Entry()->text, entry->text);

  // Off: removed, and removing again is no error.
  ConfirmWithAutoRun(0);
  EXPECT_FALSE(registry.Entry().has_value());
  ConfirmWithAutoRun(0);
  EXPECT_FALSE(registry.Entry().has_value());
}

TEST_F(SettingsDialogTest, EntryForAPathWithABlankIsQuoted) {
  UpdateAutoRunEntry(true, "C:\\Program Files\\Tallyo\\Tallyo.exe");
  ASSERT_TRUE(registry.Entry().has_value());
  EXPECT_EQ(registry.Entry()->text, L"\"C:\\Program Files\\Tallyo\\Tallyo.exe\" hide");
  // "D:\工具\Tallyo.exe": stored as before, through the wide API.
  UpdateAutoRunEntry(true, "D:\\\xB9\xA4\xBE\xDF\\Tallyo.exe");
  EXPECT_EQ(registry.Entry()->text, L"D:\\\u5DE5\u5177\\Tallyo.exe hide");
  // Without a path to start, an entry is not written over with a useless one.
  UpdateAutoRunEntry(true, "");
  EXPECT_EQ(registry.Entry()->text, L"D:\\\u5DE5\u5177\\Tallyo.exe hide");
  UpdateAutoRunEntry(false, "");
  EXPECT_FALSE(registry.Entry().has_value());
}

// --- Screenshot -------------------------------------------------------------

// The screenshot folder as a Windows path (Wine maps the Unix root to Z:).
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

TEST_F(SettingsDialogTest, Screenshot) {
  Watchdog watchdog("Screenshot");
  Settings values = Defaults();
  values.bAutoRun = 1;
  values.bPlaySound = 1;
  values.nSoundType = 1;
  values.strSoundFileName = "C:\\Windows\\Media\\ding.wav";
  SettingsDialog dialog(values);
  screen_capture::Screenshot shot;
  RECT edit{}, note{};
  RunDialog(dialog, [&](HWND d) {
    SetWindowPos(d, HWND_TOP, 40, 40, 0, 0, SWP_NOSIZE);
    shot = screen_capture::CaptureWindow(d);
    edit = PlaceOf(d, IDC_SETTINGS_SOUND_FILE);
    note = PlaceOf(d, IDC_SETTINGS_MARK);
    ClickButton(d, IDCANCEL);
  });
  ASSERT_EQ(shot.width, 394);
  ASSERT_EQ(shot.height, 349);
  EXPECT_TRUE(screen_capture::SaveBmp(shot, ScreenshotFolder() + L"\\settings.bmp"));
  // The skin is painted, and both edits show dark text on a light field:
  // most of the field (left of the note's scroll bar) is light, and the
  // first line holds dark pixels.
  EXPECT_EQ(shot.at(394 / 2, 4), RGB(25, 54, 54));
  auto brightness = [](COLORREF c) { return GetRValue(c) + GetGValue(c) + GetBValue(c); };
  for (const RECT& r : {edit, note}) {
    int light = 0, all = 0, darkest = 765;
    for (int y = r.top + 1; y < r.bottom - 1; ++y) {
      for (int x = r.left + 1; x < r.left + 120; ++x) {
        const int b = brightness(shot.at(x, y));
        light += b > 600 ? 1 : 0;
        ++all;
        if (y < r.top + 14) darkest = std::min(darkest, b);
      }
    }
    EXPECT_GT(light * 10, all * 6);
    EXPECT_LT(darkest, 200);
  }
}

}  // namespace
