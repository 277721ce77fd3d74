#pragma once
// A minimal HTTP/1.0 client that fetches one XML document into a TinyXML
// tree: one connection, one request, read until the server closes, then
// judge the response on three textual tests and parse it.
//
// Every outcome is a diagnostic line, written to standard output unless a
// sink is set:
//   "start load xml..\n"                                every call, first
//   "error: need http:// \n"                            no "/" after the host
//   "error: gethostbyname of <host>\n"                  host name lookup failed
//   "error: create socket err in loadhttpxml\n"         socket creation failed
//   "error: connect httpserver fail in loadhttpxml\n"   refused or unreachable
//   "error: connect httpserver timed out in loadhttpxml\n"
//   "recv: <n> bytes\n"                                 after every read with data
//   "error: recv timed out in loadhttpxml\n"            the server neither sent nor closed in time
//   "error: response larger than 204799 bytes in loadhttpxml\n"
//   "this is not a legal xml file \n"                   no "<?xml", or no Content-Length
//   "socket error\n"                                    reads ended in an error (the length test still runs)
//   "error: xml document has too many elements \n"      see ParseUntrustedXml
//   "some error occured in LoadHttpXml! \n"             anything else (a URL without "://", memory)
#include <tinyxml.h>

#include <array>
#include <atomic>
#include <chrono>
#include <cstddef>
#include <functional>
#include <string_view>

class HttpXmlDocument : public TiXmlDocument {
 public:
  // The whole response, with its terminating zero, must fit in here.
  static constexpr std::size_t kBufferSize = 204800;
  static constexpr int kReadSize = 1024;

  struct Timeouts {
    std::chrono::milliseconds connect{30000};
    // For the whole response, from the request to the server's close.
    std::chrono::milliseconds receive{30000};
  };

  using DiagnosticSink = std::function<void(std::string_view line)>;

  HttpXmlDocument();
  ~HttpXmlDocument() override;
  HttpXmlDocument(const HttpXmlDocument&) = delete;
  HttpXmlDocument& operator=(const HttpXmlDocument&) = delete;

  // Fetches `url` (scheme, "://", host, then a path starting with "/") from
  // `port` with "GET " + url + " HTTP/1.0\r\n\r\n" and nothing else, and
  // parses the response from its "<?xml" on. True when "<?xml" and a non-zero
  // Content-Length were found and the length from "<?xml" to the end agrees
  // with it within 3 bytes; false on every failure (the tree may then hold a
  // parse of a response that failed only the length test). The previous tree
  // is removed first.
  // REQUIRES: the socket layer is started (SocketLayer).
  bool LoadHttpXml(const char* url, int port);

  // The second half of LoadHttpXml: judges `received` (a zero-terminated
  // response) and parses it from "<?xml" on; `read_error` says that the reads
  // ended in an error rather than with the server's close.
  bool InterpretResponse(const char* received, bool read_error);

  // Result of the length test of the last fetch.
  bool bComplete = false;

  void SetTimeouts(const Timeouts& timeouts) { timeouts_ = timeouts; }
  // When the flag becomes true, a fetch in progress ends at once with false
  // (no diagnostic): the program is shutting down.
  void SetStopFlag(const std::atomic<bool>* stop) { stop_ = stop; }
  // Where the diagnostic lines go; standard output when unset.
  void SetDiagnosticSink(DiagnosticSink sink) { sink_ = std::move(sink); }

 private:
  enum class ReceiveEnd { kClosed, kError, kTimedOut, kTooLarge, kStopped };

  bool Fetch(const char* url, int port);
  ReceiveEnd ReceiveAll(class TcpClient& connection);
  void Diagnose(const char* line);
  void DiagnoseFormatted(const char* format, const char* text);
  void DiagnoseFormatted(const char* format, int number);

  Timeouts timeouts_;
  const std::atomic<bool>* stop_ = nullptr;
  DiagnosticSink sink_;
  std::array<char, kBufferSize> buffer_{};
};
