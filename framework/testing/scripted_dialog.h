#pragma once
// A dialog for framework tests: an in-memory template with one control of
// each kind the data exchange knows, members bound to them, and a script
// that runs from the dialog's own message loop once it is up.
#include <commctrl.h>

#include <functional>
#include <string>

#include "framework/dialog.h"
#include "framework/dialog_template.h"

namespace test_ids {
constexpr int kText = 1001;
constexpr int kNumber = 1002;
constexpr int kCheck = 1003;
constexpr int kRadioFirst = 1004;  // 1004, 1005, 1006
constexpr int kDate = 1007;
constexpr int kAfterRadios = 1008;  // a check box that starts the next group
constexpr int kExtraButton = 1010;
constexpr int kLabel = 1011;
}  // namespace test_ids

inline DialogTemplate MakeTestTemplate() {
  using namespace test_ids;
  DialogTemplate t(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, 10, 10, 220, 140, "Test");
  const DWORD child = WS_CHILD | WS_VISIBLE;
  t.AddControl(L"Edit", kText, "", child | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 5, 5, 100, 12);
  t.AddControl(L"Edit", kNumber, "", child | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 5, 20, 60, 12);
  t.AddControl(L"Button", kCheck, "check", child | WS_TABSTOP | BS_AUTOCHECKBOX, 5, 35, 60, 10);
  t.AddControl(L"Button", kRadioFirst, "r0", child | WS_GROUP | WS_TABSTOP | BS_AUTORADIOBUTTON, 5, 50, 30,
               10);
  t.AddControl(L"Button", kRadioFirst + 1, "r1", child | BS_AUTORADIOBUTTON, 40, 50, 30, 10);
  t.AddControl(L"Button", kRadioFirst + 2, "r2", child | BS_AUTORADIOBUTTON, 75, 50, 30, 10);
  t.AddControl(L"Button", kAfterRadios, "next", child | WS_GROUP | WS_TABSTOP | BS_AUTOCHECKBOX, 110, 50, 40,
               10);
  t.AddControl(DATETIMEPICK_CLASSW, kDate, "", child | WS_TABSTOP | DTS_SHORTDATEFORMAT, 5, 65, 90, 12);
  t.AddControl(L"Static", kLabel, "label", child, 110, 65, 60, 10);
  t.AddControl(L"Button", kExtraButton, "extra", child | WS_TABSTOP, 5, 85, 50, 14);
  t.AddControl(L"Button", IDOK, "OK", child | WS_TABSTOP | BS_DEFPUSHBUTTON, 110, 120, 50, 14);
  t.AddControl(L"Button", IDCANCEL, "Cancel", child | WS_TABSTOP, 165, 120, 50, 14);
  return t;
}

class ScriptedDialog : public Dialog {
 public:
  explicit ScriptedDialog(const DLGTEMPLATE* t, HWND parent = nullptr) : Dialog(t, parent) {}

  std::string text;
  std::int32_t number = 0;
  int check = 0;
  int radio = 0;
  Time32 date = 0;
  std::string label = "label";

  // Runs once the dialog's message loop is running.
  std::function<void(ScriptedDialog&)> script;
  int init_calls = 0;

  using Dialog::RouteMessage;

 protected:
  bool OnInitDialog() override {
    ++init_calls;
    Dialog::OnInitDialog();
    if (script) PostMessageW(hwnd(), kRunScript, 0, 0);
    return true;
  }

  void DoDataExchange(DataExchange& dx) override {
    using namespace test_ids;
    dx.Text(kText, text);
    dx.Int(kNumber, number);
    dx.Check(kCheck, check);
    dx.Radio(kRadioFirst, radio);
    dx.DateTime(kDate, date);
    dx.Text(kLabel, label);
  }

  bool RouteMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result) override {
    if (message == kRunScript) {
      script(*this);
      *result = 0;
      return true;
    }
    return Dialog::RouteMessage(message, wparam, lparam, result);
  }

 private:
  static constexpr UINT kRunScript = WM_APP + 100;
};
