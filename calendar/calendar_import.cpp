// PlanImport and ApplyImport: the import's steps (import_steps.h) on the
// folder's lists, the UIDs kept in the folder's uids.ini.
#include "calendar/calendar_import.h"

#include "calendar/import_steps.h"
#include "events/event_folder.h"

namespace {

// "无法取得文件夹的锁：" (the folder's lock could not be taken:)
constexpr char kNoLock[] = "\xce\xde\xb7\xa8\xc8\xa1\xb5\xc3\xce\xc4\xbc\xfe\xbc\xd0\xb5\xc4\xcb\xf8\xa3\xba";
// "未保存：" (not saved:)
constexpr char kNotSaved[] = "\xce\xb4\xb1\xa3\xb4\xe6\xa3\xba";
// "重复规则文件无法读取，未导入：" (repeat.ini cannot be read, nothing imported:)
constexpr char kRulesUnreadable[] =
    "\xd6\xd8\xb8\xb4\xb9\xe6\xd4\xf2\xce\xc4\xbc\xfe\xce\xde\xb7\xa8\xb6\xc1\xc8\xa1\xa3\xac\xce\xb4\xb5\xbc"
    "\xc8\xeb\xa3\xba";

// The folder's UIDs as the import's steps ask for them. Until the folder
// keeps UIDs (uids.ini), none is known and none kept: a file imported again
// comes in again.
class FolderUids : public ImportUidBook {
 public:
  explicit FolderUids(EventFolder& folder) : folder_(folder) {}
  std::optional<EventKey> Find(std::string_view) const override { return std::nullopt; }
  std::string ImportedFingerprint(EventKey) const override { return {}; }
  void Keep(EventKey, const std::string&, const std::string&) override {}

 private:
  [[maybe_unused]] EventFolder& folder_;
};

}  // namespace

ImportPlan PlanImport(std::string_view ics, EventFolder& folder, const ImportOptions& options) {
  FolderUids uids(folder);
  return PlanImportInto(ics, folder.events(), folder.rules(), uids, options);
}

ImportOutcome ApplyImport(const ImportPlan& plan, EventFolder& folder, const ImportProgress& progress) {
  ImportOutcome outcome;
  if (plan.unreadable) {
    outcome.message = plan.unreadable_reason;
    return outcome;
  }
  FolderUids uids(folder);
  EventFolder::Options options;
  options.save_when = SaveWhen::kIfApplied;
  options.wait = EventFolder::kCommandWait;
  // Rules that cannot be read would be lost by a save that sets new ones.
  options.take_in = [&](FolderChangeOutcome& taken) {
    folder.TakeInFiles(taken);
    return taken.rules_load.ok() || taken.rules_load.IsNotFound();
  };
  FolderChangeOutcome changed = folder.Make(
      [&](EventList& events, RepeatRules& rules) {
        outcome.counts = ApplyImportTo(plan, events, rules, uids, plan.options, progress);
        return outcome.counts.to_add + outcome.counts.to_update > 0;
      },
      options);
  if (!changed.lock.ok()) {
    outcome.message = kNoLock + changed.lock.message();
  } else if (changed.stopped) {
    outcome.message = kRulesUnreadable + changed.rules_load.message();
  } else if (!changed.applied) {
    outcome.saved = true;  // nothing was needed
  } else if (!changed.all_saved()) {
    outcome.message = kNotSaved + (changed.rules_save.ok() ? changed.save : changed.rules_save).message();
  } else {
    outcome.saved = true;
  }
  return outcome;
}
