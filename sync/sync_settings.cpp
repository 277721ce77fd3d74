#include "sync/sync_settings.h"

#include <algorithm>

#include "base/ini_file.h"
#include "sync/sync_files.h"

namespace {

constexpr char kSection[] = "sync";
constexpr int kMinInterval = 1;
constexpr int kMaxInterval = 24 * 60;

}  // namespace

std::string SyncSettingsPathBeside(const std::string& event_file_path) {
  return SyncFileBeside(event_file_path, "sync.ini");
}

Status LoadSyncSettings(FileSystem& file_system, const std::string& path, SyncSettings* settings) {
  *settings = SyncSettings();
  Status status;
  IniFile file = IniFile::Load(file_system, path, &status);
  if (!status.ok()) return status;
  settings->address = file.GetString(kSection, "address", "");
  settings->user = file.GetString(kSection, "user", "");
  settings->calendar_url = file.GetString(kSection, "calendar_url", "");
  settings->calendar_name = file.GetString(kSection, "calendar_name", "");
  settings->enabled = file.GetInt(kSection, "enabled", 0) != 0 && !settings->calendar_url.empty();
  settings->interval_minutes = std::clamp(
      file.GetInt(kSection, "interval_minutes", SyncSettings().interval_minutes), kMinInterval, kMaxInterval);
  return Status::Ok();
}

Status SaveSyncSettings(FileSystem& file_system, const std::string& path, const SyncSettings& settings) {
  Status status;
  // Lines the user added by hand stay, as with config.ini.
  IniFile file = IniFile::Load(file_system, path, &status);
  if (!status.ok()) return status;
  file.SetString(kSection, "address", settings.address);
  file.SetString(kSection, "user", settings.user);
  file.SetString(kSection, "calendar_url", settings.calendar_url);
  file.SetString(kSection, "calendar_name", settings.calendar_name);
  file.SetString(kSection, "enabled", settings.enabled ? "1" : "0");
  file.SetString(kSection, "interval_minutes", std::to_string(settings.interval_minutes));
  return file.Save(file_system, path);
}
