#pragma once
// The system's file-open dialog, with code page 936 text on both sides.
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

// Asks the user for an existing file to open. `filter` is written as pairs
// of a description and a pattern, each followed by '|':
// "Sound files(*.wav)|*.wav|All files(*.*)|*.*|". Returns the full path, or
// nullopt when the user cancels. A file whose path cannot be written in code
// page 936 is not accepted: the user is told and asked again.
std::optional<std::string> ChooseFileToOpen(HWND owner, std::string_view filter);

// The filter in the form the dialog wants: '|' replaced by '\0' ("a|b|" ->
// "a\0b\0\0"). '|' is a single-byte character and never a trail byte.
std::wstring FileDialogFilter(std::string_view filter);
