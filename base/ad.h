#pragma once
// One advertisement: a text and the link it opens, both code page 936. The
// update check brings them (update/ad_pool.h); the add dialog and the
// reminder popup each show one. A type of its own, so that what shows an
// advertisement needs nothing of what fetches it.
#include <string>

struct Ad {
  std::string strText;  // an empty text shows no advertisement
  std::string strUrl;
};
