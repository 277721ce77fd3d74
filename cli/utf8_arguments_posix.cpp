#include "cli/utf8_arguments.h"

std::vector<std::string> Utf8Arguments(int argc, char** argv) { return {argv, argv + argc}; }
void PrepareUtf8Console() {}
std::optional<std::string> PathFromUtf8(const std::string& utf8) { return utf8; }
