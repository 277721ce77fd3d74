#pragma once
// Tells the address sanitizer which bytes of a buffer a writer may touch for
// now, so that a fast path that writes past the room it was given is caught
// inside a larger buffer too, as it would be at the end of a heap block.
// Does nothing in builds without the sanitizer.
#include <cstddef>

#if defined(__SANITIZE_ADDRESS__)
#define TALLYO_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TALLYO_ADDRESS_SANITIZER 1
#endif
#endif

#ifdef TALLYO_ADDRESS_SANITIZER
#include <sanitizer/asan_interface.h>
#endif

// Of the `size` bytes at `buffer`, only the first `usable` may be touched
// until the next call. REQUIRES: usable <= size.
inline void LimitToRoom(const char* buffer, std::size_t usable, std::size_t size) {
#ifdef TALLYO_ADDRESS_SANITIZER
  ASAN_UNPOISON_MEMORY_REGION(buffer, usable);
  ASAN_POISON_MEMORY_REGION(buffer + usable, size - usable);
#else
  (void)buffer;
  (void)usable;
  (void)size;
#endif
}
