#pragma once
// A stand-in HTTP server on 127.0.0.1 for the fetch tests: a thread with its
// own listening socket on an ephemeral port. For each connection it reads
// the request (up to the blank line), records it, sends the next scripted
// reply and ends the connection the scripted way.
#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "base/testing/test_socket.h"

class LoopbackHttpServer {
 public:
  enum class Ending {
    kClose,   // orderly close after the reply
    kReset,   // reset after the reply
    kSilent,  // keep the connection open and send nothing more
  };
  struct Reply {
    std::string bytes;
    Ending ending = Ending::kClose;
  };

  // One reply per connection, in order; the last one answers every further
  // connection.
  explicit LoopbackHttpServer(std::vector<Reply> replies);
  explicit LoopbackHttpServer(std::string reply, Ending ending = Ending::kClose)
      : LoopbackHttpServer(std::vector<Reply>{Reply{std::move(reply), ending}}) {}
  ~LoopbackHttpServer();
  LoopbackHttpServer(const LoopbackHttpServer&) = delete;
  LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

  int port() const { return port_; }
  // "http://127.0.0.1" + path.
  std::string Url(const std::string& path = "/config.xml") const { return "http://127.0.0.1" + path; }
  // The requests received so far, byte for byte.
  std::vector<std::string> requests() const;

 private:
  void Serve();
  void Answer(test_socket::Handle connection, const Reply& reply);

  std::vector<Reply> replies_;
  int port_ = 0;
  test_socket::Handle listener_ = test_socket::kInvalid;
  std::atomic<bool> stop_{false};
  mutable std::mutex mutex_;
  std::vector<std::string> requests_;
  std::thread thread_;
};

// An HTTP/1.0 response: status line, Content-Length (the body's length
// unless `declared` is given) and the body.
std::string HttpResponse(const std::string& body, int declared = -1);
