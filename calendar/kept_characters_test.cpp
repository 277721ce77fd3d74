// An edit made in Tallyo, written back into the server's text: what the
// user did not touch keeps the characters code page 936 cannot hold.
#include "calendar/kept_characters.h"

#include <gtest/gtest.h>

namespace {

constexpr char kParty[] = "\xF0\x9F\x8E\x89";              // U+1F389, no character of code page 936
constexpr char kPizza[] = "\xF0\x9F\x8D\x95";              // U+1F355
constexpr char kMarker[] = "\xA1\xFE";                     // "〓"
constexpr char kLunchUtf8[] = "\xE5\x8D\x88\xE9\xA4\x90";  // "午餐"
constexpr char kLunch936[] = "\xCE\xE7\xB2\xCD";

TEST(ShownText, MarksWhatCodePage936CannotHoldAndShowsLineBreaksAsTallyoDoes) {
  EXPECT_EQ(ShownText(std::string(kParty) + " a " + kLunchUtf8, ShownAs::kTitle),
            std::string(kMarker) + " a " + kLunch936);
  EXPECT_EQ(ShownText("a\nb\r\nc\rd", ShownAs::kBody), "a\r\nb\r\nc\r\nd");
  EXPECT_EQ(ShownText("a\nb\r\nc", ShownAs::kTitle), "a b  c");
  EXPECT_EQ(ShownText("bad \xFF byte", ShownAs::kTitle), std::string("bad ") + kMarker + " byte");
}

TEST(KeptCharacters, KeepsTheOriginalWhereTheUserDidNotEdit) {
  const std::string original = std::string(kParty) + " lunch " + kLunchUtf8 + " " + kPizza;
  const std::string shown = ShownText(original, ShownAs::kTitle);
  struct Case {
    std::string wanted, expected;
  } cases[] = {
      // In the middle, at the start, at the end.
      {std::string(kMarker) + " dinner " + kLunch936 + " " + kMarker,
       std::string(kParty) + " dinner " + kLunchUtf8 + " " + kPizza},
      {std::string("Big ") + kMarker + " lunch " + kLunch936 + " " + kMarker,
       std::string("Big ") + kParty + " lunch " + kLunchUtf8 + " " + kPizza},
      {std::string(kMarker) + " lunch " + kLunch936 + " " + kMarker + "!",
       std::string(kParty) + " lunch " + kLunchUtf8 + " " + kPizza + "!"},
      // One of two marked characters deleted: the other keeps its own.
      {std::string(kMarker) + " lunch " + kLunch936 + " ",
       std::string(kParty) + " lunch " + kLunchUtf8 + " "},
      {std::string(" lunch ") + kLunch936 + " " + kMarker,
       std::string(" lunch ") + kLunchUtf8 + " " + kPizza},
      // The whole replaced; a marker the user typed stays a marker.
      {"x", "x"},
      {std::string("a") + kMarker + "b",
       "a\xE3\x80\x93"
       "b"},
      // What is left of the original, even a marker alone, is the original's.
      {kMarker, kParty},
      {"", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(KeptCharacters(original, shown, c.wanted, ShownAs::kTitle), c.expected) << c.wanted;
  }
}

TEST(KeptCharacters, NeverCutsADoubleByteCharacter) {
  // "午餐" to "午蓖": the texts end in the same trail byte, which is no
  // character of its own.
  EXPECT_EQ(KeptCharacters(kLunchUtf8, kLunch936, "\xCE\xE7\xB1\xCD", ShownAs::kTitle),
            "\xE5\x8D\x88\xE8\x93\x96");
}

TEST(KeptCharacters, BodyLineBreaksAreTheServersWhereKeptAndNewlinesWhereTyped) {
  const std::string original = std::string("Bring ") + kPizza + "\nand drinks";
  const std::string shown = ShownText(original, ShownAs::kBody);
  EXPECT_EQ(KeptCharacters(original, shown, std::string("Bring ") + kMarker + "\r\nand juice\r\nplease",
                           ShownAs::kBody),
            std::string("Bring ") + kPizza + "\nand juice\nplease");
}

TEST(KeptCharacters, ConvertsAllWhenTheServersTextIsNotWhatTallyoShowed) {
  EXPECT_EQ(KeptCharacters(kParty, "something else", std::string(kMarker) + "!", ShownAs::kTitle),
            "\xE3\x80\x93!");
}

}  // namespace
