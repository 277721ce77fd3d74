#include "base/byte_words.h"

#include <gtest/gtest.h>

// The first byte below the limit is found exactly, wherever it stands and
// whatever the bytes after it (a borrow may mark a later byte wrongly).
TEST(ByteWords, FirstByteBelowTheLimitIsExact) {
  const unsigned char samples[] = {0x00, 0x01, 0x09, 0x0D, 0x0E, 0x20, 0x41, 0x7F, 0x80, 0xBA, 0xFF};
  for (unsigned char limit : {1, 14, 0x20, 0x80}) {
    for (std::size_t first = 0; first < 8; ++first) {
      for (unsigned char below : samples) {
        if (below >= limit) continue;
        for (unsigned char after : samples) {
          char bytes[8];
          for (std::size_t i = 0; i < 8; ++i) {
            bytes[i] = static_cast<char>(i < first ? limit : i == first ? below : after);
          }
          const std::uint64_t marks = byte_words::BytesBelow(byte_words::Load8(bytes), limit);
          ASSERT_NE(marks, 0u);
          ASSERT_EQ(byte_words::BytesBefore(marks), first)
              << int{limit} << " " << int{below} << " " << int{after};
        }
      }
      // None below: nothing marked.
      char none[8];
      for (char& c : none) c = static_cast<char>(limit);
      ASSERT_EQ(byte_words::BytesBelow(byte_words::Load8(none), limit), 0u);
    }
  }
}
