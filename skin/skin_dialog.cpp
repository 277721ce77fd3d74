#include "skin/skin_dialog.h"

#include <windowsx.h>

#include <algorithm>
#include <vector>

#include "framework/menu.h"
#include "framework/message_table.h"

namespace {

constexpr COLORREF kMagenta = RGB(255, 0, 255);

RECT ToRect(const skin_frame::Rect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }
skin_frame::Rect FromRect(const RECT& r) { return skin_frame::Rect{r.left, r.top, r.right, r.bottom}; }
skin_frame::Point FromPoint(POINT p) { return skin_frame::Point{p.x, p.y}; }
POINT PointOf(LPARAM lparam) { return POINT{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)}; }

SIZE BitmapSize(HBITMAP bitmap) {
  BITMAP info{};
  if (bitmap == nullptr || GetObjectW(bitmap, sizeof info, &info) == 0) return SIZE{0, 0};
  return SIZE{info.bmWidth, info.bmHeight};
}

// As DIB sections: their pixels are the process's own memory, given back
// when a bitmap is deleted (see CreateSurfaceBitmap).
Bitmap LoadBitmapResource(UINT id) {
  return Bitmap(static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_BITMAP,
                                                0, 0, LR_DEFAULTCOLOR | LR_CREATEDIBSECTION)));
}

RECT WorkArea() {
  RECT area{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  return area;
}

bool IsFrameCommand(WORD id) {
  switch (id) {
    case SC_RESTORE:
    case SC_MOVE:
    case SC_SIZE:
    case SC_MINIMIZE:
    case SC_MAXIMIZE:
    case SC_CLOSE:
    case 16:
      return true;
    default:
      return false;
  }
}

}  // namespace

CSkinDialog::CSkinDialog(UINT template_id, HWND parent)
    : Dialog(template_id, parent), caption_height_(GetSystemMetrics(SM_CYCAPTION)) {}

CSkinDialog::CSkinDialog(const DLGTEMPLATE* in_memory_template, HWND parent)
    : Dialog(in_memory_template, parent), caption_height_(GetSystemMetrics(SM_CYCAPTION)) {}

// --- Configuration ----------------------------------------------------------

void CSkinDialog::UseWindowRegion() {
  use_region_ = 1;
  if (hwnd() == nullptr) return;
  LONG_PTR ex_style = GetWindowLongPtrW(hwnd(), GWL_EXSTYLE);
  if (ex_style & WS_EX_LAYERED) SetWindowLongPtrW(hwnd(), GWL_EXSTYLE, ex_style & ~WS_EX_LAYERED);
  RebuildWindowRegion();
}

void CSkinDialog::SetBackgroundBitmap(UINT bitmap_id) {
  SetBackgroundSource([bitmap_id] { return LoadBitmapResource(bitmap_id); });
}

void CSkinDialog::SetCloseButtonBitmaps(UINT normal_id, UINT hover_id, UINT pressed_id) {
  SetCloseButtonBitmaps(LoadBitmapResource(normal_id), LoadBitmapResource(hover_id),
                        LoadBitmapResource(pressed_id));
}

void CSkinDialog::SetMinimizeButtonBitmaps(UINT normal_id, UINT hover_id, UINT pressed_id) {
  SetMinimizeButtonBitmaps(LoadBitmapResource(normal_id), LoadBitmapResource(hover_id),
                           LoadBitmapResource(pressed_id));
}

void CSkinDialog::SetBackgroundBitmap(Bitmap background) {
  background_source_ = nullptr;
  TakeBackground(std::move(background));
}

void CSkinDialog::SetBackgroundSource(std::function<Bitmap()> load) {
  background_source_ = std::move(load);
  TakeBackground(background_source_());
}

void CSkinDialog::TakeBackground(Bitmap background) {
  background_ = std::move(background);
  background_size_ = BitmapSize(background_.get());
  if (hwnd() == nullptr) return;
  FitWindowToBackground();
  InvalidateRect(hwnd(), nullptr, TRUE);
  ReleaseBackgroundOffScreen();
}

void CSkinDialog::KeepBackgroundOnlyOnScreen() {
  background_on_screen_only_ = true;
  ReleaseBackgroundOffScreen();
}

void CSkinDialog::ReleaseBackgroundOffScreen() {
  if (!background_on_screen_only_ || !background_source_ || hwnd() == nullptr) return;
  if (IsWindowVisible(hwnd()) && !IsIconic(hwnd())) return;
  background_.Reset();
}

HBITMAP CSkinDialog::Background() {
  if (!background_ && background_size_.cx > 0 && background_source_) background_ = background_source_();
  return background_.get();
}

void CSkinDialog::SetCloseButtonBitmaps(Bitmap normal, Bitmap hover, Bitmap pressed) {
  close_ = ButtonBitmaps{std::move(normal), std::move(hover), std::move(pressed)};
  if (hwnd() != nullptr) InvalidateRect(hwnd(), nullptr, TRUE);
}

void CSkinDialog::SetMinimizeButtonBitmaps(Bitmap normal, Bitmap hover, Bitmap pressed) {
  minimize_ = ButtonBitmaps{std::move(normal), std::move(hover), std::move(pressed)};
  if (hwnd() != nullptr) InvalidateRect(hwnd(), nullptr, TRUE);
}

void CSkinDialog::SetCaptionHeight(int pixels) { caption_height_ = pixels; }

void CSkinDialog::SetDragFullWindows(int show_contents) { drag_full_windows_ = show_contents; }

void CSkinDialog::SetFrameIcon(HICON icon, int draw_icon) {
  frame_icon_ = icon;
  draw_frame_icon_ = draw_icon;
  if (hwnd() == nullptr) return;
  SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
  SendMessageW(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
}

void CSkinDialog::SetCloseButtonInsets(int right_inset, int top_inset) {
  close_right_inset_ = right_inset;
  close_top_inset_ = top_inset;
}

void CSkinDialog::FitWindowToBackground() {
  const SIZE size = background_size_;
  RECT before{};
  GetWindowRect(hwnd(), &before);
  const bool same_size = size.cx == before.right - before.left && size.cy == before.bottom - before.top;
  if (background_ && !same_size) {
    // WM_SIZE follows and rebuilds the region.
    SetWindowPos(hwnd(), nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    // A dialog that takes its size before it is shown opens centred over its
    // owner (over the screen without one), not at the owner's corner where
    // its template would put it.
    if (!IsWindowVisible(hwnd())) CenterOverOwner();
  } else if (use_region_) {
    RebuildWindowRegion();
  }
}

void CSkinDialog::CenterOverOwner() {
  RECT place{};
  GetWindowRect(hwnd(), &place);
  const int width = place.right - place.left;
  const int height = place.bottom - place.top;
  RECT area{};
  HWND owner = GetWindow(hwnd(), GW_OWNER);
  if (owner != nullptr && IsWindowVisible(owner) && !IsIconic(owner)) {
    GetWindowRect(owner, &area);
  } else {
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  }
  int x = area.left + ((area.right - area.left) - width) / 2;
  int y = area.top + ((area.bottom - area.top) - height) / 2;
  // Keep it on the screen the owner is on.
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  x = std::max<int>(work.left, std::min<int>(x, work.right - width));
  y = std::max<int>(work.top, std::min<int>(y, work.bottom - height));
  SetWindowPos(hwnd(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// --- Initialisation and message routing ------------------------------------------

bool CSkinDialog::OnInitDialog() {
  LONG_PTR style = GetWindowLongPtrW(hwnd(), GWL_STYLE);
  SetWindowLongPtrW(hwnd(), GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_CAPTION | DS_MODALFRAME));
  if (!use_region_) {
    // Without a region the frame lets the magenta corners through by colour key.
    SetWindowLongPtrW(hwnd(), GWL_EXSTYLE, GetWindowLongPtrW(hwnd(), GWL_EXSTYLE) | WS_EX_LAYERED);
    SetLayeredWindowAttributes(hwnd(), kMagenta, 0, LWA_COLORKEY);
  }
  // The client area was computed with the caption; have it computed again.
  SetWindowPos(hwnd(), nullptr, 0, 0, 0, 0,
               SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  Dialog::OnInitDialog();
  return true;
}

bool CSkinDialog::RouteMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result) {
  switch (message) {
    case WM_NCCALCSIZE:
      *result = 0;  // the client area is the whole window
      return true;
    case WM_NCPAINT:
      InvalidateRect(hwnd(), nullptr, TRUE);
      *result = 0;
      return true;
    case WM_NCACTIVATE:
      *result = DefaultProc(message, wparam, lparam);
      InvalidateRect(hwnd(), nullptr, TRUE);
      return true;
    case WM_ERASEBKGND:
      *result = OnEraseBackground(reinterpret_cast<HDC>(wparam));
      return true;
    case WM_SIZE:
      *result = OnSize(wparam, lparam);
      return true;
    case WM_WINDOWPOSCHANGED:
      // Hiding and minimising end here, after the shape has followed the size.
      *result = DefaultProc(message, wparam, lparam);
      ReleaseBackgroundOffScreen();
      return true;
    case WM_NCHITTEST:
      *result = OnNcHitTest(wparam, lparam);
      return true;
    case WM_MOUSEMOVE:
      *result = OnMouseMove(wparam, lparam);
      return true;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      *result = OnLeftButtonDown(message, wparam, lparam);
      return true;
    case WM_LBUTTONUP:
      *result = OnLeftButtonUp(wparam, lparam);
      return true;
    case WM_MOUSELEAVE:
      *result = OnMouseLeave(wparam, lparam);
      return true;
    case WM_NCLBUTTONDOWN:
      *result = OnNcLeftButtonDown(wparam, lparam);
      return true;
    case WM_SYSCOMMAND:
      *result = OnSysCommand(wparam, lparam);
      return true;
    case WM_GETMINMAXINFO:
      *result = OnGetMinMaxInfo(wparam, lparam);
      return true;
    case WM_ICONERASEBKGND:
      if (!IsIconic(hwnd())) break;
      *result = 0;
      return true;
    case WM_COMMAND:
      // A choice in the system menu tracked as a pop-up arrives as a command.
      if (lparam == 0 && CommandCode(wparam, lparam) == 0 && IsFrameCommand(LOWORD(wparam))) {
        SendMessageW(hwnd(), WM_SYSCOMMAND, LOWORD(wparam), 0);
        *result = 0;
        return true;
      }
      break;
    default:
      break;
  }
  return Dialog::RouteMessage(message, wparam, lparam, result);
}

// --- Places of the caption elements -----------------------------------------------

int CSkinDialog::FrameWidth() {
  if (background_size_.cx > 0) return background_size_.cx;
  RECT client{};
  GetClientRect(hwnd(), &client);
  return client.right;
}

RECT CSkinDialog::GetCloseButtonRect() {
  const SIZE size = BitmapSize(close_.normal.get());
  return ToRect(skin_frame::CloseButtonRect(FrameWidth(), close_right_inset_, close_top_inset_,
                                            static_cast<bool>(close_.normal), size.cx, size.cy));
}

RECT CSkinDialog::GetMaximizeButtonRect() {
  return ToRect(skin_frame::EmptyAt(FromRect(GetCloseButtonRect())));
}

RECT CSkinDialog::GetRestoreButtonRect() {
  return ToRect(skin_frame::EmptyAt(FromRect(GetCloseButtonRect())));
}

RECT CSkinDialog::GetMinimizeButtonRect() {
  const SIZE size = BitmapSize(minimize_.normal.get());
  return ToRect(skin_frame::MinimizeButtonRect(FromRect(GetCloseButtonRect()),
                                               static_cast<bool>(minimize_.normal), size.cx, size.cy));
}

RECT CSkinDialog::GetIconRect() { return ToRect(skin_frame::IconRect(frame_icon_ != nullptr)); }

RECT CSkinDialog::GetTitleRect() { return RECT{}; }

RECT CSkinDialog::GetSysMenuRect() { return GetIconRect(); }

void CSkinDialog::OnBeforePaint(HDC) {}

void CSkinDialog::OnAfterPaint(HDC) {}

void CSkinDialog::UpdateButtonRects() {
  close_rect_ = GetCloseButtonRect();
  maximize_rect_ = GetMaximizeButtonRect();
  restore_rect_ = GetRestoreButtonRect();
  minimize_rect_ = GetMinimizeButtonRect();
  icon_rect_ = GetIconRect();
}

skin_frame::CaptionButtons CSkinDialog::ButtonsForHitTest() {
  UpdateButtonRects();
  return skin_frame::CaptionButtons{FromRect(close_rect_), FromRect(maximize_rect_), FromRect(restore_rect_),
                                    FromRect(minimize_rect_), FromRect(icon_rect_)};
}

bool CSkinDialog::IsOverCaptionElement(POINT p) { return ButtonsForHitTest().Covers(FromPoint(p)); }

POINT CSkinDialog::CursorInClient() {
  POINT cursor{};
  GetCursorPos(&cursor);
  ScreenToClient(hwnd(), &cursor);
  return cursor;
}

// --- Painting ------------------------------------------------------------------------

void CSkinDialog::DrawButton(HDC dc, const RECT& rect, const ButtonBitmaps& bitmaps, POINT cursor,
                             bool left_down, bool with_background) {
  if (rect.right - rect.left <= 0) return;
  HBITMAP bitmap = bitmaps.normal.get();
  switch (
      skin_frame::ChooseButtonState(FromRect(rect), FromPoint(cursor), left_down, FromPoint(press_point_))) {
    case skin_frame::ButtonState::kPressed:
      if (bitmaps.pressed) bitmap = bitmaps.pressed.get();
      break;
    case skin_frame::ButtonState::kHover:
      if (bitmaps.hover) bitmap = bitmaps.hover.get();
      break;
    case skin_frame::ButtonState::kNormal:
      break;
  }
  if (bitmap == nullptr) return;
  MemoryDC source(dc);
  if (!source) return;
  if (with_background && Background() != nullptr) {
    // The state bitmaps may be partly transparent: restore what lies under them first.
    SelectGuard select(source.get(), Background());
    BitBlt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, source.get(), rect.left,
           rect.top, SRCCOPY);
  }
  const SIZE size = BitmapSize(bitmap);
  SelectGuard select(source.get(), bitmap);
  TransparentBlt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, source.get(), 0, 0,
                 size.cx, size.cy, kMagenta);
}

void CSkinDialog::DrawCaptionButtons(HDC dc, bool with_background) {
  const POINT cursor = CursorInClient();
  const bool left_down = GetAsyncKeyState(VK_LBUTTON) != 0;
  DrawButton(dc, close_rect_, close_, cursor, left_down, with_background);
  DrawButton(dc, minimize_rect_, minimize_, cursor, left_down, with_background);
}

void CSkinDialog::RedrawCaptionButtons() {
  // Off screen (the mouse leaving a button just minimised) nothing shows them.
  if (!IsWindowVisible(hwnd()) || IsIconic(hwnd())) return;
  UpdateButtonRects();
  WindowDC dc(hwnd());
  if (dc.get() != nullptr) DrawCaptionButtons(dc.get(), /*with_background=*/true);
}

LRESULT CSkinDialog::OnEraseBackground(HDC dc) {
  // A minimised window shows its icon, not the skin (nor loads it again).
  if (IsIconic(hwnd())) return DefaultProc(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  HBITMAP background = Background();
  if (background == nullptr) return DefaultProc(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  RECT client{};
  GetClientRect(hwnd(), &client);
  OffscreenSurface surface(dc, client.right, client.bottom);
  if (!surface.valid()) return DefaultProc(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  HDC off = surface.dc();
  UpdateButtonRects();
  OnBeforePaint(off);
  const SIZE size = background_size_;
  if (client.right > size.cx || client.bottom > size.cy) {
    // Maximised: the region hides what lies beyond the bitmap; keep it tidy anyway.
    FillRect(off, &client, GetSysColorBrush(COLOR_BTNFACE));
  }
  {
    MemoryDC source(dc);
    SelectGuard select(source.get(), background);
    BitBlt(off, 0, 0, size.cx, size.cy, source.get(), 0, 0, SRCCOPY);
  }
  DrawCaptionButtons(off, /*with_background=*/false);
  if (icon_rect_.right - icon_rect_.left > 0 && draw_frame_icon_ && frame_icon_ != nullptr) {
    DrawIconEx(off, icon_rect_.left, icon_rect_.top, frame_icon_, 16, 16, 0, nullptr, DI_NORMAL);
  }
  OnAfterPaint(off);
  surface.CopyTo();
  return 1;
}

// --- Window shape --------------------------------------------------------------------

void CSkinDialog::RebuildWindowRegion() {
  if (hwnd() == nullptr) return;
  HBITMAP background = Background();
  const SIZE size = BitmapSize(background);
  MemoryDC memory(nullptr);
  if (size.cx <= 0 || size.cy <= 0 || !memory) {
    SetWindowRgn(hwnd(), nullptr, TRUE);
    return;
  }
  std::vector<std::uint32_t> pixels(static_cast<size_t>(size.cx) * size.cy);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = size.cx;
  info.bmiHeader.biHeight = -size.cy;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  if (GetDIBits(memory.get(), background, 0, size.cy, pixels.data(), &info, DIB_RGB_COLORS) == 0) {
    SetWindowRgn(hwnd(), nullptr, TRUE);
    return;
  }
  Region shape;
  for (const skin_frame::RegionBatch& batch :
       skin_frame::OpaqueRowRuns(pixels.data(), size.cx, size.cy, size.cx)) {
    const size_t rect_bytes = batch.rects.size() * sizeof(RECT);
    std::vector<std::byte> buffer(sizeof(RGNDATAHEADER) + rect_bytes);
    auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
    data->rdh.dwSize = sizeof(RGNDATAHEADER);
    data->rdh.iType = RDH_RECTANGLES;
    data->rdh.nCount = static_cast<DWORD>(batch.rects.size());
    data->rdh.nRgnSize = static_cast<DWORD>(rect_bytes);
    data->rdh.rcBound = ToRect(batch.bounds);
    auto* rects = reinterpret_cast<RECT*>(data->Buffer);
    for (size_t i = 0; i < batch.rects.size(); ++i) rects[i] = ToRect(batch.rects[i]);
    Region part(ExtCreateRegion(nullptr, static_cast<DWORD>(buffer.size()), data));
    if (!part) continue;
    if (!shape) {
      shape = std::move(part);
    } else {
      CombineRgn(shape.get(), shape.get(), part.get(), RGN_OR);
    }
  }
  // An image with no opaque pixel would make the window vanish: keep it rectangular.
  if (SetWindowRgn(hwnd(), shape.get(), TRUE) && shape) shape.Release();
}

LRESULT CSkinDialog::OnSize(WPARAM wparam, LPARAM lparam) {
  LRESULT result = DefaultProc(WM_SIZE, wparam, lparam);
  if (use_region_) RebuildWindowRegion();
  return result;
}

// --- Mouse ------------------------------------------------------------------------------

LRESULT CSkinDialog::OnNcHitTest(WPARAM wparam, LPARAM lparam) {
  POINT p = PointOf(lparam);
  ScreenToClient(hwnd(), &p);
  if (IsOverCaptionElement(p)) return HTCLIENT;
  return DefaultProc(WM_NCHITTEST, wparam, lparam);
}

LRESULT CSkinDialog::OnMouseMove(WPARAM wparam, LPARAM lparam) {
  LRESULT result = DefaultProc(WM_MOUSEMOVE, wparam, lparam);
  if (!mouse_tracked_) {
    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd(), 0};
    if (TrackMouseEvent(&track)) mouse_tracked_ = 1;
  }
  const POINT p = PointOf(lparam);
  const bool over = IsOverCaptionElement(p);
  if (over || last_over_button_) RedrawCaptionButtons();
  last_over_button_ = over ? 1 : 0;
  if (skin_frame::ShouldStartMove(static_cast<unsigned>(wparam), FromPoint(p), caption_height_, over,
                                  drag_armed_ != 0, IsZoomed(hwnd()) != FALSE)) {
    // One move per press: later moves before the system takes over must not queue more.
    drag_armed_ = 0;
    PostMessageW(hwnd(), WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(p.x, p.y));
  }
  return result;
}

LRESULT CSkinDialog::OnLeftButtonDown(UINT message, WPARAM wparam, LPARAM lparam) {
  const POINT p = PointOf(lparam);
  press_point_ = p;
  drag_armed_ = 0;
  const bool over = IsOverCaptionElement(p);
  if (over) RedrawCaptionButtons();
  if (skin_frame::ShouldArmDrag(static_cast<unsigned>(wparam), FromPoint(p), caption_height_, over,
                                IsZoomed(hwnd()) != FALSE)) {
    drag_armed_ = 1;
  }
  const RECT menu_area = GetSysMenuRect();
  if (PtInRect(&menu_area, p)) ShowSystemMenu();
  return DefaultProc(message, wparam, lparam);
}

LRESULT CSkinDialog::OnLeftButtonUp(WPARAM wparam, LPARAM lparam) {
  LRESULT result = DefaultProc(WM_LBUTTONUP, wparam, lparam);
  const POINT p = PointOf(lparam);
  const POINT press = press_point_;
  // Reset before any command runs: closing may open a question box.
  press_point_ = POINT{0, 0};
  if (!IsOverCaptionElement(p)) return result;
  RedrawCaptionButtons();
  switch (skin_frame::CommandOnRelease(ButtonsForHitTest(), FromPoint(p), FromPoint(press),
                                       IsZoomed(hwnd()) != FALSE)) {
    case skin_frame::CaptionCommand::kClose:
      SendMessageW(hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
      break;
    case skin_frame::CaptionCommand::kMaximize:
      SendMessageW(hwnd(), WM_SYSCOMMAND, SC_MAXIMIZE, 0);
      break;
    case skin_frame::CaptionCommand::kRestore:
      SendMessageW(hwnd(), WM_SYSCOMMAND, SC_RESTORE, 0);
      break;
    case skin_frame::CaptionCommand::kMinimize:
      SendMessageW(hwnd(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
      break;
    case skin_frame::CaptionCommand::kNone:
      break;
  }
  return result;
}

LRESULT CSkinDialog::OnMouseLeave(WPARAM, LPARAM) {
  mouse_tracked_ = 0;
  RedrawCaptionButtons();
  return 0;
}

void CSkinDialog::ShowSystemMenu() {
  HMENU menu = GetSystemMenu(hwnd(), FALSE);
  if (menu == nullptr) return;
  const bool maximised = IsZoomed(hwnd()) != FALSE;
  for (const skin_frame::MenuEntryRule& rule : skin_frame::SystemMenuRules(maximised)) {
    EnableMenuItem(menu, static_cast<UINT>(rule.position),
                   MF_BYPOSITION | (rule.enabled ? MF_ENABLED : MF_GRAYED));
  }
  POINT cursor{};
  GetCursorPos(&cursor);
  TrackPopupMenuFor(hwnd(), menu, cursor);
}

// --- Window move, maximise ------------------------------------------------------------

LRESULT CSkinDialog::OnNcLeftButtonDown(WPARAM wparam, LPARAM lparam) {
  BOOL current = FALSE;
  SystemParametersInfoW(SPI_GETDRAGFULLWINDOWS, 0, &current, 0);
  saved_drag_full_windows_ = current;
  const bool differs = (current != FALSE) != (drag_full_windows_ != 0);
  if (differs) SystemParametersInfoW(SPI_SETDRAGFULLWINDOWS, drag_full_windows_ ? TRUE : FALSE, nullptr, 0);
  LRESULT result = DefaultProc(WM_NCLBUTTONDOWN, wparam, lparam);  // runs the move loop
  if (differs)
    SystemParametersInfoW(SPI_SETDRAGFULLWINDOWS, static_cast<UINT>(saved_drag_full_windows_), nullptr, 0);
  return result;
}

LRESULT CSkinDialog::OnSysCommand(WPARAM wparam, LPARAM lparam) {
  LRESULT result = DefaultProc(WM_SYSCOMMAND, wparam, lparam);
  if (wparam == SC_MAXIMIZE && hwnd() != nullptr) {
    const RECT area = WorkArea();
    SetWindowPos(hwnd(), nullptr, area.left, area.top, area.right - area.left, area.bottom - area.top,
                 SWP_NOZORDER | SWP_SHOWWINDOW);
  }
  return result;
}

LRESULT CSkinDialog::OnGetMinMaxInfo(WPARAM wparam, LPARAM lparam) {
  LRESULT result = DefaultProc(WM_GETMINMAXINFO, wparam, lparam);
  auto* info = reinterpret_cast<MINMAXINFO*>(lparam);
  const RECT area = WorkArea();
  info->ptMaxSize.x = area.right - area.left;
  info->ptMaxSize.y = area.bottom - area.top;
  return result;
}
