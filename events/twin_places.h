#pragma once
// TwinPlaces: the place of each record of a list among the records created
// in the same second, in stored order (the `twin` of its EventKey), found for
// the whole list in one go. Most lists have no two records in one second;
// then this holds nothing and a lookup is one test of a bit.
#include <array>
#include <cstdint>
#include <span>
#include <utility>
#include <vector>

#include "events/event_key.h"
#include "events/my_event.h"

class TwinPlaces {
 public:
  // REQUIRES: `records` is a whole list in stored order and outlives this
  // object unchanged (records are looked up by address).
  explicit TwinPlaces(std::span<const CMyEvent> records);

  // REQUIRES: `record` is one of the records.
  std::uint32_t PlaceOf(const CMyEvent& record) const;
  EventKey KeyOf(const CMyEvent& record) const { return {record.timeCreate, PlaceOf(record)}; }

 private:
  using Entry = std::pair<const CMyEvent*, std::uint32_t>;
  void CountInAnyOrder(std::span<const CMyEvent> records, std::vector<Entry>* later);
  void Index(const std::vector<Entry>& later);

  // Only the records with a place above 0: open addressing in a table of a
  // power of two, empty if none.
  std::vector<Entry> later_in_second_;
  int hash_shift_ = 64;
  // A bit for each creation second of those records, by its low 12 bits:
  // most records are passed over without looking in the table.
  std::array<std::uint64_t, 64> shared_seconds_ = {};
};
