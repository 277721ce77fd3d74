#include "app/main_app.h"

#include "app/import_hand_over.h"
#include "app/import_request.h"
#include "app/main_dialog.h"
#include "base/program_path.h"
#include "framework/program_title.h"
#include "framework/text_boundary.h"
#include "ical/calendar_zones.h"
#include "res/resource.h"
#include "update/socket_layer.h"

namespace {

// The full path of `path`, which may be relative to where the program was
// started: a copy that takes the file over runs elsewhere.
std::string FullPathOf(const std::string& path) {
  const std::wstring wide = win::Widen(path);
  const DWORD length = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
  if (length == 0) return path;
  std::wstring full(length, L'\0');
  const DWORD written = GetFullPathNameW(wide.c_str(), length, full.data(), nullptr);
  if (written == 0 || written >= length) return path;
  full.resize(written);
  return win::Narrow(full);
}

}  // namespace

bool MainApp::InitInstance() {
  // A calendar file named at the start goes to a copy already running on
  // this folder, if there is one; else this copy opens and imports it.
  const std::optional<std::string> file = FileOfArguments(Application::Arguments());
  if (file && !PathLostCharacters(*file) &&
      HandFileToRunningCopy(FolderOf(ProgramFilePath()), FullPathOf(*file))) {
    return false;
  }
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
