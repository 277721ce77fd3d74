#include <windows.h>

#include <iostream>

#include "cli/console_password.h"

std::optional<std::string> ReadPasswordWithoutEcho(const char* prompt) {
  HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  DWORD mode = 0;
  if (input == INVALID_HANDLE_VALUE || !GetConsoleMode(input, &mode)) return std::nullopt;
  std::cerr << prompt << std::flush;
  SetConsoleMode(input, (mode & ~static_cast<DWORD>(ENABLE_ECHO_INPUT)) | ENABLE_LINE_INPUT);
  std::wstring line;
  wchar_t buffer[256];
  DWORD count = 0;
  bool read = false;
  while (ReadConsoleW(input, buffer, 256, &count, nullptr) && count > 0) {
    read = true;
    line.append(buffer, count);
    if (line.find(L'\n') != std::wstring::npos) break;
  }
  SetConsoleMode(input, mode);
  std::cerr << "\n";
  while (!line.empty() && (line.back() == L'\n' || line.back() == L'\r')) line.pop_back();
  if (!read) return std::nullopt;
  // UTF-8, as the server expects (the console's text is UTF-16).
  int size = WideCharToMultiByte(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), nullptr, 0, nullptr,
                                 nullptr);
  std::string utf8(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), utf8.data(), size, nullptr,
                      nullptr);
  SecureZeroMemory(line.data(), line.size() * sizeof(wchar_t));
  return utf8;
}
