#pragma once
// The rules of repeat.ini, kept beside event.dat: one section per repeating
// event, with the series' first occurrence in local wall time and its RRULE
// value. A section is named by the event's creation time, followed, for a
// later event of a second several events were created in (files of older
// versions), by "-" and its place among them (from 0, as in the calendar's
// UIDs):
//
//   [1796605200]
//   start=2026-12-08 09:00:00
//   rule=FREQ=WEEKLY;BYDAY=MO,TU,WE,TH,FR
//   rdate=2026-12-26 10:00:00
//   exdate=2026-12-25 09:00:00,2027-01-01 09:00:00
//
//   [1796605300-1]
//   start=2026-12-09 10:00:00
//   rule=FREQ=DAILY
//   events=2
//   title=9c1e04aa
//
// The section of an event whose second holds several events also carries a
// fingerprint, written by every save: how many events that second held and
// a hash of the event's title. Should an older tool delete or add one of
// them, the rule finds its event by the title; a rule whose event is gone
// goes, it never passes to another event (events/event_repeats.h binds them).
// Older versions pass over the names with "-" and keep them as they are.
//
// rdate= (occurrences added) and exdate= (occurrences left out) are written
// only when the series has such dates: a section without them reads as
// before, and an older version, which keeps sections it does not change,
// keeps them as they are.
//
// How sections follow their events: keyed_sections.h.
//
// Read and written with IniFile; a section this program does not change
// keeps its lines as they are, so a rule it cannot read (a part it does not
// know, a bad value) survives every save unchanged, and its event reminds
// once, as a one-off. Sections whose names name no event are left alone.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "base/ini_file.h"
#include "base/local_time.h"
#include "repeat/keyed_sections.h"
#include "repeat/repeat_series.h"

struct RepeatEntry {
  Time32 created = 0;  // key.created
  RuleKey key;
  std::string section;  // the section's name in the file now (lowered)
  std::optional<RuleFingerprint> fingerprint;
  std::string start_text;  // the values as written
  std::string rule_text;
  std::string rdate_text;  // empty when not given
  std::string exdate_text;
  std::optional<RepeatSeries> series;  // nullopt: the section cannot be read
  std::string problem;                 // why not, in English, naming the key
};

class RepeatRules {
 public:
  static constexpr char kStartKey[] = "start";
  static constexpr char kRuleKey[] = "rule";
  static constexpr const char* kEventsKey = keyed_sections::kEventsKey;
  static constexpr const char* kTitleKey = keyed_sections::kTitleKey;
  static constexpr char kRdateKey[] = "rdate";
  static constexpr char kExdateKey[] = "exdate";

  RepeatRules() = default;
  // Reads the bytes of repeat.ini; any bytes are accepted. Of two sections
  // with the same name the first counts, as with every INI lookup.
  explicit RepeatRules(std::string_view bytes);

  // The file's bytes, every line ended by CR LF.
  std::string ToBytes() const { return sections_.ToBytes(); }

  // The section of that event, readable or not; nullptr for none.
  const RepeatEntry* Find(RuleKey key) const;
  const RepeatEntry* Find(Time32 created) const { return Find(RuleKey{created, 0}); }
  // Its series when it can be read; nullptr for none or an unreadable one.
  const RepeatSeries* SeriesOf(RuleKey key) const;
  const RepeatSeries* SeriesOf(Time32 created) const { return SeriesOf(RuleKey{created, 0}); }

  // Gives the event a rule: its section is written anew.
  void Set(RuleKey key, const RepeatSeries& series);
  void Set(Time32 created, const RepeatSeries& series) { Set(RuleKey{created, 0}, series); }
  // Takes the event's rule away; false when it had none. Its section stays
  // in the file's bytes until CommitRemovals: repeat.ini is saved before
  // event.dat, and a rule must not leave before its event does.
  bool Remove(RuleKey key);
  bool Remove(Time32 created) { return Remove(RuleKey{created, 0}); }
  // Drops the sections of the rules taken away; true if there were any.
  bool CommitRemovals();
  // The same for the rules of events that are still there (`existing`: the
  // key of every event): no event loses its rule on disk before it is gone
  // from event.dat.
  bool CommitRemovalsOf(std::span<const RuleKey> existing);
  // Drops the sections of events that no longer exist, at once; `existing`
  // holds the key of every event (in any order). True if any was dropped.
  bool DropVanished(std::span<const RuleKey> existing);
  // The same with creation times: the rules of every place of those seconds stay.
  bool DropVanished(std::span<const Time32> existing);

  // The rules move to other events: each `from` to its `to` (nullopt: its
  // event is gone, the rule goes at once). Their sections keep their names
  // until Rename.
  void Move(const std::vector<std::pair<RuleKey, std::optional<RuleKey>>>& moves);
  // Names the section of every rule by its key, and writes `fingerprint_of`
  // its key into it (nullopt: none). True if the bytes changed.
  bool NameAndFingerprint(const std::function<std::optional<RuleFingerprint>(RuleKey)>& fingerprint_of);

  // Another program's rules (this object) while changes this program made
  // to `base`, giving `changed`, wait to be saved: every event whose section
  // differs between the two gets it as `changed` has it (set or removed);
  // the rest stays as this object has it.
  void TakeChanges(const RepeatRules& base, const RepeatRules& changed);
  // The sections that cannot be read, by key.
  std::vector<const RepeatEntry*> Unreadable() const;
  // The lines that are no section header, key=value, comment or blank line.
  std::vector<std::size_t> OtherLines() const { return sections_.document().OtherLines(); }
  // Every rule's key, in no order.
  std::vector<RuleKey> Keys() const;
  std::size_t size() const { return sections_.size(); }
  bool empty() const { return sections_.empty(); }

 private:
  KeyedSections<RepeatEntry> sections_;
};
