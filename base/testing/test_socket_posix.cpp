#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include "base/testing/test_socket.h"

namespace test_socket {

namespace {
int Fd(Handle h) { return static_cast<int>(h); }

bool WaitReadable(int fd, int timeout_ms) {
  pollfd p{fd, POLLIN, 0};
  return poll(&p, 1, timeout_ms) > 0;
}

sockaddr_in Loopback(int port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return address;
}
}  // namespace

bool StartSockets() { return true; }

Handle ListenOnLoopback(int backlog, int& port) {
  int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return kInvalid;
  sockaddr_in address = Loopback(0);
  socklen_t length = sizeof address;
  if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(fd, backlog) != 0 ||
      getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    close(fd);
    return kInvalid;
  }
  port = ntohs(address.sin_port);
  return fd;
}

Handle Accept(Handle listener, int timeout_ms) {
  if (!WaitReadable(Fd(listener), timeout_ms)) return kInvalid;
  int fd = accept4(Fd(listener), nullptr, nullptr, SOCK_CLOEXEC);
  return fd < 0 ? kInvalid : fd;
}

Handle ConnectToLoopback(int port) {
  int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return kInvalid;
  sockaddr_in address = Loopback(port);
  if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    close(fd);
    return kInvalid;
  }
  return fd;
}

int Receive(Handle connection, char* buffer, int size, int timeout_ms) {
  if (!WaitReadable(Fd(connection), timeout_ms)) return -2;
  ssize_t n = recv(Fd(connection), buffer, static_cast<std::size_t>(size), 0);
  return n < 0 ? -1 : static_cast<int>(n);
}

bool SendAll(Handle connection, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t n = send(Fd(connection), bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

void ShutdownSend(Handle connection) { shutdown(Fd(connection), SHUT_WR); }

void Close(Handle handle) {
  if (handle != kInvalid) close(Fd(handle));
}

void CloseWithReset(Handle connection) {
  linger hard{1, 0};
  setsockopt(Fd(connection), SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
  close(Fd(connection));
}

}  // namespace test_socket
