#pragma once
// Plain rectangles and points in client pixels for the skinned controls'
// window-free logic. Same conventions as a Win32 RECT: left and top inside,
// right and bottom outside.
namespace skin {

struct PixelPoint {
  int x = 0;
  int y = 0;
};

struct PixelRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  int width() const { return right - left; }
  int height() const { return bottom - top; }
  bool Contains(PixelPoint p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
  friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

}  // namespace skin
