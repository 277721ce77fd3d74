#include "framework/worker_thread.h"

#include <system_error>
#include <thread>

bool StartWorkerThread(std::function<void()> work) {
  try {
    std::thread(std::move(work)).detach();
    return true;
  } catch (const std::system_error&) {
    return false;
  }
}

std::function<void()> PostMessageSignal(HWND window, UINT message) {
  // A null window would post to the queue of whichever thread raises it.
  return [window, message] {
    if (window != nullptr) PostMessageW(window, message, 0, 0);
  };
}
