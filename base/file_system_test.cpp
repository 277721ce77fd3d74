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

TEST(FileSystem, AFailedReplaceNamesTheFileNotItsTemporary) {
  FileSystem& fs = DefaultFileSystem();
  std::string path = TempPath("event-blocked.dat");
  ASSERT_TRUE(fs.ReplaceFile(path, "old").ok());
  // A folder where the temporary file would go.
  std::filesystem::create_directories(path + ".tmp");
  Status s = fs.ReplaceFile(path, "new");
  std::filesystem::remove(path + ".tmp");
  ASSERT_FALSE(s.ok());
  EXPECT_EQ(s.message().rfind(path + ": ", 0), 0u) << s.message();
  EXPECT_EQ(s.message().find(".tmp"), std::string::npos) << s.message();
  std::string contents;
  ASSERT_TRUE(fs.ReadFile(path, &contents).ok());
  EXPECT_EQ(contents, "old");
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

TEST(FileSystem, ReadsWholeFilesIntoABufferOrAString) {
  FileSystem& fs = DefaultFileSystem();
  std::string path = TempPath("whole.bin");
  // Empty, tiny, and large enough for a mapping of its own (several MB).
  for (std::size_t size : {std::size_t{0}, std::size_t{1}, std::size_t{4096}, std::size_t{9} << 20}) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(i * 131 + i / 4096);
    ASSERT_TRUE(fs.ReplaceFile(path, bytes).ok());
    std::string as_string = "old";
    ASSERT_TRUE(fs.ReadFile(path, &as_string).ok());
    EXPECT_TRUE(as_string == bytes) << size;
    BigBuffer buffer(3);
    ASSERT_TRUE(fs.ReadFileToBuffer(path, &buffer).ok());
    ASSERT_EQ(buffer.size(), size);
    EXPECT_TRUE(std::string_view(buffer.data(), buffer.size()) == bytes) << size;
  }
  BigBuffer untouched(2);
  EXPECT_TRUE(fs.ReadFileToBuffer(TempPath("no-such-file"), &untouched).IsNotFound());
  std::remove(path.c_str());
}

TEST(BigBuffer, StartsZeroedAndMoves) {
  for (std::size_t size : {std::size_t{0}, std::size_t{10}, std::size_t{5} << 20}) {
    BigBuffer buffer(size);
    ASSERT_EQ(buffer.size(), size);
    for (std::size_t i = 0; i < size; i += 4093) ASSERT_EQ(buffer.data()[i], 0);
    if (size > 0) buffer.data()[size - 1] = 'x';
    BigBuffer moved(std::move(buffer));
    EXPECT_EQ(moved.size(), size);
    if (size > 0) {
      EXPECT_EQ(moved.data()[size - 1], 'x');
    }
    buffer = std::move(moved);
    buffer.Truncate(0);
    EXPECT_EQ(buffer.size(), 0u);
  }
}
