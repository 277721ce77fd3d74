#include "app/calendar_file_import.h"

#include <utility>

#include "app/import_texts.h"
#include "base/file_system.h"
#include "base/local_time.h"
#include "events/event_folder.h"
#include "events/event_list.h"
#include "repeat/repeat_rules.h"
#include "repeat/repeat_store.h"

namespace {

class CalendarFileImport : public ImportWork {
 public:
  explicit CalendarFileImport(std::string path)
      : path_(std::move(path)),
        store_(DefaultFileSystem(), RepeatFilePathBeside(events_.FilePath())),
        folder_(DefaultFileSystem(), events_, rules_, store_) {}

  PlannedImport Plan() override {
    PlannedImport planned;
    std::string bytes;
    const Status read = DefaultFileSystem().ReadFile(path_, &bytes);
    if (!read.ok()) {
      planned.plan.unreadable = true;
      planned.plan.unreadable_reason = kCannotReadFile + read.message();
      return planned;
    }
    // What the folder holds now: the plan matches the file's events to it.
    events_.LoadEvents();
    store_.Load(&rules_);
    ImportOptions options;
    options.now = NowTime();
    plan_ = PlanImport(bytes, folder_, options);
    planned.plan = plan_;
    planned.question = ImportQuestion(plan_.counts);
    planned.summary = ImportSummary(plan_.counts, plan_.problems);
    return planned;
  }

  AppliedImport Apply(const ImportProgress& progress) override {
    AppliedImport applied;
    applied.outcome = ApplyImport(plan_, folder_, progress);
    applied.summary = ImportSummary(applied.outcome.counts, plan_.problems);
    return applied;
  }

 private:
  std::string path_;
  EventList events_;
  RepeatRules rules_;
  RepeatStore store_;
  EventFolder folder_;
  ImportPlan plan_;
};

}  // namespace

std::unique_ptr<ImportWork> MakeCalendarFileImport(std::string path) {
  return std::make_unique<CalendarFileImport>(std::move(path));
}
