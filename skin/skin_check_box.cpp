#include "skin/skin_check_box.h"

#include <windowsx.h>

#include <algorithm>
#include <string>
#include <utility>

#include "framework/text_boundary.h"
#include "skin/check_box_logic.h"
#include "skin/owner_draw_button.h"
#include "skin/skin_painter.h"

CSkinBoxButton::~CSkinBoxButton() { Destroy(); }

void CSkinBoxButton::OnSubclassed() { MakeButtonOwnerDrawn(hwnd()); }

void CSkinBoxButton::SetBoxBitmaps(UINT unchecked, UINT checked) {
  SetBoxBitmaps(CSkinPainter::LoadBitmapResource(unchecked), CSkinPainter::LoadBitmapResource(checked));
}

void CSkinBoxButton::SetBoxBitmaps(Bitmap unchecked, Bitmap checked) {
  unchecked_ = std::move(unchecked);
  checked_bitmap_ = std::move(checked);
  if (hwnd() != nullptr) InvalidateRect(hwnd(), nullptr, TRUE);
}

void CSkinBoxButton::SetBkColor(COLORREF color) {
  background_ = color;
  if (hwnd() != nullptr) InvalidateRect(hwnd(), nullptr, TRUE);
}

void CSkinBoxButton::SetTextColor(COLORREF color) {
  text_color_ = color;
  if (hwnd() != nullptr) InvalidateRect(hwnd(), nullptr, TRUE);
}

void CSkinBoxButton::SetCheck(int checked) {
  checked_ = checked != 0;
  if (hwnd() != nullptr) InvalidateRect(hwnd(), nullptr, TRUE);
}

SIZE CSkinBoxButton::BoxSize() const {
  SIZE size = CSkinPainter::BitmapSize(checked_bitmap_.get());
  return size.cx > 0 ? size : CSkinPainter::BitmapSize(unchecked_.get());
}

LRESULT CSkinBoxButton::WindowProc(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;  // the draw request fills the whole control
    // An owner-drawn button keeps no check state of its own; answering these
    // lets IsDlgButtonChecked and CheckDlgButton work on skinned controls.
    case BM_GETCHECK:
      return checked_ ? BST_CHECKED : BST_UNCHECKED;
    case BM_SETCHECK:
      SetCheck(wparam == BST_CHECKED ? 1 : 0);
      return 0;
    case WM_SETFOCUS:
      focus_by_keyboard_ = FocusCameByKeyboard();
      return DefaultProc(message, wparam, lparam);
    case WM_KILLFOCUS:
      focus_by_keyboard_ = false;
      return DefaultProc(message, wparam, lparam);
    default:
      return DefaultProc(message, wparam, lparam);
  }
}

bool CSkinBoxButton::OnReflectedMessage(UINT message, WPARAM, LPARAM lparam, LRESULT* result) {
  if (message != WM_DRAWITEM) return false;
  Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lparam));
  *result = TRUE;
  return true;
}

void CSkinBoxButton::Draw(const DRAWITEMSTRUCT& item) {
  if (!unchecked_) return;
  HDC dc = item.hDC;
  RECT client{};
  GetClientRect(hwnd(), &client);
  Brush background(CreateSolidBrush(background_));
  FillRect(dc, &client, background.get());

  const int top = skin::BoxTop(client.bottom - client.top, BoxSize().cy);
  CSkinPainter::DrawBitmap(dc, checked_ ? checked_bitmap_.get() : unchecked_.get(), 0, top);

  RECT text_area = client;
  text_area.left = skin::CaptionLeft(CSkinPainter::BitmapSize(unchecked_.get()).cx, caption_gap_);
  SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, text_color_);
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(hwnd(), WM_GETFONT, 0, 0));
  SelectGuard select(dc, font != nullptr ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
  const std::string caption = win::GetWindowText(hwnd());
  CSkinPainter::DrawTextCp936(dc, caption, text_area, DT_SINGLELINE | DT_VCENTER | DT_LEFT);

  if ((item.itemState & ODS_FOCUS) == 0 || !focus_by_keyboard_ || (item.itemState & ODS_NOFOCUSRECT) != 0)
    return;
  // Around the caption where it shows, as Windows marks its option buttons;
  // around the box where the caption is the skin's own painting.
  RECT cue{0, top, BoxSize().cx, top + BoxSize().cy};
  if (!caption.empty() && text_area.right - text_area.left > 0) {
    RECT measured = text_area;
    DrawTextW(dc, win::Widen(caption).c_str(), -1, &measured, DT_SINGLELINE | DT_CALCRECT | DT_NOPREFIX);
    const int height = measured.bottom - measured.top;
    cue = RECT{text_area.left - 2, (client.bottom - height) / 2 - 1,
               std::min(measured.right, text_area.right) + 2, (client.bottom + height) / 2 + 1};
  }
  IntersectRect(&cue, &cue, &client);
  CSkinPainter::DrawFocusCue(dc, cue, text_color_);
}

LRESULT CSkinCheckBox::WindowProc(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_LBUTTONUP) {
    RECT client{};
    GetClientRect(hwnd(), &client);
    const SIZE box = BoxSize();
    if (skin::HitsBox(skin::PixelPoint{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)},
                      client.bottom - client.top, box.cx, box.cy)) {
      SetCheck(GetCheck() ? 0 : 1);
    }
    // The button's own handling follows in every case, so the dialog hears
    // the click also when it fell on the caption.
  } else if (message == WM_KEYUP && wparam == VK_SPACE &&
             (SendMessageW(hwnd(), BM_GETSTATE, 0, 0) & BST_PUSHED) != 0) {
    // The keyboard's click (Space on the focused box) toggles too.
    SetCheck(GetCheck() ? 0 : 1);
  }
  return CSkinBoxButton::WindowProc(message, wparam, lparam);
}

LRESULT CSkinRadioButton::WindowProc(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_GETDLGCODE) return DLGC_BUTTON | DLGC_RADIOBUTTON;
  return CSkinBoxButton::WindowProc(message, wparam, lparam);
}

void CSkinRadioButton::SelectInGroup(std::initializer_list<CSkinRadioButton*> group,
                                     const CSkinRadioButton* chosen) {
  for (CSkinRadioButton* option : group) {
    if (option != nullptr) option->SetCheck(option == chosen ? 1 : 0);
  }
}
