#pragma once
// The process-wide socket layer. Windows needs Windows Sockets started once
// before any socket call (version 1.1 is all the fetch needs); BSD sockets
// need nothing. Hold one SocketLayer for as long as sockets are used.
class SocketLayer {
 public:
  SocketLayer();
  ~SocketLayer();
  SocketLayer(const SocketLayer&) = delete;
  SocketLayer& operator=(const SocketLayer&) = delete;

  // False when the system refused to start its socket layer.
  bool ok() const { return started_; }

 private:
  bool started_ = false;
};
