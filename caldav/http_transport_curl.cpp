// The native transport: Debian's libcurl, one easy handle per transport so
// that connections are kept between requests.
#include <curl/curl.h>

#include <mutex>

#include "caldav/http_header_lines.h"
#include "caldav/http_redirect.h"
#include "caldav/http_transport.h"
#include "caldav/url.h"

namespace {

struct Exchange {
  std::size_t max_body_bytes = 0;
  bool too_large = false;
  std::vector<HttpHeader> headers;
  std::string body;
};

std::size_t OnBody(char* data, std::size_t size, std::size_t count, void* user) {
  auto* exchange = static_cast<Exchange*>(user);
  std::size_t bytes = size * count;
  if (exchange->body.size() + bytes > exchange->max_body_bytes) {
    exchange->too_large = true;
    return 0;  // libcurl ends the transfer with CURLE_WRITE_ERROR
  }
  exchange->body.append(data, bytes);
  return bytes;
}

std::size_t OnHeader(char* data, std::size_t size, std::size_t count, void* user) {
  auto* exchange = static_cast<Exchange*>(user);
  std::string_view line(data, size * count);
  // Each answer of the exchange (a 401 before the authenticated one, a
  // 100 Continue) starts with its status line: keep the last answer's headers.
  if (line.substr(0, 5) == "HTTP/") exchange->headers.clear();
  HttpHeader header;
  if (ParseHeaderLine(line, header)) exchange->headers.push_back(std::move(header));
  return size * count;
}

HttpFailure FailureOf(CURLcode code) {
  switch (code) {
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
    case CURLE_COULDNT_CONNECT:
    case CURLE_GOT_NOTHING:
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR:
    case CURLE_PARTIAL_FILE:
      return HttpFailure::kUnreachable;
    case CURLE_OPERATION_TIMEDOUT:
      return HttpFailure::kTimeout;
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_ISSUER_ERROR:
    case CURLE_SSL_PINNEDPUBKEYNOTMATCH:
    case CURLE_SSL_INVALIDCERTSTATUS:
      return HttpFailure::kCertificate;
    case CURLE_UNSUPPORTED_PROTOCOL:
    case CURLE_URL_MALFORMAT:
      return HttpFailure::kBadUrl;
    default:
      return HttpFailure::kOther;
  }
}

std::string DescribeFailure(HttpFailure failure, const std::string& server, const char* detail) {
  std::string reason = detail;
  switch (failure) {
    case HttpFailure::kUnreachable:
      return "cannot reach " + server + ": " + reason;
    case HttpFailure::kTimeout:
      return server + " did not answer in time: " + reason;
    case HttpFailure::kCertificate:
      return "the secure connection to " + server + " was refused (certificate or TLS): " + reason;
    default:
      return "the request to " + server + " failed: " + reason;
  }
}

class CurlTransport : public HttpTransport {
 public:
  explicit CurlTransport(HttpTransportOptions options) : options_(std::move(options)) {
    static std::once_flag global_init;
    std::call_once(global_init, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
    curl_ = curl_easy_init();
  }
  ~CurlTransport() override {
    if (curl_) curl_easy_cleanup(curl_);
    WipeSecret(options_.password);
  }
  CurlTransport(const CurlTransport&) = delete;
  CurlTransport& operator=(const CurlTransport&) = delete;

  HttpResult Send(const HttpRequest& request) override {
    return SendFollowingRedirects(request, options_.max_redirects,
                                  [this](const HttpRequest& one) { return ExchangeOnce(one); });
  }

 private:
  HttpResult ExchangeOnce(const HttpRequest& request) {
    HttpResult result;
    std::optional<Url> url = ParseUrl(request.url);
    if (!url) {
      result.failure = HttpFailure::kBadUrl;
      result.error = "not an http or https address: " + request.url;
      return result;
    }
    if (!curl_) {
      result.failure = HttpFailure::kOther;
      result.error = "libcurl could not be started";
      return result;
    }
    curl_easy_reset(curl_);  // keeps the open connections
    Exchange exchange;
    exchange.max_body_bytes = options_.max_body_bytes;
    char error_text[CURL_ERROR_SIZE] = {};
    curl_slist* headers = nullptr;
    for (const HttpHeader& header : request.headers) {
      headers = curl_slist_append(headers, (header.name + ": " + header.value).c_str());
    }
    // No "Expect: 100-continue" wait before a large body.
    headers = curl_slist_append(headers, "Expect:");

    const std::string target = url->ToString();
    curl_easy_setopt(curl_, CURLOPT_URL, target.c_str());
    curl_easy_setopt(curl_, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl_, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl_, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(curl_, CURLOPT_ERRORBUFFER, error_text);
    curl_easy_setopt(curl_, CURLOPT_USERAGENT, options_.user_agent.c_str());
    curl_easy_setopt(curl_, CURLOPT_ACCEPT_ENCODING, "");  // whatever this libcurl can decode
    curl_easy_setopt(curl_, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(curl_, CURLOPT_SSL_VERIFYHOST, 2L);
    curl_easy_setopt(curl_, CURLOPT_CONNECTTIMEOUT, static_cast<long>(options_.connect_timeout_seconds));
    // Slower than a byte a second for the whole receive time-out counts as silence.
    curl_easy_setopt(curl_, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(curl_, CURLOPT_LOW_SPEED_TIME, static_cast<long>(options_.receive_timeout_seconds));
    if (!options_.user.empty()) {
      curl_easy_setopt(curl_, CURLOPT_HTTPAUTH, static_cast<long>(CURLAUTH_BASIC | CURLAUTH_DIGEST));
      curl_easy_setopt(curl_, CURLOPT_USERNAME, options_.user.c_str());
      curl_easy_setopt(curl_, CURLOPT_PASSWORD, options_.password.c_str());
    }
    if (request.method == "GET") {
      curl_easy_setopt(curl_, CURLOPT_HTTPGET, 1L);
    } else if (request.method == "HEAD") {
      curl_easy_setopt(curl_, CURLOPT_NOBODY, 1L);
    } else {
      curl_easy_setopt(curl_, CURLOPT_CUSTOMREQUEST, request.method.c_str());
      if (!request.body.empty() || request.method == "PUT" || request.method == "POST") {
        curl_easy_setopt(curl_, CURLOPT_POSTFIELDS, request.body.data());
        curl_easy_setopt(curl_, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(request.body.size()));
      }
    }
    curl_easy_setopt(curl_, CURLOPT_HTTPHEADER, headers);
    curl_easy_setopt(curl_, CURLOPT_WRITEFUNCTION, OnBody);
    curl_easy_setopt(curl_, CURLOPT_WRITEDATA, &exchange);
    curl_easy_setopt(curl_, CURLOPT_HEADERFUNCTION, OnHeader);
    curl_easy_setopt(curl_, CURLOPT_HEADERDATA, &exchange);

    CURLcode code = curl_easy_perform(curl_);
    curl_slist_free_all(headers);
    // The handle keeps the options until the next reset: forget the password there now.
    curl_easy_setopt(curl_, CURLOPT_PASSWORD, "");

    if (exchange.too_large) {
      result.failure = HttpFailure::kTooLarge;
      result.error = "the answer of " + url->HostAndPort() + " is larger than " +
                     std::to_string(options_.max_body_bytes >> 20) + " MB";
      return result;
    }
    if (code != CURLE_OK) {
      result.failure = FailureOf(code);
      result.error = DescribeFailure(result.failure, url->HostAndPort(),
                                     error_text[0] ? error_text : curl_easy_strerror(code));
      return result;
    }
    long status = 0;
    curl_easy_getinfo(curl_, CURLINFO_RESPONSE_CODE, &status);
    result.status = static_cast<int>(status);
    result.headers = std::move(exchange.headers);
    result.body = std::move(exchange.body);
    return result;
  }

  HttpTransportOptions options_;
  CURL* curl_ = nullptr;
};

}  // namespace

std::unique_ptr<HttpTransport> MakeHttpTransport(HttpTransportOptions options) {
  return std::make_unique<CurlTransport>(std::move(options));
}
