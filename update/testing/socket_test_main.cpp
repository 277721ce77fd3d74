// GoogleTest main for tests that open sockets: Windows Sockets must be
// started before the first socket call.
#include <gtest/gtest.h>

#include <cstdio>

#include "update/socket_layer.h"

int main(int argc, char** argv) {
  SocketLayer sockets;
  if (!sockets.ok()) {
    std::fprintf(stderr, "the socket layer did not start\n");
    return 1;
  }
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
