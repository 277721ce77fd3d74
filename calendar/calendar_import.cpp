// PlanImport and ApplyImport: the import's steps (import_steps.h) on the
// folder's lists, the UIDs kept in the folder's uids.ini.
#include "calendar/calendar_import.h"

#include "calendar/folder_uid_book.h"
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
// "UID 文件无法读取，未导入：" (uids.ini cannot be read, nothing imported:)
constexpr char kUidsUnreadable[] =
    "UID \xce\xc4\xbc\xfe\xce\xde\xb7\xa8\xb6\xc1\xc8\xa1\xa3\xac\xce\xb4\xb5\xbc\xc8\xeb\xa3\xba";

}  // namespace

ImportPlan PlanImport(std::string_view ics, EventFolder& folder, const ImportOptions& options) {
  // A uids.ini that cannot be read plans as if no event had a UID kept; the
  // apply step, under the lock, then refuses to go on (see there).
  folder.RefreshUids();
  FolderUidBook uids(folder);
  return PlanImportInto(ics, folder.events(), folder.rules(), uids, options);
}

ImportOutcome ApplyImport(const ImportPlan& plan, EventFolder& folder, const ImportProgress& progress) {
  ImportOutcome outcome;
  if (plan.unreadable) {
    outcome.message = plan.unreadable_reason;
    return outcome;
  }
  FolderUidBook uids(folder);
  EventFolder::Options options;
  options.save_when = SaveWhen::kIfApplied;
  options.wait = EventFolder::kCommandWait;
  // Rules that cannot be read would be lost by a save that sets new ones,
  // and UIDs that cannot be read would let the next import double events.
  options.take_in = [&](FolderChangeOutcome& taken) {
    folder.TakeInFiles(taken);
    taken.uids_load = folder.RefreshUids();
    return (taken.rules_load.ok() || taken.rules_load.IsNotFound()) &&
           (taken.uids_load.ok() || taken.uids_load.IsNotFound());
  };
  // Making the events takes the first nine tenths of the bar; writing the
  // files (a large import's longest step) the last tenth.
  const ImportProgress making = [&progress](int done, int total) {
    if (progress) progress(static_cast<int>(static_cast<long long>(done) * 9 / 10), total);
  };
  FolderChangeOutcome changed = folder.Make(
      [&](EventList& events, RepeatRules& rules) {
        outcome.counts = ApplyImportTo(plan, events, rules, uids, plan.options, making);
        uids.Flush();
        return outcome.counts.to_add + outcome.counts.to_update > 0;
      },
      options);
  if (!changed.lock.ok()) {
    outcome.message = kNoLock + changed.lock.message();
  } else if (changed.stopped) {
    outcome.message = changed.rules_load.ok() || changed.rules_load.IsNotFound()
                          ? kUidsUnreadable + changed.uids_load.message()
                          : kRulesUnreadable + changed.rules_load.message();
  } else if (!changed.applied) {
    outcome.saved = true;  // nothing was needed
  } else if (!changed.all_saved()) {
    const Status& failed = !changed.rules_save.ok()  ? changed.rules_save
                           : !changed.uids_save.ok() ? changed.uids_save
                                                     : changed.save;
    outcome.message = kNotSaved + failed.message();
  } else {
    outcome.saved = true;
  }
  if (progress && outcome.saved)
    progress(static_cast<int>(plan.items.size()), static_cast<int>(plan.items.size()));
  return outcome;
}
