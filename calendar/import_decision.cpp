// What a component becomes among the events, and the fingerprint that
// tells a change of the calendar's from a change of the user's.
#include <cstdint>
#include <cstdio>

#include "calendar/import_steps.h"
#include "events/event_repeats.h"

namespace {

// FNV-1a, 64 bits: a fingerprint, not a defence.
class Fnv {
 public:
  void Add(std::string_view bytes) {
    for (unsigned char c : bytes) hash_ = (hash_ ^ c) * 0x100000001b3ULL;
    Add(std::int64_t{static_cast<std::int64_t>(bytes.size())});
  }
  void Add(std::int64_t number) {
    for (int i = 0; i < 8; ++i)
      hash_ = (hash_ ^ static_cast<unsigned char>(number >> (8 * i))) * 0x100000001b3ULL;
  }
  std::string Hex() const {
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash_));
    return text;
  }

 private:
  std::uint64_t hash_ = 0xcbf29ce484222325ULL;
};

}  // namespace

std::string EventFingerprint(const CMyEvent& event, const RepeatSeries* series) {
  Fnv fnv;
  fnv.Add(std::string_view(event.strTitle));
  fnv.Add(std::string_view(event.strContent));
  fnv.Add(std::int64_t{event.bRemind != 0});
  if (event.bRemind == 0) return fnv.Hex();
  if (series == nullptr) {
    fnv.Add(std::int64_t{event.timeRemind});
    return fnv.Hex();
  }
  fnv.Add(series->start());
  fnv.Add(FormatRepeatRule(series->rule()));
  fnv.Add(FormatWallTimeList(series->dates().added));
  fnv.Add(FormatWallTimeList(series->dates().removed));
  return fnv.Hex();
}

EventOfImport EventOfItem(const CalendarItem& item) {
  EventOfImport made;
  made.event.strTitle = SharedText(item.title);
  made.event.strContent = SharedText(item.body);
  if (!item.reminds || item.past) return made;  // a memo (a past one only with --past)
  made.event.bRemind = 1;
  made.event.timeRemind = item.remind_at;
  if (item.rule) made.series.emplace(item.series_start, *item.rule, item.dates);
  return made;
}

ImportAction DecideImport(const CalendarItem& item, const EventList& events, const RepeatRules& rules,
                          const ImportUidBook& uids, const ImportOptions& options) {
  if (item.past && !options.past) return ImportAction::kSkipPast;
  const std::optional<EventKey> key = uids.Find(item.uid);
  const CMyEvent* event = key ? events.Find(*key) : nullptr;
  if (event == nullptr) return ImportAction::kAdd;
  const std::string now = EventFingerprint(*event, SeriesOfEvent(rules, *event, *key));
  const EventOfImport wanted = EventOfItem(item);
  const std::string then = EventFingerprint(wanted.event, wanted.series ? &*wanted.series : nullptr);
  if (then == now) return ImportAction::kUnchanged;
  // An event of Tallyo's own (exported, then imported back) or one the
  // user changed since it came in: the user's version stays.
  const std::string imported = uids.ImportedFingerprint(*key);
  if (imported.empty() || imported != now) return ImportAction::kKeepUsers;
  return ImportAction::kUpdate;
}
