#include "update/testing/loopback_http_server.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>

namespace {
constexpr int kSliceMs = 50;
// A request never takes longer than this to arrive from a client in the same process.
constexpr int kRequestPatienceMs = 10000;
}  // namespace

LoopbackHttpServer::LoopbackHttpServer(std::vector<Reply> replies) : replies_(std::move(replies)) {
  listener_ = test_socket::ListenOnLoopback(16, port_);
  if (listener_ == test_socket::kInvalid) throw std::runtime_error("cannot listen on 127.0.0.1");
  thread_ = std::thread([this] { Serve(); });
}

LoopbackHttpServer::~LoopbackHttpServer() {
  stop_.store(true);
  thread_.join();
  test_socket::Close(listener_);
}

std::vector<std::string> LoopbackHttpServer::requests() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return requests_;
}

void LoopbackHttpServer::Serve() {
  std::size_t served = 0;
  while (!stop_.load()) {
    test_socket::Handle connection = test_socket::Accept(listener_, kSliceMs);
    if (connection == test_socket::kInvalid) continue;
    const Reply& reply = replies_[std::min(served, replies_.size() - 1)];
    ++served;
    Answer(connection, reply);
  }
}

void LoopbackHttpServer::Answer(test_socket::Handle connection, const Reply& reply) {
  std::string request;
  char chunk[1024];
  for (int waited = 0; request.find("\r\n\r\n") == std::string::npos && waited < kRequestPatienceMs;) {
    int n = test_socket::Receive(connection, chunk, sizeof chunk, kSliceMs);
    if (n == -2) {
      waited += kSliceMs;
      if (stop_.load()) break;
      continue;
    }
    if (n <= 0) break;
    request.append(chunk, static_cast<std::size_t>(n));
  }
  {
    std::lock_guard<std::mutex> lock(mutex_);
    requests_.push_back(request);
  }
  test_socket::SendAll(connection, reply.bytes);
  switch (reply.ending) {
    case Ending::kClose:
      test_socket::ShutdownSend(connection);
      test_socket::Close(connection);
      break;
    case Ending::kReset:
      test_socket::CloseWithReset(connection);
      break;
    case Ending::kSilent:
      // Hold the connection until the client gives up or the test ends.
      while (!stop_.load()) {
        int n = test_socket::Receive(connection, chunk, sizeof chunk, kSliceMs);
        if (n == 0 || n == -1) break;
      }
      test_socket::Close(connection);
      break;
  }
}

std::string HttpResponse(const std::string& body, int declared) {
  if (declared < 0) declared = static_cast<int>(body.size());
  return "HTTP/1.0 200 OK\r\nContent-Type: text/xml\r\nContent-Length: " + std::to_string(declared) +
         "\r\n\r\n" + body;
}
