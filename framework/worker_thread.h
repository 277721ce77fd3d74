#pragma once
// Starts work on a thread of its own that nobody waits for: it ends by
// itself or with the process.
#include <functional>

// Returns false when the system could not start the thread (the work is
// then not done).
bool StartWorkerThread(std::function<void()> work);
