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

// A stamp of `path` after making its write time `when`.
FileStamp StampWrittenAt(const std::string& path, std::filesystem::file_time_type when) {
  std::filesystem::last_write_time(path, when);
  FileStamp stamp;
  EXPECT_TRUE(DefaultFileSystem().StatFile(path, &stamp).ok());
  return stamp;
}

TEST(FileSystem, AStampTellsAReplacedFileOfTheSameSizeAndRecentWriteTime) {
  FileSystem& fs = DefaultFileSystem();
  const std::string path = TempPath("stamp-recent.bin");
  const auto just_now = std::filesystem::file_time_type::clock::now();
  ASSERT_TRUE(fs.ReplaceFile(path, "first").ok());
  const FileStamp first = StampWrittenAt(path, just_now);
  EXPECT_EQ(StampWrittenAt(path, just_now), first);
  // Another program writes another file in the same tick of the clock.
  ASSERT_TRUE(fs.ReplaceFile(path, "other").ok());
  const FileStamp other = StampWrittenAt(path, just_now);
  EXPECT_EQ(other.size, first.size);
  EXPECT_EQ(other.write_time, first.write_time);
  EXPECT_NE(other, first);
}

TEST(FileSystem, AStampOfAFileLongUnchangedStaysAndAnyWriteShows) {
  FileSystem& fs = DefaultFileSystem();
  const std::string path = TempPath("stamp-settled.bin");
  const auto yesterday = std::filesystem::file_time_type::clock::now() - std::chrono::hours(24);
  ASSERT_TRUE(fs.ReplaceFile(path, "first").ok());
  const FileStamp first = StampWrittenAt(path, yesterday);
  for (int look = 0; look < 3; ++look) {
    FileStamp again;
    ASSERT_TRUE(fs.StatFile(path, &again).ok());
    EXPECT_EQ(again, first);
  }
  // Kept aside, so no later file can be given its index.
  const std::string kept = path + ".kept";
  std::remove(kept.c_str());
  ASSERT_TRUE(fs.RenameFile(path, kept).ok());
  ASSERT_TRUE(fs.ReplaceFile(path, "longer").ok());  // written now
  FileStamp longer;
  ASSERT_TRUE(fs.StatFile(path, &longer).ok());
  EXPECT_NE(longer, first);
  EXPECT_EQ(longer.size, 6u);
  ASSERT_TRUE(fs.ReplaceFile(path, "again").ok());  // the old size, written now
  FileStamp same_size;
  ASSERT_TRUE(fs.StatFile(path, &same_size).ok());
  EXPECT_NE(same_size, first);
  EXPECT_NE(same_size, longer);
  // Back to a long-settled time with a file written in between: no stale look.
  const FileStamp rewound = StampWrittenAt(path, yesterday);
  EXPECT_EQ(rewound.size, first.size);
  EXPECT_EQ(rewound.write_time, first.write_time);
  EXPECT_NE(rewound.file_id, first.file_id);
  std::remove(kept.c_str());
}

TEST(FileSystem, TwoFilesLookedAtInTurnEachShowTheirOwnWrites) {
  // The events and their rules are both looked at every second.
  FileSystem& fs = DefaultFileSystem();
  const std::string events = TempPath("stamp-turn-events.bin");
  const std::string rules = TempPath("stamp-turn-rules.bin");
  const auto yesterday = std::filesystem::file_time_type::clock::now() - std::chrono::hours(24);
  ASSERT_TRUE(fs.ReplaceFile(events, "events").ok());
  ASSERT_TRUE(fs.ReplaceFile(rules, "rules").ok());
  const FileStamp events_first = StampWrittenAt(events, yesterday);
  const FileStamp rules_first = StampWrittenAt(rules, yesterday);
  for (int look = 0; look < 3; ++look) {
    FileStamp again;
    ASSERT_TRUE(fs.StatFile(events, &again).ok());
    EXPECT_EQ(again, events_first);
    ASSERT_TRUE(fs.StatFile(rules, &again).ok());
    EXPECT_EQ(again, rules_first);
  }
  const std::string kept = rules + ".kept";
  std::remove(kept.c_str());
  ASSERT_TRUE(fs.RenameFile(rules, kept).ok());
  ASSERT_TRUE(fs.ReplaceFile(rules, "RULES").ok());  // written now, seen by the next look
  FileStamp written;
  ASSERT_TRUE(fs.StatFile(rules, &written).ok());
  EXPECT_NE(written, rules_first);
  const FileStamp rewound = StampWrittenAt(rules, yesterday);
  EXPECT_EQ(rewound.write_time, rules_first.write_time);
  EXPECT_NE(rewound, rules_first);
  FileStamp events_now;
  ASSERT_TRUE(fs.StatFile(events, &events_now).ok());
  EXPECT_EQ(events_now, events_first);
  std::remove(kept.c_str());
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

TEST(FileSystem, ANewFileIsMadeOnceAndItsHolderWritesItWhereverItGoes) {
  FileSystem& fs = DefaultFileSystem();
  const std::string path = TempPath("new.lock");
  const std::string moved = TempPath("new.lock.moved");
  std::remove(path.c_str());
  std::remove(moved.c_str());
  std::unique_ptr<HeldFile> held, second;
  ASSERT_TRUE(fs.CreateNewFile(path, "token beat=0", &held).ok());
  EXPECT_EQ(fs.CreateNewFile(path, "other", &second).code(), Status::Code::kAlreadyExists);
  EXPECT_EQ(second, nullptr);
  std::string contents;
  ASSERT_TRUE(held->Overwrite("token beat=1").ok());
  ASSERT_TRUE(fs.ReadFile(path, &contents).ok()) << "readable while held";
  EXPECT_EQ(contents, "token beat=1");
  // Another program renames it aside: the holder's writes follow the file.
  ASSERT_TRUE(fs.RenameFile(path, moved).ok());
  ASSERT_TRUE(held->Overwrite("token beat=2").ok());
  ASSERT_TRUE(fs.ReadFile(moved, &contents).ok());
  EXPECT_EQ(contents, "token beat=2");
  EXPECT_FALSE(fs.FileExists(path));
  held.reset();
  ASSERT_TRUE(fs.RemoveFile(moved).ok());
  EXPECT_FALSE(fs.FileExists(moved));
  EXPECT_TRUE(fs.RemoveFile(moved).IsNotFound());
}
