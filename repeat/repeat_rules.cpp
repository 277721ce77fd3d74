#include "repeat/repeat_rules.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <unordered_set>

namespace {

// Reads one section into `entry`; false (with entry->problem) when it cannot be read.
bool ReadEntry(const IniFile::Section& section, RepeatEntry* entry) {
  const std::string_view* start = nullptr;
  const std::string_view* rule = nullptr;
  const std::string_view* rdate = nullptr;
  const std::string_view* exdate = nullptr;
  for (const IniFile::KeyValue& kv : section.keys) {
    // The first key of a name counts, as with every INI lookup.
    if (kv.key == RepeatRules::kStartKey && start == nullptr) start = &kv.value;
    if (kv.key == RepeatRules::kRuleKey && rule == nullptr) rule = &kv.value;
    if (kv.key == RepeatRules::kRdateKey && rdate == nullptr) rdate = &kv.value;
    if (kv.key == RepeatRules::kExdateKey && exdate == nullptr) exdate = &kv.value;
  }
  if (rdate != nullptr) entry->rdate_text = *rdate;
  if (exdate != nullptr) entry->exdate_text = *exdate;
  if (start != nullptr) entry->start_text = *start;
  if (rule != nullptr) entry->rule_text = *rule;
  if (start == nullptr || rule == nullptr) {
    entry->problem = start == nullptr ? "start= is missing" : "rule= is missing";
    return false;
  }
  WallSeconds start_wall = 0;
  if (!ParseWallTime(*start, &start_wall)) {
    entry->problem = "start=" + std::string(*start) + " is not a local time as YYYY-MM-DD HH:MM:SS";
    return false;
  }
  RepeatRule parsed;
  Status status = ParseRepeatRule(*rule, &parsed);
  if (!status.ok()) {
    entry->problem = "rule: " + status.message();
    return false;
  }
  RepeatDates dates;
  std::string bad;
  if (rdate != nullptr && !ParseWallTimeList(*rdate, &dates.added, &bad)) {
    entry->problem = "rdate=: \"" + bad + "\" is not a local time as YYYY-MM-DD HH:MM:SS";
    return false;
  }
  if (exdate != nullptr && !ParseWallTimeList(*exdate, &dates.removed, &bad)) {
    entry->problem = "exdate=: \"" + bad + "\" is not a local time as YYYY-MM-DD HH:MM:SS";
    return false;
  }
  entry->series.emplace(start_wall, parsed, std::move(dates));
  return true;
}

}  // namespace

std::optional<Time32> CreationTimeOfSection(std::string_view name) {
  std::string_view digits = name.substr(!name.empty() && name[0] == '-' ? 1 : 0);
  if (digits.empty() || digits.size() > 10 || digits[0] == '+') return std::nullopt;
  Time32 value = 0;
  auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), value);
  if (error != std::errc() || end != name.data() + name.size()) return std::nullopt;
  return value;
}

RepeatRules::RepeatRules(std::string_view bytes) : document_(bytes) {
  const std::vector<IniFile::Section> sections = document_.Sections();
  entries_.reserve(sections.size());
  for (const IniFile::Section& section : sections) {
    std::optional<Time32> created = CreationTimeOfSection(section.name);
    if (!created || entries_.count(*created) != 0) continue;
    RepeatEntry entry;
    entry.created = *created;
    ReadEntry(section, &entry);
    entries_.emplace(*created, std::move(entry));
  }
}

const RepeatEntry* RepeatRules::Find(Time32 created) const {
  auto it = entries_.find(created);
  return it == entries_.end() ? nullptr : &it->second;
}

const RepeatSeries* RepeatRules::SeriesOf(Time32 created) const {
  const RepeatEntry* entry = Find(created);
  return entry != nullptr && entry->series ? &*entry->series : nullptr;
}

void RepeatRules::RemoveSectionsOf(const std::unordered_set<Time32>& gone) {
  document_.RemoveSections([&](std::string_view name) {
    std::optional<Time32> created = CreationTimeOfSection(name);
    return created && gone.count(*created) != 0;
  });
}

void RepeatRules::Set(Time32 created, const RepeatSeries& series) {
  RemoveSectionsOf({created});
  RepeatEntry& entry = entries_[created];
  entry = RepeatEntry{};
  entry.created = created;
  entry.start_text = FormatWallTime(series.start());
  entry.rule_text = FormatRepeatRule(series.rule());
  entry.rdate_text = FormatWallTimeList(series.dates().added);
  entry.exdate_text = FormatWallTimeList(series.dates().removed);
  entry.series = series;
  const std::string section = std::to_string(created);
  document_.SetString(section, kStartKey, entry.start_text);
  document_.SetString(section, kRuleKey, entry.rule_text);
  if (!entry.rdate_text.empty()) document_.SetString(section, kRdateKey, entry.rdate_text);
  if (!entry.exdate_text.empty()) document_.SetString(section, kExdateKey, entry.exdate_text);
}

bool RepeatRules::Remove(Time32 created) {
  if (entries_.erase(created) == 0) return false;
  RemoveSectionsOf({created});
  return true;
}

namespace {

bool SameSection(const RepeatEntry* a, const RepeatEntry* b) {
  if (a == nullptr || b == nullptr) return a == b;
  return a->start_text == b->start_text && a->rule_text == b->rule_text && a->rdate_text == b->rdate_text &&
         a->exdate_text == b->exdate_text;
}

}  // namespace

void RepeatRules::TakeChanges(const RepeatRules& base, const RepeatRules& changed) {
  std::unordered_set<Time32> events;
  for (const auto& [created, entry] : base.entries_) events.insert(created);
  for (const auto& [created, entry] : changed.entries_) events.insert(created);
  for (Time32 created : events) {
    const RepeatEntry* now = changed.Find(created);
    if (SameSection(base.Find(created), now)) continue;
    if (now == nullptr) {
      Remove(created);
    } else if (now->series) {
      Set(created, *now->series);
    }
  }
}

bool RepeatRules::DropVanished(std::span<const Time32> existing) {
  std::unordered_set<Time32> gone;
  for (const auto& [created, entry] : entries_) gone.insert(created);
  for (Time32 created : existing) gone.erase(created);
  if (gone.empty()) return false;
  for (Time32 created : gone) entries_.erase(created);
  RemoveSectionsOf(gone);
  return true;
}

std::vector<const RepeatEntry*> RepeatRules::Unreadable() const {
  std::vector<const RepeatEntry*> unreadable;
  for (const auto& [created, entry] : entries_) {
    if (!entry.series) unreadable.push_back(&entry);
  }
  std::sort(unreadable.begin(), unreadable.end(),
            [](const RepeatEntry* a, const RepeatEntry* b) { return a->created < b->created; });
  return unreadable;
}
