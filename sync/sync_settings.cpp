#include "sync/sync_settings.h"

#include <algorithm>

#include "base/ini_file.h"

namespace {

constexpr char kSection[] = "sync";
constexpr char kFileName[] = "sync.ini";

}  // namespace

std::string SyncSettingsPathBeside(const std::string& event_file_path) {
  const std::size_t slash = event_file_path.find_last_of("/\\");
  if (slash == std::string::npos) return kFileName;
  return event_file_path.substr(0, slash + 1) + kFileName;
}

Status LoadSyncSettings(FileSystem& file_system, const std::string& path, SyncSettings* settings) {
  Status read_status;
  const IniFile file = IniFile::Load(file_system, path, &read_status);
  if (!read_status.ok()) return read_status;
  SyncSettings loaded;
  loaded.address = file.GetString(kSection, "address", "");
  loaded.user = file.GetString(kSection, "user", "");
  loaded.calendar_url = file.GetString(kSection, "calendar_url", "");
  loaded.calendar_name = file.GetString(kSection, "calendar_name", "");
  loaded.enabled = file.GetInt(kSection, "enabled", 0) != 0;
  loaded.interval_minutes = std::max(1, file.GetInt(kSection, "interval_minutes", loaded.interval_minutes));
  *settings = loaded;
  return Status::Ok();
}

Status SaveSyncSettings(FileSystem& file_system, const std::string& path, const SyncSettings& settings) {
  Status read_status;
  // Keys of other versions or of the user's own stay where they are.
  IniFile file = IniFile::Load(file_system, path, &read_status);
  if (!read_status.ok()) return read_status;
  file.SetString(kSection, "address", settings.address);
  file.SetString(kSection, "user", settings.user);
  file.SetString(kSection, "calendar_url", settings.calendar_url);
  file.SetString(kSection, "calendar_name", settings.calendar_name);
  file.SetString(kSection, "enabled", settings.enabled ? "1" : "0");
  file.SetString(kSection, "interval_minutes", std::to_string(settings.interval_minutes));
  return file.Save(file_system, path);
}
