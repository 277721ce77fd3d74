#include "base/file_system.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

namespace {

std::string TempPath(const std::string& name) {
  auto dir = std::filesystem::temp_directory_path() / "tallyo_base_test";
  std::filesystem::create_directories(dir);
  return (dir / name).string();
}

}  // namespace

TEST(FileSystem, ReplaceCreatesAndReplacesWithoutLeavingTemporaries) {
  FileSystem& fs = DefaultFileSystem();
  std::string path = TempPath("replace.bin");
  std::remove(path.c_str());
  ASSERT_TRUE(fs.ReplaceFile(path, std::string("a\0b", 3)).ok());
  ASSERT_TRUE(fs.ReplaceFile(path, "second").ok());
  std::string contents;
  ASSERT_TRUE(fs.ReadFile(path, &contents).ok());
  EXPECT_EQ(contents, "second");
  EXPECT_FALSE(fs.FileExists(path + ".tmp"));
}

TEST(FileSystem, MissingFileIsNotFound) {
  std::string contents = "unchanged";
  Status s = DefaultFileSystem().ReadFile(TempPath("no-such-file"), &contents);
  EXPECT_TRUE(s.IsNotFound());
  EXPECT_EQ(contents, "unchanged");
}

TEST(FileSystem, FailedReplaceKeepsTheOldFile) {
  FileSystem& fs = DefaultFileSystem();
  std::string dir = TempPath("blocked");
  std::filesystem::create_directories(dir);
  // The target is a directory: the rename over it must fail and nothing may change.
  Status s = fs.ReplaceFile(dir, "data");
  EXPECT_FALSE(s.ok());
  EXPECT_TRUE(std::filesystem::is_directory(dir));
  EXPECT_FALSE(fs.FileExists(dir + ".tmp"));
}

TEST(FileSystem, RenameRefusesToOverwrite) {
  FileSystem& fs = DefaultFileSystem();
  std::string a = TempPath("a.txt"), b = TempPath("b.txt");
  ASSERT_TRUE(fs.ReplaceFile(a, "A").ok());
  ASSERT_TRUE(fs.ReplaceFile(b, "B").ok());
  EXPECT_FALSE(fs.RenameFile(a, b).ok());
  std::remove(b.c_str());
  ASSERT_TRUE(fs.RenameFile(a, b).ok());
  EXPECT_FALSE(fs.FileExists(a));
}
