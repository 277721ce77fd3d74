// Tallyo.exe: the entry point.
#include <windows.h>

#include "app/main_app.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  MainApp app;
  return app.Run();
}
