#pragma once
// Small helpers for a dialog's initialisation: placing template controls at
// pixel positions, and keeping date pickers to the days a time value holds.
#include <windows.h>

// Moves control `id` of `dialog` to (x, y), client pixels; its size stays.
void MoveDlgItem(HWND dialog, int id, int x, int y);
// Moves and sizes control `id` of `dialog`.
void MoveDlgItem(HWND dialog, int id, int x, int y, int width, int height);

// Grows a one-line edit that is too low for its font about its vertical
// centre, so that its text is not clipped; an edit tall enough stays as it
// is. Returns the edit's height afterwards.
int FitEditHeightToFont(HWND edit);

// Restricts a date picker to 1970-01-02 .. 2038-01-18, the days a signed
// 32-bit time value holds (it ends early on 2038-01-19 UTC), so the user
// cannot pick a day that cannot be stored.
void LimitToTimeValueDays(HWND date_picker);
