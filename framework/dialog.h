#pragma once
// A modal dialog built from a dialog template: `AboutDialog dlg; dlg.DoModal();`.
//
// The object is bound to its window at WM_INITDIALOG and forgotten at
// WM_NCDESTROY. Messages are routed in this order:
//   1. reflected messages to the child control's own object (Window::ReflectToChild);
//   2. RouteMessage: the most derived class's message table, then its base's;
//      Dialog's own part turns IDOK and IDCANCEL into OnOK and OnCancel;
//   3. the dialog manager's default processing.
// Values travel between members and controls through DoDataExchange, run by
// UpdateData in either direction. While UpdateData runs, notifications from
// the dialog's controls (WM_COMMAND from a control, WM_NOTIFY) are ignored:
// setting a control's value makes it report a change, and a handler that
// answers a change by exchanging data again must not be called back by its
// own exchange.
#include <windows.h>

#include "framework/data_exchange.h"
#include "framework/window.h"

class Dialog : public Window {
 public:
  // A dialog from template resource `template_id` of the program. With a
  // null parent the owner is the application's main window (or the active
  // window of this thread when there is none); with the desktop window as
  // parent the dialog has no owner and disables no other window.
  explicit Dialog(UINT template_id, HWND parent = nullptr);
  // A dialog from a template in memory (tests, built-in dialogs). The
  // template must outlive DoModal.
  explicit Dialog(const DLGTEMPLATE* in_memory_template, HWND parent = nullptr);

  // Runs the dialog until EndDialog; returns the value given to EndDialog,
  // or -1 when the dialog could not be created.
  INT_PTR DoModal();
  // Creates the dialog without a loop of its own and returns at once (false
  // when it could not be created); the owner (see the constructor) stays
  // usable. Its keys work in whatever modal loop runs meanwhile. Shown when
  // the template says WS_VISIBLE, else when the caller shows it. EndDialog
  // destroys it and then calls OnModelessEnd.
  bool CreateModeless();
  bool modeless() const { return modeless_; }
  void EndDialog(INT_PTR result);

  // save = false: members to controls; save = true: controls to members.
  // Returns false when a control refused its value (the user has been
  // told, and the focus is on that control); see failed_control().
  // REQUIRES: the dialog is running.
  bool UpdateData(bool save = true);
  // The id of the control that refused its value at the last UpdateData, or 0.
  int failed_control() const { return failed_control_; }

  UINT template_id() const { return template_id_; }

  // The window that owns dialogs made without a parent: the program's main
  // window while the application runs it (Application::RunMainDialog sets
  // it), else null.
  static HWND DefaultOwner();
  static void SetDefaultOwner(Window* owner) { default_owner_ = owner; }
  static Window* default_owner() { return default_owner_; }

 protected:
  // WM_INITDIALOG. The default pushes the members to the controls and
  // returns true (the system sets the focus).
  virtual bool OnInitDialog();
  // IDOK (Enter, the OK button). The default reads the controls and ends
  // the dialog with IDOK, or stays open when a control refused its value.
  virtual void OnOK();
  // IDCANCEL (Escape, the close box). The default ends with IDCANCEL.
  virtual void OnCancel();
  // Binds members to controls; called by UpdateData.
  virtual void DoDataExchange(DataExchange& dx);
  // A modeless dialog ended with `result`; its window is gone. The object
  // may not be destroyed from here: the call comes from inside its own
  // message handling.
  virtual void OnModelessEnd(INT_PTR /*result*/) {}

  // The message table chain; see the top of this file. Overrides route
  // through their own table and then call their base class's RouteMessage.
  virtual bool RouteMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result);

  LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  static INT_PTR CALLBACK StaticDialogProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  HWND OwnerForModal() const;

  static inline Window* default_owner_ = nullptr;

  UINT template_id_ = 0;
  const DLGTEMPLATE* in_memory_template_ = nullptr;
  HWND parent_ = nullptr;
  int failed_control_ = 0;
  bool exchanging_data_ = false;
  bool modeless_ = false;
};
