#include "update/link_item.h"

#include "base/cp936.h"
#include "base/split_list.h"

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
  std::vector<LinkItem> items;
  for (const std::string& piece : SplitList(strScrollText, ';')) items.push_back(SplitLinkItem(piece));
  return items;
}
