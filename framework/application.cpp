#include "framework/application.h"

#include <commctrl.h>

#include "framework/command_line.h"
#include "framework/dialog.h"
#include "framework/text_boundary.h"

namespace {

// The one main window of the process; dialogs made without a parent look
// it up while they start.
Window* main_window = nullptr;

}  // namespace

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

HWND Application::MainWindow() { return main_window != nullptr ? main_window->hwnd() : nullptr; }

INT_PTR Application::RunMainDialog(Dialog& dialog) {
  Window* previous = main_window;
  main_window = &dialog;
  INT_PTR result = dialog.DoModal();
  main_window = previous;
  return result;
}
