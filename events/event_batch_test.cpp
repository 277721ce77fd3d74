// Loaded records live in their load's block and borrow their texts from the
// file's bytes: what the rest of the program does with records must not notice.
#include "events/event_batch.h"

#include <gtest/gtest.h>

#include <cstring>
#include <sstream>

#include "base/memory_file_system.h"
#include "events/byte_hash.h"
#include "events/event_list.h"
#include "events/events_test_util.h"

namespace {

const std::string kPath = "event.dat";

std::shared_ptr<const BigBuffer> Buffer(const std::string& bytes) {
  auto buffer = std::make_shared<BigBuffer>(bytes.size());
  if (!bytes.empty()) std::memcpy(buffer->data(), bytes.data(), bytes.size());
  return buffer;
}

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

TEST(EventText, ReadsAndConvertsLikeAString) {
  EventText text = std::string("abc");
  EXPECT_EQ(text, "abc");
  EXPECT_EQ(text, std::string("abc"));
  EXPECT_EQ(std::string("abc"), text);
  EXPECT_NE(text, EventText("abd"));
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

  text += "de";
  text.push_back('f');
  EXPECT_EQ(text, "abcdef");
  text = text.view().substr(2);  // assigned from its own bytes
  EXPECT_EQ(text, "cdef");
  text.clear();
  EXPECT_TRUE(text.empty());
  EXPECT_EQ(text.view(), "");
  EXPECT_EQ(EventText(std::string("a\0b", 3)).size(), 3u);
}

TEST(EventBatch, BothReadersGiveTheSameRecordsAndErrorsAtEveryLength) {
  const std::string sample = SampleImage();
  // Every length up to the long body's text, then a few within it and at its end.
  std::vector<std::pair<std::string, std::size_t>> cuts;
  for (std::size_t n = 0; n < 400; ++n) cuts.emplace_back(sample, n);
  for (std::size_t n : {1000u, 50000u}) cuts.emplace_back(sample, n);
  for (std::size_t n = sample.size() - 40; n <= sample.size(); ++n) cuts.emplace_back(sample, n);
  const std::string wide = WideTitleImage();
  for (std::size_t n = 0; n <= wide.size(); ++n) cuts.emplace_back(wide, n);
  for (const auto& [image, n] : cuts) {
    {
      std::string prefix = image.substr(0, n);
      EventVector copied;
      ArchiveError copied_error = ReadEventArchive(prefix, &copied);
      EventRecords loaded;
      ArchiveError loaded_error = ReadEventArchive(Buffer(prefix), &loaded);
      ASSERT_EQ(loaded_error, copied_error) << n;
      ASSERT_EQ(loaded.records.size(), copied.size()) << n;
      for (std::size_t i = 0; i < copied.size(); ++i) {
        EXPECT_TRUE(SameFields(*loaded.records[i], *copied[i])) << n << " " << i;
      }
    }
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

TEST(EventBatch, LoadReadsUsualRecordsAcrossTheWholeFileAndLeavesTheBytesAlone) {
  const std::string many = ManyRecordsImage();
  for (const std::string& image : {many, many + "trailing bytes after the last record", SampleImage()}) {
    auto bytes = Buffer(image);
    EventRecords loaded;
    ASSERT_EQ(ReadEventArchive(bytes, &loaded), ArchiveError::kNone);
    EXPECT_EQ(std::string_view(bytes->data(), bytes->size()), image);
  }
  EventRecords loaded;
  ASSERT_EQ(ReadEventArchive(Buffer(many), &loaded), ArchiveError::kNone);
  ASSERT_EQ(loaded.records.size(), 3000u);
  EXPECT_EQ(loaded.records[2999]->strTitle, std::string(40, 'a' + 2999 % 26));
  EXPECT_EQ(loaded.records[2999]->strContent, std::string(2999 % 90, 'b'));
  EXPECT_EQ(loaded.records[2999]->timeRemind, 1700009000 + 2999);
  EXPECT_EQ(WriteEventArchive(loaded.records), many);
}

TEST(EventBatch, WideTitleIsConverted) {
  LoadedList f(WideTitleImage());
  ASSERT_TRUE(f.result.ok());
  ASSERT_EQ(f.list.size(), 1u);
  EXPECT_EQ(f.list.records()[0]->strTitle, "\xcc\xe1\xd0\xd1");  // "提醒"
  EXPECT_EQ(f.list.records()[0]->strContent, "ok");
}

TEST(EventBatch, LoadedListSavesTheSameBytes) {
  LoadedList f(SampleImage());
  ASSERT_TRUE(f.result.ok());
  ASSERT_TRUE(f.list.SaveEvents().ok());
  EXPECT_EQ(f.fs.files[kPath], SampleImage());
}

TEST(EventBatch, CopiesOfLoadedRecordsOutliveTheLoad) {
  auto f = std::make_unique<LoadedList>(SampleImage());
  ASSERT_EQ(f->list.size(), 5u);
  CMyEvent copy = *f->list.records()[0];
  CMyEvent moved = std::move(*f->list.records()[2]);
  EventText title = f->list.records()[1]->strTitle;
  std::string as_string = f->list.records()[4]->strContent;

  // Another program rewrites the file: the list reloads and its old load goes.
  EventVector other;
  other.push_back(MakeEvent("other", 1));
  f->fs.files[kPath] = WriteEventArchive(other);
  f->fs.Touch(kPath);
  bool reloaded = false;
  ASSERT_TRUE(f->list.ReloadIfChanged(&reloaded).ok());
  ASSERT_TRUE(reloaded);
  EXPECT_EQ(f->list.records()[0]->strTitle, "other");
  f.reset();  // and then the list itself

  EXPECT_EQ(copy.strTitle, "first");
  EXPECT_EQ(copy.strContent, "body\r\nline two");
  EXPECT_EQ(moved.strTitle, "\xbb\xe1\xd2\xe9");
  EXPECT_EQ(moved.timeCreate, -5);
  EXPECT_EQ(title, std::string(300, 'x'));
  EXPECT_EQ(as_string, "c");
  // A copy is an ordinary record: deleting it frees it one by one.
  auto heap = std::make_unique<CMyEvent>(copy);
  EXPECT_EQ(heap->strContent, "body\r\nline two");
}

TEST(EventBatch, LoadedRecordsCanBeChangedDeletedAndAddedTo) {
  LoadedList f(SampleImage());
  CMyEvent* first = f.list.FindByCreateTime(1700000000);
  ASSERT_NE(first, nullptr);
  first->strTitle = std::string("edited");
  first->strContent += " and more";
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

TEST(EventBatch, DamagedFileKeepsTheCompleteRecordsInTheirBlock) {
  std::string image = SampleImage();
  LoadedList f(image.substr(0, image.size() - 3));
  EXPECT_EQ(f.result.archive_error, ArchiveError::kEndOfFile);
  ASSERT_EQ(f.list.size(), 4u);
  EXPECT_EQ(f.list.records()[3]->strContent, std::string(70000, 'b'));
}

TEST(EventBatch, HashTellsEverySingleByteAndLengthChangeApart) {
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
