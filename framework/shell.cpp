#include "framework/shell.h"

#include <shellapi.h>

#include "framework/text_boundary.h"

bool OpenWithShell(HWND parent, std::string_view target, int show_command) {
  HINSTANCE answer =
      ShellExecuteW(parent, nullptr, win::Widen(target).c_str(), nullptr, nullptr, show_command);
  // Values above 32 mean success.
  return reinterpret_cast<INT_PTR>(answer) > 32;
}
