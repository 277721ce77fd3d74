#include "framework/file_dialog.h"

#include <commdlg.h>

#include <vector>

#include "framework/program_title.h"
#include "framework/text_boundary.h"

namespace {

// "文件路径中含有无法识别的字符，请另选一个文件。" (the path holds characters
// the program cannot keep; please choose another file)
constexpr char kPathNotRepresentable[] =
    "\xCE\xC4\xBC\xFE\xC2\xB7\xBE\xB6\xD6\xD0\xBA\xAC\xD3\xD0\xCE\xDE\xB7\xA8\xCA\xB6\xB1\xF0\xB5\xC4"
    "\xD7\xD6\xB7\xFB\xA3\xAC\xC7\xEB\xC1\xED\xD1\xA1\xD2\xBB\xB8\xF6\xCE\xC4\xBC\xFE\xA1\xA3";

}  // namespace

std::wstring FileDialogFilter(std::string_view filter) {
  std::wstring wide = win::Widen(filter);
  for (wchar_t& c : wide) {
    if (c == L'|') c = L'\0';
  }
  // The list ends with an empty string: two zeros in a row.
  wide.push_back(L'\0');
  return wide;
}

std::optional<std::string> ChooseFileToOpen(HWND owner, std::string_view filter) {
  const std::wstring wide_filter = FileDialogFilter(filter);
  std::vector<wchar_t> path(32768, L'\0');
  for (;;) {
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = wide_filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = path.data();
    ofn.nMaxFile = static_cast<DWORD>(path.size());
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
    if (!GetOpenFileNameW(&ofn)) return std::nullopt;
    std::wstring chosen(path.data());
    std::string narrow = win::Narrow(chosen);
    if (win::Widen(narrow) == chosen) return narrow;
    win::MessageBox(owner, kPathNotRepresentable, kProgramTitle, MB_OK | MB_ICONEXCLAMATION);
  }
}
