#pragma once
// How the sections of the files beside event.dat (repeat.ini, uids.ini: see
// repeat/keyed_sections.h) find their events after a load of either file,
// and the fingerprints each save writes into them.
#include <optional>
#include <unordered_map>
#include <utility>
#include <vector>

#include "events/event_list.h"
#include "repeat/keyed_sections.h"

using SectionMoves = std::vector<std::pair<RuleKey, std::optional<RuleKey>>>;

// Each section (its key and fingerprint) finds its event: a section written
// with a fingerprint for a second that holds as many events now goes by its
// place, else by its event's title among the events of that second; one
// whose event is not found goes (nullopt). Sections without a fingerprint
// keep their place. Returns the moves for KeyedSections::Move.
SectionMoves BindingMoves(const EventList& events,
                          const std::vector<std::pair<RuleKey, std::optional<RuleFingerprint>>>& sections);

template <typename Entry>
void BindSections(const EventList& events, KeyedSections<Entry>& sections) {
  std::vector<std::pair<RuleKey, std::optional<RuleFingerprint>>> keys;
  keys.reserve(sections.size());
  for (const auto& [key, entry] : sections.entries()) keys.emplace_back(key, entry.fingerprint);
  sections.Move(BindingMoves(events, keys));
}

// What the next save writes into the section of each of `keys`: a
// fingerprint where its second holds several events, else none.
class FingerprintsOfEvents {
 public:
  FingerprintsOfEvents(const EventList& events, const std::vector<RuleKey>& keys);
  std::optional<RuleFingerprint> operator()(RuleKey key) const;

 private:
  std::unordered_map<Time32, std::vector<const CMyEvent*>> seconds_;
};
