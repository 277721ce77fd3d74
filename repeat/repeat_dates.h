#pragma once
// The single dates of a series beside its rule, as repeat.ini keeps them:
// RDATE adds occurrences, EXDATE takes occurrences away. Both are local wall
// times, written "YYYY-MM-DD HH:MM:SS" and separated by commas.
#include <string>
#include <string_view>
#include <vector>

#include "base/wall_time.h"

struct RepeatDates {
  std::vector<WallSeconds> added;    // RDATE: sorted, without repeats
  std::vector<WallSeconds> removed;  // EXDATE: sorted, without repeats

  bool empty() const { return added.empty() && removed.empty(); }
  bool operator==(const RepeatDates&) const = default;
};

// "2026-12-25 09:00:00,2027-01-01 09:00:00"; empty for none.
std::string FormatWallTimeList(const std::vector<WallSeconds>& walls);

// Reads a list FormatWallTimeList writes (spaces around the commas allowed),
// sorted and without repeats into *walls. On failure *walls is untouched
// and *bad is the item that is no local time.
bool ParseWallTimeList(std::string_view text, std::vector<WallSeconds>* walls, std::string* bad);
