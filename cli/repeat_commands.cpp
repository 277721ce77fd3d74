// tallyo-cli's repeat commands: repeat (set, replace or remove the rule of a
// reminder) and next (the coming occurrences of its rule).
#include <CLI/CLI.hpp>

#include <algorithm>
#include <charconv>
#include <iostream>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

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

struct RepeatOptions {
  std::string created;
  std::string rule;
  std::string rdate;  // comma-separated local times or days; empty: none
  std::string exdate;
};

// One item of --rdate or --exdate: a local time, or a day at the series'
// time of day.
struct DateItem {
  WallSeconds wall = 0;
  bool day_only = false;
};

// A list of --rdate or --exdate; nullopt after a message naming the bad item.
std::optional<std::vector<DateItem>> DateListArgument(const char* option, const std::string& text) {
  std::vector<DateItem> items;
  std::size_t from = 0;
  while (from <= text.size() && !text.empty()) {
    std::size_t comma = text.find(',', from);
    if (comma == std::string::npos) comma = text.size();
    std::string item = text.substr(from, comma - from);
    item.erase(0, item.find_first_not_of(' '));
    item.erase(item.find_last_not_of(' ') + 1);
    DateItem parsed;
    if (ParseWallTime(item, &parsed.wall)) {
      items.push_back(parsed);
    } else if (item.size() == 10 && ParseWallTime(item + " 00:00:00", &parsed.wall)) {
      parsed.day_only = true;
      items.push_back(parsed);
    } else {
      std::cerr << "tallyo-cli: " << option
                << " expects local times \"YYYY-MM-DD HH:MM:SS\" or days \"YYYY-MM-DD\" (at the series' time "
                   "of day), separated by commas, not \""
                << item << "\"\n";
      return std::nullopt;
    }
    from = comma + 1;
  }
  return items;
}

// The items as wall times, days at `time_of_day`, sorted without repeats.
std::vector<WallSeconds> WallsOf(const std::vector<DateItem>& items, WallSeconds time_of_day) {
  std::vector<WallSeconds> walls;
  for (const DateItem& item : items) walls.push_back(item.wall + (item.day_only ? time_of_day : 0));
  std::sort(walls.begin(), walls.end());
  walls.erase(std::unique(walls.begin(), walls.end()), walls.end());
  return walls;
}

int RunRepeat(const RepeatOptions& options) {
  // Everything is checked before a file is touched.
  std::optional<EventKey> key = KeyArgument(options.created);
  if (!key) return kBadArguments;
  std::optional<RepeatRule> rule;
  if (options.rule != "none") {
    rule = RuleArgument(options.rule);
    if (!rule) return kBadArguments;
  }
  const std::optional<std::vector<DateItem>> added = DateListArgument("--rdate", options.rdate);
  const std::optional<std::vector<DateItem>> removed = DateListArgument("--exdate", options.exdate);
  if (!added || !removed) return kBadArguments;
  if (!rule && (!added->empty() || !removed->empty())) {
    std::cerr << "tallyo-cli: --rdate and --exdate belong to a rule, not to none\n";
    return kBadArguments;
  }

  return ChangeFolderFiles([&](EventList& list, RepeatRules& rules) {
    RepeatDates dates;
    if (const CMyEvent* event = list.Find(*key); event != nullptr && event->bRemind != 0) {
      WallSeconds reminder = 0;
      if (WallOfTime(event->timeRemind, &reminder)) {
        const WallSeconds time_of_day = reminder - FloorDiv(reminder, kSecondsPerDay) * kSecondsPerDay;
        dates.added = WallsOf(*added, time_of_day);
        dates.removed = WallsOf(*removed, time_of_day);
      }
    }
    switch (SetEventRepeat(list, rules, *key, rule, dates)) {
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
  auto repeat_options = std::make_shared<RepeatOptions>();
  std::string* created = &repeat_options->created;
  std::string* rule = &repeat_options->rule;
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
  repeat->add_option("--rdate", repeat_options->rdate,
                     "occurrences the rule does not give: local times \"YYYY-MM-DD HH:MM:SS\" or days "
                     "\"YYYY-MM-DD\" (at the series' time of day), separated by commas");
  repeat->add_option("--exdate", repeat_options->exdate,
                     "occurrences to leave out, written as for --rdate (\"2026-12-25\")");
  repeat->callback([&ctx, repeat_options] { ctx.exit_code = RunRepeat(*repeat_options); });

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
