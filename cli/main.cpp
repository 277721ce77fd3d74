// tallyo-cli: Tallyo's events and settings from a terminal.
#include <CLI/CLI.hpp>

#include <iostream>

#include "base/text_convert.h"
#include "cli/cli_context.h"
#include "cli/utf8_arguments.h"
#include "ical/calendar_zones.h"
#include "settings/path_helper.h"

std::optional<std::string> ArgumentToCp936(const std::string& utf8, const char* what) {
  std::optional<std::string> text = cp936::FromUtf8(utf8);
  if (!text)
    std::cerr << "tallyo-cli: " << what << " holds characters that Tallyo cannot store (code page 936)\n";
  return text;
}

void PrintCp936(std::ostream& out, const std::string& text) { out << cp936::ToUtf8(text); }

int main(int argc, char** argv) {
  PrepareUtf8Console();
  // Before any command reads a calendar. In the Windows build this links
  // libical in (its zones are compiled into the tool).
  tallyo::InitCalendarZones();
  CLI::App app{"tallyo-cli: Tallyo's events and settings from a terminal"};
  app.require_subcommand(1);
  std::string dir;
  app.add_option("--dir", dir, "folder that holds event.dat and config.ini (default: this program's folder)");

  CliContext ctx;
  AddEventCommands(app, ctx);
  AddSettingsCommand(app, ctx);
  AddFetchCommand(app, ctx);
  AddExportCommand(app, ctx);
  AddRepeatCommands(app, ctx);
  AddImportCommand(app, ctx);
  AddSyncCommand(app, ctx);

  // Runs after parsing and before any subcommand callback.
  app.parse_complete_callback([&] {
    if (dir.empty()) return;
    std::optional<std::string> path = PathFromUtf8(dir);
    if (!path) throw CLI::ValidationError("--dir", "the folder name cannot be used by Tallyo");
    char last = path->back();
    if (last != '/' && last != '\\') path->push_back(kPathSeparator);
    OverrideAppDir(*path);
  });

  std::vector<std::string> args = Utf8Arguments(argc, argv);
  std::vector<const char*> pointers;
  for (const std::string& a : args) pointers.push_back(a.c_str());
  try {
    app.parse(static_cast<int>(pointers.size()), pointers.data());
  } catch (const CLI::ParseError& e) {
    // --help and --version are no error; anything else the parser refused is a bad argument.
    return app.exit(e) == 0 ? 0 : kBadArguments;
  }
  return ctx.exit_code;
}
