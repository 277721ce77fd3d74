#include "caldav/xml_tree.h"

#include <gtest/gtest.h>

namespace {
std::string ErrorOf(std::string_view text, const XmlLimits& limits = {}) {
  std::string error;
  std::optional<XmlElement> root = ReadXml(text, &error, limits);
  EXPECT_FALSE(root) << text.substr(0, 80);
  return error;
}
}  // namespace

TEST(XmlTree, ResolvesWhateverPrefixTheServerChose) {
  for (const char* text : {
           "<D:multistatus xmlns:D=\"DAV:\"><D:response/></D:multistatus>",
           "<d:multistatus xmlns:d='DAV:'><d:response></d:response></d:multistatus>",
           "<multistatus xmlns=\"DAV:\"><response/></multistatus>",
           "<x:multistatus xmlns:x=\"DAV:\" xmlns=\"other\"><x:response/></x:multistatus>",
           "<multistatus xmlns=\"DAV:\"><a:response xmlns:a=\"DAV:\"/></multistatus>",
       }) {
    std::string error;
    std::optional<XmlElement> root = ReadXml(text, &error);
    ASSERT_TRUE(root) << text << ": " << error;
    EXPECT_TRUE(root->Is("DAV:", "multistatus")) << text;
    ASSERT_EQ(root->children.size(), 1u) << text;
    EXPECT_TRUE(root->children[0].Is("DAV:", "response")) << text;
  }
  // A declaration holds inside its element only; an undeclared prefix matches no namespace.
  std::optional<XmlElement> root = ReadXml("<r><a xmlns='DAV:'><b/></a><c/><u:d/></r>", nullptr);
  ASSERT_TRUE(root);
  EXPECT_EQ(root->ns, "");
  EXPECT_EQ(root->children[0].children[0].ns, "DAV:");
  EXPECT_EQ(root->children[1].ns, "");
  EXPECT_EQ(root->children[2].ns, "");
  EXPECT_EQ(root->children[2].name, "d");
}

TEST(XmlTree, KeepsCalendarDataExactly) {
  std::string text =
      "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<!-- c --><C:calendar-data "
      "xmlns:C=\"x\">BEGIN:VCALENDAR\r\n"
      "SUMMARY:a &amp; b &lt;c&gt; &#20013;&#x6587; &quot;q&apos;\r\n  folded\r\n<![CDATA[raw <b> & "
      "]]>END&#13;&#10;"
      "</C:calendar-data>\n";
  std::string error;
  std::optional<XmlElement> root = ReadXml(text, &error);
  ASSERT_TRUE(root) << error;
  EXPECT_EQ(
      root->text,
      "BEGIN:VCALENDAR\r\nSUMMARY:a & b <c> \xE4\xB8\xAD\xE6\x96\x87 \"q'\r\n  folded\r\nraw <b> & END\r\n");
  EXPECT_EQ(ReadXml("\xEF\xBB\xBF<a k='v&amp;w' p:x=\"1\"/>", nullptr)->Attribute("k"), "v&w");
  EXPECT_EQ(ReadXml("<a p:x=\"1\"/>", nullptr)->Attribute("p:x"), "1");
}

TEST(XmlTree, RefusesMalformedAndHostileDocuments) {
  EXPECT_NE(ErrorOf("").find("no root"), std::string::npos);
  EXPECT_NE(ErrorOf("<a><b></a>").find("does not end"), std::string::npos);
  EXPECT_NE(ErrorOf("<a><b>").find("ends inside <b>"), std::string::npos);
  EXPECT_NE(ErrorOf("<a/><b/>").find("second root"), std::string::npos);
  EXPECT_NE(ErrorOf("text<a/>").find("outside"), std::string::npos);
  EXPECT_NE(ErrorOf("<!DOCTYPE a [<!ENTITY x \"xx\">]><a>&x;</a>").find("document type"), std::string::npos);
  EXPECT_NE(ErrorOf("<a>&x;</a>").find("entity"), std::string::npos);
  EXPECT_NE(ErrorOf("<a>&#0;</a>").find("entity"), std::string::npos);
  EXPECT_NE(ErrorOf("<a>&#xD800;</a>").find("entity"), std::string::npos);
  EXPECT_NE(ErrorOf("<a>&#x110000;</a>").find("entity"), std::string::npos);
  EXPECT_NE(ErrorOf("<a>&amp</a>").find("entity"), std::string::npos);
  EXPECT_NE(ErrorOf(std::string_view("<a>\0</a>", 8)).find("zero byte"), std::string::npos);
  EXPECT_NE(ErrorOf("<a k=v/>").find("quoted"), std::string::npos);
  EXPECT_NE(ErrorOf("<a k='<'/>").find("'<'"), std::string::npos);
  EXPECT_NE(ErrorOf("<a k='1'j='2'/>").find("space"), std::string::npos);
  EXPECT_NE(ErrorOf("<a><!-- never ends</a>").find("comment"), std::string::npos);
  EXPECT_NE(ErrorOf("<a><![CDATA[ never ends</a>").find("CDATA"), std::string::npos);
  EXPECT_NE(ErrorOf("<1a/>").find("name"), std::string::npos);
  EXPECT_NE(ErrorOf("</a>").find("without a start"), std::string::npos);
  EXPECT_NE(ErrorOf("<a").find("ends inside"), std::string::npos);
}

TEST(XmlTree, EnforcesItsLimitsAtTheirEdges) {
  XmlLimits limits;
  limits.max_depth = 5;
  limits.max_elements = 10;
  limits.max_bytes = 200;
  EXPECT_TRUE(ReadXml("<a><a><a><a><a/></a></a></a></a>", nullptr, limits));
  EXPECT_NE(ErrorOf("<a><a><a><a><a><a/></a></a></a></a></a>", limits).find("deeper than 5"),
            std::string::npos);
  EXPECT_TRUE(ReadXml("<a><b/><b/><b/><b/><b/><b/><b/><b/><b/></a>", nullptr, limits));
  EXPECT_NE(ErrorOf("<a><b/><b/><b/><b/><b/><b/><b/><b/><b/><b/></a>", limits).find("more than 10"),
            std::string::npos);
  EXPECT_TRUE(ReadXml("<a>" + std::string(193, 'x') + "</a>", nullptr, limits));
  EXPECT_NE(ErrorOf("<a>" + std::string(194, 'x') + "</a>", limits).find("larger than 200"),
            std::string::npos);

  // A nesting far deeper than any stack could take is refused, not recursed into.
  std::string deep;
  for (int i = 0; i < 1'000'000; ++i) deep += "<a>";
  EXPECT_NE(ErrorOf(deep).find("deeper than 64"), std::string::npos);
}

TEST(XmlTree, EscapesTextForRequestBodies) {
  EXPECT_EQ(EscapeXml("a&b<c>\"d'\xE4"), "a&amp;b&lt;c&gt;&quot;d&apos;\xE4");
  std::optional<XmlElement> back = ReadXml("<t>" + EscapeXml("x&<>\"'y") + "</t>", nullptr);
  EXPECT_EQ(back->text, "x&<>\"'y");
}
