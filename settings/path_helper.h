#pragma once
// Puts every data file next to the program file, whatever the current
// directory, and splits the ";"-separated lists of the remote document: the
// program's names for what base/app_path.h and base/split_list.h do.
#include <string>

#include "base/app_path.h"
#include "base/split_list.h"

class PathHelper {
 public:
  static constexpr int kMaxListItems = static_cast<int>(kMaxListPieces);

  virtual ~PathHelper() = default;

  // Drive and directory of the running program file, ending in a path
  // separator (C:\Tools\ for C:\Tools\prog.exe).
  std::string GetAppDir() { return AppDir(); }

  // The name unchanged if it contains ":" anywhere, else GetAppDir() + name.
  std::string MakeAppPath(std::string name) { return ::MakeAppPath(name); }

  // Cuts `text` into the pieces that end in `separator` (by characters of code
  // page 936): consecutive separators give empty pieces, text after the last
  // separator gives none. Fills items[0..count-1]; pieces beyond the 100th are dropped.
  void SplitList(std::string text, char separator, std::string items[kMaxListItems], int& count);
};
