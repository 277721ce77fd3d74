#pragma once
// SharedBytes: bytes that several owners hold at once, freed when the last
// of them lets go. A load of event.dat reads the file into one of these; the
// store keeps it to compare the file with later, and every text read from
// the file holds a share of it (shared_text.h). A text set by the program
// gets a block of its own.
//
// The shares are counted without atomics (a load of 100k events hands out
// 200k of them; counted atomically, the load took about half as long again):
// bytes, and the texts and records that share them, stay on the thread that
// made them. Only the user-interface thread and tallyo-cli's one thread
// handle events.
#include <cstddef>
#include <string_view>
#include <utility>

#include "base/big_buffer.h"

class SharedBytes {
 public:
  SharedBytes() noexcept = default;
  // Takes `bytes` over; this is their first share.
  explicit SharedBytes(BigBuffer bytes);
  // A copy of `bytes` in a block of its own; none for no bytes.
  static SharedBytes CopyOf(std::string_view bytes);

  SharedBytes(const SharedBytes& other) noexcept : block_(other.block_) {
    if (block_ != nullptr) ++block_->shares;
  }
  SharedBytes(SharedBytes&& other) noexcept : block_(std::exchange(other.block_, nullptr)) {}
  SharedBytes& operator=(const SharedBytes& other) noexcept {
    SharedBytes copy(other);
    std::swap(block_, copy.block_);
    return *this;
  }
  SharedBytes& operator=(SharedBytes&& other) noexcept {
    SharedBytes taken(std::move(other));
    std::swap(block_, taken.block_);
    return *this;
  }
  // Inline: a list of 100k loaded records lets go of 200k shares.
  ~SharedBytes() {
    if (block_ != nullptr && --block_->shares == 0) Free(block_);
  }

  const char* data() const noexcept { return block_ != nullptr ? block_->data : ""; }
  std::size_t size() const noexcept { return block_ != nullptr ? block_->size : 0; }
  std::string_view view() const noexcept { return {data(), size()}; }

 private:
  // A copy's bytes follow its block in the same allocation; a load's are
  // its buffer.
  struct Block {
    std::size_t shares;
    const char* data;
    std::size_t size;
    BigBuffer buffer;
  };
  static void Free(Block* block) noexcept;

  Block* block_ = nullptr;
};
