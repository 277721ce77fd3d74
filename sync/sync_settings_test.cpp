#include "sync/sync_settings.h"

#include <gtest/gtest.h>

#include "base/testing/memory_file_system.h"

namespace {

constexpr char kPath[] = "D:\\Tallyo\\sync.ini";

SyncSettings Chosen() {
  SyncSettings s;
  s.address = "http://127.0.0.1:5232/";
  s.user = "\xD5\xC5\xC8\xFD";  // "张三"
  s.calendar_url = "http://127.0.0.1:5232/alice/work/";
  s.calendar_name = " \xB9\xA4\xD7\xF7 ";  // " 工作 ", blanks and all
  s.enabled = true;
  s.interval_minutes = 30;
  return s;
}

TEST(SyncSettings, LiesBesideTheEvents) {
  EXPECT_EQ(SyncSettingsPathBeside("/home/a/event.dat"), "/home/a/sync.ini");
  EXPECT_EQ(SyncSettingsPathBeside("event.dat"), "sync.ini");
}

TEST(SyncSettings, WritesTheFileByteForByteAndReadsItBack) {
  MemoryFileSystem fs;
  ASSERT_TRUE(SaveSyncSettings(fs, kPath, Chosen()).ok());
  EXPECT_EQ(fs.files[kPath],
            "[sync]\r\n"
            "address=http://127.0.0.1:5232/\r\n"
            "user=\xD5\xC5\xC8\xFD\r\n"
            "calendar_url=http://127.0.0.1:5232/alice/work/\r\n"
            "calendar_name=\" \xB9\xA4\xD7\xF7 \"\r\n"
            "enabled=1\r\n"
            "interval_minutes=30\r\n");
  SyncSettings loaded;
  ASSERT_TRUE(LoadSyncSettings(fs, kPath, &loaded).ok());
  EXPECT_EQ(loaded, Chosen());
}

TEST(SyncSettings, MissingFileIsSyncOff) {
  MemoryFileSystem fs;
  SyncSettings loaded = Chosen();
  ASSERT_TRUE(LoadSyncSettings(fs, kPath, &loaded).ok());
  EXPECT_EQ(loaded, SyncSettings{});
}

TEST(SyncSettings, KeepsOtherLinesAndRefusesToOverwriteAnUnreadableFile) {
  MemoryFileSystem fs;
  fs.files[kPath] = "; mine\r\n[sync]\r\nenabled=0\r\nextra=1\r\n";
  ASSERT_TRUE(SaveSyncSettings(fs, kPath, Chosen()).ok());
  EXPECT_EQ(fs.files[kPath].rfind("; mine\r\n[sync]\r\nenabled=1\r\nextra=1\r\naddress=", 0), 0u);
  fs.fail_reads = true;
  EXPECT_FALSE(SaveSyncSettings(fs, kPath, SyncSettings{}).ok());
  SyncSettings loaded;
  EXPECT_FALSE(LoadSyncSettings(fs, kPath, &loaded).ok());
  fs.fail_reads = false;
  ASSERT_TRUE(LoadSyncSettings(fs, kPath, &loaded).ok());
  EXPECT_EQ(loaded, Chosen());
}

TEST(SyncSettings, HandEditedIntervalsStayUsable) {
  MemoryFileSystem fs;
  for (const char* value : {"0", "-5", "x"}) {
    SCOPED_TRACE(value);
    fs.files[kPath] = std::string("[sync]\r\ninterval_minutes=") + value + "\r\n";
    SyncSettings loaded;
    ASSERT_TRUE(LoadSyncSettings(fs, kPath, &loaded).ok());
    EXPECT_EQ(loaded.interval_minutes, 1);
  }
}

}  // namespace
