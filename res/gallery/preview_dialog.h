#pragma once
// A stand-in for the skinned dialog and its controls, for looking at the
// skin: opens a dialog template modeless, cuts it to its background bitmap,
// paints the background and caption buttons, places the controls where the
// dialogs place them at start-up, and draws the buttons, boxes and colour
// labels from their bitmaps and colours the way the skinned controls do.
// It shows the art; the real behaviour lives in skin/ and the dialogs.
#include <windows.h>

#include <string>
#include <vector>

namespace preview {

// Registers what the templates name but the resource tests do not link:
// a stand-in "MFCGridCtrl" (a white table with a header row) unless the
// real grid class is registered, and the common controls' date pickers.
void RegisterStandInControls();

// Creates a dialog from template `template_id` without showing it (the
// templates are visible ones; mapping and unmapping windows is slow under
// Wine). Returns null when the template does not open.
HWND CreateHidden(int template_id, DLGPROC proc, LPARAM param = 0);

struct Move {
  int id;
  int x, y;                     // -1: keep the template's position
  int width = -1, height = -1;  // -1: keep the template's size
};

struct BitmapButton {
  int id;
  int normal_bitmap;
  int x = -1, y = -1;  // -1: the template's position
  bool show_text = true;
};

struct Box {
  int id;
  int unchecked_bitmap, checked_bitmap;
  int x, y;
  COLORREF background = RGB(255, 255, 255);
  bool checked = false;
};

struct ColourLabel {
  int id;
  COLORREF background, text_colour;
  std::wstring text;  // empty: keep the template's text
};

struct ExtraText {  // a child created at run time (link label, ticker)
  RECT rect;
  std::wstring text;
  COLORREF text_colour;
  bool transparent;      // drawn over the skin, or on its own background
  COLORREF background;
  bool underline = false;
};

struct DialogSkin {
  int template_id;
  int background_bitmap;
  int close_right_inset = 6;
  bool minimize_button = false;
  std::vector<Move> moves;
  std::vector<BitmapButton> buttons;
  std::vector<Box> boxes;
  std::vector<ColourLabel> labels;
  std::vector<std::pair<int, std::wstring>> texts;  // SetWindowText on controls
  std::vector<std::wstring> combo_items;            // for the main window's view selector
  int combo_id = 0;
  std::vector<ExtraText> extras;
};

// Opens the dialog modeless and visible at (x, y) on the screen.
// Returns null when the template does not open.
HWND Open(const DialogSkin& skin, int x, int y);

}  // namespace preview
