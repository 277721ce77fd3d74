#include <windows.h>

#include "base/text_convert.h"
#include "settings/program_path.h"

std::string ProgramFilePath() {
  wchar_t buffer[32768];
  DWORD n = GetModuleFileNameW(nullptr, buffer, static_cast<DWORD>(std::size(buffer)));
  if (n == 0 || n >= std::size(buffer)) return {};
  return cp936::FromUtf16(std::u16string(reinterpret_cast<char16_t*>(buffer), n));
}
