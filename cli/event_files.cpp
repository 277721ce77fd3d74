#include "cli/event_files.h"

#include <charconv>
#include <iostream>

#include "cli/cli_context.h"
#include "events/event_folder.h"
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

namespace {

// What cannot be read in repeat.ini, in one message however much it is.
void PrintProblems(const RepeatStore& store, const RepeatProblems& problems, const EventList& list) {
  if (!problems.unreadable.empty()) {
    std::cerr << "tallyo-cli: " << problems.unreadable.size() << " rule"
              << (problems.unreadable.size() == 1 ? "" : "s") << " in ";
    PrintSystemText(std::cerr, store.FilePath());
    std::cerr << " cannot be read, so "
              << (problems.unreadable.size() == 1 ? "its event reminds" : "their events remind") << " once:";
    for (std::size_t i = 0; i < problems.unreadable.size() && i < kProblemsNamed; ++i) {
      const RepeatProblem& problem = problems.unreadable[i];
      std::cerr << (i == 0 ? " " : "; ") << "the event created at " << problem.created;
      if (const CMyEvent* event = list.FindByCreateTime(problem.created)) {
        std::cerr << " (\"";
        PrintCp936(std::cerr, event->strTitle);
        std::cerr << "\")";
      }
      std::cerr << ": " << problem.reason;
    }
    if (problems.unreadable.size() > kProblemsNamed)
      std::cerr << "; and " << problems.unreadable.size() - kProblemsNamed << " more";
    std::cerr << "\n";
  }
  if (!problems.other_lines.empty()) {
    std::cerr << "tallyo-cli: " << problems.other_lines.size() << " line"
              << (problems.other_lines.size() == 1 ? "" : "s") << " of ";
    PrintSystemText(std::cerr, store.FilePath());
    std::cerr << (problems.other_lines.size() == 1 ? " is" : " are")
              << " no section header, key=value, comment or blank line, and kept as they are (line";
    for (std::size_t i = 0; i < problems.other_lines.size() && i < kProblemsNamed; ++i)
      std::cerr << (i == 0 ? (problems.other_lines.size() == 1 ? " " : "s ") : ", ")
                << problems.other_lines[i];
    if (problems.other_lines.size() > kProblemsNamed) std::cerr << " ...";
    std::cerr << ")\n";
  }
}

}  // namespace

RepeatStore RulesBeside(const EventList& list) {
  return RepeatStore(DefaultFileSystem(), RepeatFilePathBeside(list.FilePath()));
}

void LoadRulesForReading(RepeatStore& store, RepeatRules* rules, const EventList& list) {
  Status status = store.Load(rules);
  if (!status.ok()) {
    std::cerr << "tallyo-cli: ";
    PrintSystemText(std::cerr, status.message());
    std::cerr << "; the events are shown without their repeat rules\n";
    return;
  }
  BindRules(list, *rules);
  PrintProblems(store, store.TakeNewProblems(*rules), list);
}

namespace {

void PrintFailure(const char* what, const Status& status) {
  std::cerr << "tallyo-cli: " << what;
  PrintSystemText(std::cerr, status.message());
  std::cerr << "\n";
}

// Step 2 of a change: both files loaded (a damaged event.dat gives the
// events before the fault); what they hold wrong is told.
bool TakeInForChange(EventList& list, RepeatStore& store, RepeatRules& rules, FolderChangeOutcome& outcome) {
  outcome.reload = list.LoadEvents();
  outcome.rules_load = store.Load(&rules);
  BindRules(list, rules);
  if (!outcome.reload.ok()) PrintLoadProblem(outcome.reload, list.FilePath());
  if (outcome.reload.kind == LoadResult::Kind::kReadError) {
    std::cerr << "tallyo-cli: nothing was changed\n";
    return false;
  }
  if (!outcome.rules_load.ok()) {
    // Changes that touch no rule go on; repeat.ini is not replaced.
    PrintFailure("", outcome.rules_load);
  }
  PrintProblems(store, store.TakeNewProblems(rules), list);
  return true;
}

}  // namespace

int ChangeFolderFiles(const std::function<int(EventList&, RepeatRules&)>& change) {
  EventList list;
  RepeatRules rules;
  RepeatStore store = RulesBeside(list);
  EventFolder folder(DefaultFileSystem(), list, rules, store);
  int code = 0;
  EventFolder::Options options;
  options.save_when = SaveWhen::kIfApplied;
  options.wait = EventFolder::kCommandWait;
  options.take_in = [&](FolderChangeOutcome& outcome) {
    if (TakeInForChange(list, store, rules, outcome)) return true;
    code = kFileError;
    return false;
  };
  FolderChangeOutcome outcome = folder.Make(
      [&](EventList& events, RepeatRules& event_rules) {
        code = change(events, event_rules);
        return code == 0;
      },
      options);
  if (!outcome.lock.ok()) {
    PrintFailure("", outcome.lock);
    std::cerr << "tallyo-cli: nothing was changed\n";
    return kFileError;
  }
  if (code != 0) return code;
  if (!outcome.aside_path.empty()) {
    std::cerr << "tallyo-cli: the damaged file was kept as ";
    PrintSystemText(std::cerr, outcome.aside_path);
    std::cerr << "; the events read before the fault go into the new event.dat\n";
  }
  // repeat.ini is saved before event.dat: when it fails, neither is.
  if (!outcome.rules_save.ok()) {
    PrintFailure("repeat.ini was not saved, so nothing was changed: ", outcome.rules_save);
    return kFileError;
  }
  if (!outcome.save.ok()) {
    PrintFailure("event.dat was not saved (the old file is unchanged): ", outcome.save);
    return kFileError;
  }
  return 0;
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
