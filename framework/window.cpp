#include "framework/window.h"

#include <commctrl.h>

#include <utility>

namespace {

const wchar_t kObjectProperty[] = L"TallyoWindowObject";

// The object whose Create is running on this thread. WM_NCCREATE binds to it
// rather than trusting the creation data, which a window made from a dialog
// template fills with the template's own bytes.
thread_local Window* t_creating = nullptr;
constexpr UINT_PTR kSubclassId = 0x7A11;

bool IsReflectedMessage(UINT message) {
  switch (message) {
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
      return true;
    default:
      return false;
  }
}

// The child window a parent's message speaks of, or null.
HWND ChildOfMessage(HWND parent, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_DRAWITEM:
      return wparam != 0 ? reinterpret_cast<DRAWITEMSTRUCT*>(lparam)->hwndItem : nullptr;
    case WM_MEASUREITEM:
      return wparam != 0 ? GetDlgItem(parent, static_cast<int>(wparam)) : nullptr;
    case WM_COMMAND:
      return reinterpret_cast<HWND>(lparam);  // null for menus and accelerators
    case WM_NOTIFY:
      return reinterpret_cast<NMHDR*>(lparam)->hwndFrom;
    default:
      return reinterpret_cast<HWND>(lparam);
  }
}

}  // namespace

Window::~Window() { Destroy(); }

Window* Window::FromHandle(HWND hwnd) {
  return hwnd ? static_cast<Window*>(GetPropW(hwnd, kObjectProperty)) : nullptr;
}

bool Window::Subclass(HWND hwnd) {
  if (hwnd == nullptr || hwnd_ != nullptr) return false;
  if (!SetWindowSubclass(hwnd, SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this))) return false;
  hwnd_ = hwnd;
  subclassed_ = true;
  SetPropW(hwnd, kObjectProperty, this);
  OnSubclassed();
  return true;
}

bool RegisterClassOnce(WNDCLASSEXW wc) {
  wc.cbSize = sizeof wc;
  wc.hInstance = GetModuleHandleW(nullptr);
  WNDCLASSEXW known{};
  known.cbSize = sizeof known;
  if (GetClassInfoExW(wc.hInstance, wc.lpszClassName, &known)) return true;
  return RegisterClassExW(&wc) != 0;
}

bool Window::RegisterWindowClass(const wchar_t* class_name, UINT class_style, HCURSOR cursor,
                                 HBRUSH background) {
  WNDCLASSEXW wc{};
  wc.style = class_style;
  wc.lpfnWndProc = StaticWindowProc;
  wc.hCursor = cursor ? cursor : LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = background;
  wc.lpszClassName = class_name;
  return RegisterClassOnce(wc);
}

bool Window::Create(const wchar_t* class_name, const wchar_t* title, DWORD style, DWORD ex_style,
                    const RECT& rect, HWND parent, UINT id) {
  if (hwnd_ != nullptr) return false;
  HMENU menu = (style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)) : nullptr;
  Window* outer = std::exchange(t_creating, this);
  HWND hwnd = CreateWindowExW(ex_style, class_name, title, style, rect.left, rect.top, rect.right - rect.left,
                              rect.bottom - rect.top, parent, menu, GetModuleHandleW(nullptr), nullptr);
  t_creating = outer;
  if (hwnd == nullptr) return false;
  // A class whose procedure is not ours (a system control): subclass it instead.
  if (hwnd_ == nullptr && !Subclass(hwnd)) {
    DestroyWindow(hwnd);
    return false;
  }
  created_ = true;  // made here, so Destroy destroys it
  return true;
}

void Window::Destroy() {
  if (hwnd_ == nullptr) return;
  HWND hwnd = hwnd_;
  if (subclassed_ && !created_) {
    // A subclassed control belongs to its dialog: only let go of it.
    Unbind();
    return;
  }
  DestroyWindow(hwnd);
  if (hwnd_ != nullptr) Unbind();
}

bool Window::StartTimer(UINT_PTR id, UINT period_ms) {
  // Without a window SetTimer would make a thread timer nobody handles.
  return hwnd_ != nullptr && SetTimer(hwnd_, id, period_ms, nullptr) != 0;
}

void Window::StopTimer(UINT_PTR id) {
  if (hwnd_ != nullptr) KillTimer(hwnd_, id);
}

void Window::Unbind() {
  if (hwnd_ == nullptr) return;
  RemovePropW(hwnd_, kObjectProperty);
  if (subclassed_) RemoveWindowSubclass(hwnd_, SubclassProc, kSubclassId);
  hwnd_ = nullptr;
  subclassed_ = false;
  created_ = false;
}

bool Window::OnReflectedMessage(UINT, WPARAM, LPARAM, LRESULT*) { return false; }

bool Window::ReflectToChild(HWND parent, UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result) {
  if (!IsReflectedMessage(message)) return false;
  Window* child = FromHandle(ChildOfMessage(parent, message, wparam, lparam));
  return child != nullptr && child->OnReflectedMessage(message, wparam, lparam, result);
}

LRESULT Window::WindowProc(UINT message, WPARAM wparam, LPARAM lparam) {
  return DefaultProc(message, wparam, lparam);
}

LRESULT Window::DefaultProc(UINT message, WPARAM wparam, LPARAM lparam) {
  if (subclassed_) return DefSubclassProc(hwnd_, message, wparam, lparam);
  return DefWindowProcW(hwnd_, message, wparam, lparam);
}

LRESULT Window::Dispatch(UINT message, WPARAM wparam, LPARAM lparam) {
  LRESULT result = WindowProc(message, wparam, lparam);
  if (message == WM_NCDESTROY) {
    Unbind();
    OnFinalMessage();
  }
  return result;
}

LRESULT CALLBACK Window::StaticWindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  Window* self = FromHandle(hwnd);
  if (self == nullptr && message == WM_NCCREATE && t_creating != nullptr && t_creating->hwnd_ == nullptr) {
    self = t_creating;
    self->hwnd_ = hwnd;
    SetPropW(hwnd, kObjectProperty, self);
  }
  if (self == nullptr || self->subclassed_) return DefWindowProcW(hwnd, message, wparam, lparam);
  return self->Dispatch(message, wparam, lparam);
}

LRESULT CALLBACK Window::SubclassProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR,
                                      DWORD_PTR ref) {
  auto* self = reinterpret_cast<Window*>(ref);
  if (self->hwnd_ != hwnd) return DefSubclassProc(hwnd, message, wparam, lparam);
  return self->Dispatch(message, wparam, lparam);
}
