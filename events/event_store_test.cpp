#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "base/app_path.h"
#include "base/testing/memory_file_system.h"
#include "events/event_list.h"
#include "events/testing/events_test_util.h"

namespace {

const std::string kPath = "C:\\Tallyo\\event.dat";

// Renames can be made to fail, like a file held open by another program.
class FlakyFileSystem : public MemoryFileSystem {
 public:
  bool fail_renames = false;
  Status RenameFile(const std::string& from, const std::string& to) override {
    if (fail_renames) return Status::IoError(from + ": sharing violation");
    return MemoryFileSystem::RenameFile(from, to);
  }
};

// Another program writes the file just after this one has read it.
class WriterRightAfterRead : public MemoryFileSystem {
 public:
  std::string next_content;
  Status ReadFileToBuffer(const std::string& path, BigBuffer* contents) override {
    Status read = MemoryFileSystem::ReadFileToBuffer(path, contents);
    if (!next_content.empty()) {
      files[path] = next_content;
      Touch(path);
      next_content.clear();
    }
    return read;
  }
};

std::string ThreeRecordImage() {
  EventVector v;
  v.push_back(MakeEvent("one", 100));
  v.push_back(MakeEvent("two", 200, "body", 1, 5000));
  v.push_back(MakeEvent("three", 300, std::string(40, 'z')));
  return WriteEventArchive(v);
}

// The store on its own, as a list uses it, where a test asks it directly
// whether the file changed.
struct StoreWithRecords {
  explicit StoreWithRecords(FileSystem& fs) : store(fs, kPath) {}
  LoadResult Load() { return store.Load(&records); }
  Status Save() { return store.Save(records); }
  EventStore store;
  EventRecords records;
};

std::vector<std::string> AsideFiles(const MemoryFileSystem& fs) {
  std::vector<std::string> names;
  for (const auto& [name, bytes] : fs.files) {
    if (name != kPath) names.push_back(name);
  }
  return names;
}

}  // namespace

TEST(EventStore, MissingFileLeavesTheListAndSaysNothing) {
  MemoryFileSystem fs;
  EventList list(fs, kPath);
  list.Add(MakeEvent("kept", 1));
  LoadResult r = list.LoadEvents();
  EXPECT_TRUE(r.ok());
  EXPECT_EQ(r.message, "");
  EXPECT_EQ(list.size(), 1u);
  EXPECT_FALSE(list.HasDamagedFile());

  ASSERT_TRUE(list.SaveEvents().ok());
  EXPECT_EQ(fs.files[kPath], WriteEventArchive(list.records()));
}

TEST(EventStore, SaveAndLoadRoundTrip) {
  MemoryFileSystem fs;
  EventList list(fs, kPath);
  ASSERT_TRUE(list.SaveEvents().ok());
  EXPECT_EQ(fs.files[kPath], std::string(2, '\0'));

  list.Add(MakeEvent("b", 20, "x\r\ny", 0, 99));
  list.Add(MakeEvent("a", 10, "", 1, 30));
  ASSERT_TRUE(list.SaveEvents().ok());
  std::string image = fs.files[kPath];

  EventList again(fs, kPath);
  again.Add(MakeEvent("replaced by the load", 1));
  ASSERT_TRUE(again.LoadEvents().ok());
  ASSERT_EQ(again.size(), 2u);
  EXPECT_TRUE(SameFields(again.records()[0], list.records()[0]));
  EXPECT_TRUE(SameFields(again.records()[1], list.records()[1]));
  ASSERT_TRUE(again.SaveEvents().ok());
  EXPECT_EQ(fs.files[kPath], image);
}

TEST(EventStore, FailedSaveKeepsTheOldFileAndTheList) {
  MemoryFileSystem fs;
  fs.files[kPath] = ThreeRecordImage();
  EventList list(fs, kPath);
  ASSERT_TRUE(list.LoadEvents().ok());
  list.Add(MakeEvent("new", 400));

  fs.fail_writes = true;
  Status s = list.SaveEvents();
  EXPECT_FALSE(s.ok());
  EXPECT_EQ(fs.files[kPath], ThreeRecordImage());
  EXPECT_EQ(list.size(), 4u);

  fs.fail_writes = false;
  ASSERT_TRUE(list.SaveEvents().ok());
  EventList again(fs, kPath);
  again.LoadEvents();
  EXPECT_EQ(again.size(), 4u);
}

TEST(EventStore, DamagedFileKeepsRecordsBeforeTheFaultAndIsSetAside) {
  MemoryFileSystem fs;
  std::string image = ThreeRecordImage();
  std::string damaged = image.substr(0, image.size() - 10);  // cut inside the third record
  fs.files[kPath] = damaged;

  EventList list(fs, kPath);
  LoadResult r = list.LoadEvents();
  EXPECT_EQ(r.kind, LoadResult::Kind::kDamaged);
  EXPECT_EQ(r.archive_error, ArchiveError::kEndOfFile);
  EXPECT_EQ(r.message, ArchiveErrorMessage(ArchiveError::kEndOfFile, kPath));
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list.records()[1].strTitle, "two");
  EXPECT_TRUE(list.HasDamagedFile());

  std::string aside;
  ASSERT_TRUE(list.SetAsideDamagedFile(&aside).ok());
  EXPECT_TRUE(std::regex_match(aside, std::regex(R"(C:\\Tallyo\\event\.dat\.damaged-\d{8}-\d{6})"))) << aside;
  EXPECT_EQ(fs.files[aside], damaged);
  EXPECT_FALSE(fs.FileExists(kPath));
  EXPECT_FALSE(list.HasDamagedFile());

  ASSERT_TRUE(list.SaveEvents().ok());
  EXPECT_EQ(fs.files[aside], damaged);
  EXPECT_EQ(fs.files.size(), 2u);
}

TEST(EventStore, SaveSetsADamagedFileAsideByItself) {
  MemoryFileSystem fs;
  std::string bad = ThreeRecordImage();
  bad[4] = 2;  // schema 2
  fs.files[kPath] = bad;
  EventList list(fs, kPath);
  LoadResult r = list.LoadEvents();
  EXPECT_EQ(r.archive_error, ArchiveError::kBadSchema);
  EXPECT_EQ(r.message, ArchiveErrorMessage(ArchiveError::kBadSchema, kPath));
  EXPECT_TRUE(list.empty());

  list.Add(MakeEvent("typed after the fault", 500));
  ASSERT_TRUE(list.SaveEvents().ok());
  std::vector<std::string> aside = AsideFiles(fs);
  ASSERT_EQ(aside.size(), 1u);
  EXPECT_EQ(fs.files[aside[0]], bad);

  // A second damaged file in the same second does not replace the first.
  fs.files[kPath] = bad;
  ASSERT_FALSE(list.LoadEvents().ok());
  ASSERT_TRUE(list.SaveEvents().ok());
  aside = AsideFiles(fs);
  ASSERT_EQ(aside.size(), 2u);
  EXPECT_EQ(fs.files[aside[0]], bad);
  EXPECT_EQ(fs.files[aside[1]], bad);
}

TEST(EventStore, SaveRefusesWhenTheDamagedFileCannotBeSetAside) {
  FlakyFileSystem fs;
  fs.files[kPath] = "\x01";
  EventList list(fs, kPath);
  EXPECT_EQ(list.LoadEvents().archive_error, ArchiveError::kEndOfFile);
  list.Add(MakeEvent("new", 1));
  fs.fail_renames = true;
  EXPECT_FALSE(list.SaveEvents().ok());
  EXPECT_EQ(fs.files[kPath], "\x01");
  EXPECT_EQ(fs.replace_calls, 0);
  EXPECT_TRUE(list.HasDamagedFile());

  fs.fail_renames = false;
  EXPECT_TRUE(list.SaveEvents().ok());
  EXPECT_EQ(AsideFiles(fs).size(), 1u);
}

TEST(EventStore, UnreadableFileIsReportedAndNeverOverwritten) {
  MemoryFileSystem fs;
  fs.files[kPath] = ThreeRecordImage();
  fs.fail_reads = true;
  EventList list(fs, kPath);
  list.Add(MakeEvent("in memory", 1));
  LoadResult r = list.LoadEvents();
  EXPECT_EQ(r.kind, LoadResult::Kind::kReadError);
  EXPECT_NE(r.message.find(kPath), std::string::npos);
  EXPECT_EQ(list.size(), 1u);

  ASSERT_TRUE(list.SaveEvents().ok());
  std::vector<std::string> aside = AsideFiles(fs);
  ASSERT_EQ(aside.size(), 1u);
  EXPECT_EQ(fs.files[aside[0]], ThreeRecordImage());
}

TEST(EventStore, GoodLoadHasNothingToSetAside) {
  MemoryFileSystem fs;
  fs.files[kPath] = ThreeRecordImage();
  EventList list(fs, kPath);
  ASSERT_TRUE(list.LoadEvents().ok());
  std::string aside = "untouched";
  EXPECT_TRUE(list.SetAsideDamagedFile(&aside).ok());
  EXPECT_EQ(aside, "");
  EXPECT_EQ(fs.files.size(), 1u);
}

TEST(EventStore, RealFilesBesideTheProgram) {
  std::filesystem::path dir = std::filesystem::temp_directory_path() / "tallyo_events_test";
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  std::string dir_text = dir.string();
  dir_text.push_back(static_cast<char>(std::filesystem::path::preferred_separator));
  OverrideAppDir(dir_text);

  EventList list;
  EXPECT_EQ(list.FilePath(), dir_text + "event.dat");
  ASSERT_TRUE(list.LoadEvents().ok());
  list.Add(MakeEvent("on disk", 42, "", 1, 43));
  ASSERT_TRUE(list.SaveEvents().ok());

  EventList again;
  ASSERT_TRUE(again.LoadEvents().ok());
  ASSERT_EQ(again.size(), 1u);
  EXPECT_EQ(again.records()[0].strTitle, "on disk");

  // Damage it on disk, then set it aside: both files are there afterwards.
  std::filesystem::resize_file(dir / "event.dat", 20);
  EventList damaged;
  EXPECT_EQ(damaged.LoadEvents().kind, LoadResult::Kind::kDamaged);
  std::string aside;
  ASSERT_TRUE(damaged.SetAsideDamagedFile(&aside).ok());
  EXPECT_EQ(std::filesystem::file_size(aside), 20u);
  ASSERT_TRUE(damaged.SaveEvents().ok());
  EXPECT_EQ(std::filesystem::file_size(dir / "event.dat"), 2u);
  OverrideAppDir("");
  std::filesystem::remove_all(dir);
}

// --- changes made by other programs ---

TEST(EventStore, NoticesAnotherWriterAndReloads) {
  MemoryFileSystem fs;
  fs.files[kPath] = ThreeRecordImage();
  EventList mine(fs, kPath);
  ASSERT_TRUE(mine.LoadEvents().ok());
  bool reloaded = true;
  EXPECT_TRUE(mine.ReloadIfChanged(&reloaded).ok());
  EXPECT_FALSE(reloaded);

  EventList theirs(fs, kPath);  // a second copy of the program, or tallyo-cli
  ASSERT_TRUE(theirs.LoadEvents().ok());
  theirs.Add(MakeEvent("from elsewhere", 900));
  ASSERT_TRUE(theirs.SaveEvents().ok());

  EXPECT_TRUE(mine.ReloadIfChanged(&reloaded).ok());
  EXPECT_TRUE(reloaded);
  ASSERT_EQ(mine.size(), 4u);
  EXPECT_EQ(mine.records()[3].strTitle, "from elsewhere");
  EXPECT_TRUE(mine.ReloadIfChanged(&reloaded).ok());
  EXPECT_FALSE(reloaded);

  // Its own save is no change from outside.
  mine.Add(MakeEvent("mine", 901));
  ASSERT_TRUE(mine.SaveEvents().ok());
  EXPECT_TRUE(mine.ReloadIfChanged(&reloaded).ok());
  EXPECT_FALSE(reloaded);
  EXPECT_EQ(mine.size(), 5u);
}

TEST(EventStore, SameBytesWrittenAgainAreNoChange) {
  MemoryFileSystem fs;
  fs.files[kPath] = ThreeRecordImage();
  StoreWithRecords mine(fs);
  ASSERT_TRUE(mine.Load().ok());
  fs.Touch(kPath);  // rewritten, same content
  EXPECT_FALSE(mine.store.ChangedOnDisk());

  // Same size, other bytes: a change.
  std::string other = ThreeRecordImage();
  other[other.size() - 1] ^= 1;
  fs.files[kPath] = other;
  fs.Touch(kPath);
  EXPECT_TRUE(mine.store.ChangedOnDisk());

  // After a save the store knows the file by its hash: the same again.
  ASSERT_TRUE(mine.Load().ok());
  ASSERT_TRUE(mine.Save().ok());
  fs.Touch(kPath);
  EXPECT_FALSE(mine.store.ChangedOnDisk());
  fs.files[kPath][0] ^= 1;
  fs.Touch(kPath);
  EXPECT_TRUE(mine.store.ChangedOnDisk());
}

TEST(EventStore, AnEmptyFileLoadedIsNoChangeUntilItChanges) {
  MemoryFileSystem fs;
  fs.files[kPath] = "";
  StoreWithRecords mine(fs);
  EXPECT_EQ(mine.Load().archive_error, ArchiveError::kEndOfFile);
  fs.Touch(kPath);
  EXPECT_FALSE(mine.store.ChangedOnDisk());
  fs.files[kPath] = ThreeRecordImage();
  fs.Touch(kPath);
  EXPECT_TRUE(mine.store.ChangedOnDisk());
}

TEST(EventStore, FileWrittenRightAfterTheLoadReadItIsStillNoticed) {
  // The load must not take the new file's stamp for the bytes it read: the
  // next save would then overwrite the other program's change unseen.
  WriterRightAfterRead fs;
  fs.files[kPath] = ThreeRecordImage();
  fs.Touch(kPath);
  EventVector other;
  other.push_back(MakeEvent("written by another program", 400));
  fs.next_content = WriteEventArchive(other);
  fs.next_content.resize(fs.files[kPath].size(), '\0');  // same size, other bytes
  StoreWithRecords mine(fs);
  ASSERT_TRUE(mine.Load().ok());
  EXPECT_EQ(mine.records.size(), 3u);
  EXPECT_TRUE(mine.store.ChangedOnDisk());
}

TEST(EventStore, FileAppearingOrVanishingUnderTheList) {
  MemoryFileSystem fs;
  EventList list(fs, kPath);
  ASSERT_TRUE(list.LoadEvents().ok());  // no file yet
  bool reloaded = true;
  ASSERT_TRUE(list.ReloadIfChanged(&reloaded).ok());
  EXPECT_FALSE(reloaded);
  fs.files[kPath] = ThreeRecordImage();
  fs.Touch(kPath);
  ASSERT_TRUE(list.ReloadIfChanged(&reloaded).ok());
  EXPECT_TRUE(reloaded);
  EXPECT_EQ(list.size(), 3u);

  // Deleted by hand: the list stays and the next save writes it again.
  fs.files.erase(kPath);
  ASSERT_TRUE(list.ReloadIfChanged(&reloaded).ok());
  EXPECT_FALSE(reloaded);
  EXPECT_EQ(list.size(), 3u);
  ASSERT_TRUE(list.SaveEvents().ok());
  EXPECT_EQ(fs.files[kPath], ThreeRecordImage());

  // The store alone: a vanished file is a change once, then the file is known gone.
  StoreWithRecords mine(fs);
  ASSERT_TRUE(mine.Load().ok());
  fs.files.erase(kPath);
  EXPECT_TRUE(mine.store.ChangedOnDisk());
  EXPECT_TRUE(mine.Load().ok());
  EXPECT_FALSE(mine.store.ChangedOnDisk());
}

TEST(EventStore, DamagedFileAtAReloadKeepsTheListAndIsReportedOnce) {
  MemoryFileSystem fs;
  fs.files[kPath] = ThreeRecordImage();
  EventList list(fs, kPath);
  ASSERT_TRUE(list.LoadEvents().ok());
  const std::string damaged = ThreeRecordImage().substr(0, 30);
  fs.files[kPath] = damaged;
  fs.Touch(kPath);

  bool reloaded = true;
  LoadResult r = list.ReloadIfChanged(&reloaded);
  EXPECT_EQ(r.kind, LoadResult::Kind::kDamaged);
  EXPECT_EQ(r.message, ArchiveErrorMessage(r.archive_error, kPath));
  EXPECT_FALSE(reloaded);
  EXPECT_EQ(list.size(), 3u);
  EXPECT_TRUE(list.HasDamagedFile());
  EXPECT_TRUE(list.ReloadIfChanged(&reloaded).ok());  // the same file: not again

  ASSERT_TRUE(list.SaveEvents().ok());
  std::vector<std::string> aside = AsideFiles(fs);
  ASSERT_EQ(aside.size(), 1u);
  EXPECT_EQ(fs.files[aside[0]], damaged);
  EXPECT_EQ(fs.files[kPath], ThreeRecordImage());
  EXPECT_TRUE(list.ReloadIfChanged(&reloaded).ok());
  EXPECT_FALSE(reloaded);
}

TEST(EventStore, UnreadableFileAtAReloadIsTriedAgain) {
  MemoryFileSystem fs;
  fs.files[kPath] = ThreeRecordImage();
  EventList list(fs, kPath);
  ASSERT_TRUE(list.LoadEvents().ok());
  EventList other(fs, kPath);
  other.Add(MakeEvent("only", 1));
  ASSERT_TRUE(other.SaveEvents().ok());

  fs.fail_reads = true;
  bool reloaded = true;
  EXPECT_EQ(list.ReloadIfChanged(&reloaded).kind, LoadResult::Kind::kReadError);
  EXPECT_FALSE(reloaded);
  EXPECT_EQ(list.size(), 3u);
  fs.fail_reads = false;
  EXPECT_TRUE(list.ReloadIfChanged(&reloaded).ok());
  EXPECT_TRUE(reloaded);
  ASSERT_EQ(list.size(), 1u);
  EXPECT_FALSE(list.HasDamagedFile());
}

TEST(EventStore, RealFileRewrittenWithTheSameSizeIsNoticed) {
  std::filesystem::path dir = std::filesystem::temp_directory_path() / "tallyo_events_change_test";
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  const std::string path = (dir / "event.dat").string();

  EventList a(DefaultFileSystem(), path);
  a.Add(MakeEvent("aaaa", 1));
  ASSERT_TRUE(a.SaveEvents().ok());
  EventList b(DefaultFileSystem(), path);
  ASSERT_TRUE(b.LoadEvents().ok());
  a.FindByCreateTime(1)->strTitle = "bbbb";
  ASSERT_TRUE(a.SaveEvents().ok());

  bool reloaded = false;
  ASSERT_TRUE(b.ReloadIfChanged(&reloaded).ok());
  EXPECT_TRUE(reloaded);
  ASSERT_EQ(b.size(), 1u);
  EXPECT_EQ(b.records()[0].strTitle, "bbbb");
  std::filesystem::remove_all(dir);
}
