#pragma once
// One dialog template opened with the real skinned frame and controls, set
// up the way its dialog sets itself up at start-up, photographed once it has
// painted, and closed.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/testing/screen_capture.h"
#include "skin/color_label.h"
#include "skin/link_label.h"
#include "skin/scroll_text.h"
#include "skin/skin_button.h"
#include "skin/skin_check_box.h"
#include "skin/skin_dialog.h"

namespace gallery {

class GalleryDialog : public CSkinDialog {
 public:
  using Setup = std::function<void(GalleryDialog&)>;
  GalleryDialog(UINT template_id, Setup setup);

  // Runs the dialog modally until it has been photographed.
  screen_capture::Screenshot Photograph();

  // --- Set-up steps, as the dialogs perform them ---------------------------
  void Frame(UINT background, int close_right_inset, bool minimize_button);
  // A push button with its four state bitmaps, placed at (x, y) unless x < 0.
  void Button(int id, UINT normal, UINT hover, UINT pressed, UINT disabled, int x, int y, bool show_text);
  // The OK / Cancel / Close button of the small dialogs.
  void PushButton(int id, int x = -1, int y = -1) { Button(id, 160, 159, 161, 161, x, y, true); }
  void Radio(int id, int x, int y, bool checked, const COLORREF* background = nullptr);
  void Check(int id, int x, int y, bool checked, COLORREF background);
  void Label(int id, COLORREF background, COLORREF text_colour, const std::wstring& text, int direction_word);
  // Moves a control; width or height -1 keeps the template's.
  void Move(int id, int x, int y, int width = -1, int height = -1);
  void Text(int id, const std::wstring& text);
  void Link(const RECT& rect, const std::wstring& text);
  void Ticker(const RECT& rect, const std::wstring& text);
  void ComboItems(int id, const std::vector<std::wstring>& items);

 protected:
  bool OnInitDialog() override;
  bool RouteMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result) override;

 private:
  Setup setup_;
  screen_capture::Screenshot shot_;
  std::vector<std::unique_ptr<Window>> controls_;
};

}  // namespace gallery
