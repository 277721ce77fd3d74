#pragma once
// How the program's dialogs dress their skinned parts the same way, with the
// program's own bitmaps: the frame of a dialog, its OK / Cancel / Close
// buttons, option buttons and label plates. The skin toolkit itself knows no
// bitmap of the program; this is where the two meet.
#include <windows.h>

#include <string>

#include "skin/color_label.h"
#include "skin/link_label.h"
#include "skin/skin_button.h"
#include "skin/skin_check_box.h"
#include "skin/skin_dialog.h"

// The background bitmap, the close button `close_right_inset` pixels inside
// the right edge and 1 below the top, a 30-pixel caption strip that moves
// the window, and full-window dragging.
void DressDialogFrame(CSkinDialog& dialog, UINT background_id, int close_right_inset = 6);

// The push-button bitmaps with the button's caption drawn on them.
void DressPushButton(CSkinButton& button);

// The round box of an option button.
void DressRadioButton(CSkinRadioButton& button);

// A plate of the skin's colour with white text.
void DressPlateLabel(CColorLabel& label, int direction_word);

// The advertisement link of the add dialog and the reminder popup, in the
// same place on both: a transparent link label, created only for a
// non-empty `text`.
void ShowAdLink(CLinkLabel& link, HWND dialog, const std::string& text, const std::string& url);
