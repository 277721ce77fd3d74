#pragma once
// Asks the shell to open a target (a web page, a file) with its default
// action. Only for targets the caller has already judged safe to open: the
// shell starts programs as readily as it opens pages.
#include <windows.h>

#include <string_view>

// Returns whether the shell accepted the request.
bool OpenWithShell(HWND parent, std::string_view target, int show_command = SW_SHOWNORMAL);
