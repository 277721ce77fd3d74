#pragma once
// CColorLabel: a static text of a dialog template that sits on the skin as
// a coloured plate (a colour, or a gradient of two, over the label's place);
// it also sets the text colour.
#include <windows.h>

#include "framework/gdi.h"
#include "framework/window.h"

class CColorLabel : public Window {
 public:
  CColorLabel();
  ~CColorLabel() override;

  // Stores the colours and rebuilds the background brush. The label's place
  // is filled from colour a to colour b (left to right for direction word
  // 0x1000000, top to bottom otherwise); the program passes a == b, which
  // gives a plain plate. `strength` is kept for callers that pass it.
  void SetBackground(COLORREF a, COLORREF b, int direction_word, int strength);
  void SetLabelTextColor(COLORREF color);

  HBRUSH background_brush() const { return brush_.get(); }

 protected:
  LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override;
  bool OnReflectedMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result) override;

 private:
  // Prepares `dc` of `painted` (the label or one of its children) for
  // painting and returns the brush to paint with.
  HBRUSH PrepareDC(HDC dc, HWND painted);
  void RebuildBrush();
  // The label's top-left corner in its parent's client coordinates.
  POINT PlaceInParent(HWND window) const;

  COLORREF color_a_ = RGB(255, 0, 255);
  COLORREF color_b_ = RGB(255, 0, 255);
  int direction_word_ = 0;
  int strength_ = 0;
  COLORREF text_color_ = RGB(0, 0, 0);
  bool has_background_ = false;
  Bitmap image_;  // the label's place, coloured: what the brush is made from
  Brush brush_;
  POINT brush_place_{};  // where the label was when the brush was built
};
