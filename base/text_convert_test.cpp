#include "base/text_convert.h"

#include <gtest/gtest.h>

#include <random>

#ifndef _WIN32
#include <errno.h>
#include <iconv.h>
#endif

TEST(TextConvert, Utf8RoundTrip) {
  // "提醒" in UTF-8 and in code page 936.
  const std::string utf8 = "\xE6\x8F\x90\xE9\x86\x92 ok";
  const std::string gbk = "\xCC\xE1\xD0\xD1 ok";
  ASSERT_EQ(cp936::FromUtf8(utf8), gbk);
  EXPECT_EQ(cp936::ToUtf8(gbk), utf8);
  EXPECT_EQ(cp936::FromUtf8(""), "");
}

TEST(TextConvert, RefusesWhatCodePage936CannotHold) {
  EXPECT_EQ(cp936::FromUtf8("\xF0\x9F\x98\x80"), std::nullopt);  // an emoji
  EXPECT_EQ(cp936::FromUtf8("\xC3\x28"), std::nullopt);          // invalid UTF-8
}

TEST(TextConvert, InvalidCodePage936StillGivesValidUtf8) {
  // Natively U+FFFD; Windows maps the byte to a private-use character. Either
  // way the neighbours survive and the output is valid UTF-8.
  std::string out = cp936::ToUtf8(
      "a\xFF"
      "b");
  ASSERT_EQ(out.size(), 5u);
  EXPECT_EQ(out.front(), 'a');
  EXPECT_EQ(out.back(), 'b');
  EXPECT_EQ(static_cast<unsigned char>(out[1]), 0xEF);
}

TEST(TextConvert, Utf16) {
  EXPECT_EQ(cp936::FromUtf16(u"\u63D0\u9192x"), "\xCC\xE1\xD0\xD1x");
  EXPECT_EQ(cp936::ToUtf16("\xCC\xE1\xD0\xD1x"), u"\u63D0\u9192x");
  EXPECT_EQ(cp936::FromUtf16(u"a\U0001F600b"), "a?b");
}

TEST(TextConvert, EachConversionStartsAfreshWhateverTheLastOneLeft) {
  // A lead byte cut off at the end, then an invalid byte, then text that must
  // convert as if nothing had come before (the descriptors are reused).
  EXPECT_FALSE(cp936::ToUtf8("\xCC").empty());  // U+FFFD natively; Windows has its own mark
  EXPECT_EQ(cp936::ToUtf8("\xFF"), cp936::ToUtf8("\xFF"));
  EXPECT_EQ(cp936::ToUtf8("\xCC\xE1\xD0\xD1"), "\xE6\x8F\x90\xE9\x86\x92");
  std::string appended = "x";
  cp936::AppendUtf8("\xCC\xE1\xD0\xD1", &appended);
  cp936::AppendUtf8("ok", &appended);
  EXPECT_EQ(appended, "x\xE6\x8F\x90\xE9\x86\x92ok");
  EXPECT_EQ(cp936::FromUtf8("plain ascii\t\r\n"), "plain ascii\t\r\n");
}

TEST(TextConvert, AppendingGivesWhatToUtf8GivesTextAfterText) {
  // Reused across texts, including ones that end inside a character or hold
  // bytes that are not code page 936, so a fault must not leak into the next text.
  const std::string texts[] = {
      "",
      "plain ASCII, 100%",
      "\xCC\xE1\xD0\xD1 ok",  // "提醒 ok"
      "a\xFF!b",
      "cut \xCC",
      "\x81\nafter",  // a lead byte before a line feed
      "\xCC\xE1\xD0\xD1",
  };
  for (int round = 0; round < 2; ++round) {
    for (const std::string& text : texts) {
      std::string out;
      cp936::AppendUtf8(text, &out);
      EXPECT_EQ(out, cp936::ToUtf8(text)) << text;
    }
  }
}

#ifndef _WIN32
namespace {

// Code page 936 to UTF-8 in one plain trip through iconv, each byte that is
// no character replaced by U+FFFD: what the conversion must give.
class IconvReference {
 public:
  IconvReference() : cd_(iconv_open("UTF-8", "CP936")) { EXPECT_NE(cd_, reinterpret_cast<iconv_t>(-1)); }
  ~IconvReference() { iconv_close(cd_); }
  IconvReference(const IconvReference&) = delete;
  IconvReference& operator=(const IconvReference&) = delete;

  std::string operator()(const std::string& text) const {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    std::string out;
    char* src = const_cast<char*>(text.data());
    std::size_t left = text.size();
    while (left > 0) {
      char buffer[64];
      char* dst = buffer;
      std::size_t room = sizeof buffer;
      std::size_t rc = iconv(cd_, &src, &left, &dst, &room);
      out.append(buffer, dst - buffer);
      if (rc == static_cast<std::size_t>(-1) && errno != E2BIG) {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        out.append("\xEF\xBF\xBD");
        ++src;
        --left;
      }
    }
    return out;
  }

 private:
  iconv_t cd_;
};

}  // namespace
#endif

#ifndef _WIN32
// Every double-byte character, and every pair that is none, converts exactly
// as one trip through iconv converts it, between ASCII and after a cut text.
TEST(TextConvert, EveryPairAsIconvGivesIt) {
  IconvReference by_iconv;
  for (int lead = 0x80; lead <= 0xFF; ++lead) {
    for (int trail = 0x30; trail <= 0xFF; ++trail) {
      const std::string text = std::string("a") + static_cast<char>(lead) + static_cast<char>(trail) + "b";
      ASSERT_EQ(cp936::ToUtf8(text), by_iconv(text)) << std::hex << lead << " " << trail;
    }
    const std::string cut = std::string("x") + static_cast<char>(lead);
    ASSERT_EQ(cp936::ToUtf8(cut), by_iconv(cut)) << std::hex << lead;
  }
}
#endif

#ifndef _WIN32
// Mixed Latin and Chinese texts of every length, with a byte that is no
// character at every place: the eight-byte steps over ASCII and the table of
// characters give exactly what one trip through iconv gives.
TEST(TextConvert, MixedTextsOfEveryLengthAsIconvGivesThem) {
  IconvReference by_iconv;
  const std::string pieces[] = {"a",        "Hello, ", "\xCC\xE1\xD0\xD1", "\xBA\xBA", "\x81\x40",
                                "\xFE\xFE", "\r\n"};
  std::mt19937 rng(17);
  for (int i = 0; i < 4000; ++i) {
    std::string text;
    const std::size_t size = rng() % 70;
    while (text.size() < size) text += pieces[rng() % std::size(pieces)];
    if (i % 3 == 0) text.insert(rng() % (text.size() + 1), 1, "\xFF\x80\x81\xA1"[rng() % 4]);
    std::string out = "x";
    cp936::AppendUtf8(text, &out);
    ASSERT_EQ(out, std::string("x").append(by_iconv(text))) << text;
  }
}
#endif
