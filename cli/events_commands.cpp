// tallyo-cli's event commands: list (the rows of one view of the event list),
// add, delete and check, on event.dat (and repeat.ini) in the --dir folder.
// An event is named by its key (events/event_key.h): its creation time, and
// "-K" for the later events of one second.
#include <CLI/CLI.hpp>

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <iostream>
#include <limits>
#include <memory>
#include <optional>
#include <string>

#include "base/byte_words.h"
#include "base/cp936_characters.h"
#include "base/local_time.h"
#include "base/text_convert.h"
#include "cli/cli_context.h"
#include "cli/event_files.h"
#include "cli/view_options.h"
#include "events/event_list.h"
#include "events/event_repeats.h"
#include "events/event_view_rows.h"
#include "repeat/repeat_texts.h"

namespace {

template <typename Number>
std::optional<Number> ParseDecimal(const std::string& text) {
  Number value{};
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// Most cells have none of these bytes, all below 14: eight bytes at a time
// are looked at for any byte below 14 first.
bool HasLineOrTabBytes(std::string_view text) {
  std::size_t i = 0;
  for (; i + 8 <= text.size(); i += 8) {
    if (byte_words::BytesBelow(byte_words::Load8(text.data() + i), 14) != 0) break;
  }
  for (; i < text.size(); ++i) {
    if (text[i] == '\t' || text[i] == '\r' || text[i] == '\n') return true;
  }
  return false;
}

// Rows of a table on standard output: tab between cells, UTF-8, written into
// one buffer and out in large pieces (a list may have 100k rows). A cell is
// converted straight into the buffer, in the room it can take at most.
class TableOutput {
 public:
  TableOutput() : buffer_(std::make_unique_for_overwrite<char[]>(kCapacity)), capacity_(kCapacity) {}
  ~TableOutput() { Flush(); }
  TableOutput(const TableOutput&) = delete;
  TableOutput& operator=(const TableOutput&) = delete;

  void Row(const std::vector<std::string>& cells) {
    for (std::size_t i = 0; i < cells.size(); ++i) {
      if (i != 0) *Room(1) = '\t', ++size_;
      const std::string& cell = cells[i];
      char* start = Room(Cp936Characters::Table::KnownRoom(cell.size()));
      char* end = characters_.PutKnown(cell, start);
      if (end == nullptr) {
        // Not all ASCII and double-byte characters: the conversion of the whole text decides.
        utf8_.clear();
        cp936::AppendUtf8(cell, &utf8_);
        start = Room(utf8_.size());
        end = std::copy(utf8_.begin(), utf8_.end(), start);
      }
      // A grid cell holds one line; the terminal's table does too. (These
      // bytes are never part of a double-byte character, in either encoding.)
      if (HasLineOrTabBytes(cell))
        std::replace_if(
            start, end, [](char c) { return c == '\t' || c == '\r' || c == '\n'; }, ' ');
      size_ = static_cast<std::size_t>(end - buffer_.get());
    }
    *Room(1) = '\n';
    ++size_;
    if (size_ >= kFlushAt) Flush();
  }

  void Flush() {
    std::cout.write(buffer_.get(), static_cast<std::streamsize>(size_));
    std::cout.flush();
    size_ = 0;
  }

 private:
  static constexpr std::size_t kFlushAt = 1 << 16;
  static constexpr std::size_t kCapacity = 2 * kFlushAt;

  // Room for `more` bytes after the text, made by writing the text out first
  // (or by a bigger buffer, for a cell longer than the buffer); where they go.
  char* Room(std::size_t more) {
    if (capacity_ - size_ < more) Flush();
    if (capacity_ < more) {
      buffer_ = std::make_unique_for_overwrite<char[]>(more);
      capacity_ = more;
    }
    return buffer_.get() + size_;
  }

  std::unique_ptr<char[]> buffer_;
  std::size_t capacity_;
  std::size_t size_ = 0;
  Cp936Characters::Table characters_ = ThisThreadsCp936Characters().table();
  std::string utf8_;  // an unusual cell, converted as a whole
};

// --- list ---

// "重复": how the event repeats in words, then the RRULE value ("每周五
// FREQ=WEEKLY;BYDAY=FR"); empty for a one-off.
const char kRepeatCaption[] = "\xd6\xd8\xb8\xb4";

struct ListOptions {
  ViewOptions view;
  bool with_created = false;  // a last column with each event's key, as delete takes it
};

int RunList(const ListOptions& options) {
  std::optional<ChosenView> chosen = ChooseView(options.view);
  if (!chosen) return kBadArguments;

  EventList list;
  LoadResult result = list.LoadEvents();
  RepeatStore rule_file = RulesBeside(list);
  RepeatRules rules;
  LoadRulesForReading(rule_file, &rules, list);
  EventPtrList rows;
  FillView(list, chosen->view, chosen->day, chosen->keyword, rows);
  std::vector<EventKey> keys;
  if (options.with_created || !rules.empty()) keys = list.KeysOf(rows);
  {
    TableOutput table;
    std::vector<std::string> cells;
    for (const ViewColumn& column : ViewColumns(chosen->view)) cells.push_back(column.caption);
    cells.push_back(kRepeatCaption);
    if (options.with_created) cells.push_back("timeCreate");
    table.Row(cells);
    LocalTimeConverter times;
    for (std::size_t i = 0; i < rows.size(); ++i) {
      ViewRowCells(chosen->view, *rows[i], times, cells);
      const RepeatSeries* series = rules.empty() ? nullptr : SeriesOfEvent(rules, *rows[i], keys[i]);
      cells.push_back(series != nullptr ? RepeatShortName(*series) + " " + FormatRepeatRule(series->rule())
                                        : std::string());
      if (options.with_created) cells.push_back(KeyText(keys[i]));
      table.Row(cells);
    }
  }
  if (result.ok()) return 0;
  PrintLoadProblem(result, list.FilePath());
  return kFileError;
}

// --- add ---

struct AddOptions {
  std::optional<std::string> title;
  std::string body;
  std::optional<std::string> at;
  std::optional<std::string> in;
  std::optional<std::string> repeat;
};

// The body's line breaks are stored as CR LF, as the editor stores them.
std::string CrLfLineBreaks(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      out += "\r\n";
      ++i;
    } else if (text[i] == '\r' || text[i] == '\n') {
      out += "\r\n";
    } else {
      out += text[i];
    }
  }
  return out;
}

int RunAdd(const AddOptions& options) {
  // Everything is checked before event.dat is touched.
  if (!options.title) {
    std::cerr << "tallyo-cli: add needs --title (it may be empty: --title \"\")\n";
    return kBadArguments;
  }
  if (options.at && options.in) {
    std::cerr << "tallyo-cli: give either --at or --in, not both\n";
    return kBadArguments;
  }
  std::optional<std::string> title = ArgumentToCp936(*options.title, "the title");
  if (!title) return kBadArguments;
  if (title->find_first_of("\r\n") != std::string::npos) {
    std::cerr << "tallyo-cli: the title is one line; put further lines into --body\n";
    return kBadArguments;
  }
  std::optional<std::string> body = ArgumentToCp936(CrLfLineBreaks(options.body), "the body");
  if (!body) return kBadArguments;

  CMyEvent event;
  event.strTitle = *title;
  event.strContent = *body;
  if (options.at) {
    Time32 when = 0;
    if (!ParseLocalTime(*options.at, &when)) {
      std::cerr << "tallyo-cli: --at expects a local time as \"YYYY-MM-DD HH:MM:SS\", not \"" << *options.at
                << "\"\n";
      return kBadArguments;
    }
    event.bRemind = 1;
    event.timeRemind = when;
  } else if (options.in) {
    std::optional<std::uint32_t> minutes = ParseDecimal<std::uint32_t>(*options.in);
    std::int64_t when = minutes ? event.timeCreate + std::int64_t{*minutes} * 60 : 0;
    if (!minutes || when > std::numeric_limits<Time32>::max()) {
      std::cerr << "tallyo-cli: --in expects a whole number of minutes from now (0 or more, ending before "
                   "2038), not \""
                << *options.in << "\"\n";
      return kBadArguments;
    }
    event.bRemind = 1;
    event.timeRemind = static_cast<Time32>(when);
  }
  std::optional<RepeatSeries> series;
  if (options.repeat) {
    if (!options.at && !options.in) {
      std::cerr << "tallyo-cli: --repeat needs --at or --in: the series starts at that time\n";
      return kBadArguments;
    }
    std::optional<RepeatRule> rule = RuleArgument(*options.repeat);
    if (!rule) return kBadArguments;
    series = SeriesStartingAt(event.timeRemind, *rule);
    if (!series) {
      PrintNoOccurrence(*rule, event.timeRemind);
      return kBadArguments;
    }
    // A rule that does not name the day given (weekdays, on a Saturday) starts at its first day.
    event.timeRemind = TimeOfWall(series->start()).value_or(event.timeRemind);
  }

  Time32 created = 0;
  const int code = ChangeFolderFiles([&](EventList& list, RepeatRules& rules) {
    // A second of its own, even when several adds come in one second: the
    // first of its second, so the rule under its creation time is its own.
    created = list.AddNew(event).timeCreate;
    if (series) rules.Set(created, *series);
    return 0;
  });
  if (code != 0) return code;
  std::cout << created << "\n";
  return 0;
}

// --- delete ---

int RunDelete(const std::string& key_text) {
  std::optional<EventKey> key = ParseKey(key_text);
  if (!key) {
    std::cerr
        << "tallyo-cli: --created expects the creation time in seconds, or N-K for the event in place K "
           "of second N, as add and list --with-created show it, not \""
        << key_text << "\"\n";
    return kBadArguments;
  }
  return ChangeFolderFiles([&](EventList& list, RepeatRules& rules) {
    // Its rule goes with it: repeat.ini keeps no rule of an event that is gone.
    if (DeleteEventAndRule(list, rules, *key)) return 0;
    PrintNoSuchEvent(*key, "; nothing was changed");
    return kFileError;
  });
}

// --- check ---

int RunCheck() {
  EventList list;
  LoadResult result = list.LoadEvents();
  if (!result.ok()) {
    PrintLoadProblem(result, list.FilePath());
    return kFileError;
  }
  // What cannot be read in repeat.ini is told too (the count is event.dat's).
  RepeatStore rule_file = RulesBeside(list);
  RepeatRules rules;
  LoadRulesForReading(rule_file, &rules, list);
  std::cout << list.size() << "\n";
  return 0;
}

// CLI11 fills plain strings; whether an option was given is asked of the option.
std::optional<std::string> IfGiven(const CLI::Option* option, const std::string& value) {
  return option->count() > 0 ? std::optional<std::string>(value) : std::nullopt;
}

struct RawAddOptions {
  std::string title, body, at, in, repeat;
  CLI::Option *title_option = nullptr, *at_option = nullptr, *in_option = nullptr, *repeat_option = nullptr;
};

}  // namespace

void AddEventCommands(CLI::App& app, CliContext& ctx) {
  auto list_options = std::make_shared<ListOptions>();
  CLI::App* list =
      app.add_subcommand("list", "list the events of one view, as the main window's grid shows them");
  AddViewOptions(list, &list_options->view, /*min_given=*/1);
  list->add_flag("--with-created", list_options->with_created,
                 "add a last column with each event's creation time in seconds, N-K for the later events of "
                 "one second (for delete)");
  list->callback([&ctx, list_options] { ctx.exit_code = RunList(*list_options); });

  auto raw = std::make_shared<RawAddOptions>();
  CLI::App* add = app.add_subcommand(
      "add",
      "add a memo, or a reminder with --at or --in (repeating with --repeat); prints its creation time");
  raw->title_option = add->add_option("--title", raw->title, "the title (one line)");
  add->add_option("--body", raw->body, "the body text");
  raw->at_option = add->add_option("--at", raw->at, "remind at this local time, \"YYYY-MM-DD HH:MM:SS\"");
  raw->in_option = add->add_option("--in", raw->in, "remind this many minutes from now");
  raw->repeat_option = add->add_option(
      "--repeat", raw->repeat,
      "repeat from the time of --at or --in: daily, weekdays, weekly, monthly, yearly, hourly, or an RRULE "
      "value such as FREQ=WEEKLY;INTERVAL=2;BYDAY=MO,TH");
  add->callback([&ctx, raw] {
    AddOptions options{IfGiven(raw->title_option, raw->title), raw->body, IfGiven(raw->at_option, raw->at),
                       IfGiven(raw->in_option, raw->in), IfGiven(raw->repeat_option, raw->repeat)};
    ctx.exit_code = RunAdd(options);
  });

  auto created = std::make_shared<std::string>();
  CLI::App* remove = app.add_subcommand("delete", "delete the event created at that time");
  remove
      ->add_option("--created", *created,
                   "creation time in seconds (the first event of that second), or N-K (the one in place K, "
                   "counted from 0), as add and list --with-created show it")
      ->required();
  remove->callback([&ctx, created] { ctx.exit_code = RunDelete(*created); });

  CLI::App* check = app.add_subcommand("check", "read event.dat and print how many events it holds");
  check->callback([&ctx] { ctx.exit_code = RunCheck(); });
}
