#pragma once
// Starts work on a thread of its own that nobody waits for: it ends by
// itself or with the process; and the signal such work raises when it is
// done.
#include <windows.h>

#include <functional>

// Returns false when the system could not start the thread (the work is
// then not done).
bool StartWorkerThread(std::function<void()> work);

// A signal a worker raises from its own thread: posts `message` to `window`,
// whose thread takes it from its queue like any other message, so the window
// learns of the end of the work without polling for it. Posting never waits;
// a window that is gone by then drops it.
std::function<void()> PostMessageSignal(HWND window, UINT message);
