#include <windows.h>
// After windows.h, whose definitions it needs.
#include <shellapi.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>

#include "base/text_convert.h"
#include "cli/utf8_arguments.h"

std::vector<std::string> Utf8Arguments(int, char**) {
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> args;
  for (int i = 0; i < count; ++i) {
    std::wstring w(wide[i]);
    std::string utf8;
    int n =
        WideCharToMultiByte(CP_UTF8, 0, w.c_str(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
    utf8.resize(n);
    WideCharToMultiByte(CP_UTF8, 0, w.c_str(), static_cast<int>(w.size()), utf8.data(), n, nullptr, nullptr);
    args.push_back(utf8);
  }
  LocalFree(wide);
  return args;
}

void PrepareUtf8Console() { SetConsoleOutputCP(CP_UTF8); }

void UseBinaryStandardOutput() {
  std::fflush(stdout);
  _setmode(_fileno(stdout), _O_BINARY);
}

std::optional<std::string> PathFromUtf8(const std::string& utf8) {
  std::optional<std::string> path = cp936::FromUtf8(utf8);
  if (!path) return std::nullopt;
  std::u16string wide = cp936::ToUtf16(*path);
  std::wstring relative(wide.begin(), wide.end());
  wchar_t buffer[MAX_PATH * 4];
  DWORD n = GetFullPathNameW(relative.c_str(), static_cast<DWORD>(std::size(buffer)), buffer, nullptr);
  if (n == 0 || n >= std::size(buffer)) return path;
  return cp936::FromUtf16(std::u16string(reinterpret_cast<const char16_t*>(buffer), n));
}
