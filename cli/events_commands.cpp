#include "cli/cli_context.h"

#include <CLI/CLI.hpp>

void AddEventCommands(CLI::App&, CliContext&) {}
