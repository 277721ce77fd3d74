#include "update/link_item.h"

#include "base/cp936.h"
#include "settings/path_helper.h"

LinkItem SplitLinkItem(const std::string& piece) {
  LinkItem item;
  std::size_t marker = cp936::FindChar(piece, '~');
  if (marker == std::string::npos) {
    item.strText = piece;
  } else {
    item.strText = piece.substr(0, marker);
    item.strUrl = piece.substr(marker + 1);
    item.bLink = true;
  }
  return item;
}

std::vector<LinkItem> SplitScrollItems(const std::string& strScrollText) {
  std::vector<std::string> pieces(PathHelper::kMaxListItems);
  int count = 0;
  PathHelper().SplitList(strScrollText, ';', pieces.data(), count);
  std::vector<LinkItem> items;
  items.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) items.push_back(SplitLinkItem(pieces[static_cast<std::size_t>(i)]));
  return items;
}
