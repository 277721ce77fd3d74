// Big blocks: a mapping of their own for big sizes (natively), the heap otherwise.
#include "base/big_buffer.h"

#include <cstring>

#ifndef _WIN32
#include <sys/mman.h>

#include <cstdint>
#endif

namespace {

#ifndef _WIN32
constexpr std::size_t kHugePage = std::size_t{2} << 20;

// Below a few huge pages the mapping is not worth its system calls.
bool Mapped(std::size_t size) { return size >= 2 * kHugePage; }

std::size_t MappedLength(std::size_t size) { return (size + kHugePage - 1) / kHugePage * kHugePage; }

// A zero-filled mapping whose start is aligned to a huge page, offered for
// huge pages (the system may decline; then it is ordinary memory). Returns
// nullptr on failure.
void* MapAligned(std::size_t size) {
  const std::size_t length = MappedLength(size);
  void* raw = mmap(nullptr, length + kHugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (raw == MAP_FAILED) return nullptr;
  auto start = reinterpret_cast<std::uintptr_t>(raw);
  std::uintptr_t aligned = (start + kHugePage - 1) / kHugePage * kHugePage;
  // Give back the unaligned head and the unused tail.
  if (aligned != start) munmap(raw, aligned - start);
  std::size_t tail = (start + length + kHugePage) - (aligned + length);
  if (tail != 0) munmap(reinterpret_cast<void*>(aligned + length), tail);
  madvise(reinterpret_cast<void*>(aligned), length, MADV_HUGEPAGE);
  return reinterpret_cast<void*>(aligned);
}
#else
bool Mapped(std::size_t) { return false; }
#endif

}  // namespace

void* AllocateBigBlock(std::size_t size) {
#ifndef _WIN32
  if (Mapped(size)) {
    void* block = MapAligned(size);
    if (block == nullptr) throw std::bad_alloc();
    return block;
  }
#endif
  return ::operator new(size == 0 ? 1 : size);
}

void FreeBigBlock(void* block, [[maybe_unused]] std::size_t size) noexcept {
  if (block == nullptr) return;
#ifndef _WIN32
  if (Mapped(size)) {
    munmap(block, MappedLength(size));
    return;
  }
#endif
  ::operator delete(block);
}

bool BigBlockComesZeroed(std::size_t size) { return Mapped(size); }

BigBuffer::BigBuffer(std::size_t size)
    : data_(static_cast<char*>(AllocateBigBlock(size))), size_(size), capacity_(size) {
  if (!BigBlockComesZeroed(size)) std::memset(data_, 0, size);
}
