#include "events/event_archive.h"

#include <gtest/gtest.h>

#include "events/testing/events_test_util.h"

namespace {

const std::string kOneRecord =
    Hex("01 00 | ff ff | 01 00 | 08 00 | 43 4d 79 45 76 65 6e 74 | 03 61 62 63 | 00 00 00 4b | 00 |"
        " 00 00 00 00 | 00 00 00 00");

// Count, new-class tag, schema 1 and the class name.
const std::string kHeaderOf2 = Hex("02 00 ff ff 01 00 08 00 43 4d 79 45 76 65 6e 74");
const std::string kHeaderOf3 = Hex("03 00 ff ff 01 00 08 00 43 4d 79 45 76 65 6e 74");
// The fields of a record titled "t", created at 1, empty body, no reminder.
const std::string kPlainFields = Hex("01 74 | 01 00 00 00 | 00 | 00 00 00 00 | 00 00 00 00");

struct ReadOutcome {
  ArchiveError error;
  EventRecords events;
};

ReadOutcome Read(const std::string& bytes, std::uint32_t limit = kArchiveMaxMapCount) {
  ReadOutcome out;
  out.error = ReadEventArchive(SharedBytes::CopyOf(bytes), &out.events, limit);
  return out;
}

EventVector ThreeRecords() {
  EventVector v;
  v.push_back(MakeEvent("first", 1700000000, "body\r\nline two", 0, 0));
  v.push_back(MakeEvent(std::string(300, 'x'), 1700000100, "", 1, 1700003600));
  // "会议" (meeting) and a body with bytes that look like tags.
  v.push_back(MakeEvent("\xbb\xe1\xd2\xe9", -5, std::string("\xff\xff\x01\x80\0", 5), 0, 77));
  return v;
}

}  // namespace

TEST(EventArchive, WritesTheDocumentedExampleByteForByte) {
  EventVector v;
  v.push_back(MakeEvent("abc", 0x4B000000));
  EXPECT_EQ(WriteEventArchive(v), kOneRecord);
  ASSERT_EQ(kOneRecord.size(), 33u);

  ReadOutcome r = Read(kOneRecord);
  ASSERT_EQ(r.error, ArchiveError::kNone);
  ASSERT_EQ(r.events.size(), 1u);
  EXPECT_TRUE(SameFields(r.events[0], v[0]));
}

TEST(EventArchive, SecondRecordUsesTheClassReference) {
  EventVector v;
  v.push_back(MakeEvent("abc", 0x4B000000));
  v.push_back(MakeEvent("", 2, "", 1, -1));
  EXPECT_EQ(WriteEventArchive(v),
            Hex("02 00") + kOneRecord.substr(2) + Hex("01 80 00 02 00 00 00 00 01 00 00 00 ff ff ff ff"));
}

TEST(EventArchive, EmptyListIsTwoZeroBytes) {
  EXPECT_EQ(WriteEventArchive(EventVector{}), Hex("00 00"));
  ReadOutcome r = Read(Hex("00 00"));
  EXPECT_EQ(r.error, ArchiveError::kNone);
  EXPECT_TRUE(r.events.empty());
}

TEST(EventArchive, TextLengthUsesTheShortestOfThreeForms) {
  struct Case {
    std::size_t length;
    std::string prefix;
  };
  const Case cases[] = {
      {0, Hex("00")},
      {1, Hex("01")},
      {254, Hex("fe")},
      {255, Hex("ff ff 00")},
      {256, Hex("ff 00 01")},
      {65533, Hex("ff fd ff")},
      {65534, Hex("ff ff ff fe ff 00 00")},
      {65535, Hex("ff ff ff ff ff 00 00")},
      {70000, Hex("ff ff ff 70 11 01 00")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.length);
    EventVector v;
    v.push_back(MakeEvent(std::string(c.length, 'q'), 9));
    std::string image = WriteEventArchive(v);
    const std::size_t title_at = 16;  // count, tag, schema, name length, name
    EXPECT_EQ(image.substr(title_at, c.prefix.size()), c.prefix);
    EXPECT_EQ(image.size(), title_at + c.prefix.size() + c.length + 13);
    ReadOutcome r = Read(image);
    ASSERT_EQ(r.error, ArchiveError::kNone);
    ASSERT_EQ(r.events.size(), 1u);
    EXPECT_TRUE(SameFields(r.events[0], v[0]));
  }
}

TEST(EventArchive, CountSwitchesToTheLongFormAt65535) {
  for (std::size_t count : {std::size_t{65534}, std::size_t{65535}}) {
    SCOPED_TRACE(count);
    EventVector v;
    for (std::size_t i = 0; i < count; ++i) v.push_back(MakeEvent("", static_cast<Time32>(i)));
    std::string image = WriteEventArchive(v);
    if (count == 65534) {
      EXPECT_EQ(image.substr(0, 4), Hex("fe ff ff ff"));
    } else {
      EXPECT_EQ(image.substr(0, 8), Hex("ff ff ff ff 00 00 ff ff"));
    }
    ReadOutcome r = Read(image);
    ASSERT_EQ(r.error, ArchiveError::kNone);
    ASSERT_EQ(r.events.size(), count);
    EXPECT_EQ(r.events.back().timeCreate, static_cast<Time32>(count - 1));
  }
}

TEST(EventArchive, RoundTripKeepsEveryFieldBitForBitAndTheOrder) {
  EventVector v = ThreeRecords();
  v.push_back(MakeEvent("off", INT32_MIN, "", 0, INT32_MAX));  // stale reminder time is kept
  v.push_back(MakeEvent("odd flag", INT32_MAX, "", 2, INT32_MIN));
  std::string image = WriteEventArchive(v);
  ReadOutcome r = Read(image);
  ASSERT_EQ(r.error, ArchiveError::kNone);
  ASSERT_EQ(r.events.size(), v.size());
  for (std::size_t i = 0; i < v.size(); ++i) EXPECT_TRUE(SameFields(r.events[i], v[i])) << i;
  EXPECT_EQ(WriteEventArchive(r.events), image);
}

TEST(EventArchive, EveryTruncationKeepsTheCompleteRecordsAndNamesTheFault) {
  EventVector v = ThreeRecords();
  std::string image = WriteEventArchive(v);
  // Where each record ends: the image of the first k records (same count width).
  std::vector<std::size_t> ends;
  for (std::size_t k = 1; k <= v.size(); ++k) {
    ends.push_back(WriteEventArchive(std::span(v).first(k)).size());
  }
  ASSERT_EQ(ends.back(), image.size());
  const std::size_t name_begin = 8, name_end = 16;

  for (std::size_t cut = 0; cut < image.size(); ++cut) {
    SCOPED_TRACE(cut);
    ReadOutcome r = Read(image.substr(0, cut));
    std::size_t complete = 0;
    while (complete < ends.size() && ends[complete] <= cut) ++complete;
    ArchiveError expected =
        (cut >= name_begin && cut < name_end) ? ArchiveError::kBadClass : ArchiveError::kEndOfFile;
    EXPECT_EQ(r.error, expected);
    ASSERT_EQ(r.events.size(), complete);
    for (std::size_t i = 0; i < complete; ++i) EXPECT_TRUE(SameFields(r.events[i], v[i]));
  }
}

TEST(EventArchive, FlippedBytesNeverCrashAndNeverInventRecords) {
  std::string image = WriteEventArchive(ThreeRecords());
  for (std::size_t pos = 0; pos < image.size(); ++pos) {
    for (unsigned char mask : {0x01, 0x80, 0xFF}) {
      std::string damaged = image;
      damaged[pos] = static_cast<char>(damaged[pos] ^ mask);
      ReadOutcome r = Read(damaged);
      // The count may grow, but records must come from bytes that are there.
      EXPECT_LE(r.events.size(), damaged.size() / 16) << pos;
    }
  }
}

TEST(EventArchive, BytesAfterTheLastRecordAreIgnored) {
  ReadOutcome r = Read(kOneRecord + "trailing garbage");
  EXPECT_EQ(r.error, ArchiveError::kNone);
  EXPECT_EQ(r.events.size(), 1u);
}

TEST(EventArchive, SecondClassDescriptionGetsAFurtherNumber) {
  // Numbers: class 1, record 2, class 3, record 4, then references to 1 and 3.
  std::string image = Hex("04 00") + kHeaderOf2.substr(2) + kPlainFields +
                      Hex("ff ff 01 00 08 00 43 4d 79 45 76 65 6e 74") + kPlainFields + Hex("03 80") +
                      kPlainFields + Hex("01 80") + kPlainFields;
  ReadOutcome r = Read(image);
  EXPECT_EQ(r.error, ArchiveError::kNone);
  EXPECT_EQ(r.events.size(), 4u);
}

TEST(EventArchive, ReferencesMustNameAClassAlreadyNumbered) {
  const std::pair<const char*, ArchiveError> tags[] = {
      {"01 80", ArchiveError::kNone},
      {"ff 7f 01 00 00 80", ArchiveError::kNone},  // the long form of 0x8001
      {"02 80", ArchiveError::kBadIndex},          // number 2 is the first record
      {"03 80", ArchiveError::kBadIndex},          // not handed out yet
      {"00 80", ArchiveError::kBadIndex},          // class 0 does not exist
      {"00 00", ArchiveError::kBadIndex},          // null pointer
      {"02 00", ArchiveError::kBadIndex},          // the record already read, a second time
      {"ff 7f 02 00 00 00", ArchiveError::kBadIndex},
      {"ff 7f 00 00 00 00", ArchiveError::kBadIndex},
      {"ff 7f 00 00 00 80", ArchiveError::kBadIndex},
      {"ff 7f ff ff ff ff", ArchiveError::kBadIndex},
  };
  for (const auto& [tag, expected] : tags) {
    SCOPED_TRACE(tag);
    ReadOutcome r = Read(kHeaderOf2 + kPlainFields + Hex(tag) + kPlainFields);
    EXPECT_EQ(r.error, expected);
    EXPECT_EQ(r.events.size(), expected == ArchiveError::kNone ? 2u : 1u);
  }
  // A first record without a class description.
  EXPECT_EQ(Read(Hex("01 00 01 80") + kPlainFields).error, ArchiveError::kBadIndex);
  EXPECT_EQ(Read(Hex("01 00 00 00")).error, ArchiveError::kBadIndex);
}

TEST(EventArchive, ClassDescriptionMustBeCMyEventWithSchemaOne) {
  auto file = [](const std::string& description) { return Hex("01 00 ff ff") + description + kPlainFields; };
  EXPECT_EQ(Read(file(Hex("01 00 08 00") + "CMyEvent")).error, ArchiveError::kNone);
  ReadOutcome schema2 = Read(file(Hex("02 00 08 00") + "CMyEvent"));
  EXPECT_EQ(schema2.error, ArchiveError::kBadSchema);
  EXPECT_TRUE(schema2.events.empty());
  EXPECT_EQ(Read(file(Hex("00 00 08 00") + "CMyEvent")).error, ArchiveError::kBadSchema);
  EXPECT_EQ(Read(file(Hex("01 00 08 00") + "CMyEvenT")).error, ArchiveError::kBadClass);
  EXPECT_EQ(Read(file(Hex("01 00 08 00") + "cmyevent")).error, ArchiveError::kBadClass);
  EXPECT_EQ(Read(file(Hex("01 00 09 00") + std::string("CMyEvent\0", 9))).error, ArchiveError::kBadClass);
  EXPECT_EQ(Read(file(Hex("01 00 07 00") + "CMyEven")).error, ArchiveError::kBadClass);
  // An unknown class is reported before a wrong schema.
  EXPECT_EQ(Read(file(Hex("02 00 06 00") + "CEvent")).error, ArchiveError::kBadClass);
  // Name length limit 63; a longer or cut-short name is a bad class, not an early end.
  EXPECT_EQ(Read(file(Hex("01 00 3f 00") + std::string(63, 'C'))).error, ArchiveError::kBadClass);
  EXPECT_EQ(Read(Hex("01 00 ff ff 01 00 40 00") + std::string(64, 'C')).error, ArchiveError::kBadClass);
  EXPECT_EQ(Read(Hex("01 00 ff ff 01 00 ff ff") + "CMyEvent").error, ArchiveError::kBadClass);
}

TEST(EventArchive, WideTextIsConvertedToCodePage936) {
  // "a中" as UTF-16: 0x0061, 0x4E2D; 中 is D6 D0 in code page 936.
  std::string record = Hex("ff ff 01 00 08 00") + "CMyEvent" + Hex("ff fe ff 02 61 00 2d 4e") +
                       Hex("05 00 00 00") + Hex("ff fe ff 00") + Hex("00 00 00 00 00 00 00 00");
  ReadOutcome r = Read(Hex("01 00") + record);
  ASSERT_EQ(r.error, ArchiveError::kNone);
  ASSERT_EQ(r.events.size(), 1u);
  EXPECT_EQ(r.events[0].strTitle, "a\xd6\xd0");
  EXPECT_EQ(r.events[0].strContent, "");
  EXPECT_EQ(r.events[0].timeCreate, 5);

  // The long length forms count 16-bit units too.
  std::string units;
  for (int i = 0; i < 300; ++i) units += Hex("41 00");
  std::string long_wide = Hex("01 00 ff ff 01 00 08 00") + "CMyEvent" + Hex("ff fe ff ff 2c 01") + units +
                          Hex("00 00 00 00 00 00 00 00 00 00 00 00 00");
  r = Read(long_wide);
  ASSERT_EQ(r.error, ArchiveError::kNone);
  EXPECT_EQ(r.events[0].strTitle, std::string(300, 'A'));
}

TEST(EventArchive, TextLengthsAreCheckedAgainstTheBytesThatRemain) {
  std::string head = Hex("01 00 ff ff 01 00 08 00") + "CMyEvent";
  EXPECT_EQ(Read(head + Hex("ff ff ff ff ff ff ff") + "abc").error, ArchiveError::kEndOfFile);
  EXPECT_EQ(Read(head + Hex("ff fe ff ff ff ff ff ff ff") + "abc").error, ArchiveError::kEndOfFile);
  EXPECT_EQ(Read(head + Hex("ff fe ff 02 61 00")).error, ArchiveError::kEndOfFile);  // odd half
  EXPECT_EQ(Read(head + Hex("ff fe ff ff fe ff")).error, ArchiveError::kBadIndex);   // marker twice
}

TEST(EventArchive, HugeCountReservesNothingTheBytesCannotHold) {
  ReadOutcome r = Read(Hex("ff ff ff ff ff ff") + kOneRecord.substr(2));
  EXPECT_EQ(r.error, ArchiveError::kEndOfFile);
  EXPECT_EQ(r.events.size(), 1u);
  EXPECT_LT(r.events.capacity(), 16u);
}

TEST(EventArchive, NumberLimitIsABadIndex) {
  EventVector v = ThreeRecords();
  std::string image = WriteEventArchive(v);
  // Class 1 and records 2 and 3 fit below 4; the third record would need number 4.
  ReadOutcome r = Read(image, 4);
  EXPECT_EQ(r.error, ArchiveError::kBadIndex);
  EXPECT_EQ(r.events.size(), 2u);
  EXPECT_EQ(Read(image, 5).error, ArchiveError::kNone);
  EXPECT_EQ(Read(image, 1).error, ArchiveError::kBadIndex);  // not even the class fits
}

TEST(EventArchive, MessagesNameTheFile) {
  const std::string path = "C:\\Tallyo\\event.dat";
  // "试图越过其尾端对 %1 进行读写。"
  EXPECT_EQ(ArchiveErrorMessage(ArchiveError::kEndOfFile, path),
            "\xca\xd4\xcd\xbc\xd4\xbd\xb9\xfd\xc6\xe4\xce\xb2\xb6\xcb\xb6\xd4 " + path +
                " \xbd\xf8\xd0\xd0\xb6\xc1\xd0\xb4\xa1\xa3");
  // "%1 格式错。"
  EXPECT_EQ(ArchiveErrorMessage(ArchiveError::kBadIndex, path), path + " \xb8\xf1\xca\xbd\xb4\xed\xa1\xa3");
  // "%1 含有非预期的对象。"
  EXPECT_EQ(ArchiveErrorMessage(ArchiveError::kBadClass, path),
            path + " \xba\xac\xd3\xd0\xb7\xc7\xd4\xa4\xc6\xda\xb5\xc4\xb6\xd4\xcf\xf3\xa1\xa3");
  // "%1 包含错误的模式。"
  EXPECT_EQ(ArchiveErrorMessage(ArchiveError::kBadSchema, path),
            path + " \xb0\xfc\xba\xac\xb4\xed\xce\xf3\xb5\xc4\xc4\xa3\xca\xbd\xa1\xa3");
  EXPECT_EQ(ArchiveErrorMessage(ArchiveError::kNone, path), "");
}
