#include "cli/utf8_arguments.h"

#include <filesystem>

std::vector<std::string> Utf8Arguments(int argc, char** argv) { return {argv, argv + argc}; }
void PrepareUtf8Console() {}
void UseBinaryStandardOutput() {}
std::optional<std::string> PathFromUtf8(const std::string& utf8) {
  std::error_code error;
  std::filesystem::path absolute = std::filesystem::absolute(utf8, error);
  return error ? utf8 : absolute.lexically_normal().string();
}
