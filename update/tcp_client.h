#pragma once
// One outgoing IPv4 TCP connection for the HTTP fetch: blocking in spirit,
// but every wait has a deadline and can be cut short by a stop flag, so a
// server that neither answers nor closes cannot hold the caller forever.
// The platform parts live in tcp_client_posix.cpp and tcp_client_win.cpp.
#include <atomic>
#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

class TcpClient {
 public:
  using Clock = std::chrono::steady_clock;

  enum class WaitResult { kReady, kTimedOut, kStopped, kFailed };

  TcpClient() = default;
  ~TcpClient() { Close(); }
  TcpClient(TcpClient&& other) noexcept : handle_(other.handle_) { other.handle_ = kInvalid; }
  TcpClient& operator=(TcpClient&& other) noexcept {
    if (this != &other) {
      Close();
      handle_ = other.handle_;
      other.handle_ = kInvalid;
    }
    return *this;
  }
  TcpClient(const TcpClient&) = delete;
  TcpClient& operator=(const TcpClient&) = delete;

  // The first IPv4 address of `host` (a name or dotted address), in network
  // byte order. False when the lookup fails.
  static bool ResolveIpv4(const std::string& host, std::uint32_t& address);

  // Creates the IPv4 stream socket. False when the system refuses.
  bool Open();

  // Connects to address:port. kFailed when refused or unreachable.
  // REQUIRES: Open() succeeded; 1 <= port <= 65535.
  WaitResult Connect(std::uint32_t address, int port, Clock::time_point deadline,
                     const std::atomic<bool>* stop);

  // One send call; like the fetch it serves, it does not look at the result.
  void SendOnce(std::string_view bytes);

  // Waits until data or the peer's close can be read, then reads at most
  // `size` bytes. Returns the count (> 0), 0 when the peer closed, or -1 when
  // the read failed (e.g. a reset); `wait` says why nothing was read when
  // the deadline passed or the stop flag was raised (the return is then -1).
  int Receive(char* buffer, int size, Clock::time_point deadline, const std::atomic<bool>* stop,
              WaitResult& wait);

  void Close();

 private:
  static constexpr std::intptr_t kInvalid = -1;
  std::intptr_t handle_ = kInvalid;
};
