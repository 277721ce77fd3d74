#pragma once
// The window class of the skinned controls the program creates itself (link
// label, ticker): double clicks, an arrow cursor, no background brush (each
// control paints its whole client area).
#include <windows.h>

// Registers the class on first use and returns its name.
const wchar_t* SkinControlClass();

// The control id of a child window that nobody addresses by id.
inline constexpr UINT kNoControlId = static_cast<UINT>(-1);

// Whether the top-level window `control` lies in is on screen: shown and not
// minimised. Controls that repaint on a timer run it only then.
bool TopLevelOnScreen(HWND control);
