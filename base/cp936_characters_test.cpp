// The table's two writers against the plain conversion, on heap buffers of
// exactly the room they state, so the address sanitizer catches a write past it.
#include "base/cp936_characters.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>

#include "base/cp936.h"
#include "base/testing/exact_room.h"
#include "base/text_convert.h"

namespace {

using testing_room::Repeated;
using testing_room::WrittenInto;

using Table = Cp936Characters::Table;

// Pieces whose UTF-8 is as long as their bytes, longer by half, or shorter
// by a third ("à" is A8 A4, two bytes in UTF-8 as in code page 936).
const std::string kPieces[] = {"a",        "Hello, ", "\xCC\xE1\xD0\xD1", "\xBA\xBA", "\x81\x40",
                               "\xA8\xA4", "\r\n"};

std::string RandomText(std::mt19937& rng, std::size_t size) {
  std::string text;
  while (text.size() < size) text += kPieces[rng() % std::size(kPieces)];
  return text;
}

}  // namespace

TEST(Cp936Characters, PutKnownStaysWithinItsRoomAndItsSpare) {
  Cp936Characters characters;
  const Table table = characters.table();
  std::vector<std::string> texts;
  for (std::size_t times = 0; times <= 40; ++times) {
    for (const std::string& piece : kPieces) texts.push_back(Repeated(piece, times));
    texts.push_back(Repeated("a", times) + "\xBA\xBA");  // the last character after eight-byte steps
  }
  std::mt19937 rng(23);
  for (int i = 0; i < 3000; ++i) texts.push_back(RandomText(rng, rng() % 90));
  for (const std::string& text : texts) {
    const std::string expected = cp936::ToUtf8(text);
    auto put = [&](char* at) { return table.PutKnown(text, at); };
    ASSERT_EQ(WrittenInto(Table::KnownRoom(text.size()), put), expected) << text;
    ASSERT_EQ(WrittenInto(expected.size() + Table::kSpare, put), expected) << text;
    // A byte that is no character, anywhere: refused, within the room all the same.
    // (A lead byte is none either at the very end.)
    for (const char* bad : {"\xFF", "\x80", "\xBA"}) {
      const bool at_end = bad[0] == '\xBA' || text.size() % 3 == 0;
      std::size_t half = 0;
      while (half < text.size() / 2) half += cp936::CharLength(text, half);
      const std::string broken = text.substr(0, half) + bad + (at_end ? "" : "abcdefghij");
      auto put_broken = [&](char* at) { return table.PutKnown(broken, at); };
      ASSERT_EQ(WrittenInto(Table::KnownRoom(broken.size()), put_broken), "(refused)") << broken;
    }
  }
}

TEST(Cp936Characters, PutRunStaysWithinItsSpare) {
  Cp936Characters characters;
  const Table table = characters.table();
  for (const std::string piece : {"\xBA\xBA", "\xA8\xA4", "\xCC\xE1\xD0\xD1\xA8\xA4"}) {
    for (std::size_t times = 1; times <= 20; ++times) {
      const std::string text = Repeated(piece, times);
      const std::string expected = cp936::ToUtf8(text);
      std::size_t i = 0;
      auto put = [&](char* at) {
        i = 0;
        return table.PutRun(text.data(), text.size(), &i, at);
      };
      ASSERT_EQ(WrittenInto(expected.size() + Table::kSpare, put), expected) << times;
      EXPECT_EQ(i, text.size());
    }
  }
  // A run stops before ASCII and refuses a lead byte at the end.
  const std::string mixed =
      "\xBA\xBA"
      "a\xBA";
  std::size_t i = 0;
  EXPECT_EQ(WrittenInto(3 + Table::kSpare, [&](char* at) { return table.PutRun(mixed.data(), 3, &i, at); }),
            "\xE6\xB1\x89");
  EXPECT_EQ(i, 2u);
  i = 3;
  EXPECT_EQ(WrittenInto(8, [&](char* at) { return table.PutRun(mixed.data(), 4, &i, at); }), "(refused)");
}
