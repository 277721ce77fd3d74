#include "framework/application.h"

#include <commctrl.h>

#include "framework/command_line.h"
#include "framework/dialog.h"
#include "framework/text_boundary.h"

int Application::Run() {
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof controls;
  controls.dwICC = ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_STANDARD_CLASSES;
  InitCommonControlsEx(&controls);

  if (InitInstance()) {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    exit_code_ = msg.message == WM_QUIT ? static_cast<int>(msg.wParam) : exit_code_;
  }
  return exit_code_;
}

std::string Application::Arguments() { return ArgumentsAfterProgramName(win::Narrow(GetCommandLineW())); }

HWND Application::MainWindow() { return Dialog::DefaultOwner(); }

INT_PTR Application::RunMainDialog(Dialog& dialog) {
  // Dialogs made without a parent are owned by the main window while it runs.
  Window* previous = Dialog::default_owner();
  Dialog::SetDefaultOwner(&dialog);
  INT_PTR result = dialog.DoModal();
  Dialog::SetDefaultOwner(previous);
  return result;
}
