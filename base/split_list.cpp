#include "base/split_list.h"

#include "base/cp936.h"

std::vector<std::string> SplitList(std::string_view text, char separator) {
  std::vector<std::string> pieces;
  std::size_t start = 0;
  for (std::size_t p = cp936::FindChar(text, separator, 0); p != std::string::npos;
       p = cp936::FindChar(text, separator, start)) {
    if (pieces.size() < kMaxListPieces) pieces.emplace_back(text.substr(start, p - start));
    start = p + 1;
  }
  return pieces;
}
