#include "cli/view_options.h"

#include <CLI/CLI.hpp>

#include <iostream>

#include "cli/cli_context.h"
#include "events/event_view_rows.h"

void AddViewOptions(CLI::App* command, ViewOptions* options, int min_given) {
  CLI::Option_group* view = command->add_option_group("view", "which events");
  view->add_option("--day", options->day, "events created on that local day (YYYY-MM-DD)");
  view->add_flag("--remind", options->remind, "events with a reminder");
  view->add_flag("--memo", options->memo, "events without a reminder");
  options->find = view->add_option("--find", options->keyword, "events whose title or body contains KEYWORD");
  view->add_flag("--all", options->all, "every event, in stored order");
  view->require_option(min_given, 1);
}

std::optional<ChosenView> ChooseView(const ViewOptions& options) {
  ChosenView chosen;
  chosen.view = VIEW_ALL;
  if (!options.day.empty()) {
    chosen.view = VIEW_BY_DATE;
    if (!ParseLocalTime(options.day, &chosen.day)) {
      std::cerr << "tallyo-cli: --day expects a date as YYYY-MM-DD, not \"" << options.day << "\"\n";
      return std::nullopt;
    }
  } else if (options.remind) {
    chosen.view = VIEW_REMIND;
  } else if (options.memo) {
    chosen.view = VIEW_MEMO;
  } else if (options.find != nullptr && options.find->count() > 0) {
    chosen.view = VIEW_KEYWORD;
    std::optional<std::string> keyword = ArgumentToCp936(options.keyword, "the keyword");
    if (!keyword) return std::nullopt;
    chosen.keyword = *keyword;
  }
  return chosen;
}
