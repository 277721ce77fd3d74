#pragma once
// The program: starts the socket layer and runs the main window; when the
// main window ends, the program ends.
#include "framework/application.h"

class MainApp : public Application {
 protected:
  bool InitInstance() override;
};
