#pragma once
// The work behind the import dialog, done on worker threads: reading and
// planning a calendar file, then making the plan's changes. The dialog asks,
// shows progress and the result; the work knows the files.
#include <string>

#include "calendar/calendar_import.h"

// A plan and the texts of its counts, for the question and for a summary
// shown without an import (nothing to change), code page 936.
struct PlannedImport {
  ImportPlan plan;
  std::string question;
  std::string summary;
};

// An import made, and its summary, code page 936.
struct AppliedImport {
  ImportOutcome outcome;
  std::string summary;
};

class ImportWork {
 public:
  virtual ~ImportWork() = default;
  // Both run on a worker thread, Apply after Plan and only when the user
  // said yes. `progress` is called on that thread.
  virtual PlannedImport Plan() = 0;
  virtual AppliedImport Apply(const ImportProgress& progress) = 0;
};
