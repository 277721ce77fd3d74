#include "framework/text_boundary.h"

#include "base/text_convert.h"

namespace win {

std::wstring Widen(std::string_view cp936_text) {
  std::u16string w = cp936::ToUtf16(cp936_text);
  return std::wstring(w.begin(), w.end());
}

std::string Narrow(std::wstring_view wide) {
  return cp936::FromUtf16(std::u16string_view(reinterpret_cast<const char16_t*>(wide.data()), wide.size()));
}

std::string GetWindowText(HWND hwnd) {
  int length = GetWindowTextLengthW(hwnd);
  if (length <= 0) return {};
  std::wstring buffer(static_cast<std::size_t>(length) + 1, L'\0');
  int n = GetWindowTextW(hwnd, buffer.data(), length + 1);
  buffer.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
  return Narrow(buffer);
}

void SetWindowText(HWND hwnd, std::string_view text) { SetWindowTextW(hwnd, Widen(text).c_str()); }

std::string GetDlgItemText(HWND dialog, int id) { return GetWindowText(GetDlgItem(dialog, id)); }

void SetDlgItemText(HWND dialog, int id, std::string_view text) {
  SetDlgItemTextW(dialog, id, Widen(text).c_str());
}

int MessageBox(HWND owner, std::string_view text, std::string_view caption, UINT type) {
  return MessageBoxW(owner, Widen(text).c_str(), Widen(caption).c_str(), type);
}

std::string LoadString(UINT id) {
  const wchar_t* resource = nullptr;
  // With a zero buffer size LoadStringW answers a read-only pointer into the resource.
  int n = LoadStringW(GetModuleHandleW(nullptr), id, reinterpret_cast<wchar_t*>(&resource), 0);
  return n > 0 ? Narrow(std::wstring_view(resource, static_cast<std::size_t>(n))) : std::string();
}

}  // namespace win
