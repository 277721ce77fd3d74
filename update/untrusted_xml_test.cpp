#include "update/untrusted_xml.h"

#include <gtest/gtest.h>
#include <tinyxml.h>

#include <string>

namespace {

TEST(UntrustedXml, CountsTheElementStartsTheParserWouldSee) {
  EXPECT_EQ(CountXmlElementStarts(""), 0u);
  EXPECT_EQ(CountXmlElementStarts("<?xml version=\"1.0\"?><a><b/>x</a><!-- c --><![CDATA[<]]>"), 2u);
  EXPECT_EQ(CountXmlElementStarts("<_a><Z><1><\xb0\xa1><\x7f></Z><"), 4u);
  EXPECT_EQ(CountXmlElementStarts("< a>< /a>"), 0u);
  std::string deep;
  for (int i = 0; i < 1001; ++i) deep += "<a>";
  EXPECT_EQ(CountXmlElementStarts(deep), 1001u);
}

TEST(UntrustedXml, RefusesTooManyElementStarts) {
  std::string flat = "<?xml version=\"1.0\"?><r>";
  for (std::size_t i = 1; i < kMaxXmlElementStarts; ++i) flat += "<a/>";
  flat += "</r>";
  TiXmlDocument document;
  ASSERT_TRUE(ParseUntrustedXml(document, flat));
  EXPECT_NE(document.FirstChildElement("r"), nullptr);
  flat.insert(flat.size() - 4, "<a/>");
  TiXmlDocument refused;
  EXPECT_FALSE(ParseUntrustedXml(refused, flat));
  EXPECT_EQ(refused.FirstChild(), nullptr);
}

TEST(UntrustedXml, NothingBeyondTheTextIsRead) {
  // Read as UTF-8, the lead byte 0xD5 before the end makes the parser step
  // two bytes, past the end of the text: here onto "<b>", which must not
  // become part of the tree.
  const char bytes[] = "<?xml version=\"1.0\"?><a>e\xd5\0<b>x</b></a>";
  std::string_view text(bytes, sizeof bytes - 1);
  for (std::string_view view : {text, text.substr(0, text.find('\0'))}) {
    TiXmlDocument document;
    ASSERT_TRUE(ParseUntrustedXml(document, view));
    const TiXmlElement* a = document.FirstChildElement("a");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->FirstChildElement("b"), nullptr);
  }
}

}  // namespace
