#pragma once
// Shared by the subcommands of tallyo-cli. Text on the command line and in
// the output is UTF-8; inside it is code page 936 like everywhere in Tallyo.
#include <iosfwd>
#include <optional>
#include <string>

namespace CLI {
class App;
}

struct CliContext {
  int exit_code = 0;
};

// UTF-8 from the command line to code page 936; prints a clear message to
// standard error and returns nullopt when code page 936 cannot hold the text.
std::optional<std::string> ArgumentToCp936(const std::string& utf8, const char* what);

// Writes code page 936 text to a stream as UTF-8.
void PrintCp936(std::ostream& out, const std::string& text);

// Each file registers its subcommands; the callbacks set ctx.exit_code.
void AddEventCommands(CLI::App& app, CliContext& ctx);
void AddSettingsCommand(CLI::App& app, CliContext& ctx);
void AddFetchCommand(CLI::App& app, CliContext& ctx);
