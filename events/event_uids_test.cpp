#include "events/event_uids.h"

#include <gtest/gtest.h>

#include <string>

#include "base/testing/memory_file_system.h"
#include "events/testing/events_test_util.h"
#include "events/uid_store.h"

namespace {

// Three events made in second 500 (titles a, b, c) and one in 600.
struct Twins {
  MemoryFileSystem fs;
  EventList events{fs, "event.dat"};
  Twins() {
    events.Add(MakeEvent("a", 500));
    events.Add(MakeEvent("b", 500));
    events.Add(MakeEvent("c", 500));
    events.Add(MakeEvent("d", 600));
  }
};

}  // namespace

TEST(EventUids, FirstUidsNeedNoFile) {
  EventUids uids;
  EXPECT_EQ(uids.UidOf({1796605200, 0}), "1796605200-0@tallyo.example");
  EXPECT_EQ(uids.UidOf({-5, 2}), "-5-2@tallyo.example");
  EXPECT_EQ(uids.Find("1796605200-0@tallyo.example"), (EventKey{1796605200, 0}));
  EXPECT_EQ(uids.Find("-5-2@tallyo.example"), (EventKey{-5, 2}));
  for (const char* other :
       {"1796605200-0@tallyo.example.org", "1796605200@tallyo.example", "x-0@tallyo.example",
        "1796605200-01@tallyo.example", "1796605200-+1@tallyo.example", "", "@tallyo.example",
        "99999999999-0@tallyo.example"}) {
    EXPECT_EQ(uids.Find(other), std::nullopt) << other;
  }
  EXPECT_TRUE(uids.empty());
  EXPECT_EQ(uids.ToBytes(), "");
}

TEST(EventUids, KeptUidsAndImportsAreWrittenByteForByte) {
  EventUids uids;
  uids.Keep({500, 1}, "040000008200E00074C5B7101A82E008@example.com");
  uids.SetImported({500, 1}, "5be2a1f0c4d3e2b1");
  uids.SetImported({600, 0}, "00ff");  // keeps its first UID with it
  uids.Keep({500, 0}, " spaced; \"quoted\" ");
  EXPECT_EQ(uids.ToBytes(),
            "[500-1]\r\nuid=040000008200E00074C5B7101A82E008@example.com\r\nimported=5be2a1f0c4d3e2b1\r\n"
            "[600]\r\nuid=600-0@tallyo.example\r\nimported=00ff\r\n"
            "[500]\r\nuid=\" spaced; \"quoted\" \"\r\n");

  const EventUids read(uids.ToBytes());
  EXPECT_EQ(read.UidOf({500, 0}), " spaced; \"quoted\" ");
  EXPECT_EQ(read.UidOf({500, 1}), "040000008200E00074C5B7101A82E008@example.com");
  EXPECT_EQ(read.Imported({500, 1}), "5be2a1f0c4d3e2b1");
  EXPECT_EQ(read.Imported({500, 2}), "");
  EXPECT_EQ(read.Find("040000008200E00074C5B7101A82E008@example.com"), (EventKey{500, 1}));
  // A key whose UID is kept is no longer named by its first UID.
  EXPECT_EQ(read.Find("500-1@tallyo.example"), std::nullopt);
  EXPECT_EQ(read.Find("600-0@tallyo.example"), (EventKey{600, 0}));

  // Keep replaces the UID and keeps what the import made.
  uids.Keep({500, 1}, "new@example.com");
  EXPECT_EQ(uids.Imported({500, 1}), "5be2a1f0c4d3e2b1");
  EXPECT_EQ(uids.Find("new@example.com"), (EventKey{500, 1}));
  EXPECT_EQ(uids.Find("040000008200E00074C5B7101A82E008@example.com"), std::nullopt);
}

TEST(EventUids, FindWithEventsNamesOnlyExistingEvents) {
  Twins t;
  EventUids uids;
  uids.Keep({600, 0}, "d@example.com");
  uids.Keep({700, 0}, "gone@example.com");
  EXPECT_EQ(uids.Find("500-2@tallyo.example", t.events), (EventKey{500, 2}));
  EXPECT_EQ(uids.Find("500-3@tallyo.example", t.events), std::nullopt);
  EXPECT_EQ(uids.Find("d@example.com", t.events), (EventKey{600, 0}));
  EXPECT_EQ(uids.Find("gone@example.com", t.events), std::nullopt);
  EXPECT_EQ(uids.Find("gone@example.com"), (EventKey{700, 0}));
}

TEST(EventUids, SharedSecondsAreKeptAndFingerprinted) {
  Twins t;
  EventUids uids;
  EXPECT_TRUE(uids.KeepSharedSeconds(t.events));
  EXPECT_FALSE(uids.KeepSharedSeconds(t.events)) << "kept once";
  EXPECT_TRUE(uids.NameAndFingerprint(t.events));
  EXPECT_EQ(uids.ToBytes(),
            "[500]\r\nuid=500-0@tallyo.example\r\nevents=3\r\ntitle=e40c292c\r\n"
            "[500-1]\r\nuid=500-1@tallyo.example\r\nevents=3\r\ntitle=e70c2de5\r\n"
            "[500-2]\r\nuid=500-2@tallyo.example\r\nevents=3\r\ntitle=e60c2c52\r\n");
  EXPECT_FALSE(uids.NameAndFingerprint(t.events));
}

TEST(EventUids, UnknownSectionsAndLinesStay) {
  const std::string bytes =
      "; written by hand\r\n[notes]\r\nx=1\r\n[500]\r\nuid=a@example.com\r\nlater=kept\r\nstray line\r\n";
  EventUids uids(bytes);
  EXPECT_EQ(uids.size(), 1u);
  EXPECT_EQ(uids.ToBytes(), bytes);
  uids.SetImported({500, 0}, "ff");
  EXPECT_EQ(uids.ToBytes(),
            "; written by hand\r\n[notes]\r\nx=1\r\n[500]\r\nuid=a@example.com\r\nimported=ff\r\n");
}

TEST(UidStore, SavesOnlyWhatChangedAndSeesOtherWriters) {
  MemoryFileSystem fs;
  UidStore store(fs, "uids.ini");
  EventUids uids;
  ASSERT_TRUE(store.Load(&uids).ok());
  ASSERT_TRUE(store.Save(uids).ok());
  EXPECT_FALSE(fs.FileExists("uids.ini")) << "no UIDs kept, no file";
  uids.Keep({500, 0}, "a@example.com");
  ASSERT_TRUE(store.Save(uids).ok());
  EXPECT_EQ(fs.files["uids.ini"], "[500]\r\nuid=a@example.com\r\n");
  EXPECT_FALSE(store.ChangedOnDisk());

  fs.files["uids.ini"] += "[600]\r\nuid=b@example.com\r\n";
  fs.Touch("uids.ini");
  bool reloaded = false;
  ASSERT_TRUE(store.ReloadIfChanged(&uids, &reloaded).ok());
  EXPECT_TRUE(reloaded);
  EXPECT_EQ(uids.Find("b@example.com"), (EventKey{600, 0}));

  fs.fail_reads = true;
  fs.Touch("uids.ini");
  EXPECT_FALSE(store.Load(&uids).ok());
  fs.fail_reads = false;
  uids.Keep({700, 0}, "c@example.com");
  EXPECT_FALSE(store.Save(uids).ok()) << "a file not read is not replaced";
  EXPECT_EQ(fs.files["uids.ini"], "[500]\r\nuid=a@example.com\r\n[600]\r\nuid=b@example.com\r\n");
  EXPECT_EQ(UidFilePathBeside("/data/tallyo/event.dat"), "/data/tallyo/uids.ini");
}
