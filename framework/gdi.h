#pragma once
// RAII for GDI objects and device contexts: movable, not copyable.
#include <windows.h>

#include <utility>

// Owns an HBITMAP, HBRUSH, HPEN, HFONT, HRGN...; DeleteObject on destruction.
template <typename Handle>
class GdiObject {
 public:
  GdiObject() = default;
  explicit GdiObject(Handle h) : h_(h) {}
  ~GdiObject() { Reset(); }
  GdiObject(GdiObject&& other) noexcept : h_(std::exchange(other.h_, nullptr)) {}
  GdiObject& operator=(GdiObject&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.h_, nullptr));
    return *this;
  }
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;

  Handle get() const { return h_; }
  explicit operator bool() const { return h_ != nullptr; }
  void Reset(Handle h = nullptr) {
    if (h_ != nullptr) DeleteObject(h_);
    h_ = h;
  }
  Handle Release() { return std::exchange(h_, nullptr); }

 private:
  Handle h_ = nullptr;
};

using Bitmap = GdiObject<HBITMAP>;
using Brush = GdiObject<HBRUSH>;
using Pen = GdiObject<HPEN>;
using Font = GdiObject<HFONT>;
using Region = GdiObject<HRGN>;

// A window's device context (GetDC / ReleaseDC).
class WindowDC {
 public:
  explicit WindowDC(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
  ~WindowDC() {
    if (dc_) ReleaseDC(hwnd_, dc_);
  }
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND hwnd_;
  HDC dc_;
};

// BeginPaint / EndPaint.
class PaintDC {
 public:
  explicit PaintDC(HWND hwnd) : hwnd_(hwnd), dc_(BeginPaint(hwnd, &ps_)) {}
  ~PaintDC() { EndPaint(hwnd_, &ps_); }
  PaintDC(const PaintDC&) = delete;
  PaintDC& operator=(const PaintDC&) = delete;
  HDC get() const { return dc_; }
  const RECT& dirty() const { return ps_.rcPaint; }

 private:
  HWND hwnd_;
  PAINTSTRUCT ps_{};
  HDC dc_;
};

// A memory device context compatible with another (DeleteDC on destruction).
class MemoryDC {
 public:
  explicit MemoryDC(HDC compatible) : dc_(CreateCompatibleDC(compatible)) {}
  ~MemoryDC() {
    if (dc_) DeleteDC(dc_);
  }
  MemoryDC(const MemoryDC&) = delete;
  MemoryDC& operator=(const MemoryDC&) = delete;
  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HDC dc_;
};

// Selects an object into a DC and puts the old one back on destruction.
class SelectGuard {
 public:
  SelectGuard(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
  ~SelectGuard() {
    if (old_ && old_ != HGDI_ERROR) SelectObject(dc_, old_);
  }
  SelectGuard(const SelectGuard&) = delete;
  SelectGuard& operator=(const SelectGuard&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// A 32-bit bitmap to draw on off screen (top row first). A DIB section:
// its pixels are memory of the process's own, given back to the system when
// the bitmap is deleted. (Under Wine a compatible bitmap's pixels come from
// the C heap of Wine's own side, which keeps the 1.2 MB of a window-sized
// surface long after it was freed.)
inline HBITMAP CreateSurfaceBitmap(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width > 0 ? width : 1;
  info.bmiHeader.biHeight = -(height > 0 ? height : 1);
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
}

// An off-screen surface of a given size, painted and then copied in one block.
class OffscreenSurface {
 public:
  OffscreenSurface(HDC target, int width, int height)
      : memory_(target),
        bitmap_(CreateSurfaceBitmap(width, height)),
        select_(memory_.get(), bitmap_.get()),
        target_(target),
        width_(width),
        height_(height) {}
  HDC dc() const { return memory_.get(); }
  bool valid() const { return memory_ && bitmap_; }
  // Copies the surface to the target at (x, y).
  void CopyTo(int x = 0, int y = 0) const {
    BitBlt(target_, x, y, width_, height_, memory_.get(), 0, 0, SRCCOPY);
  }

 private:
  MemoryDC memory_;
  Bitmap bitmap_;
  SelectGuard select_;
  HDC target_;
  int width_;
  int height_;
};
