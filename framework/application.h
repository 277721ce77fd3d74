#pragma once
// The program's application object: prepares the common controls, runs
// InitInstance, and ends the program when InitInstance is done. A
// dialog-based program runs its main window modally inside InitInstance:
//
//   bool MainApp::InitInstance() {
//     MainDialog dialog;
//     RunMainDialog(dialog);
//     return false;  // the program ends with its main window
//   }
#include <windows.h>

#include <string>

class Window;
class Dialog;

class Application {
 public:
  Application() = default;
  virtual ~Application() = default;
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  // Runs the program and returns its exit code. When InitInstance returns
  // true a message loop runs until WM_QUIT.
  int Run();

  // The text after the program name on the command line, as code page 936.
  static std::string Arguments();

  // The window that owns dialogs made without a parent: the main dialog
  // while RunMainDialog runs it. Null otherwise.
  static HWND MainWindow();

 protected:
  virtual bool InitInstance() = 0;

  // Runs `dialog` modally as the program's main window and returns its result.
  INT_PTR RunMainDialog(Dialog& dialog);

 private:
  int exit_code_ = 0;
};
