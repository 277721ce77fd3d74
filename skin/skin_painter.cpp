#include "skin/skin_painter.h"

#include <string>

#include "framework/text_boundary.h"
#include "skin/painter_logic.h"

namespace {

// "宋体" (SimSun) in code page 936.
constexpr char kSongTiFace[] = "\xCB\xCE\xCC\xE5";

skin::PixelRect ToPixelRect(const RECT& r) { return skin::PixelRect{r.left, r.top, r.right, r.bottom}; }

TRIVERTEX Vertex(int x, int y, COLORREF color) {
  TRIVERTEX v{};
  v.x = x;
  v.y = y;
  v.Red = skin::WidenColorComponent(GetRValue(color));
  v.Green = skin::WidenColorComponent(GetGValue(color));
  v.Blue = skin::WidenColorComponent(GetBValue(color));
  v.Alpha = 0;
  return v;
}

}  // namespace

void CSkinPainter::DrawBitmap(HDC target, HBITMAP bitmap, int x, int y) {
  if (bitmap == nullptr) return;
  SIZE size = BitmapSize(bitmap);
  MemoryDC source(target);
  if (!source) return;
  SelectGuard select(source.get(), bitmap);
  BitBlt(target, x, y, size.cx, size.cy, source.get(), 0, 0, SRCCOPY);
}

void CSkinPainter::DrawTransparent(HDC target, HBITMAP bitmap, const RECT& rect, COLORREF key) {
  if (bitmap == nullptr) return;
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) return;
  SIZE size = BitmapSize(bitmap);

  // Scale into an image of the target size first: TransparentBlt's own
  // stretching would smear the key colour into its neighbours.
  OffscreenSurface scaled(target, width, height);
  MemoryDC source(target);
  if (!scaled.valid() || !source) return;
  Brush key_brush(CreateSolidBrush(key));
  RECT whole{0, 0, width, height};
  FillRect(scaled.dc(), &whole, key_brush.get());
  {
    SelectGuard select(source.get(), bitmap);
    SetStretchBltMode(scaled.dc(), COLORONCOLOR);
    StretchBlt(scaled.dc(), 0, 0, width, height, source.get(), 0, 0, size.cx, size.cy, SRCCOPY);
  }
  TransparentBlt(target, rect.left, rect.top, width, height, scaled.dc(), 0, 0, width, height, key);
}

void CSkinPainter::DrawGradient(HDC target, COLORREF a, COLORREF b, int direction_word, const RECT& rect) {
  TRIVERTEX vertices[2] = {Vertex(rect.left, rect.top, a), Vertex(rect.right, rect.bottom, b)};
  GRADIENT_RECT mesh{0, 1};
  GradientFill(target, vertices, 2, &mesh, 1,
               skin::IsHorizontalGradient(direction_word) ? GRADIENT_FILL_RECT_H : GRADIENT_FILL_RECT_V);
}

Bitmap CSkinPainter::CaptureParent(HWND control) {
  HWND parent = GetParent(control);
  if (parent == nullptr) return Bitmap();
  RECT window{};
  GetWindowRect(parent, &window);
  const int width = window.right - window.left;
  const int height = window.bottom - window.top;
  if (width <= 0 || height <= 0) return Bitmap();
  WindowDC screen(nullptr);
  Bitmap image(CreateSurfaceBitmap(width, height));
  MemoryDC memory(screen.get());
  if (!image || !memory) return Bitmap();
  SelectGuard select(memory.get(), image.get());
  SendMessageW(parent, WM_PRINT, reinterpret_cast<WPARAM>(memory.get()),
               PRF_CLIENT | PRF_ERASEBKGND | PRF_OWNED);
  return image;
}

void CSkinPainter::DrawParentBackground(HWND control, HDC target) {
  Bitmap image = CaptureParent(control);
  if (!image) return;
  RECT place{};
  GetWindowRect(control, &place);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&place), 2);
  MemoryDC source(target);
  if (!source) return;
  SelectGuard select(source.get(), image.get());
  BitBlt(target, 0, 0, place.right - place.left, place.bottom - place.top, source.get(), place.left,
         place.top, SRCCOPY);
}

RECT CSkinPainter::CenteredTextRect(const RECT& rect, std::string_view text, HDC dc) {
  std::wstring wide = win::Widen(text);
  SIZE extent{};
  GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &extent);
  skin::PixelRect r = skin::CenteredTextRect(ToPixelRect(rect), extent.cx, extent.cy);
  return RECT{r.left, r.top, r.right, r.bottom};
}

SIZE CSkinPainter::BitmapSize(HBITMAP bitmap) {
  BITMAP info{};
  if (bitmap == nullptr || GetObjectW(bitmap, sizeof info, &info) == 0) return SIZE{0, 0};
  return SIZE{info.bmWidth, info.bmHeight};
}

Bitmap CSkinPainter::LoadBitmapResource(UINT id) {
  return Bitmap(LoadBitmapW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id)));
}

Font CSkinPainter::CreateSkinFont(int points) {
  WindowDC screen(nullptr);
  LOGFONTW font{};
  font.lfHeight = -MulDiv(points, GetDeviceCaps(screen.get(), LOGPIXELSY), 72);
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = GB2312_CHARSET;
  std::wstring face = win::Widen(kSongTiFace);
  face.copy(font.lfFaceName, LF_FACESIZE - 1);
  return Font(CreateFontIndirectW(&font));
}

void CSkinPainter::DrawTextCp936(HDC dc, std::string_view text, RECT rect, UINT format) {
  std::wstring wide = win::Widen(text);
  DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &rect, format);
}

void CSkinPainter::DrawFocusCue(HDC dc, const RECT& rect, COLORREF color) {
  if (rect.right - rect.left < 2 || rect.bottom - rect.top < 2) return;
  for (int x = rect.left; x < rect.right; x += 2) {
    SetPixelV(dc, x, rect.top, color);
    SetPixelV(dc, x, rect.bottom - 1, color);
  }
  for (int y = rect.top; y < rect.bottom; y += 2) {
    SetPixelV(dc, rect.left, y, color);
    SetPixelV(dc, rect.right - 1, y, color);
  }
}
