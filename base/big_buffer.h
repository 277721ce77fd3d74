#pragma once
// BigBuffer: memory for large data that is filled once and freed as a whole
// (the bytes of event.dat and the records of a load).
//
// Why not std::string or new[]: touching fresh memory costs a page fault per
// 4 KB page, and for a file of 10 MB those faults cost several times the
// reading itself. Natively a big buffer is mapped on its own and offered to
// the system for 2 MB pages, which take one fault each; elsewhere, and for
// small sizes, it is plain heap memory.
#include <cstddef>

class BigBuffer {
 public:
  BigBuffer() = default;
  // `size` zero bytes. Throws std::bad_alloc when there is no memory.
  explicit BigBuffer(std::size_t size);
  ~BigBuffer() { Free(); }
  BigBuffer(BigBuffer&& other) noexcept { Take(other); }
  BigBuffer& operator=(BigBuffer&& other) noexcept {
    if (this != &other) {
      Free();
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
  void Free() noexcept;
  void Take(BigBuffer& other) noexcept {
    data_ = other.data_;
    size_ = other.size_;
    mapped_ = other.mapped_;
    other.data_ = nullptr;
    other.size_ = other.mapped_ = 0;
  }

  char* data_ = nullptr;
  std::size_t size_ = 0;
  std::size_t mapped_ = 0;  // nonzero: data_ starts a mapping of this many bytes
};
