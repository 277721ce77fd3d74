// Loaded records share their texts' bytes with the load: what the rest of
// the program does with records must not notice.
#include "events/shared_text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <sstream>

#include "base/testing/memory_file_system.h"
#include "events/byte_hash.h"
#include "events/event_list.h"
#include "events/testing/events_test_util.h"

namespace {

const std::string kPath = "event.dat";

// Titles and bodies of every length form, a wide text, bytes that look like tags.
std::string SampleImage() {
  EventVector v;
  v.push_back(MakeEvent("first", 1700000000, "body\r\nline two", 0, 0));
  v.push_back(MakeEvent(std::string(300, 'x'), 1700000100, "", 1, 1700003600));
  v.push_back(MakeEvent("\xbb\xe1\xd2\xe9", -5, std::string("\xff\xff\x01\x80\0", 5), 0, 77));  // "会议"
  v.push_back(MakeEvent("", 9, std::string(70000, 'b'), 1, 9));
  v.push_back(MakeEvent("t", 10, "c", 0, 0));
  return WriteEventArchive(v);
}

// A file whose one record has a wide (UTF-16) title "提醒" and body "ok".
std::string WideTitleImage() {
  return Hex(
      "01 00 ff ff 01 00 08 00 43 4d 79 45 76 65 6e 74 | ff fe ff 02 d0 63 92 91 | 01 00 00 00 |"
      " 02 6f 6b | 00 00 00 00 | 00 00 00 00");
}

class LoadedList {
 public:
  explicit LoadedList(const std::string& image) : list(fs, kPath) {
    fs.files[kPath] = image;
    fs.Touch(kPath);
    result = list.LoadEvents();
  }
  MemoryFileSystem fs;
  EventList list;
  LoadResult result;
};

}  // namespace

TEST(SharedText, ReadsAndConvertsLikeAString) {
  SharedText text = std::string("abc");
  EXPECT_EQ(text, "abc");
  EXPECT_EQ(text, std::string("abc"));
  EXPECT_EQ(std::string("abc"), text);
  EXPECT_NE(text, SharedText("abd"));
  EXPECT_LT(text, "abd");
  EXPECT_EQ(text.size(), 3u);
  std::string copy = text;
  std::string_view view = text;
  EXPECT_EQ(copy, "abc");
  EXPECT_EQ(view, "abc");
  EXPECT_EQ("<" + text + ">", "<abc>");
  EXPECT_EQ(text + std::string("d"), "abcd");
  std::ostringstream printed;
  printed << text;
  EXPECT_EQ(printed.str(), "abc");
  EXPECT_EQ(text.find('c'), 2u);
  EXPECT_EQ(text.substr(1), "bc");

  text = text + "def";
  EXPECT_EQ(text, "abcdef");
  text = text.view().substr(2);  // assigned from its own bytes
  EXPECT_EQ(text, "cdef");
  SharedText shared = text;
  text = "other";
  EXPECT_EQ(shared, "cdef");
  text.clear();
  EXPECT_TRUE(text.empty());
  EXPECT_EQ(text.view(), "");
  EXPECT_EQ(SharedText(std::string("a\0b", 3)).size(), 3u);
}

TEST(SharedText, PartsOfSharedBytesOutliveEveryOtherOwner) {
  auto bytes = std::make_unique<SharedBytes>(SharedBytes::CopyOf("title body"));
  SharedText title(*bytes, bytes->view().substr(0, 5));
  SharedText body(*bytes, bytes->view().substr(6));
  SharedText none(*bytes, bytes->view().substr(10));
  bytes.reset();
  EXPECT_EQ(title, "title");
  EXPECT_EQ(body, "body");
  EXPECT_TRUE(none.empty());
  SharedText copy = body;
  body = "changed";
  title.clear();
  EXPECT_EQ(copy, "body");
}

TEST(LoadedRecords, EveryPrefixOfAFileGivesItsCompleteRecords) {
  const std::string sample = SampleImage();
  EventRecords whole;
  ASSERT_EQ(ReadEventArchive(SharedBytes::CopyOf(sample), &whole), ArchiveError::kNone);
  ASSERT_EQ(whole.size(), 5u);
  // Every length up to the long body's text, then a few within it and at its end.
  std::vector<std::size_t> cuts;
  for (std::size_t n = 0; n < 400; ++n) cuts.push_back(n);
  for (std::size_t n : {1000u, 50000u}) cuts.push_back(n);
  for (std::size_t n = sample.size() - 40; n <= sample.size(); ++n) cuts.push_back(n);
  for (std::size_t n : cuts) {
    EventRecords loaded;
    ArchiveError error = ReadEventArchive(SharedBytes::CopyOf(sample.substr(0, n)), &loaded);
    ASSERT_EQ(error == ArchiveError::kNone, n == sample.size()) << n;
    ASSERT_LE(loaded.size(), whole.size());
    for (std::size_t i = 0; i < loaded.size(); ++i)
      EXPECT_TRUE(SameFields(loaded[i], whole[i])) << n << " " << i;
    if (n < sample.size()) {
      EXPECT_LT(loaded.size(), whole.size());
    }
  }
  const std::string wide = WideTitleImage();
  for (std::size_t n = 0; n < wide.size(); ++n) {
    EventRecords loaded;
    EXPECT_NE(ReadEventArchive(SharedBytes::CopyOf(wide.substr(0, n)), &loaded), ArchiveError::kNone);
    EXPECT_TRUE(loaded.empty());
  }
}

// Many short records, past several of the steps in which a load hashes ahead.
std::string ManyRecordsImage() {
  EventVector v;
  for (int i = 0; i < 3000; ++i) {
    v.push_back(MakeEvent(std::string(1 + i % 40, static_cast<char>('a' + i % 26)), 1700000000 + i,
                          std::string(i % 90, 'b'), i % 3 == 0, 1700009000 + i));
  }
  return WriteEventArchive(v);
}

TEST(LoadedRecords, LoadReadsUsualRecordsAcrossTheWholeFileAndLeavesTheBytesAlone) {
  const std::string many = ManyRecordsImage();
  for (const std::string& image : {many, many + "trailing bytes after the last record", SampleImage()}) {
    SharedBytes bytes = SharedBytes::CopyOf(image);
    EventRecords loaded;
    ASSERT_EQ(ReadEventArchive(bytes, &loaded), ArchiveError::kNone);
    EXPECT_EQ(bytes.view(), image);
  }
  EventRecords loaded;
  ASSERT_EQ(ReadEventArchive(SharedBytes::CopyOf(many), &loaded), ArchiveError::kNone);
  ASSERT_EQ(loaded.size(), 3000u);
  EXPECT_EQ(loaded[2999].strTitle, std::string(40, 'a' + 2999 % 26));
  EXPECT_EQ(loaded[2999].strContent, std::string(2999 % 90, 'b'));
  EXPECT_EQ(loaded[2999].timeRemind, 1700009000 + 2999);
  EXPECT_EQ(WriteEventArchive(loaded), many);
}

TEST(LoadedRecords, WideTitleIsConverted) {
  LoadedList f(WideTitleImage());
  ASSERT_TRUE(f.result.ok());
  ASSERT_EQ(f.list.size(), 1u);
  EXPECT_EQ(f.list.records()[0].strTitle, "\xcc\xe1\xd0\xd1");  // "提醒"
  EXPECT_EQ(f.list.records()[0].strContent, "ok");
}

TEST(LoadedRecords, LoadedListSavesTheSameBytes) {
  LoadedList f(SampleImage());
  ASSERT_TRUE(f.result.ok());
  ASSERT_TRUE(f.list.SaveEvents().ok());
  EXPECT_EQ(f.fs.files[kPath], SampleImage());
}

TEST(LoadedRecords, CopiesOfLoadedRecordsOutliveTheLoad) {
  auto f = std::make_unique<LoadedList>(SampleImage());
  ASSERT_EQ(f->list.size(), 5u);
  CMyEvent copy = f->list.records()[0];
  CMyEvent moved = std::move(*f->list.FindByCreateTime(-5));
  SharedText title = f->list.records()[1].strTitle;
  std::string as_string = f->list.records()[4].strContent;

  // Another program rewrites the file: the list reloads and its old load goes.
  EventVector other;
  other.push_back(MakeEvent("other", 1));
  f->fs.files[kPath] = WriteEventArchive(other);
  f->fs.Touch(kPath);
  bool reloaded = false;
  ASSERT_TRUE(f->list.ReloadIfChanged(&reloaded).ok());
  ASSERT_TRUE(reloaded);
  EXPECT_EQ(f->list.records()[0].strTitle, "other");
  f.reset();  // and then the list itself

  EXPECT_EQ(copy.strTitle, "first");
  EXPECT_EQ(copy.strContent, "body\r\nline two");
  EXPECT_EQ(moved.strTitle, "\xbb\xe1\xd2\xe9");
  EXPECT_EQ(moved.timeCreate, -5);
  EXPECT_EQ(title, std::string(300, 'x'));
  EXPECT_EQ(as_string, "c");
  // A copy is an ordinary record, and so are copies of it.
  auto heap = std::make_unique<CMyEvent>(copy);
  copy = CMyEvent(0);
  EXPECT_EQ(heap->strContent, "body\r\nline two");
}

TEST(LoadedRecords, CanBeChangedDeletedAndAddedTo) {
  LoadedList f(SampleImage());
  CMyEvent* first = f.list.FindByCreateTime(1700000000);
  ASSERT_NE(first, nullptr);
  first->strTitle = std::string("edited");
  first->strContent = first->strContent + " and more";
  *f.list.FindByCreateTime(10) = *first;  // a whole record assigned over a loaded one
  ASSERT_TRUE(f.list.DeleteByCreateTime(-5));
  ASSERT_TRUE(f.list.DeleteByCreateTime(9));
  f.list.Add(MakeEvent("added", 11, "new"));

  EventVector expected;
  expected.push_back(MakeEvent("edited", 1700000000, "body\r\nline two and more"));
  expected.push_back(MakeEvent(std::string(300, 'x'), 1700000100, "", 1, 1700003600));
  expected.push_back(MakeEvent("edited", 1700000000, "body\r\nline two and more"));
  expected.push_back(MakeEvent("added", 11, "new"));
  ASSERT_TRUE(f.list.SaveEvents().ok());
  EXPECT_EQ(f.fs.files[kPath], WriteEventArchive(expected));
}

TEST(LoadedRecords, DamagedFileKeepsTheCompleteRecords) {
  std::string image = SampleImage();
  LoadedList f(image.substr(0, image.size() - 3));
  EXPECT_EQ(f.result.archive_error, ArchiveError::kEndOfFile);
  ASSERT_EQ(f.list.size(), 4u);
  EXPECT_EQ(f.list.records()[3].strContent, std::string(70000, 'b'));
}

TEST(ByteHash, TellsEverySingleByteAndLengthChangeApart) {
  for (std::size_t n = 0; n <= 70; ++n) {
    std::string bytes(n, '\0');
    for (std::size_t i = 0; i < n; ++i) bytes[i] = static_cast<char>(i * 37 + n);
    const std::uint64_t hash = HashBytes(bytes);
    EXPECT_EQ(HashBytes(std::string(bytes)), hash);
    EXPECT_NE(HashBytes(bytes + '\0'), hash) << n;
    if (n > 0) {
      EXPECT_NE(HashBytes(bytes.substr(0, n - 1)), hash) << n;
    }
    for (std::size_t i = 0; i < n; ++i) {
      for (int bit = 0; bit < 8; ++bit) {
        std::string flipped = bytes;
        flipped[i] = static_cast<char>(flipped[i] ^ (1 << bit));
        ASSERT_NE(HashBytes(flipped), hash) << n << " " << i << " " << bit;
      }
    }
  }
}
