#include "base/app_path.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "base/file_system.h"

namespace {

#ifdef _WIN32
constexpr char kTestProgram[] = "base_test.exe";
#else
constexpr char kTestProgram[] = "base_test";
#endif

}  // namespace

TEST(AppDir, IsTheProgramsFolderEndingInASeparator) {
  std::string dir = AppDir();
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

TEST(AppDir, DoesNotFollowTheCurrentDirectory) {
  const std::string before = AppDir();
  const std::filesystem::path old_cwd = std::filesystem::current_path();
  std::filesystem::current_path(std::filesystem::temp_directory_path());
  const std::string after = AppDir();
  const std::string config = MakeAppPath("config.ini");
  std::filesystem::current_path(old_cwd);
  EXPECT_EQ(after, before);
  EXPECT_EQ(config, before + "config.ini");
}

TEST(AppDir, OverrideServesTheCommandLineToolAndCanBeLifted) {
  const std::string own = AppDir();
  OverrideAppDir("/data/tallyo/");
  EXPECT_EQ(AppDir(), "/data/tallyo/");
  EXPECT_EQ(MakeAppPath("event.dat"), "/data/tallyo/event.dat");
  OverrideAppDir("");
  EXPECT_EQ(AppDir(), own);
}

TEST(MakeAppPath, NamesWithAColonAnywhereStayAsTheyAre) {
  const std::string dir = AppDir();
  EXPECT_EQ(MakeAppPath("config.ini"), dir + "config.ini");
  EXPECT_EQ(MakeAppPath(""), dir);
  EXPECT_EQ(MakeAppPath("sub\\event.dat"), dir + "sub\\event.dat");
  for (std::string name :
       {"C:\\Tools\\config.ini", "d:x", "config.ini:", ":", "a:b:c", "\xC9\xF9:\xD2\xF4"}) {
    EXPECT_EQ(MakeAppPath(name), name);
  }
}
