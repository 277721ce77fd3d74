#include <winsock2.h>
#include <ws2tcpip.h>

#include <algorithm>

#include "base/text_convert.h"
#include "update/tcp_client.h"

namespace {

// Waits are cut into slices so that a raised stop flag is seen soon.
constexpr long kSliceMs = 50;

SOCKET Sock(std::intptr_t handle) { return static_cast<SOCKET>(handle); }

enum class Direction { kRead, kWrite };

// select, not WSAPoll: it is there with every Windows Sockets version.
TcpClient::WaitResult WaitFor(SOCKET s, Direction direction, TcpClient::Clock::time_point deadline,
                              const std::atomic<bool>* stop) {
  for (;;) {
    if (stop && stop->load(std::memory_order_relaxed)) return TcpClient::WaitResult::kStopped;
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - TcpClient::Clock::now());
    if (left.count() <= 0) return TcpClient::WaitResult::kTimedOut;
    long slice = static_cast<long>(std::min<long long>(left.count(), kSliceMs));
    timeval tv{slice / 1000, (slice % 1000) * 1000};
    fd_set ready, failed;
    FD_ZERO(&ready);
    FD_ZERO(&failed);
    FD_SET(s, &ready);
    FD_SET(s, &failed);
    // A non-blocking connect that fails is reported in the exception set.
    int n = direction == Direction::kRead ? select(0, &ready, nullptr, &failed, &tv)
                                          : select(0, nullptr, &ready, &failed, &tv);
    if (n == SOCKET_ERROR) return TcpClient::WaitResult::kFailed;
    if (n > 0) {
      if (direction == Direction::kWrite && FD_ISSET(s, &failed)) return TcpClient::WaitResult::kFailed;
      return TcpClient::WaitResult::kReady;
    }
  }
}

}  // namespace

bool TcpClient::ResolveIpv4(const std::string& host, std::uint32_t& address) {
  // An empty name would resolve to this machine on Windows.
  if (host.empty()) return false;
  ADDRINFOW hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  ADDRINFOW* found = nullptr;
  std::u16string wide = cp936::ToUtf16(host);
  if (GetAddrInfoW(reinterpret_cast<const wchar_t*>(wide.c_str()), nullptr, &hints, &found) != 0 || !found) {
    return false;
  }
  address = reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr.s_addr;
  FreeAddrInfoW(found);
  return true;
}

bool TcpClient::Open() {
  Close();
  SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
  if (s == INVALID_SOCKET) return false;
  handle_ = static_cast<std::intptr_t>(s);
  return true;
}

TcpClient::WaitResult TcpClient::Connect(std::uint32_t address, int port, Clock::time_point deadline,
                                         const std::atomic<bool>* stop) {
  SOCKET s = Sock(handle_);
  sockaddr_in to{};
  to.sin_family = AF_INET;
  to.sin_port = htons(static_cast<u_short>(port));
  to.sin_addr.s_addr = address;
  u_long non_blocking = 1;
  if (ioctlsocket(s, FIONBIO, &non_blocking) != 0) return WaitResult::kFailed;
  if (connect(s, reinterpret_cast<const sockaddr*>(&to), sizeof to) != 0) {
    if (WSAGetLastError() != WSAEWOULDBLOCK) return WaitResult::kFailed;
    WaitResult wait = WaitFor(s, Direction::kWrite, deadline, stop);
    if (wait != WaitResult::kReady) return wait;
    int error = 0;
    int length = sizeof error;
    if (getsockopt(s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &length) != 0 || error != 0) {
      return WaitResult::kFailed;
    }
  }
  // Back to blocking: reads wait in select first, so they never block long.
  u_long blocking = 0;
  if (ioctlsocket(s, FIONBIO, &blocking) != 0) return WaitResult::kFailed;
  return WaitResult::kReady;
}

void TcpClient::SendOnce(std::string_view bytes) {
  send(Sock(handle_), bytes.data(), static_cast<int>(bytes.size()), 0);
}

int TcpClient::Receive(char* buffer, int size, Clock::time_point deadline, const std::atomic<bool>* stop,
                       WaitResult& wait) {
  wait = WaitFor(Sock(handle_), Direction::kRead, deadline, stop);
  if (wait != WaitResult::kReady) return -1;
  int n = recv(Sock(handle_), buffer, size, 0);
  return n == SOCKET_ERROR ? -1 : n;
}

void TcpClient::Close() {
  if (handle_ != kInvalid) closesocket(Sock(handle_));
  handle_ = kInvalid;
}
