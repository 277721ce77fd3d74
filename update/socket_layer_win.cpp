#include "update/socket_layer.h"

#include <winsock2.h>

SocketLayer::SocketLayer() {
  WSADATA data;
  started_ = WSAStartup(MAKEWORD(1, 1), &data) == 0;
}

SocketLayer::~SocketLayer() {
  if (started_) WSACleanup();
}
