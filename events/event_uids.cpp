#include "events/event_uids.h"

#include <charconv>

#include "events/section_binding.h"
#include "events/twin_places.h"

namespace {

RuleKey SectionKey(EventKey key) { return RuleKey{key.created, key.twin}; }
EventKey EventKeyOf(RuleKey key) { return EventKey{key.created, key.place}; }

// The key a first UID names: "<created>-<n>@" and Tallyo's domain; nullopt for any other UID.
std::optional<EventKey> KeyOfFirstUid(std::string_view uid) {
  const std::size_t at = uid.find('@');
  if (at == std::string_view::npos || uid.substr(at + 1) != kTallyoUidDomain) return std::nullopt;
  const std::string_view key = uid.substr(0, at);
  const std::size_t dash = key.find('-', 1);  // a creation time may be negative
  if (dash == std::string_view::npos) return std::nullopt;
  std::optional<Time32> created = CreationTimeOfSection(key.substr(0, dash));
  const std::string_view digits = key.substr(dash + 1);
  std::uint32_t twin = 0;
  if (!created || digits.empty() || digits.size() > 10 || (digits.size() > 1 && digits[0] == '0'))
    return std::nullopt;
  auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), twin);
  if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
  return EventKey{*created, twin};
}

void ReadEntry(const IniFile::Section& section, UidEntry& entry) {
  bool uid = false, imported = false;
  for (const IniFile::KeyValue& kv : section.keys) {
    // The first key of a name counts, as with every INI lookup.
    if (kv.key == EventUids::kUidKey && !uid) {
      entry.uid = kv.value;
      uid = true;
    }
    if (kv.key == EventUids::kImportedKey && !imported) {
      entry.imported = kv.value;
      imported = true;
    }
  }
}

}  // namespace

std::string FirstUid(EventKey key) {
  return std::to_string(key.created) + "-" + std::to_string(key.twin) + "@" + kTallyoUidDomain;
}

EventUids::EventUids(std::string_view bytes) : sections_(bytes, ReadEntry) {}

std::string EventUids::UidOf(EventKey key) const {
  const UidEntry* entry = Entry(key);
  return entry != nullptr && !entry->uid.empty() ? entry->uid : FirstUid(key);
}

bool EventUids::IsKept(EventKey key) const {
  const UidEntry* entry = Entry(key);
  return entry != nullptr && !entry->uid.empty();
}

const std::unordered_map<std::string, RuleKey>& EventUids::Index() const {
  if (index_ready_) return index_;
  index_.clear();
  for (const auto& [key, entry] : sections_.entries()) {
    if (entry.uid.empty()) continue;
    // Of two entries with one UID (edited by hand), the lower key counts.
    auto [it, added] = index_.emplace(entry.uid, key);
    if (!added && key < it->second) it->second = key;
  }
  index_ready_ = true;
  return index_;
}

std::optional<EventKey> EventUids::Find(std::string_view uid) const {
  const auto& index = Index();
  if (auto it = index.find(std::string(uid)); it != index.end()) return EventKeyOf(it->second);
  std::optional<EventKey> first = KeyOfFirstUid(uid);
  if (!first || IsKept(*first)) return std::nullopt;
  return first;
}

std::optional<EventKey> EventUids::Find(std::string_view uid, const EventList& events) const {
  std::optional<EventKey> key = Find(uid);
  if (!key || events.Find(*key) == nullptr) return std::nullopt;
  return key;
}

void EventUids::Write(EventKey key, std::string uid, std::string imported) {
  UidEntry& entry = sections_.Rewrite(SectionKey(key));
  entry.uid = std::move(uid);
  entry.imported = std::move(imported);
  IniFile& document = sections_.document();
  document.SetString(entry.section, kUidKey, entry.uid);
  if (!entry.imported.empty()) document.SetString(entry.section, kImportedKey, entry.imported);
  index_ready_ = false;
}

void EventUids::Keep(EventKey key, std::string_view uid) {
  const UidEntry* entry = Entry(key);
  if (entry != nullptr && entry->uid == uid) return;
  Write(key, std::string(uid), entry != nullptr ? entry->imported : std::string());
}

void EventUids::SetImported(EventKey key, std::string_view imported) {
  const UidEntry* entry = Entry(key);
  if (entry != nullptr && !entry->uid.empty() && entry->imported == imported) return;
  Write(key, UidOf(key), std::string(imported));
}

std::string EventUids::Imported(EventKey key) const {
  const UidEntry* entry = Entry(key);
  return entry != nullptr ? entry->imported : std::string();
}

bool EventUids::Forget(EventKey key) {
  index_ready_ = false;
  return sections_.Remove(SectionKey(key));
}

bool EventUids::CommitRemovals() { return sections_.CommitRemovals(); }

bool EventUids::DropVanished(std::span<const RuleKey> existing) {
  index_ready_ = false;
  return sections_.DropVanished(existing);
}

void EventUids::Move(const KeyedSections<UidEntry>::Moves& moves) {
  index_ready_ = false;
  sections_.Move(moves);
}

void EventUids::Bind(const EventList& events) {
  index_ready_ = false;
  BindSections(events, sections_);
}

bool EventUids::NameAndFingerprint(const EventList& events) {
  const FingerprintsOfEvents fingerprints(events, sections_.Keys());
  return sections_.NameAndFingerprint(fingerprints);
}

bool EventUids::KeepSharedSeconds(const EventList& events) {
  const std::span<const CMyEvent> records = events.records();
  const TwinPlaces places(records);
  // A second is shared when one of its events has a later place; those come
  // after the first of the second, so one walk finds the seconds, another their events.
  std::unordered_map<Time32, bool> shared;
  for (const CMyEvent& record : records) {
    if (places.PlaceOf(record) > 0) shared[record.timeCreate] = true;
  }
  if (shared.empty()) return false;
  bool kept = false;
  for (const CMyEvent& record : records) {
    if (shared.count(record.timeCreate) == 0) continue;
    const EventKey key = places.KeyOf(record);
    if (IsKept(key)) continue;
    Keep(key, FirstUid(key));
    kept = true;
  }
  return kept;
}
