// What the sync reads that others may have written, as any bytes: the state
// file beside event.dat (a crash, a disk, a user's editor) and a server's
// to-do that an answer marks done. Checks what the pass relies on: a state
// read is written back to the same bytes, and marking done twice is once.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "sync/sync_state.h"
#include "sync/todo_status.h"

namespace {
void Check(bool condition) {
  if (!condition) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  SyncState state;
  if (SyncStateFromBytes(bytes, &state).ok()) {
    SyncState again;
    Check(SyncStateFromBytes(SyncStateToBytes(state), &again).ok());
    Check(again == state);
  } else {
    Check(state == SyncState());
  }
  const std::string done = MarkTodoCompleted(bytes);
  Check(MarkTodoCompleted(done) == done);
  return 0;
}
