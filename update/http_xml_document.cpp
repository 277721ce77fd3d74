#include "update/http_xml_document.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>
#include <string>

#include "update/http_response.h"
#include "update/tcp_client.h"
#include "update/untrusted_xml.h"

HttpXmlDocument::HttpXmlDocument() = default;
HttpXmlDocument::~HttpXmlDocument() = default;

bool HttpXmlDocument::LoadHttpXml(const char* url, int port) {
  try {
    // A retry starts from an empty tree and no error of the previous parse.
    Clear();
    ClearError();
    bComplete = false;
    Diagnose("start load xml..\n");
    return Fetch(url, port);
  } catch (...) {
    Diagnose("some error occured in LoadHttpXml! \n");
    return false;
  }
}

bool HttpXmlDocument::Fetch(const char* url, int port) {
  if (url == nullptr) throw std::invalid_argument("no url");
  std::string_view address(url);
  std::size_t scheme_end = address.find("://");
  if (scheme_end == std::string_view::npos) throw std::invalid_argument("no ://");
  // The scheme is not examined, and a ":port" after the host stays part of
  // the host text: the port always comes from `port`.
  std::size_t host_begin = scheme_end + 3;
  std::size_t host_end = address.find('/', host_begin);
  if (host_end == std::string_view::npos) {
    Diagnose("error: need http:// \n");
    return false;
  }
  std::string host(address.substr(host_begin, host_end - host_begin));
  std::uint32_t ip = 0;
  if (!TcpClient::ResolveIpv4(host, ip)) {
    DiagnoseFormatted("error: gethostbyname of %s\n", host.c_str());
    return false;
  }

  TcpClient connection;
  if (!connection.Open()) {
    Diagnose("error: create socket err in loadhttpxml\n");
    return false;
  }
  TcpClient::WaitResult connected = TcpClient::WaitResult::kFailed;
  if (port >= 1 && port <= 65535) {
    connected = connection.Connect(ip, port, TcpClient::Clock::now() + timeouts_.connect, stop_);
  }
  switch (connected) {
    case TcpClient::WaitResult::kReady:
      break;
    case TcpClient::WaitResult::kTimedOut:
      Diagnose("error: connect httpserver timed out in loadhttpxml\n");
      return false;
    case TcpClient::WaitResult::kStopped:
      return false;
    case TcpClient::WaitResult::kFailed:
      Diagnose("error: connect httpserver fail in loadhttpxml\n");
      return false;
  }

  std::string request = "GET ";
  request.append(address).append(" HTTP/1.0\r\n\r\n");
  connection.SendOnce(request);

  buffer_.fill(0);
  switch (ReceiveAll(connection)) {
    case ReceiveEnd::kClosed:
      return InterpretResponse(buffer_.data(), /*read_error=*/false);
    case ReceiveEnd::kError:
      return InterpretResponse(buffer_.data(), /*read_error=*/true);
    case ReceiveEnd::kTimedOut:
      Diagnose("error: recv timed out in loadhttpxml\n");
      return false;
    case ReceiveEnd::kTooLarge:
      Diagnose("error: response larger than 204799 bytes in loadhttpxml\n");
      return false;
    case ReceiveEnd::kStopped:
      return false;
  }
  return false;
}

HttpXmlDocument::ReceiveEnd HttpXmlDocument::ReceiveAll(TcpClient& connection) {
  const TcpClient::Clock::time_point deadline = TcpClient::Clock::now() + timeouts_.receive;
  std::size_t total = 0;
  for (;;) {
    // The last byte of the buffer stays zero. Once the rest is full, one more
    // byte is asked for only to learn whether the server has closed.
    std::size_t room = kBufferSize - 1 - total;
    char probe = 0;
    char* into = room > 0 ? buffer_.data() + total : &probe;
    int ask = room > 0 ? static_cast<int>(std::min<std::size_t>(room, kReadSize)) : 1;
    TcpClient::WaitResult wait = TcpClient::WaitResult::kReady;
    int n = connection.Receive(into, ask, deadline, stop_, wait);
    if (n > 0) {
      DiagnoseFormatted("recv: %d bytes\n", n);
      if (room == 0) return ReceiveEnd::kTooLarge;
      total += static_cast<std::size_t>(n);
      continue;
    }
    if (n == 0) return ReceiveEnd::kClosed;
    if (wait == TcpClient::WaitResult::kTimedOut) return ReceiveEnd::kTimedOut;
    if (wait == TcpClient::WaitResult::kStopped) return ReceiveEnd::kStopped;
    return ReceiveEnd::kError;
  }
}

bool HttpXmlDocument::InterpretResponse(const char* received, bool read_error) {
  Clear();
  ClearError();
  bComplete = false;
  std::string_view text(received);
  HttpResponseCheck check = CheckHttpResponse(text);
  if (!check.has_xml() || check.declared_length == 0) {
    Diagnose("this is not a legal xml file \n");
    return false;
  }
  if (read_error) Diagnose("socket error\n");
  // Whatever the length test says, the text from "<?xml" on is parsed;
  // parse errors are not examined.
  if (!ParseUntrustedXml(*this, text.substr(check.xml_offset))) {
    Diagnose("error: xml document has too many elements \n");
    return false;
  }
  bComplete = check.length_agrees();
  return bComplete;
}

void HttpXmlDocument::Diagnose(const char* line) {
  try {
    if (sink_) {
      sink_(line);
    } else {
      std::fputs(line, stdout);
      std::fflush(stdout);
    }
  } catch (...) {
    // A failing sink must not turn a diagnostic into a failure of its own.
  }
}

void HttpXmlDocument::DiagnoseFormatted(const char* format, const char* text) {
  std::string line(std::snprintf(nullptr, 0, format, text), '\0');
  std::snprintf(line.data(), line.size() + 1, format, text);
  Diagnose(line.c_str());
}

void HttpXmlDocument::DiagnoseFormatted(const char* format, int number) {
  char line[64];
  std::snprintf(line, sizeof line, format, number);
  Diagnose(line);
}
