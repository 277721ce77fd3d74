#include "update/http_response.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace {

TEST(HttpResponse, FindsTheXmlDeclarationAnywhere) {
  HttpResponseCheck check =
      CheckHttpResponse("HTTP/1.0 200 OK\r\nX-Note: <?xml\r\n\r\n<?xml version=\"1.0\"?>");
  EXPECT_EQ(check.xml_offset, 25u);  // the first one, in a header
  EXPECT_EQ(check.xml_bytes, 30u);
  EXPECT_FALSE(CheckHttpResponse("HTTP/1.0 200 OK\r\n\r\n<html></html>").has_xml());
  EXPECT_FALSE(CheckHttpResponse("").has_xml());
  EXPECT_FALSE(CheckHttpResponse("<?XML version=\"1.0\"?>").has_xml());
}

TEST(HttpResponse, ReadsTheDeclaredLengthSixteenCharactersOn) {
  struct Case {
    const char* header;
    int declared;
  };
  const Case cases[] = {
      {"Content-Length: 120\r\n", 120},
      {"Content-Length:120\r\n", 20},  // the first digit is taken for the blank
      {"Content-Length:  120\r\n", 120},
      {"Content-Length: \t120\r\n", 120},
      {"Content-Length: +7\r\n", 7},
      {"Content-Length: -7\r\n", -7},
      {"Content-Length: 12ab\r\n", 12},
      {"Content-Length: ab\r\n", 0},
      {"Content-Length: \r\n", 0},
      {"Content-Length: 99999999999999999999\r\n", INT_MAX},
      {"Content-Length: -99999999999999999999\r\n", INT_MIN},
      {"content-length: 120\r\n", 0},
      {"CONTENT-LENGTH: 120\r\n", 0},
      {"Content-Length : 120\r\n", 0},
      {"X-Content-Length: 5\r\nContent-Length: 120\r\n", 5},  // the first occurrence counts
      {"Content-Length:", 0},                                 // at the very end of the text
      {"Content-Length: ", 0},
      {"Content-Length: 9", 9},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CheckHttpResponse(c.header).declared_length, c.declared) << c.header;
  }
}

TEST(HttpResponse, LengthAgreesWithinThreeBytesEitherWay) {
  for (int body = 110; body <= 130; ++body) {
    std::string response = "HTTP/1.0 200 OK\r\nContent-Length: 120\r\n\r\n<?xml";
    response.append(static_cast<std::size_t>(body) - 5, ' ');
    HttpResponseCheck check = CheckHttpResponse(response);
    ASSERT_EQ(check.xml_bytes, static_cast<std::size_t>(body));
    EXPECT_EQ(check.length_agrees(), body >= 117 && body <= 123) << body;
  }
}

TEST(HttpResponse, ExtremeDeclaredLengthsNeverAgreeByOverflow) {
  HttpResponseCheck check;
  check.xml_offset = 0;
  check.xml_bytes = 5;
  check.declared_length = INT_MIN;
  EXPECT_FALSE(check.length_agrees());
  check.declared_length = INT_MAX;
  EXPECT_FALSE(check.length_agrees());
  check.declared_length = 2;
  EXPECT_TRUE(check.length_agrees());
  check.declared_length = 1;
  EXPECT_FALSE(check.length_agrees());
}

}  // namespace
