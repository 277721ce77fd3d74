#pragma once
// Set-up steps the main window's small dialogs share: the frame of a
// 276 x 169 dialog, its push buttons and its label plates.
#include <windows.h>

#include "skin/color_label.h"
#include "skin/skin_button.h"
#include "skin/skin_dialog.h"

// Background `background_id`, the close button 6 pixels inside the right
// edge and 1 below the top, a 30-pixel caption strip, full-window dragging.
void SetSmallDialogFrame(CSkinDialog& dialog, UINT background_id);

// Binds button `id` of `dialog` with the push-button bitmaps and its
// caption drawn on them; moves it to (x, y) unless x is negative.
void SetPushButton(CSkinButton& button, HWND dialog, int id, int x = -1, int y = -1);

// Binds label `id` as a plate of the skin's colour with white text.
void SetPlateLabel(CColorLabel& label, HWND dialog, int id);

// Moves control `id` of `dialog` to (x, y), keeping its size; with width
// and height given, resizes it too.
void PlaceControl(HWND dialog, int id, int x, int y, int width = -1, int height = -1);
