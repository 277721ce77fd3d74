// libical's built-in zones as the Windows build's libical reads them: through
// the file calls of libical_file_hooks.h, line by line.
#include "ical/builtin_zone_files.h"

#include "ical/libical_file_hooks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>

namespace tallyo {
namespace {

std::string InFolder(const std::string& name) { return std::string(kBuiltinZoneFolder) + "/" + name; }

// The whole file through the hooks, with fgets buffers of `size` bytes.
std::string ReadThroughHooks(const std::string& name, int size, int* calls) {
  FILE* file = tallyo_zone_fopen(InFolder(name).c_str(), "r");
  EXPECT_NE(file, nullptr) << name;
  if (!file) return "";
  std::string text, buffer(size, 'x');
  *calls = 0;
  while (tallyo_zone_fgets(buffer.data(), size, file)) {
    std::string piece = buffer.c_str();
    EXPECT_LE(piece.size(), static_cast<std::size_t>(size - 1));
    // A piece ends at the end of a line, of the buffer or of the file.
    EXPECT_TRUE(piece.back() == '\n' || piece.size() == static_cast<std::size_t>(size - 1) ||
                text.size() + piece.size() == FindBuiltinZoneFile(InFolder(name))->size);
    text += piece;
    ++*calls;
  }
  EXPECT_EQ(tallyo_zone_fgets(buffer.data(), size, file), nullptr);  // still at the end
  EXPECT_EQ(tallyo_zone_fclose(file), 0);
  return text;
}

TEST(BuiltinZoneFiles, AreFoundByTheirPathInTheBuiltInFolderOnly) {
  const BuiltinZoneFile* shanghai = FindBuiltinZoneFile(InFolder("Asia/Shanghai.ics"));
  ASSERT_NE(shanghai, nullptr);
  EXPECT_STREQ(shanghai->name, "Asia/Shanghai.ics");
  EXPECT_NE(std::string(shanghai->text, shanghai->size).find("X-LIC-LOCATION:Asia/Shanghai\n"),
            std::string::npos);
  EXPECT_NE(FindBuiltinZoneFile(InFolder("zones.tab")), nullptr);
  EXPECT_NE(FindBuiltinZoneFile(InFolder("America/Argentina/Buenos_Aires.ics")), nullptr);

  EXPECT_EQ(FindBuiltinZoneFile(InFolder("Asia/Shanghai")), nullptr);
  EXPECT_EQ(FindBuiltinZoneFile(InFolder("asia/shanghai.ics")), nullptr);
  EXPECT_EQ(FindBuiltinZoneFile(InFolder("")), nullptr);
  EXPECT_EQ(FindBuiltinZoneFile(kBuiltinZoneFolder), nullptr);
  EXPECT_EQ(FindBuiltinZoneFile(std::string(kBuiltinZoneFolder) + "Asia/Shanghai.ics"), nullptr);
  EXPECT_EQ(FindBuiltinZoneFile("/usr/share/libical/zoneinfo/Asia/Shanghai.ics"), nullptr);
}

TEST(BuiltinZoneFiles, HoldAFileForEveryZoneTheTableLists) {
  const BuiltinZoneFile* table = FindBuiltinZoneFile(InFolder("zones.tab"));
  ASSERT_NE(table, nullptr);
  std::istringstream lines(std::string(table->text, table->size));
  int zones = 0;
  for (std::string line; std::getline(lines, line);) {
    std::string location = line.substr(line.find_last_of(' ') + 1);
    EXPECT_NE(FindBuiltinZoneFile(InFolder(location + ".ics")), nullptr) << location;
    ++zones;
  }
  EXPECT_GT(zones, 400);
  EXPECT_EQ(kBuiltinZoneFileCount, static_cast<std::size_t>(zones) + 1);
}

TEST(BuiltinZoneFiles, ReadLineByLineAsFgetsReadsAFile) {
  for (const char* name : {"zones.tab", "America/New_York.ics"}) {
    const BuiltinZoneFile* file = FindBuiltinZoneFile(InFolder(name));
    ASSERT_NE(file, nullptr);
    const std::string whole(file->text, file->size);
    const auto lines = static_cast<int>(std::count(whole.begin(), whole.end(), '\n'));
    int calls = 0;
    // libical's own buffer (1024): one call a line.
    EXPECT_EQ(ReadThroughHooks(name, 1024, &calls), whole) << name;
    EXPECT_EQ(calls, lines) << name;
    // Buffers shorter than a line, down to one byte for the text and its end.
    for (int size : {2, 3, 7, 16}) {
      EXPECT_EQ(ReadThroughHooks(name, size, &calls), whole) << name << " " << size;
      EXPECT_GE(calls, static_cast<int>(whole.size()) / (size - 1)) << name << " " << size;
    }
  }
}

TEST(BuiltinZoneFiles, AnyOtherPathIsLeftToTheCLibrary) {
  EXPECT_EQ(tallyo_zone_fopen(InFolder("Nowhere/Atlantis.ics").c_str(), "r"), nullptr);
  EXPECT_EQ(tallyo_zone_fopen("no-such-folder-here/zones.tab", "r"), nullptr);
}

}  // namespace
}  // namespace tallyo
