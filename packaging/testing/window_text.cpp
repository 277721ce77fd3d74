// window_text CAPTION: prints, in UTF-8 and one per line, the texts of the
// controls of the visible top-level window with that caption, as a user
// reads them: the end-to-end tests read a message box of another program
// this way (Wine's message box does not copy its text with Ctrl+C).
// Exits with 1 when no such window is shown.
#include <windows.h>
// After windows.h, whose definitions it needs.
#include <shellapi.h>

#include <string>

namespace {

struct Search {
  std::wstring caption;
  HWND found = nullptr;
};

std::wstring TextOf(HWND window) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

BOOL CALLBACK MatchCaption(HWND window, LPARAM search_address) {
  auto* search = reinterpret_cast<Search*>(search_address);
  if (!IsWindowVisible(window) || TextOf(window) != search->caption) return TRUE;
  search->found = window;
  return FALSE;
}

// A control's text as it shows it now: asked with WM_GETTEXT, which the
// system carries across processes (GetWindowText of another program's edit
// control gives the text it was created with).
std::wstring ShownTextOf(HWND control) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(control, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) return {};
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutW(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                           SMTO_ABORTIFHUNG, 5000, &copied)) {
    return {};
  }
  text.resize(static_cast<size_t>(copied));
  return text;
}

BOOL CALLBACK AppendText(HWND child, LPARAM out_address) {
  std::wstring text = ShownTextOf(child);
  if (!text.empty()) *reinterpret_cast<std::wstring*>(out_address) += text + L"\n";
  return TRUE;
}

void WriteUtf8(const std::wstring& text) {
  int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                              nullptr);
  std::string utf8(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), utf8.data(), n, nullptr,
                      nullptr);
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
}

}  // namespace

int main() {
  int count = 0;
  wchar_t** args = CommandLineToArgvW(GetCommandLineW(), &count);
  if (args == nullptr || count != 2) return 2;
  Search search{args[1]};
  LocalFree(args);
  EnumWindows(MatchCaption, reinterpret_cast<LPARAM>(&search));
  if (search.found == nullptr) return 1;
  std::wstring texts;
  EnumChildWindows(search.found, AppendText, reinterpret_cast<LPARAM>(&texts));
  WriteUtf8(texts);
  return 0;
}
