#include "skin/link_label.h"

#include <windowsx.h>

#include "skin/skin_control_class.h"
#include "skin/skin_painter.h"

namespace {

constexpr COLORREF kTextColor = RGB(255, 255, 255);
constexpr COLORREF kHoverColor = RGB(0, 200, 200);

// After a click the label keeps repainting for a while, so its colour
// follows the mouse while the browser comes up and takes the focus.
constexpr UINT_PTR kStopRefreshTimer = 1;
constexpr UINT kStopRefreshMs = 10000;
constexpr UINT_PTR kRefreshTimer = 2;
constexpr UINT kRefreshMs = 10;

}  // namespace

CLinkLabel::CLinkLabel() : font_(CSkinPainter::CreateSkinFont(9)), opener_(&ShellLinkOpener()) {}

CLinkLabel::~CLinkLabel() { Destroy(); }

bool CLinkLabel::Create(HWND parent, const RECT& rect) {
  return Window::Create(SkinControlClass(), L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, rect, parent,
                        kNoControlId);
}

void CLinkLabel::SetTransparent() {
  transparent_ = true;
  if (hwnd() != nullptr) InvalidateRect(hwnd(), nullptr, TRUE);
}

void CLinkLabel::SetLinkText(std::string_view text) {
  text_ = text;
  if (hwnd() != nullptr) InvalidateRect(hwnd(), nullptr, TRUE);
}

void CLinkLabel::SetLinkTarget(std::string_view target) { target_ = target; }

RECT CLinkLabel::TextRect() const {
  RECT client{};
  if (hwnd() == nullptr) return client;
  GetClientRect(hwnd(), &client);
  WindowDC dc(hwnd());
  SelectGuard font(dc.get(), font_.get());
  return CSkinPainter::CenteredTextRect(client, text_, dc.get());
}

bool CLinkLabel::CursorOnText() const {
  POINT cursor{};
  GetCursorPos(&cursor);
  ScreenToClient(hwnd(), &cursor);
  RECT text = TextRect();
  return PtInRect(&text, cursor) != FALSE;
}

void CLinkLabel::Paint(HDC dc) {
  RECT client{};
  GetClientRect(hwnd(), &client);
  OffscreenSurface surface(dc, client.right, client.bottom);
  if (!surface.valid()) return;
  HDC canvas = surface.dc();
  SelectGuard font(canvas, font_.get());
  const RECT text = CSkinPainter::CenteredTextRect(client, text_, canvas);

  if (transparent_) {
    CSkinPainter::DrawParentBackground(hwnd(), canvas);
  } else {
    FillRect(canvas, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  }

  POINT cursor{};
  GetCursorPos(&cursor);
  ScreenToClient(hwnd(), &cursor);
  const bool hover = PtInRect(&text, cursor) != FALSE;
  const bool pressed = hover && (GetAsyncKeyState(VK_LBUTTON) & 0x8000) != 0;
  const COLORREF color = hover ? kHoverColor : kTextColor;

  SetBkMode(canvas, TRANSPARENT);
  SetTextColor(canvas, color);
  CSkinPainter::DrawTextCp936(canvas, text_, text, DT_SINGLELINE | DT_CENTER | DT_VCENTER);

  Pen pen(CreatePen(PS_SOLID, 1, color));
  {
    SelectGuard select(canvas, pen.get());
    MoveToEx(canvas, text.left, text.bottom, nullptr);
    LineTo(canvas, text.right - 1, text.bottom);
  }
  if (pressed) {
    RECT focus = text;
    InflateRect(&focus, 2, 2);
    DrawFocusRect(canvas, &focus);
  }
  surface.CopyTo();
}

LRESULT CLinkLabel::WindowProc(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_ERASEBKGND:
      Paint(reinterpret_cast<HDC>(wparam));
      return 1;
    case WM_SETCURSOR:
      if (CursorOnText()) {
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
      }
      break;
    case WM_MOUSEMOVE: {
      TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd(), 0};
      TrackMouseEvent(&track);
      InvalidateRect(hwnd(), nullptr, TRUE);
      break;
    }
    case WM_MOUSELEAVE:
      InvalidateRect(hwnd(), nullptr, TRUE);
      return 0;
    case WM_LBUTTONDOWN:
      InvalidateRect(hwnd(), nullptr, TRUE);
      break;
    case WM_LBUTTONUP: {
      const POINT point{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
      const RECT text = TextRect();
      if (PtInRect(&text, point)) {
        OpenWebLink(*opener_, target_);
        StartTimer(kStopRefreshTimer, kStopRefreshMs);
        StartTimer(kRefreshTimer, kRefreshMs);
      }
      break;
    }
    case WM_TIMER:
      if (wparam == kRefreshTimer) {
        if (!TopLevelOnScreen(hwnd())) {
          // Hidden or minimised after the click: nothing to refresh, and
          // showing the window again paints the label anyway.
          StopTimer(kStopRefreshTimer);
          StopTimer(kRefreshTimer);
          return 0;
        }
        InvalidateRect(hwnd(), nullptr, TRUE);
        return 0;
      }
      if (wparam == kStopRefreshTimer) {
        StopTimer(kStopRefreshTimer);
        StopTimer(kRefreshTimer);
        InvalidateRect(hwnd(), nullptr, TRUE);
        return 0;
      }
      break;
    default:
      break;
  }
  return DefaultProc(message, wparam, lparam);
}
