#include "app/main_app.h"

#include "app/main_dialog.h"
#include "framework/program_title.h"
#include "framework/text_boundary.h"
#include "ical/calendar_zones.h"
#include "res/resource.h"
#include "update/socket_layer.h"

bool MainApp::InitInstance() {
  SocketLayer sockets;
  if (!sockets.ok()) {
    // "Windows 通信端口初始化失败。"
    win::MessageBox(nullptr, win::LoadString(IDS_SOCKETS_INIT_FAILED), kProgramTitle, MB_OK | MB_ICONSTOP);
    return false;
  }
  // Before any calendar is read: the zones travel inside the program.
  tallyo::InitCalendarZones();
  MainDialog dialog;
  RunMainDialog(dialog);
  return false;  // the program ends with its main window
}
