#pragma once
// HTTP for the calendar server, behind one small interface: libcurl natively
// (http_transport_curl.cpp), WinHTTP in the Windows build
// (http_transport_win.cpp). Both follow redirects the same way
// (http_redirect.h), answer the server's Basic or Digest challenge, refuse
// certificate errors, and hold the password in memory only.
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct HttpHeader {
  std::string name;
  std::string value;
};

struct HttpRequest {
  std::string method;  // any verb: "PROPFIND", "REPORT", "PUT", "DELETE", "GET", ...
  std::string url;     // absolute http or https URL
  std::vector<HttpHeader> headers;
  std::string body;
};

// Why no answer came (the server's status, whatever it is, is an answer).
enum class HttpFailure {
  kNone,
  kBadUrl,           // not an absolute http or https URL
  kUnreachable,      // the name did not resolve, the connection was refused or dropped
  kTimeout,          // no connection, or silence, for longer than the time-outs
  kCertificate,      // the TLS handshake failed or the certificate was refused
  kRedirectRefused,  // a redirect from https to http, or to another scheme
  kTooManyRedirects,
  kTooLarge,  // the answer's body passed HttpTransportOptions::max_body_bytes
  kOther,
};

struct HttpResult {
  HttpFailure failure = HttpFailure::kNone;
  std::string error;  // what failed, naming the server (English); empty on an answer
  int status = 0;
  std::vector<HttpHeader> headers;  // of the final answer, in the order received
  std::string body;
  std::string final_url;  // where the answer came from, after redirects

  bool answered() const { return failure == HttpFailure::kNone; }
  // The first header of that name (compared without regard to case), or "".
  std::string_view Header(std::string_view name) const;
};

struct HttpTransportOptions {
  // Sent only when the server asks, by its challenge (Basic or Digest).
  // UTF-8, as servers expect; the password lives in memory only and is
  // overwritten when the transport ends.
  std::string user;
  std::string password;
  std::string user_agent = "Tallyo";
  // A first sync of thousands of events may keep a server busy for minutes:
  // the receive time-out is the longest silence allowed, not the whole exchange.
  int connect_timeout_seconds = 30;
  int receive_timeout_seconds = 300;
  int max_redirects = 5;
  std::size_t max_body_bytes = std::size_t{64} << 20;
};

// One client of one server. Not safe for use by two threads at once.
class HttpTransport {
 public:
  virtual ~HttpTransport() = default;
  // Sends the request and follows redirects. An answer of any status is
  // `answered()`; a request that got no answer says why in `failure` and `error`.
  virtual HttpResult Send(const HttpRequest& request) = 0;
};

// The system's transport: libcurl natively, WinHTTP on Windows.
std::unique_ptr<HttpTransport> MakeHttpTransport(HttpTransportOptions options);

// Overwrites a secret before its memory is given back.
void WipeSecret(std::string& secret);
