#pragma once
// Helpers for the tests of the event dialogs and the reminder popup: running
// a dialog with a script, reading its controls, answering the integer
// message, and saving screenshots.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <ostream>
#include <string>
#include <vector>

#include "base/local_time.h"
#include "framework/dialog.h"

// Rectangles compared and printed by the tests' expectations.
inline bool operator==(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
inline void PrintTo(const RECT& r, std::ostream* out) {
  *out << "(" << r.left << ", " << r.top << ")-(" << r.right << ", " << r.bottom << ")";
}

namespace dialog_testing {

// What DoModal returns when the script left the dialog open.
constexpr INT_PTR kLeftOpen = 99;

// Runs `dialog` modally; `script` runs once it is up, from its own message
// loop, and should end it (ClickButton IDOK or IDCANCEL). A dialog still
// shown after the script ends with kLeftOpen.
INT_PTR RunDialog(Dialog& dialog, const std::function<void(HWND)>& script);

// Sets the text of an edit the way typing does: the edit reports the change.
void Type(HWND dialog, int id, const std::string& cp936_text);

// Sends the characters to the edit one by one, as keys typed at its caret.
void TypeKeys(HWND dialog, int id, const std::string& ascii_keys);

// Types into an edit while the next message box of `dialog` is answered with
// OK; returns that box's text (empty when none came).
std::string TypeExpectingMessage(HWND dialog, int id, const std::string& cp936_text);

// Clicks button `id` while the next message box of `dialog` is answered
// with OK; returns that box's text (empty when none came).
std::string ClickExpectingMessage(HWND dialog, int id);

bool IsChecked(HWND dialog, int id);
// The number of the checked option among `ids` (-1 when none or several).
int CheckedOf(HWND dialog, std::initializer_list<int> ids);

// The control's place in the dialog's client area.
RECT ControlRect(HWND dialog, int id);

// A one-line edit placed over `place` (client pixels): the same left and
// right, the same vertical centre, and tall enough for a whole line of its
// font, at least as tall as `place`.
::testing::AssertionResult OneLineEditAt(HWND dialog, int id, const RECT& place);

// A picker's value as local calendar time.
LocalTime PickerValue(HWND dialog, int id);
// Sets a picker's value and tells the dialog, as a user's change does.
void ChangePicker(HWND dialog, int id, const LocalTime& value);

// The link labels among the dialog's children, by their places.
std::vector<RECT> LinkLabelRects(HWND dialog);

// Captures the dialog as shown and saves it as <name>.bmp in the folder
// TALLYO_SCREENSHOT_DIR names (the test turns it into PNG).
bool SaveScreenshot(HWND dialog, const std::string& name);

}  // namespace dialog_testing
