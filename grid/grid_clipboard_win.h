#pragma once
// Puts text on the clipboard.
#include <windows.h>

#include <string_view>

// Code page 936 text as CF_TEXT, the same text as CF_UNICODETEXT (so that
// other programs paste it correctly whatever the system's code page) and the
// Chinese (PRC) locale as CF_LOCALE. False when the clipboard could not be had.
bool WriteClipboardText(HWND owner, std::string_view cp936_text);
