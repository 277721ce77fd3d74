// HashBytes and ByteHasher: a multiply-rotate hash in four lanes.
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

void ByteHasher::AddBlocks(std::string_view blocks) {
  // Local lanes, so the compiler keeps them in registers.
  std::uint64_t a = lanes_[0], b = lanes_[1], c = lanes_[2], d = lanes_[3];
  const char* p = blocks.data();
  for (std::size_t left = blocks.size(); left >= kBlock; p += kBlock, left -= kBlock) {
    a = Mix(a, Word(p));
    b = Mix(b, Word(p + 8));
    c = Mix(c, Word(p + 16));
    d = Mix(d, Word(p + 24));
  }
  lanes_[0] = a, lanes_[1] = b, lanes_[2] = c, lanes_[3] = d;
}

std::uint64_t ByteHasher::Finish(std::string_view rest, std::uint64_t total_size) const {
  ByteHasher last = *this;
  std::size_t blocks = rest.size() / kBlock * kBlock;
  last.AddBlocks(rest.substr(0, blocks));
  const char* p = rest.data() + blocks;
  std::size_t left = rest.size() - blocks;
  std::uint64_t hash = total_size;
  for (std::uint64_t lane : last.lanes_) hash = Mix(hash, lane);
  for (; left >= 8; p += 8, left -= 8) hash = Mix(hash, Word(p));
  std::uint64_t tail = 0;
  if (left != 0) std::memcpy(&tail, p, left);
  return Mix(Mix(hash, tail), 0);
}

std::uint64_t HashBytes(std::string_view bytes) { return ByteHasher().Finish(bytes, bytes.size()); }
