#pragma once
// Small helpers for a dialog's initialisation: placing template controls at
// pixel positions, and keeping date pickers to the days a time value holds.
#include <windows.h>

#include <string_view>

// Moves control `id` of `dialog` to (x, y), client pixels; its size stays.
void MoveDlgItem(HWND dialog, int id, int x, int y);
// Moves and sizes control `id` of `dialog`.
void MoveDlgItem(HWND dialog, int id, int x, int y, int width, int height);

// The height of a line of text in `control`'s font (tmHeight); 0 when it
// cannot be measured.
int FontLineHeight(HWND control);

// Grows a one-line edit that is too low for its font about its vertical
// centre, so that its text is not clipped; an edit tall enough stays as it
// is. Returns the edit's height afterwards.
int FitEditHeightToFont(HWND edit);

// After a data exchange that answered a change in an edit the user types
// in: if the exchange rewrote `typed` (the text before it; "05" shown as "5",
// a refused text put back), the caret would be at the start. A refused text
// is selected, to be typed over; otherwise the caret goes to the end, so the
// next key follows what is shown ("0", then 5 and 0 typed, gives 50, not 5).
void PlaceCaretAfterRewrite(HWND edit, std::string_view typed, bool refused);

// Restricts a date picker to 1970-01-02 .. 2038-01-18, the days a signed
// 32-bit time value holds (it ends early on 2038-01-19 UTC), so the user
// cannot pick a day that cannot be stored.
void LimitToTimeValueDays(HWND date_picker);

// An edit takes as much text as the event file can hold: without this, an
// edit stops at 30,000 characters and cuts a longer paste without a word.
void LiftTextLimit(HWND edit);
