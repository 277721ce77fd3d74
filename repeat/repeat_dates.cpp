#include "repeat/repeat_dates.h"

#include <algorithm>

std::string FormatWallTimeList(const std::vector<WallSeconds>& walls) {
  std::string text;
  for (WallSeconds wall : walls) {
    if (!text.empty()) text += ',';
    text += FormatWallTime(wall);
  }
  return text;
}

bool ParseWallTimeList(std::string_view text, std::vector<WallSeconds>* walls, std::string* bad) {
  std::vector<WallSeconds> read;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t comma = std::min(text.find(',', start), text.size());
    std::string_view item = text.substr(start, comma - start);
    while (!item.empty() && item.front() == ' ') item.remove_prefix(1);
    while (!item.empty() && item.back() == ' ') item.remove_suffix(1);
    WallSeconds wall = 0;
    if (!ParseWallTime(item, &wall)) {
      *bad = std::string(item);
      return false;
    }
    read.push_back(wall);
    start = comma + 1;
  }
  std::sort(read.begin(), read.end());
  read.erase(std::unique(read.begin(), read.end()), read.end());
  *walls = std::move(read);
  return true;
}
