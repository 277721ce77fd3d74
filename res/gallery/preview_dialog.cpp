#include "res/gallery/preview_dialog.h"

#include <commctrl.h>

#include <cstring>
#include <map>
#include <memory>
#include <vector>

namespace preview {
namespace {

constexpr COLORREF kMagenta = RGB(255, 0, 255);
constexpr int kCloseNormal = 137;
constexpr int kMinimizeNormal = 140;

HINSTANCE Module() { return GetModuleHandleW(nullptr); }

HBITMAP LoadBitmapId(int id) {
  return static_cast<HBITMAP>(LoadImageW(Module(), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, 0));
}

SIZE BitmapSize(HBITMAP bitmap) {
  BITMAP info{};
  GetObjectW(bitmap, sizeof info, &info);
  return {info.bmWidth, info.bmHeight};
}

// The window shape: every pixel that is not magenta, in row runs.
HRGN RegionFromBitmap(HBITMAP bitmap) {
  SIZE size = BitmapSize(bitmap);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = size.cx;
  info.bmiHeader.biHeight = -size.cy;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  std::vector<DWORD> pixels(static_cast<size_t>(size.cx) * size.cy);
  HDC dc = GetDC(nullptr);
  GetDIBits(dc, bitmap, 0, size.cy, pixels.data(), &info, DIB_RGB_COLORS);
  ReleaseDC(nullptr, dc);
  auto transparent = [&](int x, int y) { return (pixels[y * size.cx + x] & 0xFFFFFF) == 0xFF00FF; };
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  for (int y = 0; y < size.cy; ++y) {
    int x = 0;
    while (x < size.cx) {
      while (x < size.cx && transparent(x, y)) ++x;
      int start = x;
      while (x < size.cx && !transparent(x, y)) ++x;
      if (x > start) {
        HRGN run = CreateRectRgn(start, y, x, y + 1);
        CombineRgn(region, region, run, RGN_OR);
        DeleteObject(run);
      }
    }
  }
  return region;
}

void DrawBitmap(HDC target, HBITMAP bitmap, const RECT& rect, bool transparent) {
  SIZE size = BitmapSize(bitmap);
  HDC source = CreateCompatibleDC(target);
  HGDIOBJ old = SelectObject(source, bitmap);
  if (transparent) {
    TransparentBlt(target, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, source, 0, 0,
                   size.cx, size.cy, kMagenta);
  } else {
    BitBlt(target, rect.left, rect.top, size.cx, size.cy, source, 0, 0, SRCCOPY);
  }
  SelectObject(source, old);
  DeleteDC(source);
}

struct State {
  DialogSkin skin;
  HBITMAP background = nullptr;
  HBITMAP close = nullptr;
  HBITMAP minimize = nullptr;
  std::map<int, HBITMAP> bitmaps;  // by resource id
  std::map<int, HBRUSH> label_brushes;
  std::map<HWND, const ExtraText*> extras;
  std::map<HWND, HBRUSH> extra_brushes;
  HFONT font = nullptr;
  HFONT underlined = nullptr;

  HBITMAP Bitmap(int id) {
    auto found = bitmaps.find(id);
    if (found != bitmaps.end()) return found->second;
    return bitmaps[id] = LoadBitmapId(id);
  }
  ~State() {
    for (auto& [id, bitmap] : bitmaps) DeleteObject(bitmap);
    for (auto& [id, brush] : label_brushes) DeleteObject(brush);
    for (auto& [hwnd, brush] : extra_brushes) DeleteObject(brush);
    for (HGDIOBJ object : {static_cast<HGDIOBJ>(background), static_cast<HGDIOBJ>(close),
                           static_cast<HGDIOBJ>(minimize), static_cast<HGDIOBJ>(font),
                           static_cast<HGDIOBJ>(underlined)})
      if (object) DeleteObject(object);
  }

  RECT CloseRect(int client_width) const {
    SIZE size = BitmapSize(close);
    int right = client_width - skin.close_right_inset;
    return {right - size.cx, 1, right, 1 + size.cy};
  }
};

State* StateOf(HWND hwnd) { return reinterpret_cast<State*>(GetWindowLongPtrW(hwnd, DWLP_USER)); }

HFONT DialogTextFont(bool underline) {
  // 9-point 宋体, the toolkit's text font.
  return CreateFontW(-12, 0, 0, 0, FW_NORMAL, FALSE, underline, FALSE, GB2312_CHARSET, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"\u5b8b\u4f53");
}

void MakeOwnerDrawn(HWND control) {
  SendMessageW(control, BM_SETSTYLE, BS_OWNERDRAW, TRUE);
  SetWindowLongW(control, GWL_STYLE, GetWindowLongW(control, GWL_STYLE) & ~WS_BORDER);
}

void Initialise(HWND hwnd, State& s) {
  // Borderless: the skin is the whole window.
  SetWindowLongW(hwnd, GWL_STYLE, GetWindowLongW(hwnd, GWL_STYLE) & ~(WS_CAPTION | DS_MODALFRAME));
  SetWindowLongW(hwnd, GWL_EXSTYLE, GetWindowLongW(hwnd, GWL_EXSTYLE) & ~WS_EX_DLGMODALFRAME);
  s.background = LoadBitmapId(s.skin.background_bitmap);
  s.close = LoadBitmapId(kCloseNormal);
  if (s.skin.minimize_button) s.minimize = LoadBitmapId(kMinimizeNormal);
  s.font = DialogTextFont(false);
  s.underlined = DialogTextFont(true);
  SIZE size = BitmapSize(s.background);
  SetWindowPos(hwnd, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
  SetWindowRgn(hwnd, RegionFromBitmap(s.background), TRUE);

  for (const Move& m : s.skin.moves) {
    HWND control = GetDlgItem(hwnd, m.id);
    RECT r;
    GetWindowRect(control, &r);
    int w = m.width >= 0 ? m.width : r.right - r.left;
    int h = m.height >= 0 ? m.height : r.bottom - r.top;
    UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | (m.x < 0 ? SWP_NOMOVE : 0);
    SetWindowPos(control, nullptr, m.x, m.y, w, h, flags);
    ShowWindow(control, SW_SHOWNA);
  }
  for (const BitmapButton& b : s.skin.buttons) {
    HWND control = GetDlgItem(hwnd, b.id);
    MakeOwnerDrawn(control);
    SIZE bs = BitmapSize(s.Bitmap(b.normal_bitmap));
    UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | (b.x < 0 ? SWP_NOMOVE : 0);
    SetWindowPos(control, nullptr, b.x, b.y, bs.cx, bs.cy, flags);
  }
  for (const Box& b : s.skin.boxes) {
    HWND control = GetDlgItem(hwnd, b.id);
    MakeOwnerDrawn(control);
    s.Bitmap(b.unchecked_bitmap);
    s.Bitmap(b.checked_bitmap);
    SetWindowPos(control, nullptr, b.x, b.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  for (const ColourLabel& l : s.skin.labels) {
    s.label_brushes[l.id] = CreateSolidBrush(l.background);
    if (!l.text.empty()) SetDlgItemTextW(hwnd, l.id, l.text.c_str());
    ShowWindow(GetDlgItem(hwnd, l.id), SW_SHOWNA);
  }
  for (const auto& [id, text] : s.skin.texts) SetDlgItemTextW(hwnd, id, text.c_str());
  if (s.skin.combo_id) {
    HWND combo = GetDlgItem(hwnd, s.skin.combo_id);
    for (const std::wstring& item : s.skin.combo_items)
      SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    SendMessageW(combo, CB_SETCURSEL, 0, 0);
  }
  for (const ExtraText& e : s.skin.extras) {
    HWND child = CreateWindowExW(0, L"Static", e.text.c_str(), WS_CHILD | WS_VISIBLE | SS_CENTER | SS_CENTERIMAGE,
                                 e.rect.left, e.rect.top, e.rect.right - e.rect.left, e.rect.bottom - e.rect.top,
                                 hwnd, nullptr, Module(), nullptr);
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(e.underline ? s.underlined : s.font), FALSE);
    s.extras[child] = &e;
    if (!e.transparent) s.extra_brushes[child] = CreateSolidBrush(e.background);
  }
}

void PaintSkin(HWND hwnd, HDC dc, State& s) {
  RECT client;
  GetClientRect(hwnd, &client);
  DrawBitmap(dc, s.background, client, false);
  RECT close = s.CloseRect(client.right);
  DrawBitmap(dc, s.close, close, true);
  if (s.minimize) {
    SIZE size = BitmapSize(s.minimize);
    RECT minimize{close.left - size.cx, close.top, close.left, close.top + size.cy};
    DrawBitmap(dc, s.minimize, minimize, true);
  }
}

void DrawItem(State& s, const DRAWITEMSTRUCT& item) {
  RECT rect = item.rcItem;
  wchar_t text[128] = {};
  GetWindowTextW(item.hwndItem, text, 128);
  HGDIOBJ old_font = SelectObject(item.hDC, s.font);
  SetBkMode(item.hDC, TRANSPARENT);
  for (const BitmapButton& b : s.skin.buttons) {
    if (b.id != static_cast<int>(item.CtlID)) continue;
    DrawBitmap(item.hDC, s.Bitmap(b.normal_bitmap), rect, true);
    if (b.show_text) {
      SetTextColor(item.hDC, RGB(0, 0, 0));
      DrawTextW(item.hDC, text, -1, &rect, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    }
  }
  for (const Box& b : s.skin.boxes) {
    if (b.id != static_cast<int>(item.CtlID)) continue;
    HBRUSH brush = CreateSolidBrush(b.background);
    FillRect(item.hDC, &rect, brush);
    DeleteObject(brush);
    HBITMAP box = s.Bitmap(b.checked ? b.checked_bitmap : b.unchecked_bitmap);
    SIZE size = BitmapSize(box);
    RECT at{0, (rect.bottom - size.cy) / 2, size.cx, 0};
    DrawBitmap(item.hDC, box, at, false);
    RECT text_rect = rect;
    text_rect.left = BitmapSize(s.Bitmap(b.unchecked_bitmap)).cx + 15;
    SetTextColor(item.hDC, RGB(0, 0, 0));
    DrawTextW(item.hDC, text, -1, &text_rect, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
  }
  SelectObject(item.hDC, old_font);
}

INT_PTR CALLBACK PreviewProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  State* s = StateOf(hwnd);
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtrW(hwnd, DWLP_USER, lparam);
      Initialise(hwnd, *reinterpret_cast<State*>(lparam));
      return FALSE;  // no focus: the preview is shown without activation
    case WM_NCCALCSIZE:
      SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, 0);
      return TRUE;
    case WM_NCPAINT:
      return TRUE;
    case WM_ERASEBKGND:
      if (!s || !s->background) return FALSE;
      PaintSkin(hwnd, reinterpret_cast<HDC>(wparam), *s);
      SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, 1);
      return TRUE;
    case WM_DRAWITEM:
      if (s) DrawItem(*s, *reinterpret_cast<const DRAWITEMSTRUCT*>(lparam));
      return TRUE;
    case WM_CTLCOLORSTATIC: {
      if (!s) return FALSE;
      HDC dc = reinterpret_cast<HDC>(wparam);
      HWND control = reinterpret_cast<HWND>(lparam);
      int id = GetDlgCtrlID(control);
      for (const ColourLabel& l : s->skin.labels) {
        if (l.id != id) continue;
        SetTextColor(dc, l.text_colour);
        SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<INT_PTR>(s->label_brushes[id]);
      }
      auto extra = s->extras.find(control);
      if (extra != s->extras.end()) {
        SetTextColor(dc, extra->second->text_colour);
        SetBkMode(dc, TRANSPARENT);
        auto brush = s->extra_brushes.find(control);
        return reinterpret_cast<INT_PTR>(brush != s->extra_brushes.end() ? brush->second
                                                                         : GetStockObject(NULL_BRUSH));
      }
      return FALSE;
    }
    case WM_NCDESTROY:
      delete s;
      SetWindowLongPtrW(hwnd, DWLP_USER, 0);
      return FALSE;
  }
  return FALSE;
}

LRESULT CALLBACK GridStandInProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT client;
    GetClientRect(hwnd, &client);
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    RECT header{0, 0, client.right, 22};
    HBRUSH grey = CreateSolidBrush(RGB(236, 236, 236));
    FillRect(dc, &header, grey);
    DeleteObject(grey);
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(192, 192, 192));
    HGDIOBJ old_pen = SelectObject(dc, pen);
    // Two columns of 380 and 130 widened to the grid, as view 0 shows them.
    int first = client.right * 380 / 510;
    for (int y = 22; y < client.bottom; y += 22) {
      MoveToEx(dc, 0, y, nullptr);
      LineTo(dc, client.right, y);
    }
    MoveToEx(dc, first, 0, nullptr);
    LineTo(dc, first, client.bottom);
    SelectObject(dc, old_pen);
    DeleteObject(pen);
    HFONT font = DialogTextFont(false);
    HGDIOBJ old_font = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    RECT title{0, 0, first, 22}, time{first, 0, client.right, 22};
    DrawTextW(dc, L"\u6807\u9898", -1, &title, DT_SINGLELINE | DT_VCENTER | DT_CENTER);  // 标题
    DrawTextW(dc, L"\u65f6\u95f4", -1, &time, DT_SINGLELINE | DT_VCENTER | DT_CENTER);   // 时间
    SelectObject(dc, old_font);
    DeleteObject(font);
    EndPaint(hwnd, &ps);
    return 0;
  }
  return DefWindowProcW(hwnd, message, wparam, lparam);
}

}  // namespace

void RegisterStandInControls() {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_DATE_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  WNDCLASSW existing{};
  if (GetClassInfoW(Module(), L"MFCGridCtrl", &existing)) return;
  WNDCLASSW grid{};
  grid.style = CS_DBLCLKS;
  grid.lpfnWndProc = GridStandInProc;
  grid.hInstance = Module();
  grid.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  grid.lpszClassName = L"MFCGridCtrl";
  RegisterClassW(&grid);
}

HWND CreateHidden(int template_id, DLGPROC proc, LPARAM param) {
  HRSRC res = FindResourceW(Module(), MAKEINTRESOURCEW(template_id), RT_DIALOG);
  if (res == nullptr) return nullptr;
  const void* data = LockResource(LoadResource(Module(), res));
  DWORD size = SizeofResource(Module(), res);
  std::vector<DWORD> copy((size + 3) / 4);  // DWORD-aligned, as templates must be
  std::memcpy(copy.data(), data, size);
  auto* words = reinterpret_cast<WORD*>(copy.data());
  bool extended = words[0] == 1 && words[1] == 0xFFFF;
  DWORD* style = extended ? &copy[3] : &copy[0];
  *style &= ~static_cast<DWORD>(WS_VISIBLE);
  return CreateDialogIndirectParamW(Module(), reinterpret_cast<const DLGTEMPLATE*>(copy.data()), nullptr, proc,
                                    param);
}

HWND Open(const DialogSkin& skin, int x, int y) {
  RegisterStandInControls();
  auto* state = new State{};
  state->skin = skin;
  HWND hwnd = CreateHidden(skin.template_id, PreviewProc, reinterpret_cast<LPARAM>(state));
  if (hwnd == nullptr) {
    delete state;
    return nullptr;
  }
  SetWindowPos(hwnd, HWND_TOP, x, y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  return hwnd;
}

}  // namespace preview
