#pragma once
// Tells two versions of a file apart: a 64-bit hash that changes whenever a
// single byte or the length changes. It takes eight bytes at a time in four
// independent lanes, so hashing a file costs about as much as copying it.
// The value never leaves the running program.
#include <cstddef>
#include <cstdint>
#include <string_view>

std::uint64_t HashBytes(std::string_view bytes);

// The same hash, taken in pieces: Add() blocks as they become available,
// then Finish() with what is left. Gives exactly HashBytes of all the bytes.
class ByteHasher {
 public:
  static constexpr std::size_t kBlock = 32;

  // REQUIRES: blocks.size() is a multiple of kBlock.
  void AddBlocks(std::string_view blocks);
  // `rest`: the bytes after the last block (fewer than kBlock bytes need not
  // be; whole blocks in it are taken too). `total_size`: all bytes hashed.
  std::uint64_t Finish(std::string_view rest, std::uint64_t total_size) const;

 private:
  std::uint64_t lanes_[4] = {1, 2, 3, 4};
};
