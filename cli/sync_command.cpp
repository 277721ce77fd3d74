// tallyo-cli sync: the folder and a calendar on the user's CalDAV server in
// step. `sync setup --url URL [--user NAME] [--calendar NAME]` finds the
// calendar and writes sync.ini; `sync` runs one pass; `sync --status` shows
// the settings and the state; `sync --dry-run` tells what a pass would do;
// `sync off` forgets the server (every event stays).
// The password comes from TALLYO_CALDAV_PASSWORD or is asked on the
// console without echo; it is never written anywhere.
#include <CLI/CLI.hpp>

#include <cstdlib>
#include <iostream>
#include <memory>

#include "base/text_convert.h"
#include "caldav/caldav_client.h"
#include "cli/cli_context.h"
#include "cli/console_password.h"
#include "cli/event_files.h"
#include "events/event_folder.h"
#include "sync/sync_pass.h"
#include "sync/sync_settings.h"
#include "sync/sync_state.h"

namespace {

constexpr int kServerUnusable = 1;
constexpr char kPasswordVariable[] = "TALLYO_CALDAV_PASSWORD";

struct SyncOptions {
  CLI::App* setup = nullptr;
  CLI::App* off = nullptr;
  std::string url;
  std::string user;
  std::string calendar;
  bool status = false;
  bool dry_run = false;
  bool allow_empty = false;
};

std::string EventPath() { return EventList().FilePath(); }

void PrintError(const std::string& text) { std::cerr << "tallyo-cli: " << text << "\n"; }

// The transport for `user`, with the password from the environment or the console.
std::unique_ptr<HttpTransport> Transport(const std::string& user, int* code) {
  HttpTransportOptions options;
  options.user = user;
  if (!user.empty()) {
    if (const char* from_environment = std::getenv(kPasswordVariable)) {
      options.password = from_environment;
    } else if (std::optional<std::string> typed = ReadPasswordWithoutEcho("password: ")) {
      options.password = std::move(*typed);
    } else {
      PrintError(std::string("no password: set ") + kPasswordVariable + " or run this on a console");
      *code = kServerUnusable;
      return nullptr;
    }
  }
  return MakeHttpTransport(options);
}

void PrintReason(const std::string& what, const CalDavError& error) {
  PrintError(what + ": " + error.message);
}

// --- sync setup ---

int RunSetup(const SyncOptions& options) {
  std::optional<std::string> calendar_name;
  if (!options.calendar.empty()) {
    calendar_name = ArgumentToCp936(options.calendar, "--calendar");
    if (!calendar_name) return kBadArguments;
  }
  int code = 0;
  std::unique_ptr<HttpTransport> transport = Transport(options.user, &code);
  if (!transport) return code;
  CalDavClient client(*transport);
  CalDavResult<Discovery> found = client.Discover(options.url);
  if (!found.ok()) {
    PrintReason("no calendar was found at " + options.url, found.error);
    return kServerUnusable;
  }
  std::vector<const CalendarInfo*> choices;
  for (const CalendarInfo& calendar : found.value.calendars) {
    if (!calendar.Takes("VEVENT")) continue;
    if (!options.calendar.empty() && calendar.displayname != options.calendar) continue;
    choices.push_back(&calendar);
  }
  if (choices.size() != 1) {
    if (found.value.calendars.empty()) {
      PrintError("the server holds no calendar at " + options.url);
      return kServerUnusable;
    }
    PrintError(choices.empty() ? "no calendar of that name; the server has:"
                               : "the server has several calendars; choose one with --calendar NAME:");
    for (const CalendarInfo& calendar : found.value.calendars)
      std::cerr << "  " << (calendar.displayname.empty() ? "(no name)" : calendar.displayname) << "  "
                << calendar.url << "\n";
    return kBadArguments;
  }
  SyncSettings settings;
  const std::string path = SyncSettingsPathBeside(EventPath());
  if (Status status = LoadSyncSettings(DefaultFileSystem(), path, &settings); !status.ok()) {
    PrintError(status.message());
    return kFileError;
  }
  settings.address = options.url;
  settings.user = options.user;
  settings.calendar_url = choices[0]->url;
  settings.calendar_name = cp936::FromUtf8(choices[0]->displayname).value_or("");
  settings.enabled = true;
  if (Status status = SaveSyncSettings(DefaultFileSystem(), path, settings); !status.ok()) {
    PrintError(status.message());
    return kFileError;
  }
  std::cout << "calendar: " << (choices[0]->displayname.empty() ? choices[0]->url : choices[0]->displayname)
            << "\n";
  if (!choices[0]->Takes("VTODO")) std::cout << "it takes no to-dos: memos stay in Tallyo only\n";
  return 0;
}

// --- sync off ---

int RunOff() {
  const std::string event_path = EventPath();
  const std::string state_path = SyncStatePathBeside(event_path);
  if (DefaultFileSystem().FileExists(state_path)) {
    if (Status status = DefaultFileSystem().RemoveFile(state_path); !status.ok()) {
      PrintError(status.message());
      return kFileError;
    }
  }
  // What was typed stays for the next setup; the calendar is forgotten.
  SyncSettings settings;
  const std::string path = SyncSettingsPathBeside(event_path);
  if (Status status = LoadSyncSettings(DefaultFileSystem(), path, &settings); !status.ok()) {
    PrintError(status.message());
    return kFileError;
  }
  settings.calendar_url.clear();
  settings.calendar_name.clear();
  settings.enabled = false;
  if (DefaultFileSystem().FileExists(path)) {
    if (Status status = SaveSyncSettings(DefaultFileSystem(), path, settings); !status.ok()) {
      PrintError(status.message());
      return kFileError;
    }
  }
  std::cout << "sync is off; every event stays\n";
  return 0;
}

// --- sync --status ---

int RunStatus() {
  const std::string event_path = EventPath();
  SyncSettings settings;
  if (Status status = LoadSyncSettings(DefaultFileSystem(), SyncSettingsPathBeside(event_path), &settings);
      !status.ok()) {
    PrintError(status.message());
    return kFileError;
  }
  if (settings.calendar_url.empty()) {
    std::cout << "sync: not set up\n";
    return 0;
  }
  std::cout << "sync: " << (settings.enabled ? "on" : "off") << ", every " << settings.interval_minutes
            << " minutes\n";
  std::cout << "server: " << settings.address << "\n";
  std::cout << "user: " << settings.user << "\n";
  std::cout << "calendar: ";
  PrintCp936(std::cout, settings.calendar_name);
  std::cout << " " << settings.calendar_url << "\n";
  SyncState state;
  Status status = LoadSyncState(DefaultFileSystem(), SyncStatePathBeside(event_path), &state);
  if (!status.ok()) {
    std::cout << "state: cannot be read (" << status.message() << "); the next pass starts again\n";
    return 0;
  }
  int in_step = 0, waiting = 0;
  for (const SyncEntry& entry : state.entries) {
    if (!entry.agreed.empty())
      ++in_step;
    else if (entry.href.empty() && entry.etag.empty())
      ++waiting;
  }
  std::cout << "in step: " << in_step << " events; waiting to go up: " << waiting << "\n";
  std::cout << "last pass: " << (state.sync_token.empty() && state.ctag.empty() ? "none yet" : "completed")
            << "\n";
  return 0;
}

// --- sync ---

int RunPass(const SyncOptions& options) {
  SyncSettings settings;
  const std::string event_path = EventPath();
  if (Status status = LoadSyncSettings(DefaultFileSystem(), SyncSettingsPathBeside(event_path), &settings);
      !status.ok()) {
    PrintError(status.message());
    return kFileError;
  }
  if (settings.calendar_url.empty()) {
    PrintError("sync is not set up: tallyo-cli sync setup --url URL [--user NAME]");
    return kServerUnusable;
  }
  int code = 0;
  std::unique_ptr<HttpTransport> transport = Transport(settings.user, &code);
  if (!transport) return code;
  EventList list;
  RepeatRules rules;
  RepeatStore store = RulesBeside(list);
  EventFolder folder(DefaultFileSystem(), list, rules, store);
  SyncPassOptions pass_options;
  pass_options.dry_run = options.dry_run;
  pass_options.allow_empty_side = options.allow_empty;
  SyncReport report = RunSyncPass(folder, *transport, settings, pass_options);
  std::cout << (options.dry_run ? "dry run: " : "") << "up " << report.up << ", down " << report.down
            << ", deleted " << report.deleted << ", conflicts " << report.conflicts << "\n";
  if (report.local_only > 0)
    std::cout << report.local_only << " memo" << (report.local_only == 1 ? "" : "s")
              << " stay in Tallyo only: the calendar takes no to-dos\n";
  if (report.completed) return 0;
  std::cerr << "tallyo-cli: the pass stopped: ";
  PrintCp936(std::cerr, report.message);
  std::cerr << "\n";
  if (report.needs_user && report.error == CalDavErrorKind::kNone)
    std::cerr << "tallyo-cli: to go on all the same: tallyo-cli sync --allow-empty\n";
  else if (report.retry_after_seconds > 0)
    std::cerr << "tallyo-cli: the server asks to try again in " << report.retry_after_seconds << " s\n";
  return kServerUnusable;
}

}  // namespace

void AddSyncCommand(CLI::App& app, CliContext& ctx) {
  auto options = std::make_shared<SyncOptions>();
  CLI::App* sync = app.add_subcommand("sync", "one pass with the calendar server, or set it up");
  sync->require_subcommand(0, 1);
  sync->add_flag("--status", options->status, "the settings and the state, without asking the server");
  sync->add_flag("--dry-run", options->dry_run, "what a pass would do; nothing is written on either side");
  sync->add_flag("--allow-empty", options->allow_empty,
                 "go on although one side is suddenly empty while the other holds events");
  options->setup = sync->add_subcommand("setup", "find the calendar and keep it in sync.ini");
  options->setup->add_option("--url", options->url, "the server, a principal or the calendar")->required();
  options->setup->add_option("--user", options->user, "the user name (the password: TALLYO_CALDAV_PASSWORD)");
  options->setup->add_option("--calendar", options->calendar, "the calendar's name, when there are several");
  options->off = sync->add_subcommand("off", "forget the server; every event stays");
  sync->callback([options, &ctx] {
    if (options->setup->parsed()) {
      ctx.exit_code = RunSetup(*options);
    } else if (options->off->parsed()) {
      ctx.exit_code = RunOff();
    } else if (options->status) {
      ctx.exit_code = RunStatus();
    } else {
      ctx.exit_code = RunPass(*options);
    }
  });
}
