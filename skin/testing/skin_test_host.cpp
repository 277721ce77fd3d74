#include "skin/testing/skin_test_host.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <utility>

namespace {

const wchar_t kHostClass[] = L"TallyoSkinTestHost";

// A test that waits on a message that never comes must not hang the run.
struct Watchdog {
  Watchdog() {
    std::thread([] {
      std::this_thread::sleep_for(std::chrono::seconds(120));
      std::fprintf(stderr, "skin controls test: watchdog expired\n");
      std::_Exit(3);
    }).detach();
  }
} watchdog;

}  // namespace

TestHost::TestHost() {
  Window::RegisterWindowClass(kHostClass, CS_DBLCLKS, nullptr, nullptr);
  RECT rect{kX, kY, kX + kWidth, kY + kHeight};
  Create(kHostClass, L"host", WS_POPUP | WS_CLIPCHILDREN, WS_EX_TOPMOST, rect, nullptr, 0);
  // Shown without activation: under Wine without a window manager an active
  // window counts as managed, and destroying it then waits two seconds for
  // the window manager's answer.
  SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  UpdateWindow(hwnd());
  PumpMessages();
}

TestHost::~TestHost() { Destroy(); }

HWND TestHost::AddControl(const wchar_t* window_class, int id, DWORD style, const wchar_t* text,
                          const RECT& rect) {
  return CreateWindowExW(0, window_class, text, WS_CHILD | WS_VISIBLE | style, rect.left, rect.top,
                         rect.right - rect.left, rect.bottom - rect.top, hwnd(),
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr),
                         nullptr);
}

int TestHost::clicks(int id) const {
  auto it = clicks_.find(id);
  return it == clicks_.end() ? 0 : it->second;
}

int TestHost::draw_requests(int id) const {
  auto it = draw_requests_.find(id);
  return it == draw_requests_.end() ? 0 : it->second;
}

LRESULT TestHost::WindowProc(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_DRAWITEM) ++draw_requests_[static_cast<int>(wparam)];
  LRESULT reflected = 0;
  if (Window::ReflectToChild(hwnd(), message, wparam, lparam, &reflected)) return reflected;
  switch (message) {
    case WM_COMMAND:
      if (HIWORD(wparam) == BN_CLICKED) ++clicks_[LOWORD(wparam)];
      return 0;
    case WM_ERASEBKGND: {
      HDC dc = reinterpret_cast<HDC>(wparam);
      RECT left{0, 0, kWidth / 2, kHeight};
      RECT right{kWidth / 2, 0, kWidth, kHeight};
      Brush left_brush(CreateSolidBrush(kLeftColor));
      Brush right_brush(CreateSolidBrush(kRightColor));
      FillRect(dc, &left, left_brush.get());
      FillRect(dc, &right, right_brush.get());
      return 1;
    }
    default:
      return DefaultProc(message, wparam, lparam);
  }
}

Bitmap SolidBitmap(int width, int height, COLORREF color) {
  WindowDC screen(nullptr);
  Bitmap bitmap(CreateCompatibleBitmap(screen.get(), width, height));
  MemoryDC memory(screen.get());
  SelectGuard select(memory.get(), bitmap.get());
  Brush brush(CreateSolidBrush(color));
  RECT all{0, 0, width, height};
  FillRect(memory.get(), &all, brush.get());
  return bitmap;
}

Canvas::Canvas(int width, int height, COLORREF fill) : width_(width), height_(height) {
  WindowDC screen(nullptr);
  memory_ = CreateCompatibleDC(screen.get());
  bitmap_ = CreateCompatibleBitmap(screen.get(), width, height);
  old_bitmap_ = SelectObject(memory_, bitmap_);
  Fill(fill);
}

Canvas::~Canvas() {
  if (memory_ == nullptr) return;
  SelectObject(memory_, old_bitmap_);
  DeleteObject(bitmap_);
  DeleteDC(memory_);
}

Canvas::Canvas(Canvas&& other) noexcept
    : width_(other.width_),
      height_(other.height_),
      memory_(std::exchange(other.memory_, nullptr)),
      bitmap_(std::exchange(other.bitmap_, nullptr)),
      old_bitmap_(std::exchange(other.old_bitmap_, nullptr)) {}

void Canvas::Fill(COLORREF color) {
  Brush brush(CreateSolidBrush(color));
  RECT all{0, 0, width_, height_};
  FillRect(memory_, &all, brush.get());
}

int Canvas::Count(COLORREF color, RECT* bounds) const {
  int count = 0;
  RECT box{width_, height_, -1, -1};
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) {
      if (Pixel(x, y) != color) continue;
      ++count;
      box.left = std::min<LONG>(box.left, x);
      box.top = std::min<LONG>(box.top, y);
      box.right = std::max<LONG>(box.right, x + 1);
      box.bottom = std::max<LONG>(box.bottom, y + 1);
    }
  }
  if (bounds != nullptr) *bounds = box;
  return count;
}

void PumpMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

void Click(HWND control, int x, int y) {
  SendMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  SendMessageW(control, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

void FocusByTab(HWND control) {
  BYTE keys[256]{};
  GetKeyboardState(keys);
  keys[VK_TAB] = 0x80;
  SetKeyboardState(keys);
  SetFocus(control);
  keys[VK_TAB] = 0;
  SetKeyboardState(keys);
}
