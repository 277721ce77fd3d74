// A calendar file as any bytes, imported into an empty folder's lists:
// reading never crashes or runs away; the counts add up to what the plan
// holds; the events added are the plan's, each reminder within the range
// of a time value with a series that reads; and the same bytes imported
// again add nothing.
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>

#include "base/testing/memory_file_system.h"
#include "calendar/import_steps.h"
#include "calendar/testing/memory_uid_book.h"
#include "events/event_repeats.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  MemoryFileSystem files;
  EventList events(files, "/fuzz/event.dat");
  RepeatRules rules;
  MemoryUidBook uids;
  ImportOptions options;
  options.now = 1796688000;  // 2026-12-08 00:00 UTC

  const ImportPlan plan = PlanImportInto(bytes, events, rules, uids, options);
  if (plan.unreadable) {
    Check(plan.items.empty() && !plan.unreadable_reason.empty());
    return 0;
  }
  Check(plan.problems.size() == static_cast<std::size_t>(plan.counts.bad));
  for (const ImportProblem& problem : plan.problems) Check(!problem.reason.empty());
  Check(static_cast<std::size_t>(plan.counts.to_add) <= plan.items.size());
  Check(!ImportSummary(plan.counts, plan.problems).empty());

  const ImportCounts done = ApplyImportTo(plan, events, rules, uids, plan.options, {});
  Check(done.to_add == plan.counts.to_add && done.repeating == plan.counts.repeating);
  Check(events.size() == static_cast<std::size_t>(done.to_add));
  for (const CMyEvent& event : events.records()) {
    if (event.bRemind == 0) continue;
    Check(event.timeRemind > options.now);
    if (const RepeatSeries* series = SeriesOfEvent(rules, event, events.KeyOf(event)))
      Check(series->FirstAfter(options.now) == std::optional<Time32>(event.timeRemind));
  }

  // The same bytes again: everything is found, nothing changes.
  const ImportPlan again = PlanImportInto(bytes, events, rules, uids, options);
  Check(again.counts.to_add == 0 && again.counts.to_update == 0 && again.counts.kept_user_changes == 0);
  return 0;
}
