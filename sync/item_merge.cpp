#include "sync/item_merge.h"

namespace {

bool SameTime(const CalendarItem& a, const CalendarItem& b) {
  if (a.reminds != b.reminds || a.all_day != b.all_day) return false;
  if (!a.reminds) return true;
  if (a.rule.has_value() && b.rule.has_value()) return a.series_start == b.series_start;
  return a.rule.has_value() == b.rule.has_value() && a.remind_at == b.remind_at;
}

}  // namespace

ItemFields ChangedFields(const CalendarItem& a, const CalendarItem& b) {
  ItemFields fields = 0;
  if (a.title != b.title) fields |= kFieldTitle;
  if (a.body != b.body) fields |= kFieldBody;
  if (!SameTime(a, b)) fields |= kFieldTime;
  if (a.rule != b.rule || (a.rule && a.dates != b.dates)) fields |= kFieldRule;
  return fields;
}

void CopyFields(const CalendarItem& from, ItemFields fields, CalendarItem& to) {
  if (fields & kFieldTitle) to.title = from.title;
  if (fields & kFieldBody) to.body = from.body;
  if (fields & kFieldTime) {
    to.reminds = from.reminds;
    to.all_day = from.all_day;
    to.remind_at = from.remind_at;
    to.series_start = from.series_start;
  }
  if (fields & kFieldRule) {
    to.rule = from.rule;
    to.dates = from.dates;
    // A rule that comes or goes brings the series' start with it.
    if (!(fields & kFieldTime)) {
      to.series_start = from.series_start;
      to.remind_at = from.remind_at;
    }
  }
}

ItemMerge MergeItems(const CalendarItem& agreed, const CalendarItem& local, const CalendarItem& server) {
  const ItemFields local_changed = ChangedFields(agreed, local);
  const ItemFields server_changed = ChangedFields(agreed, server);
  ItemMerge merge;
  merge.merged = local;
  CopyFields(server, server_changed & ~local_changed, merge.merged);
  merge.conflicts = local_changed & server_changed & ChangedFields(local, server);
  merge.to_server = ChangedFields(server, merge.merged);
  merge.to_local = ChangedFields(local, merge.merged);
  return merge;
}
