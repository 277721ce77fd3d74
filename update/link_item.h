#pragma once
// The items of the two lists inside the remote document, the ticker's
// "scrolltext" and the advertisements' "textad": each item is either a plain
// text, or a text, "~" and a link target.
#include <string>
#include <vector>

struct LinkItem {
  std::string strText;
  std::string strUrl;  // empty for a plain item
  bool bLink = false;  // the item held a "~"
};

// Splits one item at its first "~", found by characters of code page 936 (a
// "~" byte that is the second half of a double-byte character does not
// count). The target is everything after it, further "~" included.
LinkItem SplitLinkItem(const std::string& piece);

// The ticker items of `strScrollText`: the pieces that end in ";" (text after
// the last ";" is no item, so a text without ";" has none), at most 100 of
// them, each split by SplitLinkItem. Feeds CScrollText::AddItem (plain) and
// AddLinkItem (link); an empty result means the ticker is not started.
std::vector<LinkItem> SplitScrollItems(const std::string& strScrollText);
