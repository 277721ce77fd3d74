#include "cli/cli_context.h"

#include <CLI/CLI.hpp>

void AddFetchCommand(CLI::App&, CliContext&) {}
