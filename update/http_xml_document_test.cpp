// LoadHttpXml against a real server on 127.0.0.1.
#include "update/http_xml_document.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <string>

#include "base/testing/test_socket.h"
#include "update/testing/loopback_http_server.h"

namespace {

using Ending = LoopbackHttpServer::Ending;

struct Outcome {
  bool ok = false;
  std::string diagnostics;  // without the "recv: n bytes" lines
  long received = 0;        // sum of the counts of the "recv:" lines
  int reads = 0;
};

Outcome Load(HttpXmlDocument& document, const std::string& url, int port) {
  std::string log;
  document.SetDiagnosticSink([&log](std::string_view line) { log.append(line); });
  Outcome outcome;
  outcome.ok = document.LoadHttpXml(url.c_str(), port);
  for (std::size_t start = 0; start < log.size();) {
    std::size_t end = log.find('\n', start);
    end = end == std::string::npos ? log.size() : end + 1;
    std::string line = log.substr(start, end - start);
    if (line.rfind("recv: ", 0) == 0) {
      EXPECT_EQ(line.substr(line.size() - 7), " bytes\n") << line;
      long n = std::atol(line.c_str() + 6);
      EXPECT_GT(n, 0);
      EXPECT_LE(n, HttpXmlDocument::kReadSize);
      outcome.received += n;
      ++outcome.reads;
    } else {
      outcome.diagnostics += line;
    }
    start = end;
  }
  return outcome;
}

// An XML document of exactly `size` bytes (at least 64) with root "config".
std::string XmlBody(std::size_t size, const std::string& root = "config") {
  std::string head = "<?xml version=\"1.0\" encoding=\"GB2312\"?>\n<" + root + "><version>121</version>";
  std::string tail = "</" + root + ">";
  return head + std::string(size - head.size() - tail.size(), ' ') + tail;
}

std::string RootName(const HttpXmlDocument& document) {
  const TiXmlElement* root = document.FirstChildElement();
  return root ? root->Value() : "";
}

int TopLevelNodes(const HttpXmlDocument& document) {
  int count = 0;
  for (const TiXmlNode* node = document.FirstChild(); node; node = node->NextSibling()) ++count;
  return count;
}

const char kStart[] = "start load xml..\n";
const char kNotXml[] = "start load xml..\nthis is not a legal xml file \n";

TEST(HttpXmlDocument, SendsExactlyTheRequestLine) {
  LoopbackHttpServer server(HttpResponse(XmlBody(120)));
  HttpXmlDocument document;
  const std::string urls[] = {
      server.Url("/software/config/QXR_Vadududi_config.xml"),
      server.Url("/a b?x=1&y=\xb0\xa1#frag"),
      "HTTP://127.0.0.1/",
  };
  for (const std::string& url : urls) ASSERT_TRUE(Load(document, url, server.port()).ok) << url;
  std::vector<std::string> requests = server.requests();
  ASSERT_EQ(requests.size(), 3u);
  for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(requests[i], "GET " + urls[i] + " HTTP/1.0\r\n\r\n");
}

TEST(HttpXmlDocument, AcceptsAWholeDocumentAndParsesIt) {
  std::string response = HttpResponse(XmlBody(120));
  LoopbackHttpServer server(response);
  HttpXmlDocument document;
  Outcome outcome = Load(document, server.Url(), server.port());
  EXPECT_TRUE(outcome.ok);
  EXPECT_TRUE(document.bComplete);
  EXPECT_EQ(outcome.diagnostics, kStart);
  EXPECT_EQ(outcome.received, static_cast<long>(response.size()));
  EXPECT_EQ(RootName(document), "config");
  EXPECT_FALSE(document.Error());
}

TEST(HttpXmlDocument, ToleratesThreeBytesOfDifferenceInContentLength) {
  LoopbackHttpServer server({{HttpResponse(XmlBody(116), 120)},
                             {HttpResponse(XmlBody(117), 120)},
                             {HttpResponse(XmlBody(120), 120)},
                             {HttpResponse(XmlBody(123), 120)},
                             {HttpResponse(XmlBody(124), 120)}});
  const std::size_t sizes[] = {116, 117, 120, 123, 124};
  for (std::size_t size : sizes) {
    HttpXmlDocument document;
    Outcome outcome = Load(document, server.Url(), server.port());
    bool expected = size >= 117 && size <= 123;
    EXPECT_EQ(outcome.ok, expected) << size;
    EXPECT_EQ(document.bComplete, expected) << size;
    // No diagnostic of its own, and the document is parsed anyway.
    EXPECT_EQ(outcome.diagnostics, kStart) << size;
    EXPECT_EQ(RootName(document), "config") << size;
  }
}

TEST(HttpXmlDocument, ReadsTheLengthAfterTheColonAndOneCharacter) {
  // "Content-Length:120" declares 20: the 120-byte body fails the length test.
  LoopbackHttpServer server({{"HTTP/1.0 200 OK\r\nContent-Length:120\r\n\r\n" + XmlBody(120)},
                             {"HTTP/1.0 200 OK\r\nContent-Length:120\r\n\r\n<?xml version=\"1\"?>\n"}});
  HttpXmlDocument document;
  EXPECT_FALSE(Load(document, server.Url(), server.port()).ok);
  EXPECT_EQ(RootName(document), "config");
  // A 20-byte body passes it, root element or not.
  EXPECT_TRUE(Load(document, server.Url(), server.port()).ok);
}

TEST(HttpXmlDocument, RefusesALowerCaseOrMissingOrZeroLengthHeader) {
  std::string body = XmlBody(120);
  LoopbackHttpServer server({{"HTTP/1.0 200 OK\r\ncontent-length: 120\r\n\r\n" + body},
                             {"HTTP/1.0 200 OK\r\n\r\n" + body},
                             {HttpResponse(body, 0)}});
  for (int i = 0; i < 3; ++i) {
    HttpXmlDocument document;
    Outcome outcome = Load(document, server.Url(), server.port());
    EXPECT_FALSE(outcome.ok) << i;
    EXPECT_EQ(outcome.diagnostics, kNotXml) << i;
    EXPECT_EQ(TopLevelNodes(document), 0) << i;
  }
}

TEST(HttpXmlDocument, SkipsAByteOrderMarkCountedInTheLength) {
  std::string body = "\xEF\xBB\xBF" + XmlBody(117);
  LoopbackHttpServer server(HttpResponse(body, 120));
  HttpXmlDocument document;
  EXPECT_TRUE(Load(document, server.Url(), server.port()).ok);
  // The parser started at "<?xml": the declaration is the first node.
  ASSERT_NE(document.FirstChild(), nullptr);
  EXPECT_NE(document.FirstChild()->ToDeclaration(), nullptr);
  EXPECT_EQ(RootName(document), "config");
}

TEST(HttpXmlDocument, RefusesResponsesWithoutAnXmlDeclaration) {
  LoopbackHttpServer server(
      {{HttpResponse("<html><body>404 Not Found</body></html>")}, {"HTTP/1.0 404 Not Found\r\n\r\n"}, {""}});
  for (int i = 0; i < 3; ++i) {
    HttpXmlDocument document;
    Outcome outcome = Load(document, server.Url(), server.port());
    EXPECT_FALSE(outcome.ok) << i;
    EXPECT_EQ(outcome.diagnostics, kNotXml) << i;
  }
}

TEST(HttpXmlDocument, AcceptsAnErrorPageThatLooksRight) {
  // Only "<?xml" and Content-Length count; the status line does not.
  std::string body = XmlBody(120);
  LoopbackHttpServer server("HTTP/1.0 500 Internal Server Error\r\nContent-Length: 120\r\n\r\n" + body);
  HttpXmlDocument document;
  EXPECT_TRUE(Load(document, server.Url(), server.port()).ok);
}

TEST(HttpXmlDocument, AResetAfterAllDataIsASocketErrorButNotAFailure) {
  std::string response = HttpResponse(XmlBody(120));
  LoopbackHttpServer server(response, Ending::kReset);
  HttpXmlDocument document;
  Outcome outcome = Load(document, server.Url(), server.port());
  ASSERT_EQ(outcome.received, static_cast<long>(response.size()));
#ifdef _WIN32
  // Wine reports a reset that follows the data as an orderly close.
  if (outcome.diagnostics != kStart) {
    EXPECT_EQ(outcome.diagnostics, std::string(kStart) + "socket error\n");
  }
#else
  EXPECT_EQ(outcome.diagnostics, std::string(kStart) + "socket error\n");
#endif
  EXPECT_TRUE(outcome.ok);
  EXPECT_EQ(RootName(document), "config");
}

TEST(HttpXmlDocument, AReadErrorIsReportedAndTheLengthTestStillDecides) {
  HttpXmlDocument document;
  std::string log;
  document.SetDiagnosticSink([&log](std::string_view line) { log.append(line); });
  std::string body = XmlBody(120);
  EXPECT_TRUE(document.InterpretResponse(HttpResponse(body).c_str(), /*read_error=*/true));
  EXPECT_EQ(log, "socket error\n");
  log.clear();
  EXPECT_FALSE(document.InterpretResponse(HttpResponse(body, 130).c_str(), /*read_error=*/true));
  EXPECT_EQ(log, "socket error\n");
  EXPECT_EQ(RootName(document), "config");
  log.clear();
  EXPECT_FALSE(document.InterpretResponse("HTTP/1.0 200 OK\r\n\r\n", /*read_error=*/true));
  EXPECT_EQ(log, "this is not a legal xml file \n");
}

TEST(HttpXmlDocument, ASilentServerEndsInTheReceiveTimeOut) {
  LoopbackHttpServer server({{"", Ending::kSilent}, {HttpResponse(XmlBody(120)), Ending::kSilent}});
  HttpXmlDocument document;
  document.SetTimeouts({std::chrono::milliseconds(5000), std::chrono::milliseconds(200)});
  // Sends nothing and never closes.
  Outcome outcome = Load(document, server.Url(), server.port());
  EXPECT_FALSE(outcome.ok);
  EXPECT_EQ(outcome.diagnostics, std::string(kStart) + "error: recv timed out in loadhttpxml\n");
  // Sends a whole document but never closes: still no answer in time.
  outcome = Load(document, server.Url(), server.port());
  EXPECT_FALSE(outcome.ok);
  EXPECT_EQ(outcome.diagnostics, std::string(kStart) + "error: recv timed out in loadhttpxml\n");
  EXPECT_EQ(TopLevelNodes(document), 0);
}

TEST(HttpXmlDocument, AConnectionThatIsNeverAcceptedEndsInTheConnectTimeOut) {
  // A listener whose queue is full (backlog 0, one connection waiting and
  // never accepted) drops further connection attempts, so the connect
  // neither succeeds nor fails.
  int port = 0;
  test_socket::Handle listener = test_socket::ListenOnLoopback(0, port);
  ASSERT_NE(listener, test_socket::kInvalid);
  test_socket::Handle waiting = test_socket::ConnectToLoopback(port);
  HttpXmlDocument document;
  document.SetTimeouts({std::chrono::milliseconds(300), std::chrono::milliseconds(300)});
  Outcome outcome = Load(document, "http://127.0.0.1/x", port);
  EXPECT_FALSE(outcome.ok);
  EXPECT_EQ(outcome.diagnostics,
            std::string(kStart) + "error: connect httpserver timed out in loadhttpxml\n");
  test_socket::Close(waiting);
  test_socket::Close(listener);
}

TEST(HttpXmlDocument, TheResponseMustFitInTheBufferWithItsZero) {
  // 204,799 bytes fit; one more does not, however the lengths agree.
  auto response_of = [](std::size_t total) {
    std::string head = "HTTP/1.0 200 OK\r\nContent-Length: 000000\r\n\r\n";
    std::string body = XmlBody(total - head.size());
    std::string length = std::to_string(body.size());
    head.replace(head.find("000000"), 6, std::string(6 - length.size(), '0') + length);
    return head + body;
  };
  std::string largest = response_of(HttpXmlDocument::kBufferSize - 1);
  std::string too_large = response_of(HttpXmlDocument::kBufferSize);
  ASSERT_EQ(largest.size(), 204799u);
  LoopbackHttpServer server({{largest}, {too_large}, {too_large + std::string(100000, ' ')}});
  HttpXmlDocument document;
  Outcome outcome = Load(document, server.Url(), server.port());
  EXPECT_TRUE(outcome.ok);
  EXPECT_EQ(outcome.received, 204799);
  EXPECT_EQ(outcome.diagnostics, kStart);
  EXPECT_EQ(RootName(document), "config");
  for (int i = 0; i < 2; ++i) {
    outcome = Load(document, server.Url(), server.port());
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(outcome.received, 204800);  // the buffer and the one byte that did not fit
    EXPECT_EQ(outcome.diagnostics,
              std::string(kStart) + "error: response larger than 204799 bytes in loadhttpxml\n");
    EXPECT_EQ(TopLevelNodes(document), 0);
  }
}

TEST(HttpXmlDocument, TheTextEndsAtTheFirstZeroByte) {
  std::string body = XmlBody(120);
  std::string response = HttpResponse(body, 120) + std::string(1, '\0') + std::string(50, 'x');
  LoopbackHttpServer server(
      {{response}, {HttpResponse(body, 171) + std::string(1, '\0') + std::string(50, 'x')}});
  HttpXmlDocument document;
  EXPECT_TRUE(Load(document, server.Url(), server.port()).ok);
  EXPECT_FALSE(Load(document, server.Url(), server.port()).ok);
}

TEST(HttpXmlDocument, ASecondCallStartsFromAnEmptyTree) {
  LoopbackHttpServer server({{HttpResponse(XmlBody(120, "first"), 200)},  // parsed, length test failed
                             {HttpResponse(XmlBody(120, "second"))},
                             {HttpResponse("<html>gone</html>")}});
  HttpXmlDocument document;
  EXPECT_FALSE(Load(document, server.Url(), server.port()).ok);
  EXPECT_EQ(RootName(document), "first");
  EXPECT_TRUE(Load(document, server.Url(), server.port()).ok);
  EXPECT_EQ(RootName(document), "second");
  EXPECT_EQ(TopLevelNodes(document), 2);  // declaration and root only
  EXPECT_FALSE(Load(document, server.Url(), server.port()).ok);
  EXPECT_EQ(TopLevelNodes(document), 0);
  EXPECT_FALSE(document.bComplete);
}

TEST(HttpXmlDocument, RefusesDocumentsNestedBeyondWhatTheParserMaySafelyRecurse) {
  std::string deep = "<?xml version=\"1.0\"?>";
  for (int i = 0; i < 60000; ++i) deep += "<a>";
  LoopbackHttpServer server(HttpResponse(deep));
  HttpXmlDocument document;
  Outcome outcome = Load(document, server.Url(), server.port());
  EXPECT_FALSE(outcome.ok);
  EXPECT_EQ(outcome.diagnostics, std::string(kStart) + "error: xml document has too many elements \n");
  EXPECT_EQ(TopLevelNodes(document), 0);
}

TEST(HttpXmlDocument, UrlFailuresOpenNothing) {
  LoopbackHttpServer server(HttpResponse(XmlBody(120)));
  HttpXmlDocument document;
  EXPECT_EQ(Load(document, "http://127.0.0.1", server.port()).diagnostics,
            std::string(kStart) + "error: need http:// \n");
  EXPECT_EQ(Load(document, "127.0.0.1/config.xml", server.port()).diagnostics,
            std::string(kStart) + "some error occured in LoadHttpXml! \n");
  EXPECT_EQ(Load(document, "", server.port()).diagnostics,
            std::string(kStart) + "some error occured in LoadHttpXml! \n");
  document.SetDiagnosticSink([](std::string_view) {});
  EXPECT_FALSE(document.LoadHttpXml(nullptr, server.port()));
  // The port stays part of the host text, and the lookup fails on it.
  EXPECT_EQ(
      Load(document, "http://127.0.0.1:" + std::to_string(server.port()) + "/x", server.port()).diagnostics,
      std::string(kStart) + "error: gethostbyname of 127.0.0.1:" + std::to_string(server.port()) + "\n");
  EXPECT_EQ(Load(document, "http:///x", server.port()).diagnostics,
            std::string(kStart) + "error: gethostbyname of \n");
  EXPECT_TRUE(server.requests().empty());
}

TEST(HttpXmlDocument, TheSchemeIsNotExamined) {
  LoopbackHttpServer server(HttpResponse(XmlBody(120)));
  HttpXmlDocument document;
  EXPECT_TRUE(Load(document, "ftp://127.0.0.1/x", server.port()).ok);
  EXPECT_EQ(server.requests().at(0), "GET ftp://127.0.0.1/x HTTP/1.0\r\n\r\n");
}

TEST(HttpXmlDocument, ARefusedConnectionOrImpossiblePortFails) {
  int port = 0;
  test_socket::Handle listener = test_socket::ListenOnLoopback(1, port);
  test_socket::Close(listener);  // nobody listens there any more
  HttpXmlDocument document;
  const std::string refused = std::string(kStart) + "error: connect httpserver fail in loadhttpxml\n";
  EXPECT_EQ(Load(document, "http://127.0.0.1/x", port).diagnostics, refused);
  EXPECT_EQ(Load(document, "http://127.0.0.1/x", 0).diagnostics, refused);
  EXPECT_EQ(Load(document, "http://127.0.0.1/x", 65536).diagnostics, refused);
  EXPECT_EQ(Load(document, "http://127.0.0.1/x", -80).diagnostics, refused);
}

TEST(HttpXmlDocument, AStopRequestEndsAFetchQuietly) {
  LoopbackHttpServer server("", Ending::kSilent);
  std::atomic<bool> stop{true};
  HttpXmlDocument document;
  document.SetStopFlag(&stop);
  Outcome outcome = Load(document, server.Url(), server.port());
  EXPECT_FALSE(outcome.ok);
  EXPECT_EQ(outcome.diagnostics, kStart);
}

}  // namespace
