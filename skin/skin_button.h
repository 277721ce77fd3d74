#pragma once
// CSkinButton: a push button drawn from four state bitmaps (normal, hover,
// pressed, disabled), optionally with its caption on top and a tooltip. It
// subclasses a button of a dialog template and keeps its command
// notifications: a click still reaches the dialog as BN_CLICKED.
#include <windows.h>

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "framework/gdi.h"
#include "framework/window.h"
#include "skin/button_logic.h"
#include "skin/owner_draw_button.h"

class CSkinButton : public Window {
 public:
  CSkinButton();
  ~CSkinButton() override;

  // Loads the four state bitmaps from the resources (replacing the old ones),
  // clears hover and sizes the button to the normal bitmap (position kept).
  // A bitmap that fails to load leaves its state blank.
  void SetBitmaps(UINT normal, UINT hover, UINT pressed, UINT disabled);
  // The same with bitmaps made by the caller; the button owns them.
  void SetBitmaps(Bitmap normal, Bitmap hover, Bitmap pressed, Bitmap disabled);

  // Draws the caption over the bitmap (0 or 1).
  void SetShowText(int show);
  // The colour of the dotted focus cue drawn while the button has a focus
  // the keyboard gave it; the caption's colour by default.
  void SetFocusCueColor(COLORREF color) { focus_cue_color_ = color; }

  // Shows `text` (code page 936) as the button's tooltip; a second call
  // replaces the first tooltip.
  void SetToolTipText(std::string_view text);

  bool hover() const { return hover_; }
  HWND tooltip() const { return tooltip_.get(); }
  const std::string& caption() const { return caption_; }
  // A new caption, code page 936: the window's text and the one drawn.
  void SetCaption(std::string_view caption);

 protected:
  LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override;
  bool OnReflectedMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result) override;

 private:
  // Makes the bound button owner-drawn and reads its caption.
  void OnSubclassed() override;
  void Draw(const DRAWITEMSTRUCT& item);
  void OnMouseMove(WPARAM keys, LPARAM position);
  void SetHover(bool hover);
  HBITMAP FaceBitmap(skin::ButtonFace face) const { return faces_[static_cast<int>(face)].get(); }

  std::array<Bitmap, 4> faces_;  // indexed by skin::ButtonFace
  std::string caption_;
  Font font_;
  COLORREF text_color_ = RGB(0, 0, 0);
  std::optional<COLORREF> focus_cue_color_;
  bool show_text_ = false;
  OwnedWindow tooltip_;
  bool hover_ = false;
  bool pressed_ = false;
  bool focused_ = false;
  bool focus_by_keyboard_ = false;  // the focus came by Tab or an arrow key
  bool disabled_ = false;
};
