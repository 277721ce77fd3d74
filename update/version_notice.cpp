#include "update/version_notice.h"

#include <cstdio>

namespace {

// "当前版本：%0.2f，最新版本：%0.2f" (current version: ..., latest version: ...)
constexpr const char* kNewerFormat =
    "\xb5\xb1\xc7\xb0\xb0\xe6\xb1\xbe\xa3\xba%0.2f\xa3\xac\xd7\xee\xd0\xc2\xb0\xe6\xb1\xbe\xa3\xba%0.2f";
// "版本：%0.2f" (version: ...)
constexpr const char* kCurrentFormat = "\xb0\xe6\xb1\xbe\xa3\xba%0.2f";

}  // namespace

VersionNotice MakeVersionNotice(int nVersion) {
  VersionNotice notice;
  char text[128];
  if (nVersion > kProgramVersionTimes100) {
    std::snprintf(text, sizeof text, kNewerFormat, kProgramVersion, nVersion * 0.01);
    notice.x = 320;
    notice.bDownloadLink = true;
  } else {
    std::snprintf(text, sizeof text, kCurrentFormat, kProgramVersion);
    notice.x = 370;
  }
  notice.strText = text;
  return notice;
}
