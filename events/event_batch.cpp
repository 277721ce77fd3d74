// EventBatch: one block for the records of a load.
#include "events/event_batch.h"

// Out of line, so the compiler pairs these with the operator delete below
// instead of with the global one they call.
void* CMyEvent::operator new(std::size_t size) { return ::operator new(size); }
void* CMyEvent::operator new(std::size_t, void* place) noexcept { return place; }

void CMyEvent::operator delete(CMyEvent* event, std::destroying_delete_t) {
  bool in_batch = event->in_batch_;
  event->~CMyEvent();
  if (!in_batch) ::operator delete(event);
}

void EventBatch::Reserve(std::size_t capacity) {
  if (capacity_ != 0 || capacity == 0) return;
  block_ = BigBuffer(capacity * sizeof(CMyEvent));  // aligned for any object, like new
  capacity_ = capacity;
}

// A load of 100k events keeps 100k of these in its block.
static_assert(sizeof(void*) != 8 || sizeof(CMyEvent) == 48, "a record should stay 48 bytes");
