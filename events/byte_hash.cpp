// HashBytes: a multiply-rotate hash in four lanes.
#include "events/byte_hash.h"

#include <cstring>

namespace {

constexpr std::uint64_t kHashMultiplier = 0x9E3779B97F4A7C15ull;  // odd: multiplying by it loses nothing

std::uint64_t RotateLeft(std::uint64_t v, int n) { return (v << n) | (v >> (64 - n)); }

std::uint64_t Word(const char* p) {
  std::uint64_t v;
  std::memcpy(&v, p, sizeof v);  // the machine's byte order: the hash never leaves this run
  return v;
}

// Each step is one-to-one in `lane`, so two inputs that differ in one word
// leave the lane different, whatever follows.
std::uint64_t Mix(std::uint64_t lane, std::uint64_t word) {
  return RotateLeft(lane ^ word, 29) * kHashMultiplier;
}

}  // namespace

std::uint64_t HashBytes(std::string_view bytes) {
  std::uint64_t lanes[4] = {1, 2, 3, 4};
  const char* p = bytes.data();
  std::size_t left = bytes.size();
  for (; left >= 32; p += 32, left -= 32) {
    for (int i = 0; i < 4; ++i) lanes[i] = Mix(lanes[i], Word(p + 8 * i));
  }
  std::uint64_t hash = bytes.size();
  for (std::uint64_t lane : lanes) hash = Mix(hash, lane);
  for (; left >= 8; p += 8, left -= 8) hash = Mix(hash, Word(p));
  std::uint64_t tail = 0;
  if (left != 0) std::memcpy(&tail, p, left);
  return Mix(Mix(hash, tail), 0);
}
