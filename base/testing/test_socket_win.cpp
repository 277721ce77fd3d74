#include <winsock2.h>

#include "base/testing/test_socket.h"

namespace test_socket {

namespace {
SOCKET Sock(Handle h) { return static_cast<SOCKET>(h); }

bool WaitReadable(SOCKET s, int timeout_ms) {
  fd_set ready;
  FD_ZERO(&ready);
  FD_SET(s, &ready);
  timeval tv{timeout_ms / 1000, (timeout_ms % 1000) * 1000};
  return select(0, &ready, nullptr, nullptr, &tv) > 0;
}

sockaddr_in Loopback(int port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<u_short>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return address;
}
}  // namespace

bool StartSockets() {
  WSADATA data;
  return WSAStartup(MAKEWORD(2, 2), &data) == 0;
}

Handle ListenOnLoopback(int backlog, int& port) {
  SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
  if (s == INVALID_SOCKET) return kInvalid;
  sockaddr_in address = Loopback(0);
  int length = sizeof address;
  if (bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(s, backlog) != 0 ||
      getsockname(s, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    closesocket(s);
    return kInvalid;
  }
  port = ntohs(address.sin_port);
  return static_cast<Handle>(s);
}

Handle Accept(Handle listener, int timeout_ms) {
  if (!WaitReadable(Sock(listener), timeout_ms)) return kInvalid;
  SOCKET s = accept(Sock(listener), nullptr, nullptr);
  return s == INVALID_SOCKET ? kInvalid : static_cast<Handle>(s);
}

Handle ConnectToLoopback(int port) {
  SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
  if (s == INVALID_SOCKET) return kInvalid;
  sockaddr_in address = Loopback(port);
  if (connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    closesocket(s);
    return kInvalid;
  }
  return static_cast<Handle>(s);
}

int Receive(Handle connection, char* buffer, int size, int timeout_ms) {
  if (!WaitReadable(Sock(connection), timeout_ms)) return -2;
  int n = recv(Sock(connection), buffer, size, 0);
  return n == SOCKET_ERROR ? -1 : n;
}

bool SendAll(Handle connection, std::string_view bytes) {
  while (!bytes.empty()) {
    int n = send(Sock(connection), bytes.data(), static_cast<int>(bytes.size()), 0);
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

void ShutdownSend(Handle connection) { shutdown(Sock(connection), SD_SEND); }

void Close(Handle handle) {
  if (handle != kInvalid) closesocket(Sock(handle));
}

void CloseWithReset(Handle connection) {
  linger hard{1, 0};
  setsockopt(Sock(connection), SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&hard), sizeof hard);
  closesocket(Sock(connection));
}

}  // namespace test_socket
