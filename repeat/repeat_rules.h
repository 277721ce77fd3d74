#pragma once
// The rules of repeat.ini, kept beside event.dat: one section per repeating
// event, named by the event's creation time, with the series' first
// occurrence in local wall time and its RRULE value:
//
//   [1796605200]
//   start=2026-12-08 09:00:00
//   rule=FREQ=WEEKLY;BYDAY=MO,TU,WE,TH,FR
//   rdate=2026-12-26 10:00:00
//   exdate=2026-12-25 09:00:00,2027-01-01 09:00:00
//
// rdate= (occurrences added) and exdate= (occurrences left out) are written
// only when the series has such dates: a section without them reads as
// before, and an older version, which keeps sections it does not change,
// keeps them as they are.
// Read and written with IniFile; a section this program does not change
// keeps its lines as they are, so a rule it cannot read (a part it does not
// know, a bad value) survives every save unchanged, and its event reminds
// once, as a one-off. Sections whose names are no creation time are left alone.
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "base/ini_file.h"
#include "base/local_time.h"
#include "repeat/repeat_series.h"

struct RepeatEntry {
  Time32 created = 0;
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
  static constexpr char kRdateKey[] = "rdate";
  static constexpr char kExdateKey[] = "exdate";

  RepeatRules() = default;
  // Reads the bytes of repeat.ini; any bytes are accepted. Of two sections
  // with the same name the first counts, as with every INI lookup.
  explicit RepeatRules(std::string_view bytes);

  // The file's bytes, every line ended by CR LF.
  std::string ToBytes() const { return document_.ToBytes(); }

  // The section of the event created at `created`, readable or not; nullptr for none.
  const RepeatEntry* Find(Time32 created) const;
  // Its series when it can be read; nullptr for none or an unreadable one.
  const RepeatSeries* SeriesOf(Time32 created) const;

  // Gives the event a rule: its section is written anew.
  void Set(Time32 created, const RepeatSeries& series);
  // Takes the event's rule away; false when it had none.
  bool Remove(Time32 created);
  // Drops the sections of events that no longer exist; `existing` holds the
  // creation time of every event (in any order). True if any was dropped.
  bool DropVanished(std::span<const Time32> existing);

  // Another program's rules (this object) while changes this program made
  // to `base`, giving `changed`, wait to be saved: every event whose section
  // differs between the two gets it as `changed` has it (set or removed);
  // the rest stays as this object has it.
  void TakeChanges(const RepeatRules& base, const RepeatRules& changed);
  // The sections that cannot be read, by creation time.
  std::vector<const RepeatEntry*> Unreadable() const;
  std::size_t size() const { return entries_.size(); }
  bool empty() const { return entries_.empty(); }

 private:
  void RemoveSectionsOf(const std::unordered_set<Time32>& gone);

  IniFile document_;
  std::unordered_map<Time32, RepeatEntry> entries_;
};

// The creation time a section name stands for: an optional minus and 1 to
// 10 digits within the range of a time value; nullopt for any other name.
std::optional<Time32> CreationTimeOfSection(std::string_view name);
