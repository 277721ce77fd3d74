#include "framework/data_exchange.h"

#include <commctrl.h>

#include "base/system_time_win.h"
#include "base/text_convert.h"
#include "framework/integer_field.h"
#include "framework/program_title.h"
#include "framework/text_boundary.h"
#include "framework/window.h"

namespace {

// "请键入一个整数。" (please enter an integer)
constexpr char kEnterAnInteger[] = "\xC7\xEB\xBC\xFC\xC8\xEB\xD2\xBB\xB8\xF6\xD5\xFB\xCA\xFD\xA1\xA3";
// "以下字符无法保存，请删除或替换：" (these characters cannot be stored,
// please delete or replace them:), followed by the characters.
constexpr char kUnstorableCharacters[] =
    "\xd2\xd4\xcf\xc2\xd7\xd6\xb7\xfb\xce\xde\xb7\xa8\xb1\xa3\xb4\xe6\xa3\xac\xc7\xeb\xc9\xbe\xb3\xfd\xbb\xf2"
    "\xcc\xe6\xbb\xbb\xa3\xba";
// "请选择 1970-01-02 至 2038-01-18 之间的日期。" (please choose a day
// between ...): the days a time value holds.
constexpr char kDayOutOfRange[] =
    "\xc7\xeb\xd1\xa1\xd4\xf1 1970-01-02 \xd6\xc1 2038-01-18 "
    "\xd6\xae\xbc\xe4\xb5\xc4\xc8\xd5\xc6\xda\xa1\xa3";

// The text of a control as the user sees it, in UTF-16.
std::wstring WideWindowText(HWND control) {
  const int length = GetWindowTextLengthW(control);
  if (length <= 0) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int n = GetWindowTextW(control, text.data(), length + 1);
  text.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
  return text;
}

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
  if (!saving_) {
    SetTextIfDifferent(control, value);
    return;
  }
  const std::wstring typed = WideWindowText(control);
  const std::u16string unstorable = cp936::UnstorableCharacters(
      std::u16string_view(reinterpret_cast<const char16_t*>(typed.data()), typed.size()));
  if (unstorable.empty()) {
    value = win::Narrow(typed);
    return;
  }
  // Never "?" without a word: the user is shown what cannot be kept, and
  // the text stays as typed.
  std::wstring message = win::Widen(kUnstorableCharacters) + L"\r\n";
  for (std::size_t i = 0; i < unstorable.size(); ++i) {
    const bool pair = unstorable[i] >= 0xD800 && unstorable[i] <= 0xDBFF && i + 1 < unstorable.size();
    message += L' ';
    message += static_cast<wchar_t>(unstorable[i]);
    if (pair) message += static_cast<wchar_t>(unstorable[++i]);
  }
  MessageBoxW(dialog_, message.c_str(), win::Widen(kProgramTitle).c_str(), MB_OK | MB_ICONEXCLAMATION);
  Fail(id);
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

void DataExchange::ListIndex(int id, int& index) {
  HWND control = Item(id);
  if (Skip() || control == nullptr) return;
  if (saving_) {
    index = static_cast<int>(SendMessageW(control, CB_GETCURSEL, 0, 0));
  } else {
    SendMessageW(control, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
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
    if (FromLocalTime(FromSystemTime(shown), &t)) {
      value = t;
      return;
    }
    // A year typed beyond the picker's range: said, not turned into some
    // other day.
    win::MessageBox(dialog_, kDayOutOfRange, kProgramTitle, MB_OK | MB_ICONEXCLAMATION);
    Fail(id);
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
