// PathHelper is the program's name for the paths and lists of base/: the
// same answers, and the list in the caller's array of a hundred.
#include "settings/path_helper.h"

#include <gtest/gtest.h>

#include <vector>

TEST(PathHelper, AnswersAsTheProgramsFolder) {
  PathHelper paths;
  EXPECT_EQ(paths.GetAppDir(), AppDir());
  EXPECT_EQ(paths.MakeAppPath("config.ini"), AppDir() + "config.ini");
  EXPECT_EQ(paths.MakeAppPath("C:\\config.ini"), "C:\\config.ini");
}

TEST(PathHelper, SplitListFillsTheArrayAndNeverPastIt) {
  for (int separators : {0, 1, 99, 100, 101, 1000}) {
    std::string text;
    for (int i = 0; i < separators; ++i) text += std::to_string(i) + ";";
    // One guard slot beyond the array: it must stay untouched.
    std::string items[PathHelper::kMaxListItems + 1];
    items[PathHelper::kMaxListItems] = "guard";
    int count = -1;
    PathHelper().SplitList(text + "rest", ';', items, count);
    EXPECT_EQ(count, std::min(separators, PathHelper::kMaxListItems));
    if (count > 0) {
      EXPECT_EQ(items[0], "0");
      EXPECT_EQ(items[count - 1], std::to_string(count - 1));
    }
    EXPECT_EQ(items[PathHelper::kMaxListItems], "guard");
  }
}
