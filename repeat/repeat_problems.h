#pragma once
// What cannot be read in repeat.ini, gathered so that it is told in one
// message (a file of 10k broken rules gives one, not 10k), and told again
// only when it changes.
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "base/local_time.h"
#include "repeat/repeat_rules.h"

// A rule that cannot be read: its event reminds once.
struct RepeatProblem {
  Time32 created = 0;
  std::string rule_text;  // as written in the file
  std::string reason;     // in English, naming the key
};

struct RepeatProblems {
  std::vector<RepeatProblem> unreadable;  // by creation time
  // The lines that are no section header, key=value, comment or blank line
  // (numbers from 1): random bytes, a header behind other bytes. Kept as they are.
  std::vector<std::size_t> other_lines;
  bool empty() const { return unreadable.empty() && other_lines.empty(); }
};

RepeatProblems ProblemsOf(const RepeatRules& rules);

// How many rules or lines a message names before it only counts the rest.
inline constexpr std::size_t kProblemsNamed = 3;

// The program's message, code page 936: how many rules cannot be read, the
// first few events by title (`title_of`) with their rules, how many lines
// are not understood and where, and the file's path.
std::string RepeatProblemsMessage(const RepeatProblems& problems,
                                  const std::function<std::string(Time32 created)>& title_of,
                                  const std::string& path);
