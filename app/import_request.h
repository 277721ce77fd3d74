#pragma once
// How a calendar file reaches the program, without a window: the file named
// on the command line ("Tallyo.exe D:\work.ics", as "Open with" starts it),
// and the text that hands it to a copy already running on the same folder.
// Paths are code page 936.
#include <optional>
#include <string>
#include <string_view>

// The file the program's argument text names, without quotation marks;
// nullopt for no argument and for "hide" (the start in the notification area).
std::optional<std::string> FileOfArguments(std::string_view arguments);

// A path that code page 936 could not hold came through with '?' in its
// place, a character no Windows path contains: such a file cannot be named.
bool PathLostCharacters(std::string_view path);

// The file's name without its folder, as the import names it to the user.
std::string FileNameOf(std::string_view path);

// The folder of a path, without the separator after it.
std::string FolderOf(std::string_view path);

// The request a second start sends to a running copy: the folder of the
// events (the copy takes it only when it runs on the same one) and the file.
std::string HandOverText(std::string_view folder, std::string_view file);
// false when `text` is no such request.
bool ReadHandOver(std::string_view text, std::string* folder, std::string* file);

// Whether two folders are the same one as Windows sees them: the letters
// A to Z in either case, '/' as '\\', a trailing separator or none.
bool SameFolder(std::string_view a, std::string_view b);
