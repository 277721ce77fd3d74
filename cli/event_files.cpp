#include "cli/event_files.h"

#include <charconv>
#include <iostream>

#include "cli/cli_context.h"
#include "events/event_repeats.h"

namespace {

template <typename Number>
std::optional<Number> ParseDecimal(std::string_view text) {
  Number value{};
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

}  // namespace

std::string KeyText(EventKey key) {
  std::string text = std::to_string(key.created);
  if (key.twin != 0) text.append("-").append(std::to_string(key.twin));
  return text;
}

std::optional<EventKey> ParseKey(const std::string& text) {
  const std::size_t dash = text.find('-', 1);  // a creation time may be negative
  std::optional<Time32> created = ParseDecimal<Time32>(std::string_view(text).substr(0, dash));
  if (!created) return std::nullopt;
  if (dash == std::string::npos) return EventKey{*created, 0};
  std::optional<std::uint32_t> twin = ParseDecimal<std::uint32_t>(std::string_view(text).substr(dash + 1));
  if (!twin) return std::nullopt;
  return EventKey{*created, *twin};
}

void PrintNoSuchEvent(EventKey key, const char* consequence) {
  if (key.twin == 0) {
    std::cerr << "tallyo-cli: no event was created at " << key.created << consequence << "\n";
  } else {
    std::cerr << "tallyo-cli: fewer than " << key.twin + 1 << " events were created at " << key.created
              << ", so there is no " << KeyText(key) << consequence << "\n";
  }
}

std::optional<int> LoadEventsForChange(EventList& list) {
  LoadResult result = list.LoadEvents();
  if (result.ok()) return std::nullopt;
  PrintLoadProblem(result, list.FilePath());
  if (result.kind == LoadResult::Kind::kReadError) {
    std::cerr << "tallyo-cli: nothing was changed\n";
    return kFileError;
  }
  return std::nullopt;
}

namespace {

std::optional<int> SetAsideBeforeSaving(EventList& list) {
  if (!list.HasDamagedFile()) return std::nullopt;
  std::string aside;
  Status status = list.SetAsideDamagedFile(&aside);
  if (!status.ok()) {
    std::cerr << "tallyo-cli: the damaged file could not be set aside, so nothing was saved: ";
    PrintSystemText(std::cerr, status.message());
    std::cerr << "\n";
    return kFileError;
  }
  std::cerr << "tallyo-cli: the damaged file was kept as ";
  PrintSystemText(std::cerr, aside);
  std::cerr << "; the events read before the fault go into the new event.dat\n";
  return std::nullopt;
}

void PrintProblems(const RepeatStore& store, const std::vector<RepeatProblem>& problems) {
  for (const RepeatProblem& problem : problems) {
    std::cerr << "tallyo-cli: the rule of the event created at " << problem.created << " in ";
    PrintSystemText(std::cerr, store.FilePath());
    std::cerr << " cannot be read, so it reminds once: " << problem.reason << "\n";
  }
}

}  // namespace

int SaveEventFile(EventList& list) {
  if (std::optional<int> stop = SetAsideBeforeSaving(list)) return *stop;
  Status status = list.SaveEvents();
  if (status.ok()) return 0;
  std::cerr << "tallyo-cli: event.dat was not saved (the old file is unchanged): ";
  PrintSystemText(std::cerr, status.message());
  std::cerr << "\n";
  return kFileError;
}

RepeatStore RulesBeside(const EventList& list) {
  return RepeatStore(DefaultFileSystem(), RepeatFilePathBeside(list.FilePath()));
}

std::optional<int> LoadRulesForChange(RepeatStore& store, RepeatRules* rules) {
  Status status = store.Load(rules);
  if (!status.ok()) {
    std::cerr << "tallyo-cli: ";
    PrintSystemText(std::cerr, status.message());
    std::cerr << "\ntallyo-cli: nothing was changed\n";
    return kFileError;
  }
  PrintProblems(store, store.TakeNewProblems(*rules));
  return std::nullopt;
}

void LoadRulesForReading(RepeatStore& store, RepeatRules* rules) {
  Status status = store.Load(rules);
  if (!status.ok()) {
    std::cerr << "tallyo-cli: ";
    PrintSystemText(std::cerr, status.message());
    std::cerr << "; the events are shown without their repeat rules\n";
    return;
  }
  PrintProblems(store, store.TakeNewProblems(*rules));
}

int SaveRuleFile(RepeatStore& store, RepeatRules& rules, const EventList& list) {
  Status status = store.Save(rules, CreationTimes(list));
  if (status.ok()) return 0;
  std::cerr << "tallyo-cli: event.dat was saved, but repeat.ini was not (the old file is unchanged): ";
  PrintSystemText(std::cerr, status.message());
  std::cerr << "\n";
  return kFileError;
}

std::optional<RepeatRule> RuleArgument(const std::string& text) {
  if (std::optional<RepeatRule> rule = RepeatRuleOfShortName(text)) return rule;
  RepeatRule rule;
  Status status = ParseRepeatRule(text, &rule);
  if (status.ok()) return rule;
  std::cerr << "tallyo-cli: bad rule \"" << text << "\": " << status.message()
            << " (or use daily, weekdays, weekly, monthly, yearly, hourly)\n";
  return std::nullopt;
}

void PrintNoOccurrence(const RepeatRule& rule, Time32 reminder) {
  std::cerr << "tallyo-cli: bad rule \"" << FormatRepeatRule(rule) << "\": ";
  if (rule.until) {
    std::cerr << "UNTIL (" << FormatWallTime(*rule.until) << ") comes before its first occurrence from "
              << FormatTime(reminder) << " on\n";
  } else {
    std::cerr << "it has no occurrence from " << FormatTime(reminder) << " on before 2038\n";
  }
}
