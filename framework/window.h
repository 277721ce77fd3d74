#pragma once
// One object per window, bound once: a Window either creates its window or
// subclasses an existing one (a control of a dialog template), and receives
// its messages through the virtual WindowProc. Parents reflect owner-draw,
// colour, command and notify messages to the child's own object.
#include <windows.h>

// Registers `wc` (its instance set to the program's) unless a class of
// that name is registered already; false when the system refuses it.
bool RegisterClassOnce(WNDCLASSEXW wc);

class Window {
 public:
  Window() = default;
  virtual ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  HWND hwnd() const { return hwnd_; }
  explicit operator bool() const { return hwnd_ != nullptr; }

  // The object bound to hwnd, or null.
  static Window* FromHandle(HWND hwnd);

  // Subclasses an existing window (typically GetDlgItem(dialog, id)).
  // REQUIRES: this object is not bound yet. Returns false if hwnd is null.
  bool Subclass(HWND hwnd);
  bool SubclassDlgItem(HWND dialog, int id) { return Subclass(GetDlgItem(dialog, id)); }

  // Creates a window of a class registered with RegisterWindowClass (or any
  // class name) and binds it from WM_NCCREATE on.
  bool Create(const wchar_t* class_name, const wchar_t* title, DWORD style, DWORD ex_style, const RECT& rect,
              HWND parent, UINT id);

  // Registers a window class whose procedure routes to Window objects.
  // Registering the same name twice is harmless.
  static bool RegisterWindowClass(const wchar_t* class_name, UINT class_style, HCURSOR cursor,
                                  HBRUSH background);

  // Destroys the window (if any); the object stays usable for a new Create.
  void Destroy();

  // Timer `id` of this window: WM_TIMER with wparam `id` every `period_ms`
  // milliseconds. Starting a running timer restarts its period. Timers
  // belong to the window, so ids only need to be unique per window; they
  // keep firing inside the message loops of modal dialogs and menus.
  // Returns false when there is no window.
  bool StartTimer(UINT_PTR id, UINT period_ms);
  void StopTimer(UINT_PTR id);

  // Reflected from the parent: WM_DRAWITEM, WM_MEASUREITEM, WM_CTLCOLOR*,
  // WM_COMMAND (control notifications), WM_NOTIFY, WM_HSCROLL/WM_VSCROLL.
  // Return true when handled, with *result the parent's answer.
  virtual bool OnReflectedMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result);

  // Routes a parent's message to the child object named in it, if any and if
  // the message is one of the reflected kinds. Dialogs call this first.
  static bool ReflectToChild(HWND parent, UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result);

 protected:
  virtual LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam);
  // The processing the window would get without this object.
  LRESULT DefaultProc(UINT message, WPARAM wparam, LPARAM lparam);
  // Called once the window handle is gone (after WM_NCDESTROY).
  virtual void OnFinalMessage() {}
  // Called once Subclass has bound this object to an existing window (a
  // control of a template, however it was bound): the place for a control
  // to adjust the window it was given.
  virtual void OnSubclassed() {}

 private:
  static LRESULT CALLBACK StaticWindowProc(HWND, UINT, WPARAM, LPARAM);
  static LRESULT CALLBACK SubclassProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
  LRESULT Dispatch(UINT message, WPARAM wparam, LPARAM lparam);
  void Unbind();

  HWND hwnd_ = nullptr;
  bool subclassed_ = false;
  bool created_ = false;
};
