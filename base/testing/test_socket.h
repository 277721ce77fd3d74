#pragma once
// The few socket calls the loopback test servers need, behind one seam:
// test_socket_posix.cpp and test_socket_win.cpp.
#include <cstdint>
#include <string_view>

namespace test_socket {

using Handle = std::intptr_t;
inline constexpr Handle kInvalid = -1;

// Starts the system's sockets for the whole process (Windows Sockets; nothing
// natively). Call once before the first socket, for tests whose main does not.
bool StartSockets();

// A listening socket on 127.0.0.1 with an ephemeral port (returned in `port`).
Handle ListenOnLoopback(int backlog, int& port);
// An accepted connection, or kInvalid when none arrived within `timeout_ms`.
Handle Accept(Handle listener, int timeout_ms);
// Connects to 127.0.0.1:port (blocking); kInvalid on failure.
Handle ConnectToLoopback(int port);
// Bytes read (> 0), 0 when the peer closed, -1 on error, -2 when nothing
// arrived within `timeout_ms`.
int Receive(Handle connection, char* buffer, int size, int timeout_ms);
bool SendAll(Handle connection, std::string_view bytes);
// Half-closes the sending side: the peer reads the end of the stream.
void ShutdownSend(Handle connection);
void Close(Handle handle);
// Closes so that the peer gets a reset instead of an orderly end.
void CloseWithReset(Handle connection);

}  // namespace test_socket
