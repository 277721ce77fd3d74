#include "skin/skin_button.h"

#include <commctrl.h>
#include <windowsx.h>

#include <utility>

#include "framework/text_boundary.h"
#include "skin/skin_painter.h"

namespace {

constexpr int kToolTipInitialMs = 500;
constexpr int kToolTipAutoPopMs = 10000;
constexpr int kToolTipReshowMs = 100;

}  // namespace

CSkinButton::CSkinButton() : font_(CSkinPainter::CreateSkinFont(9)) {}

CSkinButton::~CSkinButton() {
  tooltip_.Reset();
  Destroy();
}

void CSkinButton::OnSubclassed() {
  MakeButtonOwnerDrawn(hwnd());
  caption_ = win::GetWindowText(hwnd());
}

void CSkinButton::SetBitmaps(UINT normal, UINT hover, UINT pressed, UINT disabled) {
  SetBitmaps(CSkinPainter::LoadBitmapResource(normal), CSkinPainter::LoadBitmapResource(hover),
             CSkinPainter::LoadBitmapResource(pressed), CSkinPainter::LoadBitmapResource(disabled));
}

void CSkinButton::SetBitmaps(Bitmap normal, Bitmap hover, Bitmap pressed, Bitmap disabled) {
  faces_[static_cast<int>(skin::ButtonFace::kNormal)] = std::move(normal);
  faces_[static_cast<int>(skin::ButtonFace::kHover)] = std::move(hover);
  faces_[static_cast<int>(skin::ButtonFace::kPressed)] = std::move(pressed);
  faces_[static_cast<int>(skin::ButtonFace::kDisabled)] = std::move(disabled);
  hover_ = false;
  if (hwnd() == nullptr) return;
  // Without a normal bitmap the button keeps the size its template gave it.
  SIZE size = CSkinPainter::BitmapSize(FaceBitmap(skin::ButtonFace::kNormal));
  if (size.cx > 0 && size.cy > 0) {
    SetWindowPos(hwnd(), nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  InvalidateRect(hwnd(), nullptr, TRUE);
}

void CSkinButton::SetShowText(int show) { show_text_ = show != 0; }

void CSkinButton::SetCaption(std::string_view caption) {
  caption_ = std::string(caption);
  if (hwnd() == nullptr) return;
  win::SetWindowText(hwnd(), caption_);
  InvalidateRect(hwnd(), nullptr, TRUE);
}

void CSkinButton::SetToolTipText(std::string_view text) {
  if (hwnd() == nullptr) return;
  tooltip_.Reset();
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  HWND tip =
      CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                      CW_USEDEFAULT, CW_USEDEFAULT, hwnd(), nullptr, GetModuleHandleW(nullptr), nullptr);
  if (tip == nullptr) return;
  tooltip_.Reset(tip);

  // The whole button is the tool; mouse moves reach the tooltip by relay
  // (WindowProc), so the tool needs no subclassing of its own.
  std::wstring wide = win::Widen(text);
  TOOLINFOW tool{};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  tool.uFlags = TTF_IDISHWND;
  tool.hwnd = GetParent(hwnd());
  tool.uId = reinterpret_cast<UINT_PTR>(hwnd());
  tool.lpszText = wide.data();
  SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  SendMessageW(tip, TTM_SETDELAYTIME, TTDT_INITIAL, MAKELPARAM(kToolTipInitialMs, 0));
  SendMessageW(tip, TTM_SETDELAYTIME, TTDT_AUTOPOP, MAKELPARAM(kToolTipAutoPopMs, 0));
  SendMessageW(tip, TTM_SETDELAYTIME, TTDT_RESHOW, MAKELPARAM(kToolTipReshowMs, 0));
  SendMessageW(tip, TTM_ACTIVATE, TRUE, 0);
}

LRESULT CSkinButton::WindowProc(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_MOUSEMOVE && tooltip_.get() != nullptr) {
    MSG relay{hwnd(), message, wparam, lparam, 0, {}};
    SendMessageW(tooltip_.get(), TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relay));
  }
  switch (message) {
    case WM_ERASEBKGND:
      return 1;  // the bitmap covers the whole button
    case WM_MOUSEMOVE: {
      LRESULT result = DefaultProc(message, wparam, lparam);
      OnMouseMove(wparam, lparam);
      return result;
    }
    case WM_MOUSELEAVE:
      SetHover(false);
      return 0;
    case WM_SETFOCUS:
      focus_by_keyboard_ = FocusCameByKeyboard();
      return DefaultProc(message, wparam, lparam);
    case WM_GETDLGCODE:
      // An owner-drawn button tells the dialog only that it is a button, so
      // Enter would press the default button even while this one has the
      // focus; a focused push button is the one Enter presses.
      return DefaultProc(message, wparam, lparam) | (GetFocus() == hwnd() ? DLGC_DEFPUSHBUTTON : 0);
    case BM_SETSTYLE:
      // The dialog's default-button bookkeeping must not undo the owner draw.
      return DefaultProc(message, (wparam & ~static_cast<WPARAM>(BS_TYPEMASK)) | BS_OWNERDRAW, lparam);
    case WM_KILLFOCUS:
      focus_by_keyboard_ = false;
      return DefaultProc(message, wparam, lparam);
    default:
      return DefaultProc(message, wparam, lparam);
  }
}

void CSkinButton::OnMouseMove(WPARAM keys, LPARAM position) {
  POINT cursor{GET_X_LPARAM(position), GET_Y_LPARAM(position)};
  ClientToScreen(hwnd(), &cursor);
  const bool over = WindowFromPoint(cursor) == hwnd();
  switch (skin::HoverOnMouseMove((keys & MK_LBUTTON) != 0, hover_, over)) {
    case skin::HoverChange::kEnter: {
      SetHover(true);
      TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd(), 0};
      TrackMouseEvent(&track);
      break;
    }
    case skin::HoverChange::kLeave:
      SetHover(false);
      break;
    case skin::HoverChange::kNone:
      break;
  }
}

void CSkinButton::SetHover(bool hover) {
  if (hover_ == hover) return;
  hover_ = hover;
  InvalidateRect(hwnd(), nullptr, TRUE);
}

bool CSkinButton::OnReflectedMessage(UINT message, WPARAM, LPARAM lparam, LRESULT* result) {
  if (message != WM_DRAWITEM) return false;
  Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lparam));
  *result = TRUE;
  return true;
}

void CSkinButton::Draw(const DRAWITEMSTRUCT& item) {
  pressed_ = (item.itemState & ODS_SELECTED) != 0;
  focused_ = (item.itemState & ODS_FOCUS) != 0;
  disabled_ = (item.itemState & ODS_DISABLED) != 0;

  RECT client{};
  GetClientRect(hwnd(), &client);
  const skin::ButtonFace face = skin::ChooseButtonFace(pressed_, hover_, IsWindowEnabled(hwnd()) != FALSE);
  CSkinPainter::DrawTransparent(item.hDC, FaceBitmap(face), client);
  if (focused_ && focus_by_keyboard_ && (item.itemState & ODS_NOFOCUSRECT) == 0) {
    RECT cue = client;
    InflateRect(&cue, -3, -3);
    CSkinPainter::DrawFocusCue(item.hDC, cue, focus_cue_color_.value_or(text_color_));
  }

  if (!show_text_) return;
  const int offset = skin::CaptionOffset(pressed_);
  OffsetRect(&client, offset, offset);
  SetBkMode(item.hDC, TRANSPARENT);
  SetTextColor(item.hDC, text_color_);
  SelectGuard font(item.hDC, font_.get());
  CSkinPainter::DrawTextCp936(item.hDC, caption_, client, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
}
