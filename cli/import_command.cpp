// tallyo-cli import --ics FILE: the events of a calendar file into
// event.dat (and repeat.ini), through the folder's one door under its lock.
// Prints the summary the program shows; --dry-run prints it and writes nothing.
#include <CLI/CLI.hpp>

#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "base/file_system.h"
#include "calendar/calendar_import.h"
#include "cli/cli_context.h"
#include "cli/event_files.h"
#include "cli/utf8_arguments.h"
#include "events/event_folder.h"
#include "events/event_repeats.h"

namespace {

struct ImportCommandOptions {
  std::string ics;
  bool dry_run = false;
  bool past = false;
};

// Code page 936 lines (CR LF between them) as UTF-8 lines.
void PrintLines(std::ostream& out, const std::string& text) {
  std::string lines;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    lines += text[i];
  }
  PrintCp936(out, lines);
  out << "\n";
}

int RunImport(const ImportCommandOptions& options) {
  // Everything is checked before a file is touched.
  if (options.ics.empty()) {
    std::cerr << "tallyo-cli: import needs --ics FILE, the calendar to read\n";
    return kBadArguments;
  }
  std::optional<std::string> path = PathFromUtf8(options.ics);
  if (!path) {
    std::cerr << "tallyo-cli: --ics needs a file name that Tallyo can use, not \"" << options.ics << "\"\n";
    return kBadArguments;
  }
  std::string bytes;
  Status read = DefaultFileSystem().ReadFile(*path, &bytes);
  if (!read.ok()) {
    std::cerr << "tallyo-cli: ";
    PrintSystemText(std::cerr, read.message());
    std::cerr << "; nothing was imported\n";
    return kFileError;
  }

  EventList list;
  LoadResult loaded = list.LoadEvents();
  if (!loaded.ok()) PrintLoadProblem(loaded, list.FilePath());
  if (loaded.kind == LoadResult::Kind::kReadError) return kFileError;
  RepeatStore store = RulesBeside(list);
  RepeatRules rules;
  LoadRulesForReading(store, &rules, list);
  EventFolder folder(DefaultFileSystem(), list, rules, store);

  ImportOptions import_options;
  import_options.now = NowTime();
  import_options.past = options.past;
  const ImportPlan plan = PlanImport(bytes, folder, import_options);
  std::string().swap(bytes);  // the plan holds what it needs of the file
  if (plan.unreadable) {
    std::cerr << "tallyo-cli: ";
    PrintSystemText(std::cerr, *path);
    std::cerr << " cannot be read as a calendar (";
    PrintCp936(std::cerr, plan.unreadable_reason);
    std::cerr << "); nothing was imported\n";
    return kFileError;
  }
  if (options.dry_run) {
    PrintLines(std::cout, ImportSummary(plan.counts, plan.problems));
    return 0;
  }
  const ImportOutcome outcome = ApplyImport(plan, folder);
  if (!outcome.saved) {
    std::cerr << "tallyo-cli: ";
    PrintCp936(std::cerr, outcome.message);
    std::cerr << "; nothing was imported\n";
    return kFileError;
  }
  PrintLines(std::cout, ImportSummary(outcome.counts, plan.problems));
  return 0;
}

}  // namespace

void AddImportCommand(CLI::App& app, CliContext& ctx) {
  auto options = std::make_shared<ImportCommandOptions>();
  CLI::App* command = app.add_subcommand(
      "import", "read the events of an iCalendar (.ics) file into Tallyo; importing it again updates them");
  command->add_option("--ics", options->ics, "the calendar file");
  command->add_flag("--dry-run", options->dry_run, "print what would be imported, and write nothing");
  command->add_flag("--past", options->past, "past one-off events come in as memos instead of being skipped");
  command->callback([&ctx, options] { ctx.exit_code = RunImport(*options); });
}
