#pragma once
// The user's seven settings and their file config.ini beside the program
// file (section "common", one line per key, the keys named after the fields).
#include "base/file_system.h"
#include "base/status.h"

#include <string>

class Settings {
 public:
  virtual ~Settings() = default;

  // Alert kind: 0 the reminder popup, 1 the flashing notification-area icon.
  int nTipType = 0;
  // The user's note; may hold line breaks (CR LF).
  std::string strMark;
  // 1: give a sound when a reminder falls due.
  int bPlaySound = 0;
  // 0 the beep, 1 the sound file.
  int nSoundType = 0;
  // Full path of the WAV file to play.
  std::string strSoundFileName;
  // 1: start with Windows.
  int bAutoRun = 0;
  // 1: closing the main window hides it in the notification area.
  int bTray = 0;

  // Reads all seven fields from config.ini; a missing or unreadable file,
  // section or key gives the default of that field.
  void LoadSettings(FileSystem& fs = DefaultFileSystem());

  // Writes all seven fields to config.ini, keeping every other line of the
  // file. On failure the old file is left intact, the fields keep their
  // values, and the error is returned for the caller to report or ignore.
  Status SaveSettings(FileSystem& fs = DefaultFileSystem()) const;
};

// Names of the file, its section and keys, in the order they are written.
inline constexpr char kConfigFileName[] = "config.ini";
inline constexpr char kSettingsSection[] = "common";
inline constexpr const char* kSettingsKeys[] = {"nTipType",         "strMark",  "bPlaySound", "nSoundType",
                                                "strSoundFileName", "bAutoRun", "bTray"};

// strMark keeps a multi-line note on one line of the file: every CR LF pair
// becomes this marker on saving and back on loading (a lone CR or LF is no
// line break of the note and is not replaced).
inline constexpr char kLineBreakMarker[] = "<vorlumen_rn>";
std::string EncodeMarkLineBreaks(const std::string& note);
std::string DecodeMarkLineBreaks(const std::string& value);
