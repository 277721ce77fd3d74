// tallyo-cli export --ics: the events of one view as an iCalendar file, on
// standard output or, with --out, in a file that is replaced in one step.
#include <CLI/CLI.hpp>

#include <cstdio>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "base/cp936.h"
#include "base/file_system.h"
#include "cli/cli_context.h"
#include "cli/event_files.h"
#include "cli/ics_export.h"
#include "cli/utf8_arguments.h"
#include "cli/view_options.h"
#include "events/event_list.h"
#include "events/event_repeats.h"
#include "events/event_view_rows.h"
#include "events/uid_store.h"

namespace {

// Standard output gets the calendar in pieces of about this size, so even a
// long list needs no copy of the whole text in memory.
constexpr std::size_t kStreamPiece = 256 * 1024;

struct ExportOptions {
  ViewOptions view;
  bool ics = false;
  std::string out;
  CLI::Option* out_option = nullptr;
};

// `name` is `own` or starts with `own` + "." (letter case aside, as on Windows).
bool IsOwnFileOrBeside(const std::string& name, const std::string& own) {
  if (name.size() < own.size() || (name.size() > own.size() && name[own.size()] != '.')) return false;
  for (std::size_t i = 0; i < own.size(); ++i) {
    char c = name[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != own[i]) return false;
  }
  return true;
}

// The last part of a path in the program's own path text: code page 936 on
// Windows (where a trail byte may be 0x5C, '\\'), UTF-8 elsewhere.
std::string FileNameOf(const std::string& path) {
  std::size_t name_at = 0;
#ifdef _WIN32
  for (std::size_t i = 0; i < path.size(); i += cp936::CharLength(path, i)) {
    if (path[i] == '\\' || path[i] == '/') name_at = i + 1;
  }
#else
  std::size_t slash = path.rfind('/');
  if (slash != std::string::npos) name_at = slash + 1;
#endif
  return path.substr(name_at);
}

// Tallyo's own files (event.dat, config.ini, repeat.ini and uids.ini, their temporary
// files and the set-aside copies of a damaged event.dat) are never
// overwritten by an export, in any folder: the file name alone decides.
bool IsTallyoFileName(const std::string& path) {
  std::string name = FileNameOf(path);
  return IsOwnFileOrBeside(name, "event.dat") || IsOwnFileOrBeside(name, "config.ini") ||
         IsOwnFileOrBeside(name, "repeat.ini") || IsOwnFileOrBeside(name, UidStore::kFileName);
}

bool WriteToStandardOutput(IcsWriter& writer) {
  std::string_view text = writer.text();
  bool ok = std::fwrite(text.data(), 1, text.size(), stdout) == text.size();
  writer.Clear();
  return ok;
}

int RunExport(const ExportOptions& options) {
  // Everything is checked before event.dat is read.
  std::optional<ChosenView> chosen = ChooseView(options.view);
  if (!chosen) return kBadArguments;
  std::optional<std::string> out_path;
  if (options.out_option->count() > 0) {
    out_path = PathFromUtf8(options.out);
    if (options.out.empty() || !out_path) {
      std::cerr << "tallyo-cli: --out needs a file name that Tallyo can use, not \"" << options.out << "\"\n";
      return kBadArguments;
    }
    if (IsTallyoFileName(*out_path)) {
      std::cerr
          << "tallyo-cli: --out would overwrite one of Tallyo's own files; choose another name, such as "
             "tallyo.ics\n";
      return kBadArguments;
    }
  }

  EventList list;
  LoadResult result = list.LoadEvents();
  if (result.kind == LoadResult::Kind::kReadError) {
    PrintLoadProblem(result, list.FilePath());
    std::cerr << "tallyo-cli: nothing was exported\n";
    return kFileError;
  }
  RepeatStore rule_file = RulesBeside(list);
  RepeatRules rules;
  LoadRulesForReading(rule_file, &rules, list);
  EventPtrList rows;
  FillView(list, chosen->view, chosen->day, chosen->keyword, rows);
  // The UIDs kept for the events; a uids.ini that cannot be read gives the first ones.
  UidStore uid_file(DefaultFileSystem(), UidFilePathBeside(list.FilePath()));
  EventUids kept;
  if (Status read = uid_file.Load(&kept); !read.ok()) {
    std::cerr << "tallyo-cli: ";
    PrintSystemText(std::cerr, read.message());
    std::cerr << " (the events keep the UIDs of their keys)\n";
  }
  kept.Bind(list);
  IcsUids uids(list.records(), &kept);
  std::vector<EventKey> keys;
  if (!rules.empty()) keys = list.KeysOf(rows);

  if (!out_path) UseBinaryStandardOutput();
  // A file is written in one piece. Room for about 320 bytes an event (a
  // typical one takes 280) spares most of the copying as the text grows;
  // pages of the room never written are never touched.
  IcsWriter writer(out_path ? rows.size() * 320 + 4096 : 0);
  bool written = true;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const CMyEvent* event = rows[i];
    writer.Add(*event, uids, rules.empty() ? nullptr : SeriesOfEvent(rules, *event, keys[i]));
    if (!out_path && writer.text().size() >= kStreamPiece) written = WriteToStandardOutput(writer) && written;
  }
  writer.Finish();

  if (out_path) {
    Status status = DefaultFileSystem().ReplaceFile(*out_path, writer.text());
    if (!status.ok()) {
      std::cerr << "tallyo-cli: the calendar was not written (an older file of that name is unchanged): ";
      PrintSystemText(std::cerr, status.message());
      std::cerr << "\n";
      return kFileError;
    }
  } else {
    written = WriteToStandardOutput(writer) && written;
    written = std::fflush(stdout) == 0 && written;
    if (!written) {
      std::cerr << "tallyo-cli: the calendar could not be written to standard output\n";
      return kFileError;
    }
  }

  if (result.ok()) return 0;
  PrintLoadProblem(result, list.FilePath());
  std::cerr << "tallyo-cli: the calendar holds only the events read before the fault\n";
  return kFileError;
}

}  // namespace

void AddExportCommand(CLI::App& app, CliContext& ctx) {
  auto options = std::make_shared<ExportOptions>();
  CLI::App* command = app.add_subcommand(
      "export", "write the events of one view (default: all) in a format other programs read");
  command->add_flag("--ics", options->ics, "as an iCalendar file, for calendar programs")->required();
  AddViewOptions(command, &options->view, /*min_given=*/0);
  options->out_option = command->add_option(
      "--out", options->out, "write to this file, replaced in one step (default: standard output)");
  command->callback([&ctx, options] { ctx.exit_code = RunExport(*options); });
}
