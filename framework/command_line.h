#pragma once
// The program's argument text, as a Windows program is handed it: the whole
// command line with the program name (quoted or not) and the white space
// after it removed. Trailing blanks stay, so "hide " is not "hide".
#include <string>
#include <string_view>

std::string ArgumentsAfterProgramName(std::string_view command_line);

// Whether the whole argument text is `word`, ignoring the case of the
// letters A to Z ("HIDE" is "hide"; "hide " and "hide now" are not).
bool IsTheArgument(std::string_view arguments, std::string_view word);
