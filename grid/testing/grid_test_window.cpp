#include "grid/testing/grid_test_window.h"

#include <algorithm>

namespace {
const wchar_t kHostClass[] = L"TallyoGridTestHost";
}

bool GridTestHost::Open(int width, int height) {
  RegisterWindowClass(kHostClass, 0, nullptr,
                      reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1)));
  RECT rect{40, 40, 40 + width, 40 + height};
  AdjustWindowRectEx(&rect, WS_OVERLAPPEDWINDOW, FALSE, 0);
  if (!Create(kHostClass, L"Grid test", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN, 0, rect, nullptr,
              0)) {
    return false;
  }
  SetForegroundWindow(hwnd());
  PumpMessages();
  return true;
}

bool GridTestHost::AddGrid(CGridCtrl& grid, int client_width, int client_height) {
  RECT rect{8, 8, 8 + client_width, 8 + client_height};
  if (!grid.Create(hwnd(), rect, 1005)) return false;
  // Grow the window until the client area (inside the sunken edge) has the size asked for.
  RECT client;
  GetClientRect(grid.hwnd(), &client);
  SetWindowPos(grid.hwnd(), nullptr, 0, 0, client_width + (client_width - client.right),
               client_height + (client_height - client.bottom), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  SetFocus(grid.hwnd());
  PumpMessages();
  return true;
}

std::vector<int> GridTestHost::Codes() const {
  std::vector<int> codes;
  for (const RecordedNotify& n : notifications) codes.push_back(n.code);
  return codes;
}

LRESULT GridTestHost::WindowProc(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NOTIFY) {
    const auto* n = reinterpret_cast<const GridNotify*>(lparam);
    notifications.push_back({n->hdr.idFrom, static_cast<int>(n->hdr.code), n->iRow, n->iColumn});
    return 0;
  }
  if (message == WM_COMMAND && lparam != 0) {
    commands.push_back(wparam);
    return 0;
  }
  return DefaultProc(message, wparam, lparam);
}

void PumpMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

HeldKeys::HeldKeys(std::initializer_list<int> keys) {
  GetKeyboardState(saved_);
  BYTE state[256];
  std::copy(std::begin(saved_), std::end(saved_), state);
  for (int key : keys) state[key] |= 0x80;
  SetKeyboardState(state);
}

HeldKeys::~HeldKeys() { SetKeyboardState(saved_); }

void Click(HWND hwnd, int x, int y, UINT extra_flags) {
  SendMessageW(hwnd, WM_MOUSEMOVE, extra_flags, MAKELPARAM(x, y));
  SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON | extra_flags, MAKELPARAM(x, y));
  SendMessageW(hwnd, WM_LBUTTONUP, extra_flags, MAKELPARAM(x, y));
}

void DoubleClick(HWND hwnd, int x, int y) {
  Click(hwnd, x, y);
  SendMessageW(hwnd, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(x, y));
  SendMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

void RightClick(HWND hwnd, int x, int y) {
  SendMessageW(hwnd, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(x, y));
  SendMessageW(hwnd, WM_RBUTTONUP, 0, MAKELPARAM(x, y));
}

void PressKey(HWND hwnd, UINT key) {
  SendMessageW(hwnd, WM_KEYDOWN, key, 1);
  SendMessageW(hwnd, WM_KEYUP, key, 0xC0000001);
}

GridSnapshot::GridSnapshot(HWND grid) {
  RECT client;
  GetClientRect(grid, &client);
  width_ = client.right;
  height_ = client.bottom;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width_;
  info.bmiHeader.biHeight = -height_;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  SendMessageW(grid, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
  GdiFlush();
  const auto* p = static_cast<const DWORD*>(bits);
  pixels_.assign(p, p + static_cast<std::size_t>(width_) * height_);
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
}

GridSnapshot::~GridSnapshot() = default;

COLORREF GridSnapshot::Pixel(int x, int y) const {
  const DWORD bgr = pixels_[static_cast<std::size_t>(y) * width_ + x];
  return RGB((bgr >> 16) & 0xFF, (bgr >> 8) & 0xFF, bgr & 0xFF);
}
