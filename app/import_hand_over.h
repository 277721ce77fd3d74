#pragma once
// A second start with a calendar file ("Tallyo.exe D:\work.ics") hands the
// file to a copy already running on the same folder, which imports it into
// the files it shows, instead of a second copy opening beside it. The
// request is a WM_COPYDATA message to the running copy's main window, which
// that copy marks at start.
#include <windows.h>

#include <optional>
#include <string>

// Marks `main_window` as the main window of a copy running on its folder.
void MarkAsMainWindow(HWND main_window);

// Offers `file` to each running copy's main window until one on `folder`
// takes it; true when one did. Waits at most a few seconds for a copy that
// does not answer.
bool HandFileToRunningCopy(const std::string& folder, const std::string& file);

// The receiving side, from WM_COPYDATA: the file of a request for `folder`;
// nullopt for another folder and for any other data.
std::optional<std::string> FileHandedOver(const COPYDATASTRUCT& data, const std::string& folder);
