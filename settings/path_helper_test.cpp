#include "settings/path_helper.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "base/file_system.h"

namespace {

#ifdef _WIN32
constexpr char kTestProgram[] = "settings_test.exe";
#else
constexpr char kTestProgram[] = "settings_test";
#endif

std::vector<std::string> Split(const std::string& text, int* count_out = nullptr) {
  std::string items[PathHelper::kMaxListItems];
  int count = -1;
  PathHelper().SplitList(text, ';', items, count);
  if (count_out != nullptr) *count_out = count;
  return std::vector<std::string>(items, items + count);
}

TEST(PathHelperAppDir, IsTheProgramsFolderEndingInASeparator) {
  std::string dir = PathHelper().GetAppDir();
  ASSERT_FALSE(dir.empty());
#ifdef _WIN32
  EXPECT_EQ(dir[1], ':') << dir;
  EXPECT_EQ(dir.back(), '\\') << dir;
#else
  EXPECT_EQ(dir.front(), '/') << dir;
  EXPECT_EQ(dir.back(), '/') << dir;
#endif
  EXPECT_TRUE(DefaultFileSystem().FileExists(dir + kTestProgram)) << dir;
}

TEST(PathHelperAppDir, DoesNotFollowTheCurrentDirectory) {
  PathHelper paths;
  const std::string before = paths.GetAppDir();
  const std::filesystem::path old_cwd = std::filesystem::current_path();
  std::filesystem::current_path(std::filesystem::temp_directory_path());
  const std::string after = paths.GetAppDir();
  const std::string config = paths.MakeAppPath("config.ini");
  std::filesystem::current_path(old_cwd);
  EXPECT_EQ(after, before);
  EXPECT_EQ(config, before + "config.ini");
}

TEST(PathHelperAppDir, OverrideServesTheCommandLineToolAndCanBeLifted) {
  const std::string own = PathHelper().GetAppDir();
  OverrideAppDir("/data/tallyo/");
  EXPECT_EQ(PathHelper().GetAppDir(), "/data/tallyo/");
  EXPECT_EQ(PathHelper().MakeAppPath("event.dat"), "/data/tallyo/event.dat");
  OverrideAppDir("");
  EXPECT_EQ(PathHelper().GetAppDir(), own);
}

TEST(PathHelperMakeAppPath, NamesWithAColonAnywhereStayAsTheyAre) {
  PathHelper paths;
  const std::string dir = paths.GetAppDir();
  EXPECT_EQ(paths.MakeAppPath("config.ini"), dir + "config.ini");
  EXPECT_EQ(paths.MakeAppPath(""), dir);
  EXPECT_EQ(paths.MakeAppPath("sub\\event.dat"), dir + "sub\\event.dat");
  for (std::string name :
       {"C:\\Tools\\config.ini", "d:x", "config.ini:", ":", "a:b:c", "\xC9\xF9:\xD2\xF4"}) {
    EXPECT_EQ(paths.MakeAppPath(name), name);
  }
}

TEST(PathHelperSplitList, PiecesEndInTheSeparator) {
  EXPECT_EQ(Split("A;B~U;C"), (std::vector<std::string>{"A", "B~U"}));
  EXPECT_EQ(Split("A;;B;"), (std::vector<std::string>{"A", "", "B"}));
  EXPECT_EQ(Split(";"), (std::vector<std::string>{""}));
  EXPECT_EQ(Split(";;"), (std::vector<std::string>{"", ""}));
  int count = -1;
  EXPECT_TRUE(Split("no separator", &count).empty());
  EXPECT_EQ(count, 0);
  EXPECT_TRUE(Split("", &count).empty());
  EXPECT_EQ(count, 0);
}

TEST(PathHelperSplitList, TrailByteOfADoubleByteCharacterIsNoSeparator) {
  // 0x3B is no valid trail byte, but a broken pair must not split either:
  // the lead byte 0x81 takes the ";" after it as its second byte.
  EXPECT_EQ(Split("\x81;x;y;"), (std::vector<std::string>{"\x81;x", "y"}));
  // "声音;提醒;" splits after each word.
  EXPECT_EQ(Split("\xC9\xF9\xD2\xF4;\xCC\xE1\xD0\xD1;"),
            (std::vector<std::string>{"\xC9\xF9\xD2\xF4", "\xCC\xE1\xD0\xD1"}));
}

TEST(PathHelperSplitList, PiecesBeyondTheHundredthAreDropped) {
  for (int separators : {99, 100, 101, 150, 1000}) {
    std::string text;
    for (int i = 0; i < separators; ++i) text += std::to_string(i) + ";";
    // One guard slot beyond the array: it must stay untouched.
    std::string items[PathHelper::kMaxListItems + 1];
    items[PathHelper::kMaxListItems] = "guard";
    int count = -1;
    PathHelper().SplitList(text, ';', items, count);
    EXPECT_EQ(count, std::min(separators, PathHelper::kMaxListItems));
    EXPECT_EQ(items[0], "0");
    EXPECT_EQ(items[count - 1], std::to_string(count - 1));
    EXPECT_EQ(items[PathHelper::kMaxListItems], "guard");
  }
}

}  // namespace
