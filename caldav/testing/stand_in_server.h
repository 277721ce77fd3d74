#pragma once
// A stand-in HTTP server on 127.0.0.1 for what a real calendar server will
// not do on request: Digest only, weak ETags, 429 and 507 answers, hostile
// bodies. A thread with its own listening socket on an ephemeral port; it
// reads each request whole (head and Content-Length body), records it, and
// answers with what the test's handler returns, then closes the connection.
#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "base/testing/test_socket.h"

class StandInServer {
 public:
  struct Request {
    std::string method;
    std::string target;  // as on the request line: "/cal/x.ics"
    std::string head;    // request line and headers, as received
    std::string body;
    // The value of the first header of that name (any case), or "".
    std::string Header(std::string_view name) const;
  };
  // The whole answer, status line to body (see HttpAnswer).
  using Handler = std::function<std::string(const Request&)>;

  explicit StandInServer(Handler handler);
  ~StandInServer();
  StandInServer(const StandInServer&) = delete;
  StandInServer& operator=(const StandInServer&) = delete;

  int port() const { return port_; }
  // "http://127.0.0.1:PORT" + path.
  std::string Url(const std::string& path) const;
  std::vector<Request> requests() const;

 private:
  void Serve();
  void Answer(test_socket::Handle connection);

  Handler handler_;
  int port_ = 0;
  test_socket::Handle listener_ = test_socket::kInvalid;
  std::atomic<bool> stop_{false};
  mutable std::mutex mutex_;
  std::vector<Request> requests_;
  std::thread thread_;
};

// An HTTP/1.1 answer with Content-Length and "Connection: close".
// `headers` are whole lines without the line end ("ETag: \"1\"").
std::string HttpAnswer(int status, const std::vector<std::string>& headers = {},
                       const std::string& body = "");
