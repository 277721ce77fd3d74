#include "skin/testing/dialog_test_support.h"

#include <commctrl.h>

#include <cstdlib>
#include <memory>
#include <vector>

#include "base/system_time_win.h"
#include "framework/testing/screen_capture.h"
#include "framework/testing/ui_test_support.h"
#include "framework/text_boundary.h"
#include "skin/link_label.h"

namespace dialog_testing {

INT_PTR RunDialog(Dialog& dialog, const std::function<void(HWND)>& script) {
  RunSoon([&dialog, &script] {
    HWND window = dialog.hwnd();
    script(window);
    // Once what the script posted has been handled: an ended dialog is hidden
    // at once and destroyed when its loop returns.
    RunSoon([window] {
      if (IsWindow(window) && IsWindowVisible(window)) EndDialog(window, kLeftOpen);
    });
  });
  return dialog.DoModal();
}

void Type(HWND dialog, int id, const std::string& cp936_text) { win::SetDlgItemText(dialog, id, cp936_text); }

void TypeKeys(HWND dialog, int id, const std::string& ascii_keys) {
  HWND edit = GetDlgItem(dialog, id);
  for (char key : ascii_keys) SendMessageW(edit, WM_CHAR, static_cast<WPARAM>(key), 1);
}

namespace {

// Runs `act` while the next message box of `dialog` is answered with OK;
// returns that box's text (empty when none came).
std::string ExpectingMessage(HWND dialog, const std::function<void()>& act) {
  struct Watch {
    bool done = false;
    std::string text;
  };
  auto watch = std::make_shared<Watch>();
  RunSoon([dialog, watch] {
    if (watch->done) return;  // no message came
    HWND box = FindOwnedDialog(dialog);
    if (box == nullptr) return;
    watch->text = MessageBoxText(box);
    ClickButton(box, IDOK);
  });
  act();  // returns once a message box is answered
  watch->done = true;
  return watch->text;
}

}  // namespace

std::string TypeExpectingMessage(HWND dialog, int id, const std::string& cp936_text) {
  return ExpectingMessage(dialog, [&] { Type(dialog, id, cp936_text); });
}

std::string ClickExpectingMessage(HWND dialog, int id) {
  return ExpectingMessage(dialog, [&] { ClickButton(dialog, id); });
}

bool IsChecked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

int CheckedOf(HWND dialog, std::initializer_list<int> ids) {
  int found = -1, index = 0, count = 0;
  for (int id : ids) {
    if (IsChecked(dialog, id)) {
      found = index;
      ++count;
    }
    ++index;
  }
  return count == 1 ? found : -1;
}

RECT ControlRect(HWND dialog, int id) {
  RECT r{};
  GetWindowRect(GetDlgItem(dialog, id), &r);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

::testing::AssertionResult OneLineEditAt(HWND dialog, int id, const RECT& place) {
  HWND edit = GetDlgItem(dialog, id);
  const RECT shown = ControlRect(dialog, id);
  RECT client{};
  GetClientRect(edit, &client);
  TEXTMETRICW metrics{};
  HDC dc = GetDC(edit);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(edit, WM_GETFONT, 0, 0)));
  GetTextMetricsW(dc, &metrics);
  SelectObject(dc, old);
  ReleaseDC(edit, dc);
  const int height = shown.bottom - shown.top;
  const int centre_offset = (shown.top + shown.bottom) - (place.top + place.bottom);  // in half pixels
  if (shown.left != place.left || shown.right != place.right || centre_offset < -2 || centre_offset > 2 ||
      height < place.bottom - place.top || client.bottom - client.top < metrics.tmHeight + 2) {
    ::testing::Message at;
    at << "edit " << id << " at (" << shown.left << ", " << shown.top << ")-(" << shown.right << ", "
       << shown.bottom << "), inner height " << client.bottom << ", line height " << metrics.tmHeight;
    return ::testing::AssertionFailure() << at;
  }
  return ::testing::AssertionSuccess();
}

LocalTime PickerValue(HWND dialog, int id) {
  SYSTEMTIME shown{};
  DateTime_GetSystemtime(GetDlgItem(dialog, id), &shown);
  return FromSystemTime(shown);
}

void ChangePicker(HWND dialog, int id, const LocalTime& value) {
  HWND picker = GetDlgItem(dialog, id);
  SYSTEMTIME wanted = ToSystemTime(value);
  DateTime_SetSystemtime(picker, GDT_VALID, &wanted);
  NMDATETIMECHANGE change{};
  change.nmhdr.hwndFrom = picker;
  change.nmhdr.idFrom = static_cast<UINT_PTR>(id);
  change.nmhdr.code = DTN_DATETIMECHANGE;
  change.dwFlags = GDT_VALID;
  change.st = wanted;
  SendMessageW(dialog, WM_NOTIFY, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(&change));
}

namespace {

BOOL CALLBACK CollectLinkLabel(HWND child, LPARAM lparam) {
  if (dynamic_cast<CLinkLabel*>(Window::FromHandle(child)) == nullptr) return TRUE;
  RECT r{};
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
  reinterpret_cast<std::vector<RECT>*>(lparam)->push_back(r);
  return TRUE;
}

}  // namespace

std::vector<RECT> LinkLabelRects(HWND dialog) {
  std::vector<RECT> rects;
  EnumChildWindows(dialog, CollectLinkLabel, reinterpret_cast<LPARAM>(&rects));
  return rects;
}

bool SaveScreenshot(HWND dialog, const std::string& name) {
  const char* dir = std::getenv("TALLYO_SCREENSHOT_DIR");
  std::string path = dir != nullptr ? dir : "screenshots";
  // Wine maps the Unix root to drive Z:.
  std::wstring folder(path.begin(), path.end());
  if (!folder.empty() && folder[0] == L'/') folder = L"Z:" + folder;
  for (wchar_t& c : folder) {
    if (c == L'/') c = L'\\';
  }
  CreateDirectoryW(folder.c_str(), nullptr);
  // In plain view, away from the screen's corner.
  SetWindowPos(dialog, HWND_TOP, 40, 40, 0, 0, SWP_NOSIZE);
  const screen_capture::Screenshot shot = screen_capture::CaptureWindow(dialog);
  return screen_capture::SaveBmp(shot, folder + L"\\" + std::wstring(name.begin(), name.end()) + L".bmp");
}

}  // namespace dialog_testing
