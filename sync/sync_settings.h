#pragma once
// The sync's settings: sync.ini beside event.dat, a file of its own (older
// versions never read it). The password is never in it.
#include <string>

#include "base/file_system.h"
#include "base/status.h"

struct SyncSettings {
  std::string address;  // as the user typed it (the server, a principal or the calendar)
  std::string user;
  std::string calendar_url;   // the collection chosen, absolute
  std::string calendar_name;  // its display name, code page 936
  bool enabled = false;
  int interval_minutes = 15;  // between passes while the program runs

  bool operator==(const SyncSettings&) const = default;
};

// sync.ini in the folder of `event_file_path`.
std::string SyncSettingsPathBeside(const std::string& event_file_path);
// A missing file gives the defaults (sync off).
Status LoadSyncSettings(FileSystem& file_system, const std::string& path, SyncSettings* settings);
// Temp file and replace.
Status SaveSyncSettings(FileSystem& file_system, const std::string& path, const SyncSettings& settings);
