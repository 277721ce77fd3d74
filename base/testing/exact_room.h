#pragma once
// For code that writes into room its caller set aside: runs it on a heap
// block of exactly that size, where the address sanitizer catches a write
// past the end.
#include <cstddef>
#include <memory>
#include <string>

namespace testing_room {

// `write(at)` into a heap block of exactly `room` bytes; what it wrote up to
// the end it returns, or "(refused)" when it returns null.
template <typename Write>
std::string WrittenInto(std::size_t room, Write write) {
  auto block = std::make_unique<char[]>(room);
  const char* start = block.get();
  const char* end = write(block.get());
  return end == nullptr ? "(refused)" : std::string(start, end);
}

inline std::string Repeated(const std::string& piece, std::size_t times) {
  std::string text;
  text.reserve(piece.size() * times);
  for (std::size_t i = 0; i < times; ++i) text += piece;
  return text;
}

}  // namespace testing_room
