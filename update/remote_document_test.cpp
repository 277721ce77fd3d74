#include "update/remote_document.h"

#include <gtest/gtest.h>
#include <tinyxml.h>

#include <string>

namespace {

struct Walked {
  bool has_root = false;
  RemoteValues values;
};

Walked Walk(const std::string& xml, RemoteValues start = {}) {
  TiXmlDocument document;
  document.Parse(xml.c_str());
  Walked walked;
  walked.values = std::move(start);
  walked.has_root = WalkRemoteDocument(document, walked.values);
  return walked;
}

const char kDeclaration[] = "<?xml version=\"1.0\" encoding=\"GB2312\"?>\n";

TEST(RemoteDocument, TakesTheFourValuesFromTheRootsChildren) {
  // "公告" (notice) in code page 936, used byte for byte.
  Walked w = Walk(std::string(kDeclaration) +
                  "<anyroot>\n"
                  "  <scrolltext>\xb9\xab\xb8\xe6~http://a.example/;B;</scrolltext>\n"
                  "  <adurl>http://ignored.example/</adurl>\n"
                  "  <version>121</version>\n"
                  "  <downurl>http://dl.example/setup.exe?a=1&amp;b=2</downurl>\n"
                  "  <textad>X~http://x.example/;Y</textad>\n"
                  "</anyroot>");
  ASSERT_TRUE(w.has_root);
  EXPECT_EQ(w.values.strScrollText, "\xb9\xab\xb8\xe6~http://a.example/;B;");
  EXPECT_EQ(w.values.nVersion, 121);
  EXPECT_EQ(w.values.strDownUrl, "http://dl.example/setup.exe?a=1&b=2");
  EXPECT_EQ(w.values.strTextAd, "X~http://x.example/;Y");
}

TEST(RemoteDocument, TheLastOccurrenceWins) {
  Walked w =
      Walk(std::string(kDeclaration) +
           "<c><version>130</version><downurl>a</downurl><version>121</version><downurl>b</downurl></c>");
  EXPECT_EQ(w.values.nVersion, 121);
  EXPECT_EQ(w.values.strDownUrl, "b");
}

TEST(RemoteDocument, NamesCompareExactly) {
  Walked w =
      Walk(std::string(kDeclaration) +
           "<c><Version>130</Version><VERSION>131</VERSION><version >125</version><scrollText>x</scrollText>"
           "<downurl2>y</downurl2></c>");
  EXPECT_EQ(w.values.nVersion, 125);
  EXPECT_EQ(w.values.strScrollText, "");
  EXPECT_EQ(w.values.strDownUrl, "");
}

TEST(RemoteDocument, AnEmptyElementLeavesItsFieldAsItWas) {
  RemoteValues start;
  start.strScrollText = "kept;";
  start.nVersion = 7;
  Walked w = Walk(
      std::string(kDeclaration) + "<c><scrolltext></scrolltext><version/><downurl>d</downurl><downurl/></c>",
      start);
  EXPECT_EQ(w.values.strScrollText, "kept;");
  EXPECT_EQ(w.values.nVersion, 7);
  EXPECT_EQ(w.values.strDownUrl, "d");
}

TEST(RemoteDocument, OnlyTheRootsDirectChildrenCount) {
  Walked w = Walk(std::string(kDeclaration) +
                  "<!-- before --><c a=\"1\"><group><version>150</version></group><textad>t</textad></c>"
                  "<second><version>160</version></second>");
  EXPECT_TRUE(w.has_root);
  EXPECT_EQ(w.values.nVersion, 0);
  EXPECT_EQ(w.values.strTextAd, "t");
}

TEST(RemoteDocument, TheValueIsThatOfTheFirstChildNode) {
  Walked w = Walk(std::string(kDeclaration) +
                  "<c><downurl><b>bold</b>after</downurl><textad>  two   words  </textad></c>");
  EXPECT_EQ(w.values.strDownUrl, "b");         // an element's value is its name
  EXPECT_EQ(w.values.strTextAd, "two words");  // the parser condenses white space
}

TEST(RemoteDocument, ReadsTheVersionLikeAtoi) {
  struct Case {
    const char* text;
    int version;
  };
  const Case cases[] = {{"121", 121},
                        {"1.21", 1},
                        {"121abc", 121},
                        {"abc", 0},
                        {"-5", -5},
                        {"+130", 130},
                        {"99999999999", 2147483647}};
  for (const Case& c : cases) {
    EXPECT_EQ(Walk(std::string(kDeclaration) + "<c><version>" + c.text + "</version></c>").values.nVersion,
              c.version)
        << c.text;
  }
}

TEST(RemoteDocument, NoRootElementMeansNothingWasLoaded) {
  RemoteValues start;
  start.nVersion = 3;
  Walked w = Walk(kDeclaration, start);
  EXPECT_FALSE(w.has_root);
  EXPECT_EQ(w.values.nVersion, 3);
  EXPECT_FALSE(Walk("").has_root);
  EXPECT_FALSE(Walk(std::string(kDeclaration) + "<!-- only a comment -->").has_root);
}

TEST(RemoteDocument, ARootWithoutChildrenLoadsEmptyValues) {
  Walked w = Walk(std::string(kDeclaration) + "<c>text only</c>");
  EXPECT_TRUE(w.has_root);
  EXPECT_EQ(w.values.nVersion, 0);
  EXPECT_EQ(w.values.strScrollText, "");
}

}  // namespace
