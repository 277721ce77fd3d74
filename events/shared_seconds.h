#pragma once
// SharedSeconds: the events of every second shared by several events, as
// they were before a change, to tell after it where each of them went: a
// delete moves the later events of its second up a place, and what belongs
// to them (their kept UIDs) must move with them.
#include <optional>
#include <unordered_map>
#include <utility>
#include <vector>

#include "events/event_list.h"
#include "repeat/keyed_sections.h"

class SharedSeconds {
 public:
  // Copies the events of the seconds shared now (few: most lists have none).
  explicit SharedSeconds(const EventList& events);

  // Where each of those events is in `events` after the change: from its
  // key before to its key now, or nullopt when it is gone. An event found
  // unchanged is itself; of the others, those left after the unchanged
  // ones are paired in order, as changed in place; the rest went. Only
  // events whose place changed, or that went, are named.
  std::vector<std::pair<RuleKey, std::optional<RuleKey>>> Moves(const EventList& events) const;

  bool empty() const { return seconds_.empty(); }

 private:
  std::unordered_map<Time32, std::vector<CMyEvent>> seconds_;
};
