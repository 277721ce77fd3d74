#pragma once
// Shared by the subcommands of tallyo-cli. Text on the command line and in
// the output is UTF-8; inside it is code page 936 like everywhere in Tallyo.
#include <iosfwd>
#include <optional>
#include <string>

namespace CLI {
class App;
}

struct LoadResult;

// Exit codes of the subcommands besides 0.
inline constexpr int kFileError = 1;     // a file could not be read or written, or is damaged
inline constexpr int kBadArguments = 2;  // checked before any file is touched

struct CliContext {
  int exit_code = 0;
};

// UTF-8 from the command line to code page 936; prints a clear message to
// standard error and returns nullopt when code page 936 cannot hold the text.
std::optional<std::string> ArgumentToCp936(const std::string& utf8, const char* what);

// Writes code page 936 text to a stream as UTF-8.
void PrintCp936(std::ostream& out, const std::string& text);

// Paths and system messages: code page 936 on Windows, the system's own
// (UTF-8) bytes elsewhere.
void PrintSystemText(std::ostream& out, const std::string& text);

// The message for a load of event.dat that failed or stopped at a fault,
// naming the full path, on standard error.
void PrintLoadProblem(const LoadResult& result, const std::string& path);

// Each file registers its subcommands; the callbacks set ctx.exit_code.
void AddEventCommands(CLI::App& app, CliContext& ctx);
void AddSettingsCommand(CLI::App& app, CliContext& ctx);
void AddFetchCommand(CLI::App& app, CliContext& ctx);
void AddExportCommand(CLI::App& app, CliContext& ctx);
void AddRepeatCommands(CLI::App& app, CliContext& ctx);
void AddImportCommand(CLI::App& app, CliContext& ctx);
void AddSyncCommand(CLI::App& app, CliContext& ctx);
