#pragma once
// How the program's dialogs dress their skinned parts the same way: the
// frame of a dialog, its OK / Cancel / Close buttons, and label plates.
#include <windows.h>

#include "skin/color_label.h"
#include "skin/skin_button.h"
#include "skin/skin_dialog.h"

// The background bitmap, the close button `close_right_inset` pixels inside
// the right edge and 1 below the top, a 30-pixel caption strip that moves
// the window, and full-window dragging.
void DressDialogFrame(CSkinDialog& dialog, UINT background_id, int close_right_inset = 6);

// The push-button bitmaps with the button's caption drawn on them.
void DressPushButton(CSkinButton& button);

// A plate of the skin's colour with white text.
void DressPlateLabel(CColorLabel& label, int direction_word);
