#pragma once
// KeyedSections: an INI file beside event.dat with one section per event,
// named by the event's key: its creation time, followed, for a later event
// of a second several events were created in, by "-" and its place among
// them (from 0, as in the calendar's UIDs): "1796605200", "1796605300-1".
// repeat.ini (repeat_rules.h) and uids.ini (events/event_uids.h) are kept
// this way, so their sections follow their events alike:
//  - a section taken away stays in the bytes until its removal is
//    committed: the file is saved before event.dat, and a section must not
//    leave before its event does;
//  - a section moved to another key keeps its name until NameAndFingerprint;
//  - every save writes, into each section of a second shared by several
//    events, a fingerprint: how many events that second held and a hash of
//    the event's title (events=, title=). Should an older tool delete or add
//    one of them, the section finds its event by the title; a section whose
//    event is gone goes, it never passes to another event
//    (events/event_repeats.h binds them).
// Sections whose names name no event, and lines this program does not know,
// are left as they are.
//
// `Entry` is what one file keeps of a section, with at least the members
//   RuleKey key; std::string section; std::optional<RuleFingerprint> fingerprint;
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

// Which event a section belongs to: its creation time and its place among
// the events created in that second, in stored order (an event key's twin).
struct RuleKey {
  Time32 created = 0;
  std::uint32_t place = 0;
  friend bool operator==(const RuleKey&, const RuleKey&) = default;
  friend auto operator<=>(const RuleKey&, const RuleKey&) = default;
};

struct RuleKeyHash {
  std::size_t operator()(const RuleKey& key) const {
    return std::hash<std::uint64_t>()((std::uint64_t{static_cast<std::uint32_t>(key.created)} << 32) ^
                                      key.place);
  }
};

// What a section says of the event it was written for, in a second shared by several.
struct RuleFingerprint {
  std::uint32_t events = 0;      // how many events that second held
  std::uint32_t title_hash = 0;  // TitleHash of the event's title
  friend bool operator==(const RuleFingerprint&, const RuleFingerprint&) = default;
};

// The short hash of a title (code page 936 bytes) a fingerprint carries.
std::uint32_t TitleHash(std::string_view title);

// The creation time a section name stands for: an optional minus and 1 to
// 10 digits within the range of a time value; nullopt for any other name.
std::optional<Time32> CreationTimeOfSection(std::string_view name);
// The key a section name stands for: "N" (place 0) or "N-K" (K from 1).
std::optional<RuleKey> RuleKeyOfSection(std::string_view name);
// The section name of a key.
std::string SectionName(RuleKey key);

namespace keyed_sections {

inline constexpr char kEventsKey[] = "events";
inline constexpr char kTitleKey[] = "title";

// The fingerprint of a section's keys: both given, each a number, or none.
std::optional<RuleFingerprint> ReadFingerprint(const IniFile::Section& section);
// Writes `fingerprint` into `section` of `document`, or takes it away (nullopt).
void WriteFingerprint(IniFile& document, std::string_view section,
                      const std::optional<RuleFingerprint>& fingerprint);

}  // namespace keyed_sections

template <typename Entry>
class KeyedSections {
 public:
  using Moves = std::vector<std::pair<RuleKey, std::optional<RuleKey>>>;

  KeyedSections() = default;
  // Reads the bytes of the file; any bytes are accepted. Of two sections
  // with the same name the first counts, as with every INI lookup. `read`
  // fills in what the file keeps beyond the key, name and fingerprint.
  KeyedSections(std::string_view bytes, const std::function<void(const IniFile::Section&, Entry&)>& read)
      : document_(bytes) {
    const std::vector<IniFile::Section> sections = document_.Sections();
    entries_.reserve(sections.size());
    for (const IniFile::Section& section : sections) {
      std::optional<RuleKey> key = RuleKeyOfSection(section.name);
      if (!key || entries_.count(*key) != 0) continue;
      Entry entry;
      entry.key = *key;
      entry.section = std::string(section.name);
      entry.fingerprint = keyed_sections::ReadFingerprint(section);
      read(section, entry);
      entries_.emplace(*key, std::move(entry));
    }
  }

  // The file's bytes, every line ended by CR LF.
  std::string ToBytes() const { return document_.ToBytes(); }
  IniFile& document() { return document_; }
  const IniFile& document() const { return document_; }

  const Entry* Find(RuleKey key) const {
    auto it = entries_.find(key);
    return it == entries_.end() ? nullptr : &it->second;
  }
  // Every entry, in no order.
  const std::unordered_map<RuleKey, Entry, RuleKeyHash>& entries() const { return entries_; }

  // Starts the section of `key` anew: its old section (and one taken away
  // from it) leaves the bytes, and the entry returned, empty but for its key
  // and name, is for the caller to fill and write into document().
  Entry& Rewrite(RuleKey key) {
    std::unordered_set<std::string> old = {SectionName(key)};
    if (auto it = entries_.find(key); it != entries_.end()) old.insert(it->second.section);
    if (auto it = removed_.find(key); it != removed_.end()) {
      old.insert(it->second);
      removed_.erase(it);
    }
    RemoveSectionsNamed(old);
    Entry& entry = entries_[key];
    entry = Entry{};
    entry.key = key;
    entry.section = SectionName(key);
    return entry;
  }

  // Takes the section of `key` away; false when there is none. Its lines
  // stay in the bytes until CommitRemovals.
  bool Remove(RuleKey key) {
    auto it = entries_.find(key);
    if (it == entries_.end()) return false;
    removed_[key] = it->second.section;
    entries_.erase(it);
    return true;
  }
  // Drops the lines of the sections taken away; true if there were any.
  bool CommitRemovals() {
    if (removed_.empty()) return false;
    std::unordered_set<std::string> names;
    for (const auto& [key, name] : removed_) names.insert(name);
    removed_.clear();
    RemoveSectionsNamed(names);
    return true;
  }
  // The same for the sections of events that are still there (`existing`:
  // the key of every event): no event loses its section on disk before it
  // is gone from event.dat.
  bool CommitRemovalsOf(std::span<const RuleKey> existing) {
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
  // Drops the sections of events that no longer exist, at once; `existing`
  // holds the key of every event (in any order). True if any was dropped.
  bool DropVanished(std::span<const RuleKey> existing) {
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

  // The sections move to other events: each `from` to its `to` (nullopt: its
  // event is gone, the section goes at once). They keep their names until
  // NameAndFingerprint.
  void Move(const Moves& moves) {
    std::vector<Entry> moving;
    std::unordered_set<std::string> gone;
    for (const auto& [from, to] : moves) {
      auto it = entries_.find(from);
      if (it == entries_.end()) continue;
      if (to) {
        moving.push_back(std::move(it->second));
        moving.back().key = *to;
        if constexpr (requires { moving.back().created; }) moving.back().created = to->created;
      } else {
        gone.insert(it->second.section);
      }
      entries_.erase(it);
    }
    RemoveSectionsNamed(gone);
    for (Entry& entry : moving) {
      const RuleKey key = entry.key;
      entries_.insert_or_assign(key, std::move(entry));
    }
  }

  // Names every section by its key, and writes `fingerprint_of` its key
  // into it (nullopt: none). True if the bytes changed.
  bool NameAndFingerprint(const std::function<std::optional<RuleFingerprint>(RuleKey)>& fingerprint_of) {
    const std::string before = document_.ToBytes();
    // Renamed in two steps, so that no two sections share a name on the way.
    std::vector<Entry*> renamed;
    for (auto& [key, entry] : entries_) {
      if (entry.section == SectionName(key)) continue;
      std::string passing = "~";
      passing.append(std::to_string(renamed.size())).append("~").append(entry.section);
      document_.RenameSection(entry.section, passing);
      entry.section = passing;
      renamed.push_back(&entry);
    }
    for (Entry* entry : renamed) {
      document_.RenameSection(entry->section, SectionName(entry->key));
      entry->section = SectionName(entry->key);
    }
    for (auto& [key, entry] : entries_) {
      const std::optional<RuleFingerprint> fingerprint = fingerprint_of(key);
      if (fingerprint == entry.fingerprint) continue;
      entry.fingerprint = fingerprint;
      keyed_sections::WriteFingerprint(document_, entry.section, fingerprint);
    }
    return document_.ToBytes() != before;
  }

  // Another program's file (this object) while changes this program made
  // to `base`, giving `changed`, wait to be saved: the keys whose entries
  // differ between the two (`same` tells), with the entry `changed` has
  // (nullptr: taken away).
  template <typename Same>
  static std::vector<std::pair<RuleKey, const Entry*>> Differences(const KeyedSections& base,
                                                                   const KeyedSections& changed, Same same) {
    std::unordered_set<RuleKey, RuleKeyHash> keys;
    for (const auto& [key, entry] : base.entries_) keys.insert(key);
    for (const auto& [key, entry] : changed.entries_) keys.insert(key);
    std::vector<std::pair<RuleKey, const Entry*>> differences;
    for (RuleKey key : keys) {
      const Entry* was = base.Find(key);
      const Entry* now = changed.Find(key);
      if (was == nullptr || now == nullptr ? was == now : same(*was, *now)) continue;
      differences.emplace_back(key, now);
    }
    return differences;
  }

  // Every key, in no order.
  std::vector<RuleKey> Keys() const {
    std::vector<RuleKey> keys;
    keys.reserve(entries_.size());
    for (const auto& [key, entry] : entries_) keys.push_back(key);
    return keys;
  }
  std::size_t size() const { return entries_.size(); }
  bool empty() const { return entries_.empty(); }

 private:
  void RemoveSectionsNamed(const std::unordered_set<std::string>& names) {
    if (names.empty()) return;
    document_.RemoveSections([&](std::string_view name) { return names.count(std::string(name)) != 0; });
  }

  IniFile document_;
  std::unordered_map<RuleKey, Entry, RuleKeyHash> entries_;
  // Sections taken away whose lines are still in document_, by the key they had.
  std::unordered_map<RuleKey, std::string, RuleKeyHash> removed_;
};
