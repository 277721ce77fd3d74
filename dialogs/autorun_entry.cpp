#include "dialogs/autorun_entry.h"

std::string AutoRunCommand(std::string_view program_path) {
  if (program_path.empty()) return {};
  // A blank is a single-byte character: code page 936 trail bytes start at
  // 0x40, so a byte search cannot hit half of a Chinese character.
  const bool needs_quotes = program_path.find(' ') != std::string_view::npos;
  std::string command;
  command.reserve(program_path.size() + 7);
  if (needs_quotes) command += '"';
  command += program_path;
  if (needs_quotes) command += '"';
  command += " hide";
  return command;
}
