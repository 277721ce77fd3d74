// Cp936Characters: the table of double-byte characters, learned one by one.
#include "base/cp936_characters.h"

#include <string>

#include "base/byte_words.h"

#include "base/text_convert_internal.h"

Cp936Characters::Cp936Characters() : table_(std::make_unique<Utf8[]>(128 * 256)) {}

void Cp936Characters::Learn(unsigned char lead, unsigned char trail, Utf8& known) {
  known.length = kNone;
  // Only the double-byte range: anything else is left to the conversion of the whole text.
  if (lead < 0x81 || lead == 0xFF || trail < 0x40 || trail == 0xFF) return;
  std::string utf8;
  if (!cp936::ConvertPair(lead, trail, &utf8)) return;
  // One character of two or three octets, and not the mark of a byte that
  // is no character (its trail byte might start one in another text).
  const auto first = static_cast<unsigned char>(utf8.empty() ? 0 : utf8[0]);
  const std::size_t length = first >= 0xE0 ? 3 : 2;
  if (utf8.size() != length || first < 0xC2 || first >= 0xF0 || utf8 == "\xEF\xBF\xBD") return;
  std::memcpy(known.bytes, utf8.data(), length);
  known.length = static_cast<unsigned char>(length);
}

char* Cp936Characters::Table::PutKnown(std::string_view text, char* at) const {
  const char* p = text.data();
  const std::size_t n = text.size();
  std::size_t i = 0;
  while (i < n) {
    if (i + 8 <= n) {
      // Eight bytes at a time while they are ASCII, stored whole either way.
      const std::uint64_t word = byte_words::Load8(p + i);
      std::memcpy(at, &word, 8);
      const std::uint64_t high = word & byte_words::kHighBits;
      if (high == 0) {
        i += 8;
        at += 8;
        continue;
      }
      const std::size_t ascii = byte_words::BytesBefore(high);
      i += ascii;
      at += ascii;
    } else if (static_cast<unsigned char>(p[i]) < 0x80) {
      *at++ = p[i++];
      continue;
    }
    at = PutRun(p, n, &i, at);
    if (at == nullptr) return nullptr;
  }
  return at;
}

Cp936Characters& ThisThreadsCp936Characters() {
  // On the heap (the table is 128 KB), made by the first thread that asks.
  thread_local Cp936Characters characters;
  return characters;
}
static_assert(sizeof(Cp936Characters::Utf8) == 4);
