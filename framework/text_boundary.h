#pragma once
// The one place where the program's code page 936 text meets the wide Win32
// API. Every call that passes text to or from Windows goes through here.
#include <windows.h>

#include <string>
#include <string_view>

namespace win {

std::wstring Widen(std::string_view cp936_text);
std::string Narrow(std::wstring_view wide);

std::string GetWindowText(HWND hwnd);
void SetWindowText(HWND hwnd, std::string_view text);
std::string GetDlgItemText(HWND dialog, int id);
void SetDlgItemText(HWND dialog, int id, std::string_view text);

// Message box with code page 936 texts; returns the button id.
int MessageBox(HWND owner, std::string_view text, std::string_view caption, UINT type);

// Loads string resource `id` as code page 936 text (empty if missing).
std::string LoadString(UINT id);

}  // namespace win
