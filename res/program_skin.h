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

// The round box of an option button; a caption it draws itself (when it is
// wider than its box) is the skin's label colour on the dialog's.
void DressRadioButton(CSkinRadioButton& button);

// A plate of the skin's colour with white text.
void DressPlateLabel(CColorLabel& label, int direction_word);

// Where the advertisement link sits, client pixels: above the title in the
// editors (their "重复" row takes the band above the body), above the body
// in the reminder popup.
inline constexpr RECT kEditorAdLinkPlace{68, 42, 338, 59};
inline constexpr RECT kPopupAdLinkPlace{150, 205, 350, 222};

// The advertisement link of the add dialog and the reminder popup: a
// transparent link label at `place`, created only for a non-empty `text`.
void ShowAdLink(CLinkLabel& link, HWND dialog, const RECT& place, const std::string& text,
                const std::string& url);
