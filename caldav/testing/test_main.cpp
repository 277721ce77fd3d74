// GoogleTest main for the calendar tests: the stand-in servers need the
// system's sockets started first (Windows Sockets).
#include <gtest/gtest.h>

#include <cstdio>

#include "base/testing/test_socket.h"

int main(int argc, char** argv) {
  if (!test_socket::StartSockets()) {
    std::fprintf(stderr, "the sockets did not start\n");
    return 1;
  }
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
