#include "repeat/repeat_rules.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <limits>

namespace {

template <typename Number>
bool ParseNumber(std::string_view text, Number* value, int base = 10) {
  if (text.empty() || text[0] == '+') return false;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), *value, base);
  return error == std::errc() && end == text.data() + text.size();
}

// The fingerprint of a section: both keys, each a number, or none.
std::optional<RuleFingerprint> ReadFingerprint(const std::string_view* events,
                                               const std::string_view* title) {
  RuleFingerprint fingerprint;
  if (events == nullptr || title == nullptr || title->size() != 8 ||
      !ParseNumber(*events, &fingerprint.events) || !ParseNumber(*title, &fingerprint.title_hash, 16))
    return std::nullopt;
  return fingerprint;
}

// Reads one section into `entry`; false (with entry->problem) when it cannot be read.
bool ReadEntry(const IniFile::Section& section, RepeatEntry* entry) {
  const std::string_view *start = nullptr, *rule = nullptr, *events = nullptr, *title = nullptr;
  const std::string_view *rdate = nullptr, *exdate = nullptr;
  for (const IniFile::KeyValue& kv : section.keys) {
    // The first key of a name counts, as with every INI lookup.
    if (kv.key == RepeatRules::kStartKey && start == nullptr) start = &kv.value;
    if (kv.key == RepeatRules::kRuleKey && rule == nullptr) rule = &kv.value;
    if (kv.key == RepeatRules::kEventsKey && events == nullptr) events = &kv.value;
    if (kv.key == RepeatRules::kTitleKey && title == nullptr) title = &kv.value;
    if (kv.key == RepeatRules::kRdateKey && rdate == nullptr) rdate = &kv.value;
    if (kv.key == RepeatRules::kExdateKey && exdate == nullptr) exdate = &kv.value;
  }
  entry->fingerprint = ReadFingerprint(events, title);
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

std::string HashText(std::uint32_t hash) {
  char text[16];
  std::snprintf(text, sizeof text, "%08lx", static_cast<unsigned long>(hash));
  return text;
}

}  // namespace

std::uint32_t TitleHash(std::string_view title) {
  // FNV-1a: short, stable across builds and platforms.
  std::uint32_t hash = 2166136261u;
  for (char c : title) hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
  return hash;
}

std::optional<Time32> CreationTimeOfSection(std::string_view name) {
  std::string_view digits = name.substr(!name.empty() && name[0] == '-' ? 1 : 0);
  if (digits.empty() || digits.size() > 10 || digits[0] == '+') return std::nullopt;
  Time32 value = 0;
  auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), value);
  if (error != std::errc() || end != name.data() + name.size()) return std::nullopt;
  return value;
}

std::optional<RuleKey> RuleKeyOfSection(std::string_view name) {
  const std::size_t dash = name.find('-', 1);  // a creation time may be negative
  std::optional<Time32> created = CreationTimeOfSection(name.substr(0, dash));
  if (!created) return std::nullopt;
  if (dash == std::string_view::npos) return RuleKey{*created, 0};
  std::uint32_t place = 0;
  std::string_view digits = name.substr(dash + 1);
  if (digits.size() > 10 || !ParseNumber(digits, &place) || place == 0 || digits[0] == '0')
    return std::nullopt;
  return RuleKey{*created, place};
}

std::string SectionName(RuleKey key) {
  std::string name = std::to_string(key.created);
  if (key.place != 0) name.append("-").append(std::to_string(key.place));
  return name;
}

RepeatRules::RepeatRules(std::string_view bytes) : document_(bytes) {
  const std::vector<IniFile::Section> sections = document_.Sections();
  entries_.reserve(sections.size());
  for (const IniFile::Section& section : sections) {
    std::optional<RuleKey> key = RuleKeyOfSection(section.name);
    if (!key || entries_.count(*key) != 0) continue;
    RepeatEntry entry;
    entry.created = key->created;
    entry.key = *key;
    entry.section = std::string(section.name);
    ReadEntry(section, &entry);
    entries_.emplace(*key, std::move(entry));
  }
}

const RepeatEntry* RepeatRules::Find(RuleKey key) const {
  auto it = entries_.find(key);
  return it == entries_.end() ? nullptr : &it->second;
}

const RepeatSeries* RepeatRules::SeriesOf(RuleKey key) const {
  const RepeatEntry* entry = Find(key);
  return entry != nullptr && entry->series ? &*entry->series : nullptr;
}

void RepeatRules::RemoveSectionsNamed(const std::unordered_set<std::string>& names) {
  if (names.empty()) return;
  document_.RemoveSections([&](std::string_view name) { return names.count(std::string(name)) != 0; });
}

void RepeatRules::Set(RuleKey key, const RepeatSeries& series) {
  std::unordered_set<std::string> old = {SectionName(key)};
  if (auto it = entries_.find(key); it != entries_.end()) old.insert(it->second.section);
  if (auto it = removed_.find(key); it != removed_.end()) {
    old.insert(it->second);
    removed_.erase(it);
  }
  RemoveSectionsNamed(old);
  RepeatEntry& entry = entries_[key];
  entry = RepeatEntry{};
  entry.created = key.created;
  entry.key = key;
  entry.section = SectionName(key);
  entry.start_text = FormatWallTime(series.start());
  entry.rule_text = FormatRepeatRule(series.rule());
  entry.rdate_text = FormatWallTimeList(series.dates().added);
  entry.exdate_text = FormatWallTimeList(series.dates().removed);
  entry.series = series;
  document_.SetString(entry.section, kStartKey, entry.start_text);
  document_.SetString(entry.section, kRuleKey, entry.rule_text);
  if (!entry.rdate_text.empty()) document_.SetString(entry.section, kRdateKey, entry.rdate_text);
  if (!entry.exdate_text.empty()) document_.SetString(entry.section, kExdateKey, entry.exdate_text);
}

bool RepeatRules::Remove(RuleKey key) {
  auto it = entries_.find(key);
  if (it == entries_.end()) return false;
  removed_[key] = it->second.section;
  entries_.erase(it);
  return true;
}

bool RepeatRules::CommitRemovalsOf(std::span<const RuleKey> existing) {
  std::unordered_set<std::string> now;
  for (RuleKey key : existing) {
    auto it = removed_.find(key);
    if (it == removed_.end()) continue;
    now.insert(it->second);
    removed_.erase(it);
  }
  RemoveSectionsNamed(now);
  return !now.empty();
}

bool RepeatRules::CommitRemovals() {
  if (removed_.empty()) return false;
  std::unordered_set<std::string> names;
  for (const auto& [key, name] : removed_) names.insert(name);
  removed_.clear();
  RemoveSectionsNamed(names);
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
  std::unordered_set<RuleKey, RuleKeyHash> keys;
  for (const auto& [key, entry] : base.entries_) keys.insert(key);
  for (const auto& [key, entry] : changed.entries_) keys.insert(key);
  for (RuleKey key : keys) {
    const RepeatEntry* now = changed.Find(key);
    if (SameSection(base.Find(key), now)) continue;
    if (now == nullptr) {
      Remove(key);
    } else if (now->series) {
      Set(key, *now->series);
    }
  }
}

bool RepeatRules::DropVanished(std::span<const RuleKey> existing) {
  std::unordered_set<RuleKey, RuleKeyHash> kept(existing.begin(), existing.end());
  std::unordered_set<std::string> gone;
  for (auto it = entries_.begin(); it != entries_.end();) {
    if (kept.count(it->first) != 0) {
      ++it;
      continue;
    }
    gone.insert(it->second.section);
    it = entries_.erase(it);
  }
  RemoveSectionsNamed(gone);
  return !gone.empty();
}

bool RepeatRules::DropVanished(std::span<const Time32> existing) {
  std::unordered_set<Time32> seconds(existing.begin(), existing.end());
  std::vector<RuleKey> kept;
  for (const auto& [key, entry] : entries_) {
    if (seconds.count(key.created) != 0) kept.push_back(key);
  }
  return DropVanished(std::span<const RuleKey>(kept));
}

void RepeatRules::Move(const std::vector<std::pair<RuleKey, std::optional<RuleKey>>>& moves) {
  std::vector<RepeatEntry> moving;
  std::unordered_set<std::string> gone;
  for (const auto& [from, to] : moves) {
    auto it = entries_.find(from);
    if (it == entries_.end()) continue;
    if (to) {
      moving.push_back(std::move(it->second));
      moving.back().key = *to;
      moving.back().created = to->created;
    } else {
      gone.insert(it->second.section);
    }
    entries_.erase(it);
  }
  RemoveSectionsNamed(gone);
  for (RepeatEntry& entry : moving) {
    const RuleKey key = entry.key;
    entries_.insert_or_assign(key, std::move(entry));
  }
}

bool RepeatRules::NameAndFingerprint(
    const std::function<std::optional<RuleFingerprint>(RuleKey)>& fingerprint_of) {
  const std::string before = document_.ToBytes();
  // Renamed in two steps, so that no two sections share a name on the way.
  std::vector<RepeatEntry*> renamed;
  for (auto& [key, entry] : entries_) {
    if (entry.section == SectionName(key)) continue;
    std::string passing = "~";
    passing.append(std::to_string(renamed.size())).append("~").append(entry.section);
    document_.RenameSection(entry.section, passing);
    entry.section = passing;
    renamed.push_back(&entry);
  }
  for (RepeatEntry* entry : renamed) {
    document_.RenameSection(entry->section, SectionName(entry->key));
    entry->section = SectionName(entry->key);
  }
  for (auto& [key, entry] : entries_) {
    const std::optional<RuleFingerprint> fingerprint = fingerprint_of(key);
    if (fingerprint == entry.fingerprint) continue;
    entry.fingerprint = fingerprint;
    if (fingerprint) {
      document_.SetString(entry.section, kEventsKey, std::to_string(fingerprint->events));
      document_.SetString(entry.section, kTitleKey, HashText(fingerprint->title_hash));
    } else {
      document_.RemoveKey(entry.section, kEventsKey);
      document_.RemoveKey(entry.section, kTitleKey);
    }
  }
  return document_.ToBytes() != before;
}

std::vector<const RepeatEntry*> RepeatRules::Unreadable() const {
  std::vector<const RepeatEntry*> unreadable;
  for (const auto& [key, entry] : entries_) {
    if (!entry.series) unreadable.push_back(&entry);
  }
  std::sort(unreadable.begin(), unreadable.end(),
            [](const RepeatEntry* a, const RepeatEntry* b) { return a->key < b->key; });
  return unreadable;
}

std::vector<RuleKey> RepeatRules::Keys() const {
  std::vector<RuleKey> keys;
  keys.reserve(entries_.size());
  for (const auto& [key, entry] : entries_) keys.push_back(key);
  return keys;
}
