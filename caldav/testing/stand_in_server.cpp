#include "caldav/testing/stand_in_server.h"

#include <cctype>
#include <cstdlib>
#include <stdexcept>

namespace {
constexpr int kSliceMs = 50;
// A request never takes longer than this to arrive from a client in the same process.
constexpr int kRequestPatienceMs = 10000;

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(text[i])) !=
        std::tolower(static_cast<unsigned char>(prefix[i]))) {
      return false;
    }
  }
  return true;
}
}  // namespace

std::string StandInServer::Request::Header(std::string_view name) const {
  std::size_t start = head.find("\r\n");
  while (start != std::string::npos && start + 2 < head.size()) {
    start += 2;
    std::size_t end = head.find("\r\n", start);
    std::string_view line = std::string_view(head).substr(start, end - start);
    if (StartsWithIgnoringCase(line, name) && line.size() > name.size() && line[name.size()] == ':') {
      std::string_view value = line.substr(name.size() + 1);
      while (!value.empty() && value.front() == ' ') value.remove_prefix(1);
      return std::string(value);
    }
    start = end;
  }
  return "";
}

StandInServer::StandInServer(Handler handler) : handler_(std::move(handler)) {
  listener_ = test_socket::ListenOnLoopback(16, port_);
  if (listener_ == test_socket::kInvalid) throw std::runtime_error("cannot listen on 127.0.0.1");
  thread_ = std::thread([this] { Serve(); });
}

StandInServer::~StandInServer() {
  stop_.store(true);
  thread_.join();
  test_socket::Close(listener_);
}

std::string StandInServer::Url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + path;
}

std::vector<StandInServer::Request> StandInServer::requests() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return requests_;
}

void StandInServer::Serve() {
  while (!stop_.load()) {
    test_socket::Handle connection = test_socket::Accept(listener_, kSliceMs);
    if (connection != test_socket::kInvalid) Answer(connection);
  }
}

void StandInServer::Answer(test_socket::Handle connection) {
  std::string received;
  std::size_t head_end = std::string::npos;
  std::size_t wanted = 0;
  char chunk[4096];
  for (int waited = 0; waited < kRequestPatienceMs && !stop_.load();) {
    if (head_end == std::string::npos) {
      head_end = received.find("\r\n\r\n");
      if (head_end != std::string::npos) {
        Request probe;
        probe.head = received.substr(0, head_end + 2);
        wanted = head_end + 4 + static_cast<std::size_t>(std::atoll(probe.Header("Content-Length").c_str()));
      }
    }
    if (head_end != std::string::npos && received.size() >= wanted) break;
    int n = test_socket::Receive(connection, chunk, sizeof chunk, kSliceMs);
    if (n == -2) {
      waited += kSliceMs;
      continue;
    }
    if (n <= 0) break;
    received.append(chunk, static_cast<std::size_t>(n));
  }
  if (head_end == std::string::npos) {
    test_socket::Close(connection);
    return;
  }
  Request request;
  request.head = received.substr(0, head_end + 2);
  request.body = received.substr(head_end + 4);
  std::size_t space = request.head.find(' ');
  request.method = request.head.substr(0, space);
  request.target = request.head.substr(space + 1, request.head.find(' ', space + 1) - space - 1);
  std::string answer = handler_(request);
  {
    std::lock_guard<std::mutex> lock(mutex_);
    requests_.push_back(std::move(request));
  }
  test_socket::SendAll(connection, answer);
  test_socket::ShutdownSend(connection);
  // Let the client read the answer and close first, so it never meets a reset.
  for (int waited = 0; waited < 2000; waited += kSliceMs) {
    int n = test_socket::Receive(connection, chunk, sizeof chunk, kSliceMs);
    if (n == 0 || n == -1) break;
  }
  test_socket::Close(connection);
}

std::string HttpAnswer(int status, const std::vector<std::string>& headers, const std::string& body) {
  std::string answer = "HTTP/1.1 " + std::to_string(status) + " Stand-in\r\n";
  for (const std::string& header : headers) answer += header + "\r\n";
  answer += "Content-Length: " + std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
  return answer;
}
