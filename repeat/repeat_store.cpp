#include "repeat/repeat_store.h"

RepeatStore::RepeatStore(FileSystem& file_system, std::string path) : file_(file_system, std::move(path)) {}

Status RepeatStore::Load(RepeatRules* rules) {
  std::optional<std::string> bytes;
  Status loaded = file_.Load(&bytes);
  if (loaded.ok()) *rules = bytes ? RepeatRules(*bytes) : RepeatRules();
  return loaded;
}

Status RepeatStore::Save(const RepeatRules& rules) { return file_.Save(rules.ToBytes(), rules.empty()); }

bool RepeatStore::ChangedOnDisk() { return file_.ChangedOnDisk(); }

Status RepeatStore::ReloadIfChanged(RepeatRules* rules, bool* reloaded) {
  std::optional<std::string> bytes;
  Status status = file_.ReloadIfChanged(&bytes, reloaded);
  if (*reloaded) *rules = bytes ? RepeatRules(*bytes) : RepeatRules();
  return status;
}

namespace {

// The problems as one text, to tell whether they changed since they were told.
std::string TellingOf(const RepeatProblems& problems, const RepeatRules& rules) {
  std::string text;
  for (const RepeatProblem& problem : problems.unreadable) {
    const RepeatEntry* entry = rules.Find(problem.created);
    text += std::to_string(problem.created) + "\n" + (entry ? entry->start_text : "") + "\n" +
            problem.rule_text + "\n";
  }
  for (std::size_t line : problems.other_lines) text += std::to_string(line) + ",";
  return text;
}

}  // namespace

RepeatProblems RepeatStore::TakeNewProblems(const RepeatRules& rules) {
  RepeatProblems problems = ProblemsOf(rules);
  std::string telling = TellingOf(problems, rules);
  if (telling == told_) return {};
  told_ = std::move(telling);
  return problems;
}

std::string RepeatFilePathBeside(const std::string& event_file_path) {
  return FilePathBeside(event_file_path, RepeatStore::kFileName);
}
