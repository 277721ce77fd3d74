#pragma once
// CSkinCheckBox and CSkinRadioButton: a box bitmap (unchecked or checked)
// followed by the caption, over a plain background colour. The check box
// toggles itself when the box (not the caption) is clicked; an option button
// is set only by its dialog, which keeps one option of a group checked
// (CSkinRadioButton::SelectInGroup). Both keep the button's command
// notifications, so the dialog hears every click.
#include <windows.h>

#include <initializer_list>

#include "framework/gdi.h"
#include "framework/window.h"
#include "skin/check_box_logic.h"

// The look and state the two classes share.
class CSkinBoxButton : public Window {
 public:
  ~CSkinBoxButton() override;

  // Loads the box images from the resources; a missing unchecked image
  // leaves the control blank.
  void SetBoxBitmaps(UINT unchecked, UINT checked);
  // The same with bitmaps made by the caller; the control owns them.
  void SetBoxBitmaps(Bitmap unchecked, Bitmap checked);

  void SetBkColor(COLORREF color);
  // Pixels between the box and the caption (skin::kBoxTextGap unless set),
  // to line a caption up with labels painted on the skin.
  void SetCaptionGap(int pixels) { caption_gap_ = pixels; }
  // Also the colour of the dotted focus cue, drawn around the caption (or
  // the bare box) while it has a focus the keyboard gave it.
  void SetTextColor(COLORREF color);

  // Stores the state (0 or 1) and redraws.
  void SetCheck(int checked);
  int GetCheck() const { return checked_ ? 1 : 0; }

 protected:
  LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override;
  bool OnReflectedMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result) override;

  // Size of the box as drawn and hit: the checked image, else the unchecked one.
  SIZE BoxSize() const;

 private:
  // Makes the bound control owner-drawn.
  void OnSubclassed() override;
  void Draw(const DRAWITEMSTRUCT& item);

  Bitmap unchecked_;
  Bitmap checked_bitmap_;
  COLORREF background_ = RGB(255, 255, 255);
  COLORREF text_color_ = RGB(0, 0, 0);
  bool checked_ = false;
  bool focus_by_keyboard_ = false;  // the focus came by Tab or an arrow key
  int caption_gap_ = skin::kBoxTextGap;
};

class CSkinCheckBox : public CSkinBoxButton {
 protected:
  LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override;
};

class CSkinRadioButton : public CSkinBoxButton {
 public:
  // Checks `chosen` and unchecks the other options of `group`.
  static void SelectInGroup(std::initializer_list<CSkinRadioButton*> group, const CSkinRadioButton* chosen);

 protected:
  // Still an option button to the dialog manager and to data exchange,
  // although owner-drawn buttons report themselves as push buttons.
  LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override;
};
