#pragma once
// Looking at eight bytes of text at a time in one 64-bit word.
//
// Byte i of the text is bits 8i to 8i + 7 of the word, as a little-endian
// load gives it: the borrows of BytesBelow run from a byte to the ones after
// it, so the first byte marked is exact. On a big-endian machine they would
// run the other way and mark bytes before the first real one; every
// platform Tallyo builds for is little-endian.
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

static_assert(std::endian::native == std::endian::little, "the word tricks need a little-endian machine");

namespace byte_words {

constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;

inline std::uint64_t Load8(const char* at) {
  std::uint64_t word;
  std::memcpy(&word, at, 8);
  return word;
}

// The number of bytes before the first one whose high bit `high_bits` marks.
inline std::size_t BytesBefore(std::uint64_t high_bits) {
  return static_cast<std::size_t>(std::countr_zero(high_bits)) / 8;
}

// The high bit of each byte below `limit` (at most 0x80), exact for the
// question "is any byte below the limit" and for the first byte it marks
// (a later byte may be marked wrongly, by a borrow).
constexpr std::uint64_t BytesBelow(std::uint64_t word, unsigned char limit) {
  return (word - kOnes * limit) & ~word & kHighBits;
}

}  // namespace byte_words
