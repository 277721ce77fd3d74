#include <windows.h>

#include "base/program_path.h"
#include "base/text_convert.h"

namespace {

// Longest path Windows hands out (in UTF-16 units, with the terminator).
constexpr DWORD kMaxPath = 32768;

std::u16string AsUtf16(const std::wstring& text) { return std::u16string(text.begin(), text.end()); }

}  // namespace

std::string ProgramFilePath() {
  std::wstring buffer(kMaxPath, L'\0');
  DWORD n = GetModuleFileNameW(nullptr, buffer.data(), kMaxPath);
  if (n == 0 || n >= kMaxPath) return {};
  buffer.resize(n);
  std::string path = cp936::FromUtf16(AsUtf16(buffer));
  if (cp936::ToUtf16(path) == AsUtf16(buffer)) return path;
  // The folder's name holds characters code page 936 lacks: the long name
  // would turn into "?" and name no file. The short (8.3) name still does.
  std::wstring short_name(kMaxPath, L'\0');
  DWORD m = GetShortPathNameW(buffer.c_str(), short_name.data(), kMaxPath);
  if (m == 0 || m >= kMaxPath) return path;
  short_name.resize(m);
  return cp936::FromUtf16(AsUtf16(short_name));
}

std::uint32_t CurrentProcessId() { return static_cast<std::uint32_t>(GetCurrentProcessId()); }
