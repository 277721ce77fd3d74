#pragma once
// Platform seam of tallyo-cli: UTF-8 arguments, a UTF-8 console, binary
// standard output, and file names given in UTF-8 turned into the program's own
// path text.
#include <optional>
#include <string>
#include <vector>

#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

std::vector<std::string> Utf8Arguments(int argc, char** argv);
void PrepareUtf8Console();
// Standard output passes bytes as they are (Windows would turn LF into CR LF,
// and so CR LF into CR CR LF).
void UseBinaryStandardOutput();
// A folder given in UTF-8 as the program's own absolute path text (natively
// UTF-8 bytes; on Windows code page 936), so messages name the full path.
std::optional<std::string> PathFromUtf8(const std::string& utf8);
