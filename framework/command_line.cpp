#include "framework/command_line.h"

std::string ArgumentsAfterProgramName(std::string_view command_line) {
  std::size_t pos = 0;
  const std::size_t n = command_line.size();
  auto is_space = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
  if (n > 0 && command_line[0] == '"') {
    // A quoted program name ends at the next quote, whatever follows it.
    pos = 1;
    while (pos < n && command_line[pos] != '"') ++pos;
    if (pos < n) ++pos;
  } else {
    while (pos < n && !is_space(command_line[pos])) ++pos;
  }
  while (pos < n && is_space(command_line[pos])) ++pos;
  return std::string(command_line.substr(pos));
}

bool IsTheArgument(std::string_view arguments, std::string_view word) {
  if (arguments.size() != word.size()) return false;
  auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  for (std::size_t i = 0; i < word.size(); ++i) {
    if (lower(arguments[i]) != lower(word[i])) return false;
  }
  return true;
}
