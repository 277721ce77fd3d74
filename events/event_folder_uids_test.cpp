// The UIDs of a folder's events through changes by Tallyo, by older tools
// that know no uids.ini, by other writers, and by writers killed half-way.
#include <gtest/gtest.h>

#include <string>

#include "base/testing/memory_file_system.h"
#include "events/event_folder.h"
#include "events/event_repeats.h"
#include "events/testing/events_test_util.h"

namespace {

const std::string kEvents = "event.dat";
const std::string kUids = "uids.ini";

struct Writer {
  explicit Writer(MemoryFileSystem& fs) : fs(fs) {}
  MemoryFileSystem& fs;
  EventList events{fs, kEvents};
  RepeatRules rules;
  RepeatStore store{fs, "repeat.ini"};
  EventFolder folder{fs, events, rules, store};

  FolderChangeOutcome Make(const EventFolder::Change& change) {
    EventFolder::Options options;
    options.wait = std::chrono::milliseconds(100);
    return folder.Make(change, options);
  }
  FolderChangeOutcome Nothing() {
    return Make([](EventList&, RepeatRules&) { return true; });
  }
  bool Delete(EventKey key) {
    return Make([&](EventList& list, RepeatRules& list_rules) {
             return DeleteEventAndRule(list, list_rules, key);
           })
        .all_saved();
  }
  // The UID of the event titled `title`, as a change sees it.
  std::string UidOfTitle(const std::string& title) {
    std::string uid;
    Make([&](EventList& list, RepeatRules&) {
      for (const CMyEvent& record : list.records()) {
        if (record.strTitle.view() == title) uid = folder.uids().UidOf(list.KeyOf(record));
      }
      return false;
    });
    return uid;
  }
};

// A writer that knows event.dat only: it rewrites the file as it wants.
void OlderToolWrites(MemoryFileSystem& fs, const std::vector<CMyEvent>& records) {
  EventList older(fs, kEvents);
  for (const CMyEvent& record : records) older.Add(record);
  ASSERT_TRUE(older.SaveEvents().ok());
}

// Events a, b, c made in second 500 (added one at a time, as tallyo-cli
// would in one second), and d in 600.
struct Folder {
  MemoryFileSystem fs;
  Writer writer{fs};
  Folder() {
    for (const char* title : {"a", "b", "c"}) {
      writer.Make([&](EventList& list, RepeatRules&) {
        list.Add(MakeEvent(title, 500));
        return true;
      });
    }
    writer.Make([](EventList& list, RepeatRules&) {
      list.Add(MakeEvent("d", 600));
      return true;
    });
  }
};

}  // namespace

TEST(FolderUids, TwinsAreKeptOnceTheyShareASecond) {
  Folder f;
  EXPECT_EQ(f.fs.files[kUids],
            "[500]\r\nuid=500-0@tallyo.example\r\nevents=3\r\ntitle=e40c292c\r\n"
            "[500-1]\r\nuid=500-1@tallyo.example\r\nevents=3\r\ntitle=e70c2de5\r\n"
            "[500-2]\r\nuid=500-2@tallyo.example\r\nevents=3\r\ntitle=e60c2c52\r\n");
  EXPECT_EQ(f.writer.UidOfTitle("d"), "600-0@tallyo.example") << "an event alone in its second needs no line";
}

TEST(FolderUids, DeletingATwinMovesNoUid) {
  Folder f;
  ASSERT_TRUE(f.writer.Delete({500, 0}));
  EXPECT_EQ(f.fs.files[kUids],
            "[500]\r\nuid=500-1@tallyo.example\r\nevents=2\r\ntitle=e70c2de5\r\n"
            "[500-1]\r\nuid=500-2@tallyo.example\r\nevents=2\r\ntitle=e60c2c52\r\n");
  EXPECT_EQ(f.writer.UidOfTitle("b"), "500-1@tallyo.example");
  EXPECT_EQ(f.writer.UidOfTitle("c"), "500-2@tallyo.example");
  // Another program finds them by their UIDs.
  Writer other(f.fs);
  other.Nothing();
  EXPECT_EQ(other.folder.uids().Find("500-2@tallyo.example", other.events), (EventKey{500, 1}));
  EXPECT_EQ(other.folder.uids().Find("500-0@tallyo.example", other.events), std::nullopt);

  ASSERT_TRUE(f.writer.Delete({500, 1}));  // c: b is alone now, and keeps its UID
  EXPECT_EQ(f.fs.files[kUids], "[500]\r\nuid=500-1@tallyo.example\r\n");
  EXPECT_EQ(f.writer.UidOfTitle("b"), "500-1@tallyo.example");
}

TEST(FolderUids, AChangedTwinKeepsItsUidWhenAnotherGoesInTheSameChange) {
  Folder f;
  f.writer.Make([](EventList& list, RepeatRules& rules) {
    list.Find({500, 2})->strTitle = SharedText("c, renamed");
    return DeleteEventAndRule(list, rules, {500, 0});
  });
  EXPECT_EQ(f.writer.UidOfTitle("b"), "500-1@tallyo.example");
  EXPECT_EQ(f.writer.UidOfTitle("c, renamed"), "500-2@tallyo.example");
}

TEST(FolderUids, AnOlderToolDeletingATwinIsFollowedByTitle) {
  Folder f;
  OlderToolWrites(f.fs, {MakeEvent("b", 500), MakeEvent("c", 500), MakeEvent("d", 600)});
  EXPECT_EQ(f.writer.UidOfTitle("b"), "500-1@tallyo.example");
  EXPECT_EQ(f.writer.UidOfTitle("c"), "500-2@tallyo.example");
  f.writer.Nothing();
  EXPECT_EQ(f.fs.files[kUids],
            "[500]\r\nuid=500-1@tallyo.example\r\nevents=2\r\ntitle=e70c2de5\r\n"
            "[500-1]\r\nuid=500-2@tallyo.example\r\nevents=2\r\ntitle=e60c2c52\r\n");

  // An older tool that also deletes the twin whose title is no longer found:
  // its UID goes, it never passes to another event.
  OlderToolWrites(f.fs, {MakeEvent("x", 500), MakeEvent("d", 600)});
  EXPECT_EQ(f.writer.UidOfTitle("x"), "500-0@tallyo.example");
  EXPECT_EQ(f.fs.files[kUids], "");
}

TEST(FolderUids, AWriterKilledBetweenTheFilesLeavesEveryEventItsOwnUid) {
  // Killed after uids.ini, before event.dat: event.dat fails to be written.
  Folder f;
  f.fs.fail_writes_of = kEvents;
  EXPECT_FALSE(f.writer.Delete({500, 0}));
  f.fs.fail_writes_of.clear();
  Writer next(f.fs);
  EXPECT_EQ(next.UidOfTitle("a"), "500-0@tallyo.example");
  EXPECT_EQ(next.UidOfTitle("b"), "500-1@tallyo.example");
  EXPECT_EQ(next.UidOfTitle("c"), "500-2@tallyo.example");

  // Killed after event.dat, before the cleanup of uids.ini.
  Folder g;
  const std::string uids_before = g.fs.files[kUids];
  g.fs.fail_writes_of = kUids;
  g.writer.Make([](EventList& list, RepeatRules& rules) {
    return DeleteEventAndRule(list, rules, {500, 0});
  });
  g.fs.fail_writes_of.clear();
  EXPECT_EQ(g.fs.files[kUids], uids_before);
  Writer later(g.fs);
  EXPECT_EQ(later.UidOfTitle("a"), "");
  EXPECT_EQ(later.UidOfTitle("b"), "500-1@tallyo.example");
  EXPECT_EQ(later.UidOfTitle("c"), "500-2@tallyo.example");
}

TEST(FolderUids, KeptUidsOfOtherWritersAreTakenInNotOverwritten) {
  Folder f;
  Writer importer(f.fs);
  importer.Make([&](EventList& list, RepeatRules&) {
    const CMyEvent& added = list.Add(MakeEvent("imported", 700));
    importer.folder.uids().Keep(list.KeyOf(added), "meeting@example.com");
    importer.folder.uids().SetImported(list.KeyOf(added), "1234");
    return true;
  });
  // The first writer's next change sees it and keeps it.
  ASSERT_TRUE(f.writer.Delete({500, 1}));
  EXPECT_EQ(f.writer.folder.uids().Find("meeting@example.com", f.writer.events), (EventKey{700, 0}));
  EXPECT_EQ(f.writer.folder.uids().Imported({700, 0}), "1234");
  EXPECT_NE(f.fs.files[kUids].find("uid=meeting@example.com\r\nimported=1234\r\n"), std::string::npos);
  // Deleting the event takes its UID away.
  ASSERT_TRUE(f.writer.Delete({700, 0}));
  EXPECT_EQ(f.fs.files[kUids].find("meeting"), std::string::npos);
}

TEST(FolderUids, AUidsFileThatCannotBeReadIsNotReplaced) {
  Folder f;
  const std::string events_before = f.fs.files[kEvents];
  f.fs.files[kUids] += "[800]\r\nuid=x@example.com\r\n";
  f.fs.Touch(kUids);
  f.fs.fail_reads = true;
  FolderChangeOutcome outcome = f.writer.Make([](EventList& list, RepeatRules& rules) {
    return DeleteEventAndRule(list, rules, {500, 0});
  });
  f.fs.fail_reads = false;
  EXPECT_FALSE(outcome.all_saved());
  EXPECT_EQ(f.fs.files[kEvents], events_before) << "event.dat waits for its UIDs";
}
