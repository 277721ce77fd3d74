#include "repeat/repeat_rules.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <limits>

namespace {

// Reads one section into `entry`; false (with entry->problem) when it cannot be read.
bool ReadEntry(const IniFile::Section& section, RepeatEntry* entry) {
  const std::string_view *start = nullptr, *rule = nullptr;
  const std::string_view *rdate = nullptr, *exdate = nullptr;
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

RepeatRules::RepeatRules(std::string_view bytes)
    : sections_(bytes, [](const IniFile::Section& section, RepeatEntry& entry) {
        entry.created = entry.key.created;
        ReadEntry(section, &entry);
      }) {}

const RepeatEntry* RepeatRules::Find(RuleKey key) const { return sections_.Find(key); }

const RepeatSeries* RepeatRules::SeriesOf(RuleKey key) const {
  const RepeatEntry* entry = Find(key);
  return entry != nullptr && entry->series ? &*entry->series : nullptr;
}

void RepeatRules::Set(RuleKey key, const RepeatSeries& series) {
  RepeatEntry& entry = sections_.Rewrite(key);
  entry.created = key.created;
  entry.start_text = FormatWallTime(series.start());
  entry.rule_text = FormatRepeatRule(series.rule());
  entry.rdate_text = FormatWallTimeList(series.dates().added);
  entry.exdate_text = FormatWallTimeList(series.dates().removed);
  entry.series = series;
  IniFile& document = sections_.document();
  document.SetString(entry.section, kStartKey, entry.start_text);
  document.SetString(entry.section, kRuleKey, entry.rule_text);
  if (!entry.rdate_text.empty()) document.SetString(entry.section, kRdateKey, entry.rdate_text);
  if (!entry.exdate_text.empty()) document.SetString(entry.section, kExdateKey, entry.exdate_text);
}

bool RepeatRules::Remove(RuleKey key) { return sections_.Remove(key); }
bool RepeatRules::CommitRemovalsOf(std::span<const RuleKey> existing) {
  return sections_.CommitRemovalsOf(existing);
}
bool RepeatRules::CommitRemovals() { return sections_.CommitRemovals(); }

void RepeatRules::TakeChanges(const RepeatRules& base, const RepeatRules& changed) {
  const auto same = [](const RepeatEntry& a, const RepeatEntry& b) {
    return a.start_text == b.start_text && a.rule_text == b.rule_text && a.rdate_text == b.rdate_text &&
           a.exdate_text == b.exdate_text;
  };
  for (const auto& [key, now] :
       KeyedSections<RepeatEntry>::Differences(base.sections_, changed.sections_, same)) {
    if (now == nullptr) {
      Remove(key);
    } else if (now->series) {
      Set(key, *now->series);
    }
  }
}

bool RepeatRules::DropVanished(std::span<const RuleKey> existing) { return sections_.DropVanished(existing); }

bool RepeatRules::DropVanished(std::span<const Time32> existing) {
  std::unordered_set<Time32> seconds(existing.begin(), existing.end());
  std::vector<RuleKey> kept;
  for (const auto& [key, entry] : sections_.entries()) {
    if (seconds.count(key.created) != 0) kept.push_back(key);
  }
  return DropVanished(std::span<const RuleKey>(kept));
}

void RepeatRules::Move(const std::vector<std::pair<RuleKey, std::optional<RuleKey>>>& moves) {
  sections_.Move(moves);
}

bool RepeatRules::NameAndFingerprint(
    const std::function<std::optional<RuleFingerprint>(RuleKey)>& fingerprint_of) {
  return sections_.NameAndFingerprint(fingerprint_of);
}

std::vector<const RepeatEntry*> RepeatRules::Unreadable() const {
  std::vector<const RepeatEntry*> unreadable;
  for (const auto& [key, entry] : sections_.entries()) {
    if (!entry.series) unreadable.push_back(&entry);
  }
  std::sort(unreadable.begin(), unreadable.end(),
            [](const RepeatEntry* a, const RepeatEntry* b) { return a->key < b->key; });
  return unreadable;
}

std::vector<RuleKey> RepeatRules::Keys() const { return sections_.Keys(); }
