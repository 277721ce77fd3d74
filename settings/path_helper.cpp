#include "settings/path_helper.h"

#include "base/cp936.h"
#include "settings/program_path.h"

namespace {
std::string& AppDirOverride() {
  static std::string dir;
  return dir;
}
}  // namespace

void OverrideAppDir(const std::string& dir) { AppDirOverride() = dir; }

std::string PathHelper::GetAppDir() {
  if (!AppDirOverride().empty()) return AppDirOverride();
  std::string path = ProgramFilePath();
  // Drive and directory: everything up to and including the last separator.
  std::size_t last = std::string::npos;
  for (std::size_t pos = 0; pos < path.size(); pos += cp936::CharLength(path, pos)) {
    if (path[pos] == '\\' || path[pos] == '/') last = pos;
  }
  return last == std::string::npos ? std::string() : path.substr(0, last + 1);
}

std::string PathHelper::MakeAppPath(std::string name) {
  if (cp936::FindChar(name, ':') != std::string::npos) return name;
  return GetAppDir() + name;
}

void PathHelper::SplitList(std::string text, char separator, std::string items[kMaxListItems], int& count) {
  count = 0;
  std::size_t start = 0;
  for (std::size_t p = cp936::FindChar(text, separator, 0); p != std::string::npos;
       p = cp936::FindChar(text, separator, start)) {
    if (count < kMaxListItems) items[count++] = text.substr(start, p - start);
    start = p + 1;
  }
}
