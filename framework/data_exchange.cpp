#include "framework/data_exchange.h"

#include <commctrl.h>

#include "base/system_time_win.h"
#include "framework/integer_field.h"
#include "framework/program_title.h"
#include "framework/text_boundary.h"
#include "framework/window.h"

namespace {

// "请键入一个整数。" (please enter an integer)
constexpr char kEnterAnInteger[] = "\xC7\xEB\xBC\xFC\xC8\xEB\xD2\xBB\xB8\xF6\xD5\xFB\xCA\xFD\xA1\xA3";

// Sets a control's text only when it differs: an edit reports every
// SetWindowText as a change, and dialogs that answer a change by pushing
// their members back would otherwise never come to rest.
void SetTextIfDifferent(HWND control, std::string_view text) {
  if (win::GetWindowText(control) != text) win::SetWindowText(control, text);
}

}  // namespace

HWND DataExchange::Item(int id) const { return GetDlgItem(dialog_, id); }

void DataExchange::Text(int id, std::string& value) {
  HWND control = Item(id);
  if (Skip() || control == nullptr) return;
  if (saving_) {
    value = win::GetWindowText(control);
  } else {
    SetTextIfDifferent(control, value);
  }
}

void DataExchange::Int(int id, std::int32_t& value) {
  HWND control = Item(id);
  if (Skip() || control == nullptr) return;
  if (!saving_) {
    SetTextIfDifferent(control, dialog_fields::FormatIntegerField(value));
    return;
  }
  std::optional<std::int32_t> parsed = dialog_fields::ParseIntegerField(win::GetWindowText(control));
  if (parsed) {
    value = *parsed;
    return;
  }
  win::MessageBox(dialog_, kEnterAnInteger, kProgramTitle, MB_OK | MB_ICONEXCLAMATION);
  Fail(id);
}

void DataExchange::Check(int id, int& value) {
  HWND control = Item(id);
  if (Skip() || control == nullptr) return;
  if (saving_) {
    value = static_cast<int>(SendMessageW(control, BM_GETCHECK, 0, 0));
  } else {
    SendMessageW(control, BM_SETCHECK, static_cast<WPARAM>(value), 0);
  }
}

void DataExchange::Radio(int first_id, int& index) {
  HWND first = Item(first_id);
  if (Skip() || first == nullptr) return;
  if (saving_) index = -1;
  int position = 0;
  for (HWND control = first; control != nullptr; control = GetWindow(control, GW_HWNDNEXT)) {
    if (control != first && (GetWindowLongW(control, GWL_STYLE) & WS_GROUP)) break;
    if (!(SendMessageW(control, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON)) continue;
    if (saving_) {
      if (SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED) index = position;
    } else {
      SendMessageW(control, BM_SETCHECK, position == index ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    ++position;
  }
}

void DataExchange::DateTime(int id, Time32& value) {
  HWND control = Item(id);
  if (Skip() || control == nullptr) return;
  SYSTEMTIME shown{};
  const bool has_value = DateTime_GetSystemtime(control, &shown) == GDT_VALID;
  if (saving_) {
    if (!has_value) return;
    Time32 t = 0;
    if (FromLocalTime(FromSystemTime(shown), &t)) value = t;
    return;
  }
  LocalTime local;
  if (!ToLocalTime(value, &local)) return;
  SYSTEMTIME wanted = ToSystemTime(local);
  // Like the text fields: leave an unchanged picker alone.
  if (has_value && shown.wYear == wanted.wYear && shown.wMonth == wanted.wMonth &&
      shown.wDay == wanted.wDay && shown.wHour == wanted.wHour && shown.wMinute == wanted.wMinute &&
      shown.wSecond == wanted.wSecond) {
    return;
  }
  DateTime_SetSystemtime(control, GDT_VALID, &wanted);
}

void DataExchange::Control(int id, Window& control) {
  if (Skip() || control.hwnd() != nullptr) return;
  control.SubclassDlgItem(dialog_, id);
}

void DataExchange::Fail(int id) {
  if (!failed_) {
    failed_ = true;
    failed_id_ = id;
  }
  HWND control = Item(id);
  if (control == nullptr) return;
  SetFocus(control);
  if (SendMessageW(control, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) SendMessageW(control, EM_SETSEL, 0, -1);
}
