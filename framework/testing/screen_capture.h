#pragma once
// The one way the Windows tests read the screen back: what a window (shaped
// corners included) or a rectangle shows, and a 24-bit BMP of it.
#include <windows.h>

#include <string>
#include <vector>

namespace screen_capture {

struct Screenshot {
  int left = 0;  // screen coordinates of the top left pixel
  int top = 0;
  int width = 0;
  int height = 0;
  std::vector<COLORREF> pixels;  // RGB() values, rows from the top
  COLORREF at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
  COLORREF at_screen(int x, int y) const { return at(x - left, y - top); }
};

// Copies a rectangle of the screen as it is now.
Screenshot CaptureScreenRect(const RECT& area);

// Lets the window paint itself, then copies its screen rectangle.
Screenshot CaptureWindow(HWND hwnd);

// Writes a 24-bit bottom-up BMP; returns false when the file cannot be written.
bool SaveBmp(const Screenshot& shot, const std::wstring& path);

}  // namespace screen_capture
