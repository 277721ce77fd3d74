#include "skin/link_opener.h"

#include "base/web_link.h"

bool OpenWebLink(LinkOpener& opener, const std::string& target) {
  if (!IsSafeWebLink(target)) return false;
  opener.Open(target);
  return true;
}
