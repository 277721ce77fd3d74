// MainDialog: calendar files to import, from the tray menu's open dialog, a
// drop on the window, the command line and a second start handing its file
// over. Each is imported in turn, in the import dialog.
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include "app/calendar_file_import.h"
#include "app/import_dialog.h"
#include "app/import_hand_over.h"
#include "app/import_request.h"
#include "app/import_texts.h"
#include "app/main_dialog.h"
#include "base/program_path.h"
#include "framework/file_dialog.h"
#include "framework/program_title.h"
#include "framework/text_boundary.h"

void MainDialog::OnChooseCalendarFile() {
  std::optional<std::string> path = ChooseFileToOpen(hwnd(), kCalendarFileFilter);
  if (path) QueueImport(*path);
}

LRESULT MainDialog::OnDropFiles(WPARAM wparam, LPARAM) {
  HDROP drop = reinterpret_cast<HDROP>(wparam);
  const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    const UINT length = DragQueryFileW(drop, i, nullptr, 0);
    std::wstring path(length + 1, L'\0');
    DragQueryFileW(drop, i, path.data(), length + 1);
    path.resize(length);
    QueueImport(win::Narrow(path));
  }
  DragFinish(drop);
  return 0;
}

LRESULT MainDialog::OnCopyData(WPARAM, LPARAM lparam) {
  const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lparam);
  if (data == nullptr) return FALSE;
  std::optional<std::string> file = FileHandedOver(*data, FolderOf(ProgramFilePath()));
  if (!file) return FALSE;
  QueueImport(*file);
  return TRUE;
}

void MainDialog::QueueImport(std::string path) {
  // Imported from the window's own loop: a drop and a handed-over file
  // must be answered at once, not after a dialog.
  pending_imports_.push_back(std::move(path));
  PostMessageW(hwnd(), kImportPending, 0, 0);
}

LRESULT MainDialog::OnImportPending(WPARAM, LPARAM) {
  if (import_running_) return 0;  // its end takes the queue on
  while (!pending_imports_.empty()) {
    const std::string path = pending_imports_.front();
    pending_imports_.erase(pending_imports_.begin());
    ImportCalendarFile(path);
  }
  return 0;
}

void MainDialog::ImportCalendarFile(const std::string& path) {
  if (PathLostCharacters(path)) {
    win::MessageBox(hwnd(), kPathNotShown, kProgramTitle, MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  import_running_ = true;
  ImportDialog dialog(FileNameOf(path), MakeCalendarFileImport(path), hwnd());
  dialog.DoModal();
  import_running_ = false;
  // Written through the folder's door like another program's change: taken
  // in now rather than at the next tick.
  if (dialog.imported()) Present(controller_.Tick());
}
