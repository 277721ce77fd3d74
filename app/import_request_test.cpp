#include "app/import_request.h"

#include <gtest/gtest.h>

namespace {

// "日历" in code page 936; its second byte is 0xFA, a trail byte; and "表",
// whose trail byte is '\\' (0x5C), the separator.
const char kCalendar[] = "\xc8\xd5\xc0\xfa";
const char kTable[] = "\xb1\xed";
const char kTrailBackslash[] = "\x95\x5c";  // "昞": a double-byte character ending in 0x5C

TEST(ImportRequest, TheArgumentNamesAFileUnlessItIsHideOrNothing) {
  EXPECT_EQ(FileOfArguments("D:\\work.ics"), "D:\\work.ics");
  EXPECT_EQ(FileOfArguments("\"D:\\My Files\\work.ics\""), "D:\\My Files\\work.ics");
  EXPECT_EQ(FileOfArguments("  \"C:\\a b.ics\"  "), "C:\\a b.ics");
  EXPECT_EQ(FileOfArguments(std::string("D:\\") + kCalendar + ".ics"),
            std::string("D:\\") + kCalendar + ".ics");
  EXPECT_EQ(FileOfArguments(""), std::nullopt);
  EXPECT_EQ(FileOfArguments("   "), std::nullopt);
  EXPECT_EQ(FileOfArguments("\"\""), std::nullopt);
  EXPECT_EQ(FileOfArguments("hide"), std::nullopt);
  EXPECT_EQ(FileOfArguments("HIDE"), std::nullopt);
  EXPECT_EQ(FileOfArguments("hide.ics"), "hide.ics");
}

TEST(ImportRequest, APathWithAQuestionMarkLostCharacters) {
  EXPECT_TRUE(PathLostCharacters("D:\\??.ics"));
  EXPECT_FALSE(PathLostCharacters(std::string("D:\\") + kCalendar + kTable + ".ics"));
}

TEST(ImportRequest, NameAndFolderSplitAtTheLastSeparatorNotAtATrailByte) {
  EXPECT_EQ(FileNameOf("D:\\cal\\work.ics"), "work.ics");
  EXPECT_EQ(FolderOf("D:\\cal\\work.ics"), "D:\\cal");
  EXPECT_EQ(FileNameOf("/tmp/x/work.ics"), "work.ics");
  EXPECT_EQ(FileNameOf("work.ics"), "work.ics");
  EXPECT_EQ(FolderOf("work.ics"), "");
  const std::string tricky = std::string("D:\\a\\") + kTrailBackslash + ".ics";
  EXPECT_EQ(FileNameOf(tricky), std::string(kTrailBackslash) + ".ics");
  EXPECT_EQ(FolderOf(tricky), "D:\\a");
}

TEST(ImportRequest, TheHandOverCarriesFolderAndFileAndNothingElseReadsAsOne) {
  const std::string folder = std::string("D:\\") + kCalendar;
  const std::string text = HandOverText(folder, "E:\\in\\work.ics");
  std::string read_folder, read_file;
  ASSERT_TRUE(ReadHandOver(text, &read_folder, &read_file));
  EXPECT_EQ(read_folder, folder);
  EXPECT_EQ(read_file, "E:\\in\\work.ics");

  for (std::string bad : {std::string(), std::string("tallyo-import"), std::string("other\0D:\\\0f", 11),
                          HandOverText("D:\\", ""), HandOverText("D:\\", "f") + std::string(1, '\0') + "g",
                          text.substr(0, text.size() - 15)}) {
    EXPECT_FALSE(ReadHandOver(bad, &read_folder, &read_file)) << bad;
  }
}

TEST(ImportRequest, FoldersCompareAsWindowsSeesThem) {
  EXPECT_TRUE(SameFolder("D:\\Tallyo", "d:\\tallyo\\"));
  EXPECT_TRUE(SameFolder("Z:/tmp/x", "Z:\\TMP\\X"));
  EXPECT_FALSE(SameFolder("D:\\Tallyo", "D:\\Tallyo2"));
  // Only A to Z fold: the trail bytes of double-byte characters stay as they are.
  EXPECT_FALSE(SameFolder(std::string("D:\\") + "\xb1\x61", std::string("D:\\") + "\xb1\x41"));
}

}  // namespace
