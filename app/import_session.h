#pragma once
// The steps of importing a calendar file in the program, without a window:
// the file is read and planned (on a worker), the user is asked when there
// is something to import, the import runs (on a worker, with progress), and
// the result is shown. The import dialog turns what happens into calls here
// and shows the View it gets back; nothing changes unless the user said yes.
#include <string>

#include "calendar/calendar_import.h"

class ImportSession {
 public:
  enum class Step {
    kReading,    // the worker reads and plans the file
    kAsking,     // the question is up: import or not
    kImporting,  // the worker makes the changes
    kDone,       // the summary, or why nothing could be done
  };

  // What the dialog shows at a step. Texts are code page 936.
  struct View {
    std::string text;
    bool progress_shown = false;
    int progress_permille = 0;
    bool ok_shown = false;      // "导入" while asking, "关闭" when done
    bool cancel_shown = false;  // "取消" while reading and asking
    bool closable = true;       // the close button and Escape end the dialog
  };

  // `file_name` names the file in the texts (its name without the folder).
  explicit ImportSession(std::string file_name);

  Step step() const { return step_; }
  const View& view() const { return view_; }

  // The plan is made. An unreadable file is told and nothing changes; a
  // plan with nothing to add or update shows its summary at once (nothing to
  // ask); otherwise the question is asked. `question` and `summary` are
  // the texts of the plan's counts.
  void Planned(const ImportPlan& plan, const std::string& question, const std::string& summary);

  // The user's answer to the question. True when the import starts now
  // (the dialog starts the worker); false when the dialog ends.
  bool Answered(bool import);

  // The worker has made `done` of `total` changes.
  void Progressed(int done, int total);

  // The import is over: its summary, or why the files could not be written.
  void Applied(const ImportOutcome& outcome, const std::string& summary);

  // Whether the dialog may end now (Escape, the close button). Reading may be
  // left: the worker only reads. An import that runs may not.
  bool MayClose() const { return view_.closable; }

 private:
  void Finish(std::string text);

  std::string file_name_;
  Step step_ = Step::kReading;
  View view_;
};

// The worker's progress is posted to the window: a report for every change
// would flood its queue with a large file. Reports come when the shown
// permille changes, no more often than every `min_gap_ms`, and the last
// one (done == total) always.
class ProgressThrottle {
 public:
  explicit ProgressThrottle(int min_gap_ms = 50) : min_gap_ms_(min_gap_ms) {}
  // `now_ms` is a steady clock in milliseconds.
  bool ShouldReport(int done, int total, long long now_ms);

 private:
  int min_gap_ms_;
  bool reported_ = false;
  int last_permille_ = -1;
  long long last_ms_ = 0;
};

// done of total, in thousandths, 0 to 1000 (1000 for an empty total).
int ProgressPermille(int done, int total);
