#pragma once
// Where Tallyo's files lie: beside the program file, whatever the current
// directory (PathHelper in settings/ offers the same under its own names).
#include <string>
#include <string_view>

// Drive and directory of the running program file, ending in a path
// separator (C:\Tools\ for C:\Tools\prog.exe).
std::string AppDir();

// The name unchanged if it contains ":" anywhere, else AppDir() + name.
std::string MakeAppPath(std::string_view name);

// REQUIRES: called before any path is made, from one thread. Makes AppDir
// answer `dir` (a directory ending in a separator) instead of the program's
// own directory: the command-line tool's --dir option uses it; "" lifts it.
void OverrideAppDir(const std::string& dir);
