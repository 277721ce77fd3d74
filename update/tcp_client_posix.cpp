#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "update/tcp_client.h"

namespace {

// Waits are cut into slices so that a raised stop flag is seen soon.
constexpr int kSliceMs = 50;

int Fd(std::intptr_t handle) { return static_cast<int>(handle); }

TcpClient::WaitResult WaitFor(int fd, short events, TcpClient::Clock::time_point deadline,
                              const std::atomic<bool>* stop) {
  for (;;) {
    if (stop && stop->load(std::memory_order_relaxed)) return TcpClient::WaitResult::kStopped;
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - TcpClient::Clock::now());
    if (left.count() <= 0) return TcpClient::WaitResult::kTimedOut;
    pollfd p{fd, events, 0};
    int n = poll(&p, 1, static_cast<int>(std::min<long long>(left.count(), kSliceMs)));
    if (n > 0) return TcpClient::WaitResult::kReady;
    if (n < 0 && errno != EINTR) return TcpClient::WaitResult::kFailed;
  }
}

}  // namespace

bool TcpClient::ResolveIpv4(const std::string& host, std::uint32_t& address) {
  if (host.empty()) return false;
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  if (getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || !found) return false;
  address = reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr.s_addr;
  freeaddrinfo(found);
  return true;
}

bool TcpClient::Open() {
  Close();
  int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  handle_ = fd;
  return true;
}

TcpClient::WaitResult TcpClient::Connect(std::uint32_t address, int port, Clock::time_point deadline,
                                         const std::atomic<bool>* stop) {
  int fd = Fd(handle_);
  sockaddr_in to{};
  to.sin_family = AF_INET;
  to.sin_port = htons(static_cast<std::uint16_t>(port));
  to.sin_addr.s_addr = address;
  int flags = fcntl(fd, F_GETFL, 0);
  if (flags < 0 || fcntl(fd, F_SETFL, flags | O_NONBLOCK) < 0) return WaitResult::kFailed;
  if (connect(fd, reinterpret_cast<const sockaddr*>(&to), sizeof to) != 0) {
    if (errno != EINPROGRESS) return WaitResult::kFailed;
    WaitResult wait = WaitFor(fd, POLLOUT, deadline, stop);
    if (wait != WaitResult::kReady) return wait;
    int error = 0;
    socklen_t length = sizeof error;
    if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0 || error != 0) return WaitResult::kFailed;
  }
  // Back to blocking: reads wait in poll first, so they never block long.
  if (fcntl(fd, F_SETFL, flags) < 0) return WaitResult::kFailed;
  return WaitResult::kReady;
}

void TcpClient::SendOnce(std::string_view bytes) {
  // MSG_NOSIGNAL: a peer that already reset must give an error, not SIGPIPE.
  [[maybe_unused]] ssize_t sent = send(Fd(handle_), bytes.data(), bytes.size(), MSG_NOSIGNAL);
}

int TcpClient::Receive(char* buffer, int size, Clock::time_point deadline, const std::atomic<bool>* stop,
                       WaitResult& wait) {
  wait = WaitFor(Fd(handle_), POLLIN, deadline, stop);
  if (wait != WaitResult::kReady) return -1;
  for (;;) {
    ssize_t n = recv(Fd(handle_), buffer, static_cast<std::size_t>(size), 0);
    if (n >= 0) return static_cast<int>(n);
    if (errno != EINTR) return -1;
  }
}

void TcpClient::Close() {
  if (handle_ != kInvalid) close(Fd(handle_));
  handle_ = kInvalid;
}
