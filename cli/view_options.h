#pragma once
// The view options that list and export share: which events, chosen as the
// main window's views choose them.
#include <optional>
#include <string>

#include "base/local_time.h"

namespace CLI {
class App;
class Option;
}  // namespace CLI

struct ViewOptions {
  std::string day;
  bool remind = false;
  bool memo = false;
  std::string keyword;
  CLI::Option* find = nullptr;  // asked whether --find was given: its keyword may be empty
  bool all = false;
};

// Adds --day, --remind, --memo, --find and --all to `command`, one group of
// which at least `min_given` and at most one may be given.
void AddViewOptions(CLI::App* command, ViewOptions* options, int min_given);

struct ChosenView {
  int view = 0;         // a ViewMode
  Time32 day = 0;       // for the by-date view
  std::string keyword;  // code page 936, for the keyword view
};

// The view the options name, the all-events view when none is given; nullopt
// after a message on standard error (a wrong date, a keyword Tallyo cannot hold).
std::optional<ChosenView> ChooseView(const ViewOptions& options);
