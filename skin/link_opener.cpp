#include "skin/link_opener.h"

#include "update/link_policy.h"

bool OpenWebLink(LinkOpener& opener, const std::string& target) {
  if (!IsSafeWebLink(target)) return false;
  opener.Open(target);
  return true;
}
