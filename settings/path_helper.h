#pragma once
// Puts every data file next to the program file, whatever the current
// directory, and splits the ";"-separated lists of the remote document.
#include <string>

class PathHelper {
 public:
  static constexpr int kMaxListItems = 100;

  virtual ~PathHelper() = default;

  // Drive and directory of the running program file, ending in a path
  // separator (C:\Tools\ for C:\Tools\prog.exe).
  std::string GetAppDir();

  // The name unchanged if it contains ":" anywhere, else GetAppDir() + name.
  std::string MakeAppPath(std::string name);

  // Cuts `text` into the pieces that end in `separator` (by characters of code
  // page 936): consecutive separators give empty pieces, text after the last
  // separator gives none. Fills items[0..count-1]; pieces beyond the 100th are dropped.
  void SplitList(std::string text, char separator, std::string items[kMaxListItems], int& count);
};

// REQUIRES: called before any PathHelper is used, from one thread. Makes
// GetAppDir answer `dir` (a directory ending in a separator) instead of the
// program's own directory: the command-line tool's --dir option uses it.
void OverrideAppDir(const std::string& dir);
