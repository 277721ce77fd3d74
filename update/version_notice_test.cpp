#include "update/version_notice.h"

#include <gtest/gtest.h>

namespace {

// "当前版本：1.20，最新版本：" and "版本：" in code page 936.
const std::string kCurrentLatest =
    "\xb5\xb1\xc7\xb0\xb0\xe6\xb1\xbe\xa3\xba"
    "1.20\xa3\xac\xd7\xee\xd0\xc2\xb0\xe6\xb1\xbe\xa3\xba";
const std::string kVersion = "\xb0\xe6\xb1\xbe\xa3\xba";

TEST(VersionNotice, ANewerVersionGetsTheDownloadLink) {
  VersionNotice notice = MakeVersionNotice(121);
  EXPECT_EQ(notice.strText, kCurrentLatest + "1.21");
  EXPECT_EQ(notice.x, 320);
  EXPECT_EQ(notice.y, 12);
  EXPECT_TRUE(notice.bDownloadLink);
  EXPECT_EQ(MakeVersionNotice(200).strText, kCurrentLatest + "2.00");
  EXPECT_EQ(MakeVersionNotice(2147483647).strText, kCurrentLatest + "21474836.47");
}

TEST(VersionNotice, OtherwiseOnlyThisProgramsVersion) {
  for (int version : {120, 0, 1, -5, -2147483647 - 1}) {
    VersionNotice notice = MakeVersionNotice(version);
    EXPECT_EQ(notice.strText, kVersion + "1.20") << version;
    EXPECT_EQ(notice.x, 370) << version;
    EXPECT_EQ(notice.y, 12) << version;
    EXPECT_FALSE(notice.bDownloadLink) << version;
  }
}

}  // namespace
