#include "settings/settings.h"

#include "base/atoi_clamped.h"

#include "base/cp936.h"
#include "base/ini_file.h"
#include "settings/path_helper.h"

namespace {

// "您可以在设置对话框中设置这里的文字" (you can set this text in the settings dialog)
constexpr char kDefaultMark[] =
    "\xC4\xFA\xBF\xC9\xD2\xD4\xD4\xDA\xC9\xE8\xD6\xC3\xB6\xD4\xBB\xB0"
    "\xBF\xF2\xD6\xD0\xC9\xE8\xD6\xC3\xD5\xE2\xC0\xEF\xB5\xC4\xCE\xC4\xD7\xD6";

std::string ConfigPath() { return PathHelper().MakeAppPath(kConfigFileName); }

}  // namespace

std::string EncodeMarkLineBreaks(const std::string& note) {
  return cp936::ReplaceAll(note, "\r\n", kLineBreakMarker);
}

std::string DecodeMarkLineBreaks(const std::string& value) {
  return cp936::ReplaceAll(value, kLineBreakMarker, "\r\n");
}

void Settings::LoadSettings(FileSystem& fs) {
  IniFile file = IniFile::Load(fs, ConfigPath());
  // Numbers go through their text default, so a missing key and a key
  // holding the default text read alike.
  auto number = [&](const char* key, const char* default_text) {
    return AtoiClamped(file.GetString(kSettingsSection, key, default_text));
  };
  nTipType = number("nTipType", "1");
  strMark = DecodeMarkLineBreaks(file.GetString(kSettingsSection, "strMark", kDefaultMark));
  bPlaySound = number("bPlaySound", "0");
  nSoundType = number("nSoundType", "0");
  strSoundFileName = file.GetString(kSettingsSection, "strSoundFileName", "");
  bAutoRun = number("bAutoRun", "0");
  bTray = number("bTray", "1");
}

Status Settings::SaveSettings(FileSystem& fs) const {
  const std::string path = ConfigPath();
  Status read_status;
  IniFile file = IniFile::Load(fs, path, &read_status);
  // A file that exists but cannot be read would be rewritten without the
  // lines we never saw: leave it alone instead.
  if (!read_status.ok()) return read_status;
  file.SetString(kSettingsSection, "nTipType", std::to_string(nTipType));
  file.SetString(kSettingsSection, "strMark", EncodeMarkLineBreaks(strMark));
  file.SetString(kSettingsSection, "bPlaySound", std::to_string(bPlaySound));
  file.SetString(kSettingsSection, "nSoundType", std::to_string(nSoundType));
  file.SetString(kSettingsSection, "strSoundFileName", strSoundFileName);
  file.SetString(kSettingsSection, "bAutoRun", std::to_string(bAutoRun));
  file.SetString(kSettingsSection, "bTray", std::to_string(bTray));
  return file.Save(fs, path);
}
