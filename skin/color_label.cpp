#include "skin/color_label.h"

#include "skin/skin_painter.h"

CColorLabel::CColorLabel() : brush_(CreateSolidBrush(RGB(255, 0, 255))) {}

CColorLabel::~CColorLabel() { Destroy(); }

void CColorLabel::SetBackground(COLORREF a, COLORREF b, int direction_word, int strength) {
  color_a_ = a;
  color_b_ = b;
  direction_word_ = direction_word;
  strength_ = strength;
  has_background_ = true;
  RebuildBrush();
  if (hwnd() != nullptr) InvalidateRect(hwnd(), nullptr, TRUE);
}

void CColorLabel::SetLabelTextColor(COLORREF color) {
  text_color_ = color;
  if (hwnd() != nullptr) InvalidateRect(hwnd(), nullptr, TRUE);
}

POINT CColorLabel::PlaceInParent(HWND window) const {
  RECT place{};
  GetWindowRect(window, &place);
  POINT corner{place.left, place.top};
  ScreenToClient(GetParent(hwnd()), &corner);
  return corner;
}

void CColorLabel::RebuildBrush() {
  if (hwnd() == nullptr) return;
  // The brush paints the label and its children, which lie within the
  // label's place, and the colour covers that place whole: an image of the
  // label's size is all it needs. (Made from the parent's whole image, a
  // label of the main window kept 1.2 MB twice, as image and as brush.)
  RECT place{};
  GetWindowRect(hwnd(), &place);
  MapWindowPoints(nullptr, GetParent(hwnd()), reinterpret_cast<POINT*>(&place), 2);
  const int width = place.right - place.left;
  const int height = place.bottom - place.top;
  if (width <= 0 || height <= 0) return;
  Bitmap image(CreateSurfaceBitmap(width, height));
  if (!image) return;
  {
    MemoryDC memory(nullptr);
    if (!memory) return;
    SelectGuard select(memory.get(), image.get());
    CSkinPainter::DrawGradient(memory.get(), color_a_, color_b_, direction_word_, RECT{0, 0, width, height});
  }
  Brush brush(CreatePatternBrush(image.get()));
  if (!brush) return;
  brush_ = std::move(brush);
  image_ = std::move(image);
  brush_place_ = POINT{place.left, place.top};
}

HBRUSH CColorLabel::PrepareDC(HDC dc, HWND painted) {
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, text_color_);
  if (!has_background_) return brush_.get();
  // The dialogs move their labels after setting them up: build the brush
  // anew from the place the label has now.
  const POINT label = PlaceInParent(hwnd());
  if (label.x != brush_place_.x || label.y != brush_place_.y) RebuildBrush();
  // The brush's image starts at the label's corner; line it up so that each
  // window shows the part of it under itself.
  const POINT corner = PlaceInParent(painted);
  SetBrushOrgEx(dc, brush_place_.x - corner.x, brush_place_.y - corner.y, nullptr);
  return brush_.get();
}

bool CColorLabel::OnReflectedMessage(UINT message, WPARAM wparam, LPARAM, LRESULT* result) {
  if (message < WM_CTLCOLORMSGBOX || message > WM_CTLCOLORSTATIC) return false;
  *result = reinterpret_cast<LRESULT>(PrepareDC(reinterpret_cast<HDC>(wparam), hwnd()));
  return true;
}

LRESULT CColorLabel::WindowProc(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
    // A child of the label asks for its colours.
    return reinterpret_cast<LRESULT>(
        PrepareDC(reinterpret_cast<HDC>(wparam), reinterpret_cast<HWND>(lparam)));
  }
  if (message == WM_ERASEBKGND) {
    HDC dc = reinterpret_cast<HDC>(wparam);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, text_color_);
    return 1;
  }
  return DefaultProc(message, wparam, lparam);
}
