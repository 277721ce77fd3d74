#pragma once
// CSkinPainter: the skin's drawing primitives, shared by the buttons, check
// boxes, labels and the ticker. Stateless; every primitive draws on a target
// device context given by the caller.
#include <windows.h>

#include <string_view>

#include "framework/gdi.h"

// Magenta: the transparent colour of every skin bitmap.
inline constexpr COLORREF kSkinKeyColor = RGB(255, 0, 255);

class CSkinPainter {
 public:
  // The whole bitmap copied at (x, y) at its own size. A null bitmap draws nothing.
  static void DrawBitmap(HDC target, HBITMAP bitmap, int x, int y);

  // The whole bitmap scaled to `rect`, with pixels of `key` left out so the
  // target shows through them. A null bitmap draws nothing.
  static void DrawTransparent(HDC target, HBITMAP bitmap, const RECT& rect, COLORREF key = kSkinKeyColor);

  // `rect` filled from colour a (left or top) to colour b (right or bottom);
  // left to right when direction_word is 0x1000000, top to bottom otherwise.
  static void DrawGradient(HDC target, COLORREF a, COLORREF b, int direction_word, const RECT& rect);

  // The parent's own painting of the area under `control`, copied to (0, 0) of
  // the target: lets a control look transparent over a skinned dialog.
  static void DrawParentBackground(HWND control, HDC target);

  // The parent window painted by itself into a new bitmap of the parent's
  // window size (null when the parent or the memory can't be had).
  static Bitmap CaptureParent(HWND control);

  // The extent of `text` (code page 936) centred in `rect`, measured with the
  // font selected into `dc`.
  static RECT CenteredTextRect(const RECT& rect, std::string_view text, HDC dc);

  // Size of a bitmap; 0 x 0 for a null handle.
  static SIZE BitmapSize(HBITMAP bitmap);

  // A device-dependent bitmap from the program's resources; null when missing.
  static Bitmap LoadBitmapResource(UINT id);

  // The skin's text font: `points` in "宋体" (SimSun) at the screen's resolution.
  static Font CreateSkinFont(int points = 9);

  // DrawTextW of a code page 936 text.
  static void DrawTextCp936(HDC dc, std::string_view text, RECT rect, UINT format);

  // The keyboard focus cue: a dotted one-pixel frame just inside `rect`,
  // every other pixel in `color`.
  static void DrawFocusCue(HDC dc, const RECT& rect, COLORREF color);
};
