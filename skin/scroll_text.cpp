#include "skin/scroll_text.h"

#include <windowsx.h>

#include "framework/text_boundary.h"
#include "skin/skin_control_class.h"
#include "skin/skin_painter.h"

namespace {

// Timer 1 moves the item; after an item has left, timer 2 (1 ms) hands over
// to a fresh timer 1 for the next one.
constexpr UINT_PTR kStepTimer = 1;
constexpr UINT_PTR kNextItemTimer = 2;
constexpr UINT kNextItemMs = 1;

RECT ToRect(const skin::PixelRect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

}  // namespace

CScrollText::CScrollText() : font_(CSkinPainter::CreateSkinFont(9)), opener_(&ShellLinkOpener()) {}

CScrollText::~CScrollText() { Destroy(); }

bool CScrollText::Create(HWND parent, const RECT& rect) {
  return Window::Create(SkinControlClass(), L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, rect, parent,
                        kNoControlId);
}

void CScrollText::SetBackgroundColors(COLORREF a, COLORREF b, int direction_word) {
  background_a_ = a;
  background_b_ = b;
  direction_word_ = direction_word;
  if (hwnd() != nullptr) InvalidateRect(hwnd(), nullptr, TRUE);
}

void CScrollText::SetTextColors(COLORREF normal, COLORREF hover) {
  text_color_ = normal;
  hover_color_ = hover;
  if (hwnd() != nullptr) InvalidateRect(hwnd(), nullptr, TRUE);
}

void CScrollText::StartScrolling() {
  if (hwnd() == nullptr) return;
  if (!model_.Start(ClientRect(), [this](std::string_view text) { return MeasureText(text); })) return;
  started_ = true;
  StopTimer(kNextItemTimer);
  if (!paused_) StartTimer(kStepTimer, static_cast<UINT>(period_ms_));
  InvalidateRect(hwnd(), nullptr, TRUE);
}

void CScrollText::PauseScrolling() {
  paused_ = true;
  // A hand-over under way is finished by the resume: the next item already
  // waits at the right edge.
  StopTimer(kStepTimer);
  StopTimer(kNextItemTimer);
}

void CScrollText::ResumeScrolling() {
  if (!paused_) return;
  paused_ = false;
  if (started_) StartTimer(kStepTimer, static_cast<UINT>(period_ms_));
}

void CScrollText::FollowTopLevelWindow() {
  if (TopLevelOnScreen(hwnd())) {
    ResumeScrolling();
  } else {
    PauseScrolling();
  }
}

skin::PixelRect CScrollText::ClientRect() const {
  RECT client{};
  GetClientRect(hwnd(), &client);
  return skin::PixelRect{client.left, client.top, client.right, client.bottom};
}

std::optional<skin::PixelPoint> CScrollText::CursorOverTicker() const {
  POINT cursor{};
  if (!GetCursorPos(&cursor) || WindowFromPoint(cursor) != hwnd()) return std::nullopt;
  ScreenToClient(hwnd(), &cursor);
  return skin::PixelPoint{cursor.x, cursor.y};
}

int CScrollText::MeasureText(std::string_view text) const {
  WindowDC dc(hwnd());
  SelectGuard font(dc.get(), font_.get());
  std::wstring wide = win::Widen(text);
  SIZE extent{};
  GetTextExtentPoint32W(dc.get(), wide.c_str(), static_cast<int>(wide.size()), &extent);
  return extent.cx;
}

void CScrollText::Step() {
  const auto step = model_.Advance(ClientRect(), CursorOverTicker(),
                                   [this](std::string_view text) { return MeasureText(text); });
  if (step == skin::ScrollTextModel::Step::kIdle || step == skin::ScrollTextModel::Step::kWaiting) return;
  InvalidateRect(hwnd(), nullptr, TRUE);
  if (step == skin::ScrollTextModel::Step::kNextItem) {
    StopTimer(kStepTimer);
    StartTimer(kNextItemTimer, kNextItemMs);
  }
}

void CScrollText::Paint(HDC dc) {
  RECT client{};
  GetClientRect(hwnd(), &client);
  OffscreenSurface surface(dc, client.right, client.bottom);
  if (!surface.valid()) return;
  HDC canvas = surface.dc();
  CSkinPainter::DrawGradient(canvas, background_a_, background_b_, direction_word_, client);

  if (const skin::TickerItem* item = model_.current()) {
    const bool hover = model_.LinkUnderCursor(ClientRect(), CursorOverTicker()) != nullptr;
    const COLORREF color = hover ? hover_color_ : text_color_;
    SelectGuard font(canvas, font_.get());
    SetBkMode(canvas, TRANSPARENT);
    SetTextColor(canvas, color);
    const RECT place = ToRect(item->rect);
    CSkinPainter::DrawTextCp936(canvas, item->text, place, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    if (item->is_link) {
      const RECT text = CSkinPainter::CenteredTextRect(place, item->text, canvas);
      Pen pen(CreatePen(PS_SOLID, 1, color));
      SelectGuard select(canvas, pen.get());
      MoveToEx(canvas, text.left - 2, text.bottom, nullptr);
      LineTo(canvas, text.right, text.bottom);
    }
  }
  surface.CopyTo();
}

LRESULT CScrollText::WindowProc(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_TIMER:
      if (wparam == kStepTimer) {
        Step();
        return 0;
      }
      if (wparam == kNextItemTimer) {
        StopTimer(kNextItemTimer);
        StartTimer(kStepTimer, static_cast<UINT>(period_ms_));
        return 0;
      }
      break;
    case WM_ERASEBKGND:
      Paint(reinterpret_cast<HDC>(wparam));
      return 1;
    case WM_MOUSEMOVE: {
      LRESULT result = DefaultProc(message, wparam, lparam);
      InvalidateRect(hwnd(), nullptr, TRUE);
      return result;
    }
    case WM_SETCURSOR:
      if (model_.LinkUnderCursor(ClientRect(), CursorOverTicker()) != nullptr) {
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
      }
      break;
    case WM_LBUTTONDOWN: {
      LRESULT result = DefaultProc(message, wparam, lparam);
      const skin::PixelPoint click{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
      if (const skin::TickerItem* link = model_.LinkUnderCursor(ClientRect(), click)) {
        OpenWebLink(*opener_, link->target);
      }
      return result;
    }
    default:
      break;
  }
  return DefaultProc(message, wparam, lparam);
}
