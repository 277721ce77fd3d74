#include "cli/cli_context.h"

#include <CLI/CLI.hpp>

void AddSettingsCommand(CLI::App&, CliContext&) {}
