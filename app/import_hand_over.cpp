#include "app/import_hand_over.h"

#include <vector>

#include "app/import_request.h"

namespace {

// The window property that marks a main window, and the tag of the data.
constexpr wchar_t kMainWindowMark[] = L"Tallyo.MainWindow";
constexpr ULONG_PTR kImportFileData = 0x54414C59;  // "TALY"
constexpr UINT kAnswerWaitMs = 5000;

BOOL CALLBACK CollectMarked(HWND window, LPARAM windows) {
  if (GetPropW(window, kMainWindowMark) != nullptr) {
    reinterpret_cast<std::vector<HWND>*>(windows)->push_back(window);
  }
  return TRUE;
}

}  // namespace

void MarkAsMainWindow(HWND main_window) {
  SetPropW(main_window, kMainWindowMark, reinterpret_cast<HANDLE>(1));
}

bool HandFileToRunningCopy(const std::string& folder, const std::string& file) {
  std::vector<HWND> windows;
  EnumWindows(CollectMarked, reinterpret_cast<LPARAM>(&windows));
  const std::string text = HandOverText(folder, file);
  COPYDATASTRUCT data{};
  data.dwData = kImportFileData;
  data.cbData = static_cast<DWORD>(text.size());
  data.lpData = const_cast<char*>(text.data());
  for (HWND window : windows) {
    // The copy that takes the file shows its dialog: it may come to the front.
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    AllowSetForegroundWindow(process);
    DWORD_PTR taken = 0;
    if (SendMessageTimeoutW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG,
                            kAnswerWaitMs, &taken) != 0 &&
        taken == TRUE) {
      return true;
    }
  }
  return false;
}

std::optional<std::string> FileHandedOver(const COPYDATASTRUCT& data, const std::string& folder) {
  if (data.dwData != kImportFileData || data.lpData == nullptr) return std::nullopt;
  std::string request_folder, file;
  if (!ReadHandOver(std::string_view(static_cast<const char*>(data.lpData), data.cbData), &request_folder,
                    &file)) {
    return std::nullopt;
  }
  if (!SameFolder(request_folder, folder)) return std::nullopt;
  return file;
}
