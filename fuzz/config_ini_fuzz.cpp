// config.ini as any bytes: load the seven settings, save them into the same
// file, and check that nothing was lost on the way: loading again gives the
// same settings, saving again the same bytes, and the document's own bytes
// parse back to themselves.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "base/ini_file.h"
#include "base/testing/memory_file_system.h"
#include "settings/path_helper.h"
#include "settings/settings.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

bool Same(const Settings& a, const Settings& b) {
  return a.nTipType == b.nTipType && a.strMark == b.strMark && a.bPlaySound == b.bPlaySound &&
         a.nSoundType == b.nSoundType && a.strSoundFileName == b.strSoundFileName &&
         a.bAutoRun == b.bAutoRun && a.bTray == b.bTray;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);

  IniFile document(bytes);
  const std::string normalized = document.ToBytes();
  Check(IniFile(normalized).ToBytes() == normalized);
  for (const char* key : kSettingsKeys) {
    std::string value = document.GetString(kSettingsSection, key, "");
    Check(value.size() <= IniFile::kMaxValueBytes);
    (void)document.GetInt("update", "port", 80);
  }

  MemoryFileSystem fs;
  const std::string path = PathHelper().MakeAppPath(kConfigFileName);
  fs.files[path] = bytes;
  Settings first;
  first.LoadSettings(fs);
  Check(first.SaveSettings(fs).ok());
  const std::string saved = fs.files[path];

  Settings second;
  second.LoadSettings(fs);
  Check(Same(first, second));
  Check(second.SaveSettings(fs).ok());
  Check(fs.files[path] == saved);

  // Whatever else the file held keeps its place: the other sections read as before.
  Check(IniFile(saved).GetString("update", "host", "-") == document.GetString("update", "host", "-"));
  return 0;
}
