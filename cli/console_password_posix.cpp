#include <termios.h>
#include <unistd.h>

#include <iostream>

#include "cli/console_password.h"

std::optional<std::string> ReadPasswordWithoutEcho(const char* prompt) {
  if (!isatty(STDIN_FILENO)) return std::nullopt;
  std::cerr << prompt << std::flush;
  termios before{};
  tcgetattr(STDIN_FILENO, &before);
  termios quiet = before;
  quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
  tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
  std::string line;
  const bool read = static_cast<bool>(std::getline(std::cin, line));
  tcsetattr(STDIN_FILENO, TCSAFLUSH, &before);
  std::cerr << "\n";
  if (!read) return std::nullopt;
  return line;
}
