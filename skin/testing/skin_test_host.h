#pragma once
// Test fixtures for the skinned controls under Wine: a top-level window that
// reflects owner-draw and colour messages to its child objects as the
// program's dialogs do, counts button clicks, and paints a two-colour
// background; plus in-memory bitmaps and canvases.
#include <windows.h>

#include <map>

#include "framework/gdi.h"
#include "framework/window.h"

class TestHost : public Window {
 public:
  // Left half and right half of the background.
  static constexpr COLORREF kLeftColor = RGB(10, 20, 30);
  static constexpr COLORREF kRightColor = RGB(200, 180, 160);
  static constexpr int kWidth = 400;
  static constexpr int kHeight = 300;
  static constexpr int kX = 40;
  static constexpr int kY = 40;

  TestHost();
  ~TestHost() override;

  // A child control of a system class (L"BUTTON", L"STATIC") at `rect`.
  HWND AddControl(const wchar_t* window_class, int id, DWORD style, const wchar_t* text, const RECT& rect);

  int clicks(int id) const;
  int draw_requests(int id) const;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  std::map<int, int> clicks_;
  std::map<int, int> draw_requests_;
};

// A device-dependent bitmap of one colour, as LoadBitmap would give.
Bitmap SolidBitmap(int width, int height, COLORREF color);

// A memory surface to draw on and read pixels from. Movable, so fixtures
// can hand one back.
class Canvas {
 public:
  Canvas(int width, int height, COLORREF fill = RGB(0, 0, 0));
  ~Canvas();
  Canvas(Canvas&& other) noexcept;
  Canvas& operator=(Canvas&&) = delete;
  HDC dc() const { return memory_; }
  COLORREF Pixel(int x, int y) const { return GetPixel(memory_, x, y); }
  void Fill(COLORREF color);
  // Number of pixels of `color` in the surface, and their bounding box.
  int Count(COLORREF color, RECT* bounds = nullptr) const;

 private:
  int width_;
  int height_;
  HDC memory_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_bitmap_ = nullptr;
};

// Dispatches what is waiting in the thread's queue, without blocking.
void PumpMessages();

// Gives `control` the focus as the Tab key does: the key is down meanwhile.
void FocusByTab(HWND control);

// Sends a press and release of the left button at (x, y), client coordinates.
void Click(HWND control, int x, int y);
