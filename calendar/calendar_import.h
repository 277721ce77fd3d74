#pragma once
// Importing a .ics file into the events' folder, in two steps that a window
// can put a question and a progress bar between:
//   PlanImport reads the file and decides what each component becomes
//   (nothing is written); ApplyImport makes the plan's changes through the
//   folder's one door (events/event_folder.h), under its lock.
// The program and tallyo-cli show the same counts.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "base/local_time.h"
#include "calendar/calendar_item.h"

class EventFolder;

struct ImportOptions {
  Time32 now = 0;     // what "past" is measured against
  bool past = false;  // past one-off events come in as memos instead of being skipped
};

// One component that could not be imported: which (its kind and SUMMARY or
// UID, as far as they could be read) and why, in the user's language.
struct ImportProblem {
  std::string component;  // code page 936
  std::string reason;     // code page 936
};

struct ImportCounts {
  int to_add = 0;             // new events
  int to_update = 0;          // events imported before whose component changed
  int repeating = 0;          // of the added and updated, series
  int unchanged = 0;          // imported before, the same now
  int kept_user_changes = 0;  // changed in Tallyo since their last import: left as the user left them
  int skipped_past = 0;       // past one-off events and series with nothing left
  int skipped_done = 0;       // completed or cancelled to-dos
  int bad = 0;                // components that could not be read (see problems)
  int marked_events = 0;      // events with characters replaced by the visible marker
};

struct ImportPlan {
  // The file could not be read as a calendar at all: nothing else is set.
  bool unreadable = false;
  std::string unreadable_reason;  // code page 936
  ImportCounts counts;
  std::vector<ImportProblem> problems;
  // What the apply step needs (the items to add or update); opaque to the caller.
  std::vector<CalendarItem> items;
  ImportOptions options;
};

// Reads `ics` (the file's bytes) and plans the import into the folder as
// it is now. Pure: the folder's files are only read.
ImportPlan PlanImport(std::string_view ics, EventFolder& folder, const ImportOptions& options);

// Called now and then while a plan is applied: done of total components.
using ImportProgress = std::function<void(int done, int total)>;

struct ImportOutcome {
  bool saved = false;   // the folder's files were written (or nothing was needed)
  std::string message;  // why not, code page 936
  ImportCounts counts;  // what was done
};

// Makes the plan's changes: adds, updates, the UIDs kept. Runs on any
// thread; `progress` is called on that thread.
ImportOutcome ApplyImport(const ImportPlan& plan, EventFolder& folder, const ImportProgress& progress = {});

// The question before an import, "导入 12 个事件（其中 3 个重复）？", and
// the summary after it, code page 936, for the program's windows.
std::string ImportQuestion(const ImportCounts& counts);
std::string ImportSummary(const ImportCounts& counts, const std::vector<ImportProblem>& problems);
