#include "sync/sync_state.h"

#include <gtest/gtest.h>

#include "base/testing/memory_file_system.h"
#include "sync/sync_settings.h"

namespace {

SyncState TwoEntries() {
  SyncState state;
  state.calendar_url = "http://h/c/";
  state.sync_token = "tok";
  state.ctag = "\"7\"";
  state.entries.push_back(
      {"u1@x", EventKey{1700000000, 0}, "http://h/c/u1.ics", "\"e1\"", "BEGIN:X\r\nEND:X\r\n"});
  state.entries.push_back({"u 2", EventKey{-5, 2}, "", "kept-in-tallyo", ""});
  return state;
}

}  // namespace

TEST(SyncState, WritesItsFileByteForByteAndReadsItBack) {
  const std::string golden =
      "TallyoSyncState 1\n"
      "calendar 11\nhttp://h/c/\n"
      "token 3\ntok\n"
      "ctag 3\n\"7\"\n"
      "uid 4\nu1@x\ncreated 10\n1700000000\ntwin 1\n0\nhref 17\nhttp://h/c/u1.ics\netag 4\n\"e1\"\n"
      "agreed 16\nBEGIN:X\r\nEND:X\r\n\n"
      "uid 3\nu 2\ncreated 2\n-5\ntwin 1\n2\nhref 0\n\netag 14\nkept-in-tallyo\nagreed 0\n\n"
      "end 1\n2\n";
  EXPECT_EQ(SyncStateToBytes(TwoEntries()), golden);
  SyncState read;
  ASSERT_TRUE(SyncStateFromBytes(golden, &read).ok());
  EXPECT_EQ(read, TwoEntries());
  ASSERT_TRUE(SyncStateFromBytes(SyncStateToBytes(SyncState()), &read).ok());
  EXPECT_EQ(read, SyncState());
}

TEST(SyncState, RefusesEveryTruncationAndStrayBytes) {
  const std::string whole = SyncStateToBytes(TwoEntries());
  for (std::size_t length = 0; length < whole.size(); ++length) {
    SyncState read = TwoEntries();
    EXPECT_FALSE(SyncStateFromBytes(whole.substr(0, length), &read).ok()) << length;
    EXPECT_EQ(read, SyncState()) << "nothing half-read is kept";
  }
  SyncState read;
  EXPECT_FALSE(SyncStateFromBytes(whole + "x", &read).ok());
  EXPECT_FALSE(SyncStateFromBytes("TallyoSyncState 2\nend 1\n0\n", &read).ok());
  EXPECT_FALSE(SyncStateFromBytes("TallyoSyncState 1\nuid 1\nu\ncreated 3\n1x2\nend 1\n1\n", &read).ok());
  EXPECT_FALSE(SyncStateFromBytes("TallyoSyncState 1\nuid 99999999999999999999\nu\nend 1\n1\n", &read).ok());
  EXPECT_FALSE(SyncStateFromBytes("TallyoSyncState 1\nuid 1\nu\nend 1\n0\n", &read).ok()) << "count";
  // Fields of a later version are passed over.
  EXPECT_TRUE(
      SyncStateFromBytes("TallyoSyncState 1\nlater 2\nxy\nuid 1\nu\nnew 0\n\nend 1\n1\n", &read).ok());
  EXPECT_EQ(read.entries.size(), 1u);
}

TEST(SyncState, LivesBesideEventDatAndAMissingFileIsAnEmptyState) {
  EXPECT_EQ(SyncStatePathBeside("/home/u/t/event.dat"), "/home/u/t/sync-state.dat");
  EXPECT_EQ(SyncSettingsPathBeside("/home/u/t/event.dat"), "/home/u/t/sync.ini");
  MemoryFileSystem fs;
  SyncState state = TwoEntries();
  ASSERT_TRUE(LoadSyncState(fs, "/t/sync-state.dat", &state).ok());
  EXPECT_EQ(state, SyncState());
  ASSERT_TRUE(SaveSyncState(fs, "/t/sync-state.dat", TwoEntries()).ok());
  ASSERT_TRUE(LoadSyncState(fs, "/t/sync-state.dat", &state).ok());
  EXPECT_EQ(state, TwoEntries());
}

TEST(SyncSettings, RoundTripsAndKeepsLinesAddedByHand) {
  MemoryFileSystem fs;
  SyncSettings settings;
  ASSERT_TRUE(LoadSyncSettings(fs, "/t/sync.ini", &settings).ok());
  EXPECT_EQ(settings, SyncSettings());
  EXPECT_FALSE(settings.enabled);
  settings.address = "https://dav.example/";
  settings.user = "me";
  settings.calendar_url = "https://dav.example/me/work/";
  settings.calendar_name = "\xB9\xA4\xD7\xF7";  // 工作
  settings.enabled = true;
  settings.interval_minutes = 5;
  ASSERT_TRUE(fs.ReplaceFile("/t/sync.ini", "; mine\r\n[other]\r\nk=v\r\n").ok());
  ASSERT_TRUE(SaveSyncSettings(fs, "/t/sync.ini", settings).ok());
  SyncSettings read;
  ASSERT_TRUE(LoadSyncSettings(fs, "/t/sync.ini", &read).ok());
  EXPECT_EQ(read, settings);
  std::string bytes;
  ASSERT_TRUE(fs.ReadFile("/t/sync.ini", &bytes).ok());
  EXPECT_EQ(bytes,
            "; mine\r\n[other]\r\nk=v\r\n[sync]\r\naddress=https://dav.example/\r\nuser=me\r\n"
            "calendar_url=https://dav.example/me/work/\r\ncalendar_name=\xB9\xA4\xD7\xF7\r\nenabled=1\r\n"
            "interval_minutes=5\r\n");
  // On without a calendar is off; an interval out of range is brought in.
  ASSERT_TRUE(fs.ReplaceFile("/t/sync.ini", "[sync]\r\nenabled=1\r\ninterval_minutes=0\r\n").ok());
  ASSERT_TRUE(LoadSyncSettings(fs, "/t/sync.ini", &read).ok());
  EXPECT_FALSE(read.enabled);
  EXPECT_EQ(read.interval_minutes, 1);
}
