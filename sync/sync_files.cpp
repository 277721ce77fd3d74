#include "sync/sync_files.h"

#include "repeat/repeat_store.h"

std::string SyncFileBeside(const std::string& event_file_path, std::string_view name) {
  // repeat.ini's own rule finds the folder (code page 936 paths on Windows).
  std::string path = RepeatFilePathBeside(event_file_path);
  path.resize(path.size() - (sizeof RepeatStore::kFileName - 1));
  return path.append(name);
}
