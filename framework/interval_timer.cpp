#include "framework/interval_timer.h"

#include "framework/window.h"

namespace {

const wchar_t kClassName[] = L"TallyoIntervalTimer";
constexpr UINT_PTR kTimerId = 1;

}  // namespace

IntervalTimer::~IntervalTimer() { Stop(); }

bool IntervalTimer::Start(UINT period_ms, std::function<void()> tick) {
  tick_ = std::move(tick);
  if (window_ == nullptr) {
    WNDCLASSEXW wc{};
    wc.lpfnWndProc = &IntervalTimer::Procedure;
    wc.lpszClassName = kClassName;
    if (!RegisterClassOnce(wc)) return false;
    window_ = CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              GetModuleHandleW(nullptr), this);
    if (window_ == nullptr) return false;
  }
  if (SetTimer(window_, kTimerId, period_ms, nullptr) != 0) return true;
  Stop();
  return false;
}

void IntervalTimer::Stop() {
  if (window_ == nullptr) return;
  HWND window = window_;
  window_ = nullptr;
  DestroyWindow(window);  // takes its timer along
}

LRESULT CALLBACK IntervalTimer::Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    // Bound once; read back without a round trip, unlike a window property.
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lparam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  } else if (message == WM_TIMER && wparam == kTimerId) {
    auto* self = reinterpret_cast<IntervalTimer*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self != nullptr && self->window_ == window && self->tick_) self->tick_();
    return 0;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}
