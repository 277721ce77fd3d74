#include "settings/path_helper.h"

void PathHelper::SplitList(std::string text, char separator, std::string items[kMaxListItems], int& count) {
  std::vector<std::string> pieces = ::SplitList(text, separator);
  count = static_cast<int>(pieces.size());
  for (int i = 0; i < count; ++i) items[i] = std::move(pieces[static_cast<std::size_t>(i)]);
}
