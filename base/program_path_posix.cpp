#include <unistd.h>

#include "base/program_path.h"

std::string ProgramFilePath() {
  char buffer[4096];
  ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  return n > 0 ? std::string(buffer, static_cast<std::size_t>(n)) : std::string();
}

std::uint32_t CurrentProcessId() { return static_cast<std::uint32_t>(::getpid()); }
