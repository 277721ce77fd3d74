#include "update/version_notice.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

// "当前版本：<this version>，最新版本：" and "版本：" in code page 936.
const std::string kCurrentLatest = "\xb5\xb1\xc7\xb0\xb0\xe6\xb1\xbe\xa3\xba" TALLYO_VERSION_TEXT
                                   "\xa3\xac\xd7\xee\xd0\xc2\xb0\xe6\xb1\xbe\xa3\xba";
const std::string kVersion = "\xb0\xe6\xb1\xbe\xa3\xba";

TEST(VersionNotice, TheVersionNumbersAgree) {
  // The number compared with the document's, the one shown, and the text of
  // the version resource all come from the one version of the build.
  char shown[16];
  std::snprintf(shown, sizeof shown, "%0.2f", kProgramVersion);
  EXPECT_STREQ(shown, TALLYO_VERSION_TEXT);
  std::snprintf(shown, sizeof shown, "%d.%02d", kProgramVersionTimes100 / 100, kProgramVersionTimes100 % 100);
  EXPECT_STREQ(shown, TALLYO_VERSION_TEXT);
}

TEST(VersionNotice, ANewerVersionGetsTheDownloadLink) {
  VersionNotice notice = MakeVersionNotice(kProgramVersionTimes100 + 1);
  char next[16];
  std::snprintf(next, sizeof next, "%0.2f", (kProgramVersionTimes100 + 1) / 100.0);
  EXPECT_EQ(notice.strText, kCurrentLatest + next);
  EXPECT_EQ(notice.x, 320);
  EXPECT_EQ(notice.y, 12);
  EXPECT_TRUE(notice.bDownloadLink);
  EXPECT_EQ(MakeVersionNotice(200).strText, kCurrentLatest + "2.00");
  EXPECT_EQ(MakeVersionNotice(2147483647).strText, kCurrentLatest + "21474836.47");
}

TEST(VersionNotice, OtherwiseOnlyThisProgramsVersion) {
  for (int version : {kProgramVersionTimes100, kProgramVersionTimes100 - 1, 0, 1, -5, -2147483647 - 1}) {
    VersionNotice notice = MakeVersionNotice(version);
    EXPECT_EQ(notice.strText, kVersion + TALLYO_VERSION_TEXT) << version;
    EXPECT_EQ(notice.x, 370) << version;
    EXPECT_EQ(notice.y, 12) << version;
    EXPECT_FALSE(notice.bDownloadLink) << version;
  }
}

}  // namespace
