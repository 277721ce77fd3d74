#pragma once
// The program's icon in the notification area. It owns a hidden window of
// its own, which receives the shell's mouse callbacks (passed on unchanged
// to the owner window as WM_TRAYNOTIFY) and the flash timer: while flashing,
// every 700 ms the icon alternates between the main icon and an alternate
// one (the program's is fully transparent, so the icon blinks).
//
// When the shell's taskbar is created again (Explorer restarted), the icon
// is added again with whatever frame it showed, so a program that lives in
// the notification area does not vanish from it.
#include <windows.h>

#include <shellapi.h>

#include <functional>
#include <string_view>

#include "framework/window.h"

// The callback message of the icon, and the message the owner receives.
inline constexpr UINT WM_TRAYNOTIFY = 5586;

class CTrayIcon : public Window {
 public:
  // The shell call, replaceable so tests can watch the requests.
  using ShellNotify = std::function<BOOL(DWORD message, NOTIFYICONDATAW* record)>;

  explicit CTrayIcon(ShellNotify shell = Shell_NotifyIconW);
  ~CTrayIcon() override;

  // Creates the hidden window if needed and adds the icon (tip in code page
  // 936, at most 63 bytes are kept; icons are not owned). Returns the
  // shell's answer; when the icon is already added, changes nothing and
  // returns 1.
  BOOL AddIcon(Window* owner, std::string_view tip, HICON main_icon, HICON alternate_icon, UINT id);
  // Shows `icon`: modifies the added icon, or adds it again when it was removed.
  void SetIcon(HICON icon);
  // Changes the tip (code page 936; the 127 characters the shell shows are
  // kept). Nothing is sent when the tip is already that text.
  void SetTip(std::string_view tip);
  // Starts (or restarts) flashing; the next tick shows the alternate icon.
  // Returns the timer's id, 0 when there is no window.
  UINT_PTR StartFlash();
  // Stops flashing and shows the main icon.
  void StopFlash();
  // Removes the icon from the notification area; returns the shell's answer.
  BOOL RemoveIcon();

  bool added() const { return added_ != 0; }
  // 1: the next flash tick shows the alternate icon; 2: the main icon.
  int flash_phase() const { return flash_phase_; }
  const NOTIFYICONDATAW& record() const { return record_; }

 protected:
  LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override;
  // A shell callback: wparam the icon id, the low word of lparam the mouse
  // message. Passes it to the owner when the id is ours (answer 1, also
  // without an owner); answers 0 for any other id.
  virtual LRESULT OnTrayNotification(WPARAM wparam, LPARAM lparam);

 private:
  static constexpr UINT_PTR kFlashTimer = 1;
  static constexpr UINT kFlashPeriodMs = 700;

  bool EnsureWindow();
  void FlashStep();
  void AddAgainForNewTaskbar();

  ShellNotify shell_;
  NOTIFYICONDATAW record_{};
  Window* owner_ = nullptr;
  int added_ = 0;
  int flash_phase_ = 1;
  HICON main_icon_ = nullptr;
  HICON alternate_icon_ = nullptr;
  UINT taskbar_created_ = 0;
};
