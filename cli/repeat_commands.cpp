// tallyo-cli's repeat commands: repeat (set, replace or remove the rule of a
// reminder) and next (the coming occurrences of its rule).
#include <CLI/CLI.hpp>

#include <charconv>
#include <iostream>
#include <limits>
#include <memory>
#include <optional>
#include <string>

#include "base/wall_time.h"
#include "cli/cli_context.h"
#include "cli/event_files.h"
#include "events/event_repeats.h"

namespace {

std::optional<EventKey> KeyArgument(const std::string& text) {
  if (std::optional<EventKey> key = ParseKey(text)) return key;
  std::cerr << "tallyo-cli: --created expects the creation time in seconds, or N-K for the event in place K "
               "of second N, as add and list --with-created show it, not \""
            << text << "\"\n";
  return std::nullopt;
}

// --- repeat ---

int RunRepeat(const std::string& created_text, const std::string& rule_text) {
  // Everything is checked before a file is touched.
  std::optional<EventKey> key = KeyArgument(created_text);
  if (!key) return kBadArguments;
  std::optional<RepeatRule> rule;
  if (rule_text != "none") {
    rule = RuleArgument(rule_text);
    if (!rule) return kBadArguments;
  }

  return ChangeFolderFiles([&](EventList& list, RepeatRules& rules) {
    switch (SetEventRepeat(list, rules, *key, rule)) {
      case SetRepeatResult::kSet:
      case SetRepeatResult::kRemoved:
        return 0;
      case SetRepeatResult::kNoSuchEvent:
        PrintNoSuchEvent(*key, "; nothing was changed");
        return kFileError;
      case SetRepeatResult::kNotAReminder:
        std::cerr << "tallyo-cli: the event " << KeyText(*key)
                  << " is a memo, without a reminder time for the series to start at; nothing was changed\n";
        return kFileError;
      case SetRepeatResult::kNoOccurrence:
        PrintNoOccurrence(*rule, list.Find(*key)->timeRemind);
        return kBadArguments;
    }
    return kFileError;
  });
}

// --- next ---

struct NextOptions {
  std::string created;
  std::string count = "5";
  std::string after;
  CLI::Option* after_option = nullptr;
};

int RunNext(const NextOptions& options) {
  std::optional<EventKey> key = KeyArgument(options.created);
  if (!key) return kBadArguments;
  std::uint32_t count = 0;
  auto [end, error] =
      std::from_chars(options.count.data(), options.count.data() + options.count.size(), count);
  if (options.count.empty() || error != std::errc() || end != options.count.data() + options.count.size() ||
      count < 1 || count > 1000000) {
    std::cerr << "tallyo-cli: --count expects a whole number from 1 to 1000000, not \"" << options.count
              << "\"\n";
    return kBadArguments;
  }
  Time32 after = NowTime();
  if (options.after_option->count() > 0) {
    WallSeconds wall = 0;
    std::optional<Time32> moment;
    if (ParseWallTime(options.after, &wall)) moment = TimeOfWall(wall);
    if (!moment) {
      std::cerr
          << "tallyo-cli: --after expects a local time as \"YYYY-MM-DD HH:MM:SS\" (1901 to 2038), not \""
          << options.after << "\"\n";
      return kBadArguments;
    }
    after = *moment;
  }

  EventList list;
  LoadResult loaded = list.LoadEvents();
  if (!loaded.ok()) PrintLoadProblem(loaded, list.FilePath());
  if (loaded.kind == LoadResult::Kind::kReadError) return kFileError;
  RepeatStore rule_file = RulesBeside(list);
  RepeatRules rules;
  Status rules_loaded = rule_file.Load(&rules);
  if (!rules_loaded.ok()) {
    std::cerr << "tallyo-cli: ";
    PrintSystemText(std::cerr, rules_loaded.message());
    std::cerr << "\n";
    return kFileError;
  }
  BindRules(list, rules);
  const CMyEvent* event = list.Find(*key);
  if (event == nullptr) {
    PrintNoSuchEvent(*key, "");
    return kFileError;
  }
  const RepeatEntry* entry = rules.Find(RuleKeyOf(*key));
  if (entry == nullptr || event->bRemind == 0) {
    std::cerr << "tallyo-cli: the event " << KeyText(*key) << " does not repeat\n";
    return kFileError;
  }
  if (!entry->series) {
    std::cerr << "tallyo-cli: the rule of the event " << KeyText(*key)
              << " cannot be read, so it reminds once: " << entry->problem << "\n";
    return kFileError;
  }
  std::string out;
  LocalTimeConverter times;
  for (Time32 t : entry->series->ListAfter(after, count)) {
    times.AppendFormatted(t, &out);
    out += '\n';
  }
  std::cout << out;
  std::cout.flush();
  return loaded.ok() ? 0 : kFileError;
}

}  // namespace

void AddRepeatCommands(CLI::App& app, CliContext& ctx) {
  auto created = std::make_shared<std::string>();
  auto rule = std::make_shared<std::string>();
  CLI::App* repeat = app.add_subcommand(
      "repeat",
      "set or replace the rule of a reminder (none removes it); the series starts at its reminder time");
  repeat
      ->add_option("--created", *created, "creation time in seconds, as add and list --with-created show it")
      ->required();
  repeat
      ->add_option("RULE", *rule,
                   "daily, weekdays, weekly, monthly, yearly, hourly, an RRULE value such as "
                   "FREQ=WEEKLY;INTERVAL=2;BYDAY=MO,TH, or none")
      ->required();
  repeat->callback([&ctx, created, rule] { ctx.exit_code = RunRepeat(*created, *rule); });

  auto options = std::make_shared<NextOptions>();
  CLI::App* next =
      app.add_subcommand("next", "the coming occurrences of a reminder's rule, one local time a line");
  next->add_option("--created", options->created,
                   "creation time in seconds, as add and list --with-created show it")
      ->required();
  next->add_option("--count", options->count, "how many (default 5)");
  options->after_option = next->add_option(
      "--after", options->after, "strictly after this local time, \"YYYY-MM-DD HH:MM:SS\" (default now)");
  next->callback([&ctx, options] { ctx.exit_code = RunNext(*options); });
}
