// The program's folder, found by characters of code page 936.
#include "base/app_path.h"

#include "base/cp936.h"
#include "base/program_path.h"

namespace {

std::string& AppDirOverride() {
  static std::string dir;
  return dir;
}

}  // namespace

void OverrideAppDir(const std::string& dir) { AppDirOverride() = dir; }

std::string AppDir() {
  if (!AppDirOverride().empty()) return AppDirOverride();
  std::string path = ProgramFilePath();
  // Drive and directory: everything up to and including the last separator.
  std::size_t last = std::string::npos;
  for (std::size_t pos = 0; pos < path.size(); pos += cp936::CharLength(path, pos)) {
    if (path[pos] == '\\' || path[pos] == '/') last = pos;
  }
  return last == std::string::npos ? std::string() : path.substr(0, last + 1);
}

std::string MakeAppPath(std::string_view name) {
  if (cp936::FindChar(name, ':') != std::string::npos) return std::string(name);
  return AppDir().append(name);
}
