// Prints the occurrences of series read from standard input, for the
// comparison with Python's dateutil (repeat/testing/dateutil_reference.py).
// One series a line, tab-separated: the start ("YYYY-MM-DD HH:MM:SS"), the
// RRULE value, the RDATEs and the EXDATEs (comma-separated local times,
// maybe empty), and moments to search after (comma-separated). Printed for
// each, tab-separated: the first N occurrences as local times, their
// moments, and for each search moment the next three moments (';' between
// searches). The zone is the process's (TZ). usage: series_dump N
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "repeat/repeat_series.h"

namespace {

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::string part;
  std::istringstream in(text);
  while (std::getline(in, part, separator)) parts.push_back(part);
  if (!text.empty() && text.back() == separator) parts.emplace_back();
  return parts;
}

std::string Join(const std::vector<std::string>& parts, char separator) {
  std::string text;
  for (std::size_t i = 0; i < parts.size(); ++i) text += (i ? std::string(1, separator) : "") + parts[i];
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  const std::size_t limit = argc > 1 ? static_cast<std::size_t>(std::atoi(argv[1])) : 100;
  std::string line;
  while (std::getline(std::cin, line)) {
    std::vector<std::string> fields = Split(line, '\t');
    fields.resize(5);
    WallSeconds start = 0;
    RepeatRule rule;
    RepeatDates dates;
    std::string bad;
    if (!ParseWallTime(fields[0], &start) || !ParseRepeatRule(fields[1], &rule).ok() ||
        (!fields[2].empty() && !ParseWallTimeList(fields[2], &dates.added, &bad)) ||
        (!fields[3].empty() && !ParseWallTimeList(fields[3], &dates.removed, &bad))) {
      std::cout << "error\n";
      continue;
    }
    RepeatSeries series(start, rule, dates);
    std::vector<std::string> walls, moments, searches;
    for (WallSeconds wall : series.FirstWalls(limit)) {
      std::optional<Time32> t = TimeOfWall(wall);
      if (!t) break;
      walls.push_back(FormatWallTime(wall));
      moments.push_back(std::to_string(*t));
    }
    for (const std::string& probe : Split(fields[4], ',')) {
      if (probe.empty()) continue;
      std::vector<std::string> next;
      for (Time32 t : series.ListAfter(static_cast<Time32>(std::atoll(probe.c_str())), 3))
        next.push_back(std::to_string(t));
      searches.push_back(Join(next, ','));
    }
    std::cout << Join(walls, ',') << '\t' << Join(moments, ',') << '\t' << Join(searches, ';') << '\n';
  }
  return 0;
}
