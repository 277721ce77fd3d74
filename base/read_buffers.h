#pragma once
// The two kinds of buffer a whole file is read into (a string, or a
// BigBuffer for a load of event.dat), behind the same three calls, so each
// platform's file system reads both with one piece of code.
#include <cstring>
#include <string>

#include "base/big_buffer.h"

namespace read_buffers {

// Makes *buffer `size` bytes long; its content is to be overwritten.
inline void Reset(std::string* buffer, std::size_t size) { buffer->assign(size, '\0'); }
inline void Reset(BigBuffer* buffer, std::size_t size) { *buffer = BigBuffer(size); }

// Makes *buffer `size` bytes long, keeping what it holds.
inline void Grow(std::string* buffer, std::size_t size) { buffer->resize(size); }
inline void Grow(BigBuffer* buffer, std::size_t size) {
  BigBuffer bigger(size);
  std::memcpy(bigger.data(), buffer->data(), buffer->size());
  *buffer = std::move(bigger);
}

inline void Shorten(std::string* buffer, std::size_t size) { buffer->resize(size); }
inline void Shorten(BigBuffer* buffer, std::size_t size) { buffer->Truncate(size); }

}  // namespace read_buffers
