// BigBuffer: a mapping of its own for big sizes (natively), the heap otherwise.
#include "base/big_buffer.h"

#include <new>

#ifndef _WIN32
#include <sys/mman.h>

#include <cstdint>
#endif

namespace {

#ifndef _WIN32
constexpr std::size_t kHugePage = std::size_t{2} << 20;

// A zero-filled mapping whose start is aligned to a huge page, offered for
// huge pages (the system may decline; then it is ordinary memory). Returns
// nullptr on failure.
char* MapAligned(std::size_t size, std::size_t* mapped) {
  std::size_t length = (size + kHugePage - 1) / kHugePage * kHugePage;
  void* raw = mmap(nullptr, length + kHugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (raw == MAP_FAILED) return nullptr;
  auto start = reinterpret_cast<std::uintptr_t>(raw);
  std::uintptr_t aligned = (start + kHugePage - 1) / kHugePage * kHugePage;
  // Give back the unaligned head and the unused tail.
  if (aligned != start) munmap(raw, aligned - start);
  std::size_t tail = (start + length + kHugePage) - (aligned + length);
  if (tail != 0) munmap(reinterpret_cast<void*>(aligned + length), tail);
  madvise(reinterpret_cast<void*>(aligned), length, MADV_HUGEPAGE);
  *mapped = length;
  return reinterpret_cast<char*>(aligned);
}
#endif

}  // namespace

BigBuffer::BigBuffer(std::size_t size) : size_(size) {
#ifndef _WIN32
  // Below a few huge pages the mapping is not worth its system calls.
  if (size >= 2 * kHugePage) {
    data_ = MapAligned(size, &mapped_);
    if (data_ == nullptr) throw std::bad_alloc();
    return;
  }
#endif
  data_ = new char[size == 0 ? 1 : size]();
}

void BigBuffer::Free() noexcept {
#ifndef _WIN32
  if (mapped_ != 0) {
    munmap(data_, mapped_);
    data_ = nullptr;
    return;
  }
#endif
  delete[] data_;
  data_ = nullptr;
}
