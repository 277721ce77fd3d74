#pragma once
// The start-with-Windows entry: a value under the current user's Run key
// whose text Windows runs at log-in. The program reads the argument "hide"
// from that command line (ArgumentsAfterProgramName) and starts hidden.
#include <string>
#include <string_view>

// Where the entry lives, under HKEY_CURRENT_USER, and its value name.
inline constexpr char kAutoRunKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr char kAutoRunValueName[] = "QXR_Vadududi";

// The command stored in the entry for the program file `program_path`
// (code page 936): the path followed by " hide". A path holding a blank is
// put in quotation marks, or Windows would try "C:\Program" first and the
// argument would not be "hide"; any other path is stored as it is, as
// earlier versions stored it. An empty path gives an empty command: there
// is nothing to start.
std::string AutoRunCommand(std::string_view program_path);
