// The Windows transport: WinHTTP, with the system's TLS, certificate store
// and proxy settings. Redirects are followed by SendFollowingRedirects, not
// by WinHTTP, so that both transports judge them the same way.
#include <windows.h>
#include <winhttp.h>
#include <winsock2.h>

#include "caldav/http_header_lines.h"
#include "caldav/http_redirect.h"
#include "caldav/http_transport.h"
#include "caldav/url.h"

#ifndef WINHTTP_ACCESS_TYPE_AUTOMATIC_PROXY
#define WINHTTP_ACCESS_TYPE_AUTOMATIC_PROXY 4
#endif
#ifndef WINHTTP_FLAG_SECURE_PROTOCOL_TLS1_3
#define WINHTTP_FLAG_SECURE_PROTOCOL_TLS1_3 0x00002000
#endif
#ifndef WINHTTP_OPTION_DECOMPRESSION
#define WINHTTP_OPTION_DECOMPRESSION 118
#define WINHTTP_DECOMPRESSION_FLAG_ALL 3
#endif

namespace {

// Protocol text (URLs, header lines, the user's UTF-8 credentials) to the
// wide API: always UTF-8, never the system's code page.
std::wstring Wide(std::string_view utf8) {
  if (utf8.empty()) return std::wstring();
  int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
  return wide;
}

std::string Utf8(std::wstring_view wide) {
  if (wide.empty()) return std::string();
  int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr,
                              nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n, nullptr,
                      nullptr);
  return out;
}

void WipeWide(std::wstring& secret) {
  volatile wchar_t* chars = secret.data();
  for (std::size_t i = 0; i < secret.size(); ++i) chars[i] = 0;
  secret.clear();
}

class Handle {
 public:
  explicit Handle(HINTERNET handle = nullptr) : handle_(handle) {}
  ~Handle() {
    if (handle_) WinHttpCloseHandle(handle_);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  HINTERNET get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }

 private:
  HINTERNET handle_;
};

HttpFailure FailureOf(DWORD error) {
  switch (error) {
    case ERROR_WINHTTP_TIMEOUT:
    case WSAETIMEDOUT:  // Wine passes the socket's own codes through
      return HttpFailure::kTimeout;
    case WSAECONNRESET:
    case WSAECONNABORTED:
    case WSAECONNREFUSED:
    case WSAENETUNREACH:
    case WSAEHOSTUNREACH:
    case ERROR_WINHTTP_NAME_NOT_RESOLVED:
    case ERROR_WINHTTP_CANNOT_CONNECT:
    case ERROR_WINHTTP_CONNECTION_ERROR:
    case ERROR_WINHTTP_INVALID_SERVER_RESPONSE:
      return HttpFailure::kUnreachable;
    case ERROR_WINHTTP_SECURE_FAILURE:
    case ERROR_WINHTTP_SECURE_CERT_CN_INVALID:
    case ERROR_WINHTTP_SECURE_CERT_DATE_INVALID:
    case ERROR_WINHTTP_SECURE_INVALID_CA:
    case ERROR_WINHTTP_SECURE_CERT_REV_FAILED:
    case ERROR_WINHTTP_SECURE_CERT_REVOKED:
    case ERROR_WINHTTP_SECURE_CHANNEL_ERROR:
    case ERROR_WINHTTP_SECURE_INVALID_CERT:
    case ERROR_WINHTTP_CLIENT_AUTH_CERT_NEEDED:
      return HttpFailure::kCertificate;
    default:
      return HttpFailure::kOther;
  }
}

std::string Describe(HttpFailure failure, const std::string& server, DWORD error) {
  std::string code = "WinHTTP error " + std::to_string(error);
  switch (failure) {
    case HttpFailure::kUnreachable:
      return "cannot reach " + server + ": " + code;
    case HttpFailure::kTimeout:
      return server + " did not answer in time: " + code;
    case HttpFailure::kCertificate:
      return "the secure connection to " + server + " was refused (certificate or TLS): " + code;
    default:
      return "the request to " + server + " failed: " + code;
  }
}

class WinHttpTransport : public HttpTransport {
 public:
  explicit WinHttpTransport(HttpTransportOptions options)
      : options_(std::move(options)), user_(Wide(options_.user)), password_(Wide(options_.password)) {
    WipeSecret(options_.password);
    std::wstring agent = Wide(options_.user_agent);
    // The system's proxy, automatic where Windows offers it (8.1 and later).
    session_ = WinHttpOpen(agent.c_str(), WINHTTP_ACCESS_TYPE_AUTOMATIC_PROXY, WINHTTP_NO_PROXY_NAME,
                           WINHTTP_NO_PROXY_BYPASS, 0);
    if (!session_) {
      session_ = WinHttpOpen(agent.c_str(), WINHTTP_ACCESS_TYPE_DEFAULT_PROXY, WINHTTP_NO_PROXY_NAME,
                             WINHTTP_NO_PROXY_BYPASS, 0);
    }
    if (!session_) return;
    DWORD protocols = WINHTTP_FLAG_SECURE_PROTOCOL_TLS1_2 | WINHTTP_FLAG_SECURE_PROTOCOL_TLS1_3;
    if (!WinHttpSetOption(session_, WINHTTP_OPTION_SECURE_PROTOCOLS, &protocols, sizeof protocols)) {
      protocols = WINHTTP_FLAG_SECURE_PROTOCOL_TLS1_2;  // systems that know no TLS 1.3
      WinHttpSetOption(session_, WINHTTP_OPTION_SECURE_PROTOCOLS, &protocols, sizeof protocols);
    }
    DWORD decompression = WINHTTP_DECOMPRESSION_FLAG_ALL;
    WinHttpSetOption(session_, WINHTTP_OPTION_DECOMPRESSION, &decompression,
                     sizeof decompression);  // 8.1 and later
    const int connect_ms = options_.connect_timeout_seconds * 1000;
    const int receive_ms = options_.receive_timeout_seconds * 1000;
    WinHttpSetTimeouts(session_, connect_ms, connect_ms, receive_ms, receive_ms);
  }
  ~WinHttpTransport() override {
    if (session_) WinHttpCloseHandle(session_);
    WipeWide(password_);
  }
  WinHttpTransport(const WinHttpTransport&) = delete;
  WinHttpTransport& operator=(const WinHttpTransport&) = delete;

  HttpResult Send(const HttpRequest& request) override {
    if (auth_scheme_ == 0 && !options_.user.empty() && !request.body.empty()) {
      // Learn the server's scheme with a small request without a body first
      // (OPTIONS is often answered without asking): a server that refuses a
      // request unread (radicale does, before it knows the user) resets the
      // connection under a body still in flight.
      HttpResult probe =
          SendFollowingRedirects({"PROPFIND", request.url, {{"Depth", "0"}}, ""}, options_.max_redirects,
                                 [this](const HttpRequest& one) { return ExchangeOnce(one); });
      // No answer, or the credentials refused: the request itself would fare no better.
      if (!probe.answered() || probe.status == 401) return probe;
    }
    return SendFollowingRedirects(request, options_.max_redirects,
                                  [this](const HttpRequest& one) { return ExchangeOnce(one); });
  }

 private:
  HttpResult Fail(HttpFailure failure, std::string error) {
    HttpResult result;
    result.failure = failure;
    result.error = std::move(error);
    return result;
  }

  HttpResult FailWithLastError(const Url& url) {
    DWORD error = GetLastError();
    HttpFailure failure = FailureOf(error);
    return Fail(failure, Describe(failure, url.HostAndPort(), error));
  }

  HttpResult ExchangeOnce(const HttpRequest& request) {
    std::optional<Url> url = ParseUrl(request.url);
    if (!url) return Fail(HttpFailure::kBadUrl, "not an http or https address: " + request.url);
    if (!session_) return Fail(HttpFailure::kOther, "WinHTTP could not be started");
    std::string host = url->host;
    if (host.size() > 2 && host.front() == '[') host = host.substr(1, host.size() - 2);
    Handle connection(WinHttpConnect(session_, Wide(host).c_str(), static_cast<INTERNET_PORT>(url->port), 0));
    if (!connection) return FailWithLastError(*url);
    Handle handle(WinHttpOpenRequest(connection.get(), Wide(request.method).c_str(), Wide(url->path).c_str(),
                                     nullptr, WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES,
                                     url->is_https() ? WINHTTP_FLAG_SECURE : 0));
    if (!handle) return FailWithLastError(*url);
    // On the request too: WinHttpReceiveResponse waits by its own time-out.
    const int connect_ms = options_.connect_timeout_seconds * 1000;
    const DWORD receive_ms = static_cast<DWORD>(options_.receive_timeout_seconds) * 1000;
    WinHttpSetTimeouts(handle.get(), connect_ms, connect_ms, static_cast<int>(receive_ms),
                       static_cast<int>(receive_ms));
    WinHttpSetOption(handle.get(), WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, const_cast<DWORD*>(&receive_ms),
                     sizeof receive_ms);
    if (auth_scheme_ == WINHTTP_AUTH_SCHEME_BASIC) {
      // Basic may be sent before the server asks: a server that refuses a
      // request before reading its body (radicale) would reset the connection.
      WinHttpSetCredentials(handle.get(), WINHTTP_AUTH_TARGET_SERVER, WINHTTP_AUTH_SCHEME_BASIC,
                            user_.c_str(), password_.c_str(), nullptr);
    }
    DWORD never = WINHTTP_OPTION_REDIRECT_POLICY_NEVER;
    WinHttpSetOption(handle.get(), WINHTTP_OPTION_REDIRECT_POLICY, &never, sizeof never);
    DWORD no_redirects = WINHTTP_DISABLE_REDIRECTS;
    WinHttpSetOption(handle.get(), WINHTTP_OPTION_DISABLE_FEATURE, &no_redirects, sizeof no_redirects);

    std::wstring headers;
    for (const HttpHeader& header : request.headers)
      headers += Wide(header.name + ": " + header.value + "\r\n");
    if (!headers.empty() &&
        !WinHttpAddRequestHeaders(handle.get(), headers.c_str(), static_cast<DWORD>(headers.size()),
                                  WINHTTP_ADDREQ_FLAG_ADD | WINHTTP_ADDREQ_FLAG_REPLACE)) {
      return FailWithLastError(*url);
    }

    // The first answer may be the server's challenge; answer it once with
    // the scheme it asks for (Digest before Basic when both are offered).
    bool credentials_set = false;
    for (;;) {
      void* body = request.body.empty() ? WINHTTP_NO_REQUEST_DATA : const_cast<char*>(request.body.data());
      DWORD size = static_cast<DWORD>(request.body.size());
      if (!WinHttpSendRequest(handle.get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0, body, size, size, 0) ||
          !WinHttpReceiveResponse(handle.get(), nullptr)) {
        return FailWithLastError(*url);
      }
      DWORD status = 0, status_size = sizeof status;
      WinHttpQueryHeaders(handle.get(), WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                          WINHTTP_HEADER_NAME_BY_INDEX, &status, &status_size, WINHTTP_NO_HEADER_INDEX);
      if (status == 401 && !credentials_set && !options_.user.empty() && SetCredentials(handle.get())) {
        credentials_set = true;
        DrainBody(handle.get());
        continue;
      }
      return ReadAnswer(handle.get(), *url, static_cast<int>(status));
    }
  }

  bool SetCredentials(HINTERNET request) {
    DWORD supported = 0, first = 0, target = 0;
    if (!WinHttpQueryAuthSchemes(request, &supported, &first, &target)) return false;
    DWORD scheme = (supported & WINHTTP_AUTH_SCHEME_DIGEST)  ? WINHTTP_AUTH_SCHEME_DIGEST
                   : (supported & WINHTTP_AUTH_SCHEME_BASIC) ? WINHTTP_AUTH_SCHEME_BASIC
                                                             : 0;
    if (!scheme ||
        !WinHttpSetCredentials(request, target, scheme, user_.c_str(), password_.c_str(), nullptr)) {
      return false;
    }
    if (target == WINHTTP_AUTH_TARGET_SERVER) auth_scheme_ = scheme;
    return true;
  }

  void DrainBody(HINTERNET request) {
    char buffer[4096];
    DWORD read = 0;
    while (WinHttpReadData(request, buffer, sizeof buffer, &read) && read > 0) {
    }
  }

  HttpResult ReadAnswer(HINTERNET request, const Url& url, int status) {
    HttpResult result;
    result.status = status;
    DWORD size = 0;
    WinHttpQueryHeaders(request, WINHTTP_QUERY_RAW_HEADERS_CRLF, WINHTTP_HEADER_NAME_BY_INDEX, nullptr, &size,
                        WINHTTP_NO_HEADER_INDEX);
    if (size > 0) {
      std::wstring raw(size / sizeof(wchar_t), L'\0');
      if (WinHttpQueryHeaders(request, WINHTTP_QUERY_RAW_HEADERS_CRLF, WINHTTP_HEADER_NAME_BY_INDEX,
                              raw.data(), &size, WINHTTP_NO_HEADER_INDEX)) {
        raw.resize(size / sizeof(wchar_t));
        result.headers = ParseHeaderBlock(Utf8(raw));
      }
    }
    for (;;) {
      DWORD available = 0;
      if (!WinHttpQueryDataAvailable(request, &available)) return FailWithLastError(url);
      if (available == 0) break;
      if (result.body.size() + available > options_.max_body_bytes) {
        return Fail(HttpFailure::kTooLarge, "the answer of " + url.HostAndPort() + " is larger than " +
                                                std::to_string(options_.max_body_bytes >> 20) + " MB");
      }
      std::size_t old_size = result.body.size();
      result.body.resize(old_size + available);
      DWORD read = 0;
      if (!WinHttpReadData(request, result.body.data() + old_size, available, &read))
        return FailWithLastError(url);
      result.body.resize(old_size + read);
    }
    return result;
  }

  HttpTransportOptions options_;
  std::wstring user_;
  std::wstring password_;
  HINTERNET session_ = nullptr;
  DWORD auth_scheme_ = 0;  // what the server asked for last
};

}  // namespace

std::unique_ptr<HttpTransport> MakeHttpTransport(HttpTransportOptions options) {
  return std::make_unique<WinHttpTransport>(std::move(options));
}
