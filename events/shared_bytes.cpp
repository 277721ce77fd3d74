// SharedBytes: the block and its count of shares.
#include "events/shared_bytes.h"

#include <cstring>
#include <new>

SharedBytes::SharedBytes(BigBuffer bytes) : block_(new Block{1, nullptr, bytes.size(), std::move(bytes)}) {
  block_->data = block_->buffer.data();
}

SharedBytes SharedBytes::CopyOf(std::string_view bytes) {
  SharedBytes copy;
  if (bytes.empty()) return copy;
  void* memory = ::operator new(sizeof(Block) + bytes.size());
  char* data = static_cast<char*>(memory) + sizeof(Block);
  std::memcpy(data, bytes.data(), bytes.size());
  copy.block_ = new (memory) Block{1, data, bytes.size(), BigBuffer()};
  return copy;
}

void SharedBytes::Free(Block* block) noexcept {
  block->~Block();
  ::operator delete(block);
}
