#pragma once
// BigBuffer: memory for large data that is filled once and freed as a whole
// (the bytes of event.dat), and BigBlockAllocator: the same memory for a
// container (the records of a list).
//
// Why not std::string, new[] or std::allocator: touching fresh memory costs a
// page fault per 4 KB page, and for a file of 10 MB those faults cost several
// times the reading itself. Natively a big block is mapped on its own and
// offered to the system for 2 MB pages, which take one fault each; elsewhere,
// and for small sizes, it is plain heap memory.
#include <cstddef>
#include <new>

// `size` bytes (not zeroed); throws std::bad_alloc when there is no memory.
void* AllocateBigBlock(std::size_t size);
// REQUIRES: `block` came from AllocateBigBlock(size), with this very size.
void FreeBigBlock(void* block, std::size_t size) noexcept;
// Whether a new block of `size` bytes comes zeroed (a mapping of its own).
bool BigBlockComesZeroed(std::size_t size);

class BigBuffer {
 public:
  BigBuffer() = default;
  // `size` zero bytes. Throws std::bad_alloc when there is no memory.
  explicit BigBuffer(std::size_t size);
  ~BigBuffer() { FreeBigBlock(data_, capacity_); }
  BigBuffer(BigBuffer&& other) noexcept { Take(other); }
  BigBuffer& operator=(BigBuffer&& other) noexcept {
    if (this != &other) {
      FreeBigBlock(data_, capacity_);
      Take(other);
    }
    return *this;
  }
  BigBuffer(const BigBuffer&) = delete;
  BigBuffer& operator=(const BigBuffer&) = delete;

  char* data() { return data_; }
  const char* data() const { return data_; }
  std::size_t size() const { return size_; }
  // Shortens the buffer (its memory stays until it is freed).
  // REQUIRES: size <= this->size().
  void Truncate(std::size_t size) { size_ = size; }

 private:
  void Take(BigBuffer& other) noexcept {
    data_ = other.data_;
    size_ = other.size_;
    capacity_ = other.capacity_;
    other.data_ = nullptr;
    other.size_ = other.capacity_ = 0;
  }

  char* data_ = nullptr;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;  // what data_ was allocated with
};

// For std::vector and the like: every block from AllocateBigBlock. Stateless,
// so containers move their memory between each other freely.
template <typename T>
class BigBlockAllocator {
 public:
  static_assert(alignof(T) <= __STDCPP_DEFAULT_NEW_ALIGNMENT__, "heap blocks are aligned only this far");
  using value_type = T;

  BigBlockAllocator() noexcept = default;
  template <typename U>
  BigBlockAllocator(const BigBlockAllocator<U>&) noexcept {}  // NOLINT: rebinding, as std::allocator

  T* allocate(std::size_t n) {
    if (n > static_cast<std::size_t>(-1) / sizeof(T)) throw std::bad_array_new_length();
    return static_cast<T*>(AllocateBigBlock(n * sizeof(T)));
  }
  void deallocate(T* block, std::size_t n) noexcept { FreeBigBlock(block, n * sizeof(T)); }

  friend bool operator==(const BigBlockAllocator&, const BigBlockAllocator&) noexcept { return true; }
};
