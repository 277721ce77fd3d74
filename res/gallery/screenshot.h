#pragma once
// Captures what a window shows on the screen (shaped corners included) and
// writes it as a 24-bit BMP.
#include <windows.h>

#include <string>
#include <vector>

namespace gallery {

struct Screenshot {
  int width = 0;
  int height = 0;
  std::vector<COLORREF> pixels;  // RGB() values, rows from the top
  COLORREF at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// Lets the window paint itself, then copies its screen rectangle.
Screenshot CaptureWindow(HWND hwnd);

// Writes a 24-bit bottom-up BMP; returns false when the file cannot be written.
bool SaveBmp(const Screenshot& shot, const std::wstring& path);

}  // namespace gallery
