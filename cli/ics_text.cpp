#include "cli/ics_text.h"

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

#include "base/byte_words.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

constexpr std::size_t kMaxLineOctets = 75;

// What each byte of a text needs: nothing, a backslash before it, a line
// break ("\n"), or leaving out (a control character other than tab).
enum Need : unsigned char { kPlain, kBackslash, kLineBreak, kLeaveOut };

constexpr std::array<unsigned char, 256> kNeeds = [] {
  std::array<unsigned char, 256> needs{};
  for (int c = 0; c < 0x20; ++c) needs[c] = kLeaveOut;
  needs[0x7F] = kLeaveOut;
  needs['\t'] = kPlain;
  needs['\r'] = needs['\n'] = kLineBreak;
  needs['\\'] = needs[';'] = needs[','] = kBackslash;
  return needs;
}();

using byte_words::BytesBefore;
using byte_words::kHighBits;
using byte_words::kOnes;
using byte_words::Load8;

// The high bit of each byte of `low7` (bytes below 0x80) that equals c.
constexpr std::uint64_t BytesEqual(std::uint64_t low7, unsigned char c) {
  return ~((low7 ^ (kOnes * c)) + kOnes * 0x7F);
}

// The high bit of each byte of `word` that may need more than a copy: a
// control character, DEL, backslash, semicolon or comma (exact; tab, which
// stays, is marked too), and with `mark_high`, every byte of 0x80 or more.
// Byte by byte, with no carry from one byte into the next.
template <bool mark_high>
constexpr std::uint64_t BytesToLookAt(std::uint64_t word) {
  const std::uint64_t low7 = word & ~kHighBits;
  const std::uint64_t control = ~(low7 + kOnes * (0x80 - 0x20));
  const std::uint64_t del = low7 + kOnes;
  std::uint64_t marks =
      control | del | BytesEqual(low7, '\\') | BytesEqual(low7, ';') | BytesEqual(low7, ',');
  return (mark_high ? (marks | word) : (marks & ~word)) & kHighBits;
}

#if defined(__SSE2__)
// The same for sixteen bytes, which it also copies to `to`: bit i of the
// result for byte i.
template <bool mark_high>
unsigned CopyAndLookAt16(const char* from, char* to) {
  const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(to), bytes);
  // Signed: bytes of 0x80 or more count as below 0x20.
  __m128i control = _mm_cmplt_epi8(bytes, _mm_set1_epi8(0x20));
  if constexpr (!mark_high) control = _mm_andnot_si128(_mm_cmplt_epi8(bytes, _mm_setzero_si128()), control);
  const __m128i special = _mm_or_si128(
      _mm_or_si128(_mm_cmpeq_epi8(bytes, _mm_set1_epi8(0x7F)), _mm_cmpeq_epi8(bytes, _mm_set1_epi8('\\'))),
      _mm_or_si128(_mm_cmpeq_epi8(bytes, _mm_set1_epi8(';')), _mm_cmpeq_epi8(bytes, _mm_set1_epi8(','))));
  return static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(control, special)));
}
#endif

// Writes the ASCII byte text[*i], which may need escaping, and steps past it
// (and past the LF of a CR LF).
inline char* PutAscii(std::string_view text, std::size_t* i, char* at) {
  const char c = text[*i];
  switch (kNeeds[static_cast<unsigned char>(c)]) {
    case kPlain:
      *at++ = c;
      break;
    case kBackslash:
      at[0] = '\\';
      at[1] = c;
      at += 2;
      break;
    case kLineBreak:
      at[0] = '\\';
      at[1] = 'n';
      at += 2;
      if (c == '\r' && *i + 1 < text.size() && text[*i + 1] == '\n') ++*i;
      break;
    default:
      break;
  }
  ++*i;
  return at;
}

// The loop both kinds of text share: plain ASCII sixteen or eight bytes at a
// time (stored whole, and the part up to the first byte to look at kept),
// then that byte on its own. `from_cp936` decides what a byte of 0x80 or more
// is: the lead of a double-byte character, or a byte of UTF-8 to copy.
template <bool from_cp936>
char* PutText(std::string_view text, char* at, Cp936Characters* characters) {
  const char* p = text.data();
  const std::size_t n = text.size();
  [[maybe_unused]] const Cp936Characters::Table table =
      from_cp936 ? characters->table() : Cp936Characters::Table{};
  std::size_t i = 0;
  while (i < n) {
#if defined(__SSE2__)
    if (i + 16 <= n) {
      const unsigned look = CopyAndLookAt16<from_cp936>(p + i, at);
      if (look == 0) {
        i += 16;
        at += 16;
        continue;
      }
      const auto plain = static_cast<std::size_t>(std::countr_zero(look));
      i += plain;
      at += plain;
    } else
#endif
        if (i + 8 <= n) {
      const std::uint64_t word = Load8(p + i);
      std::memcpy(at, &word, 8);
      const std::uint64_t look = BytesToLookAt<from_cp936>(word);
      if (look == 0) {
        i += 8;
        at += 8;
        continue;
      }
      const std::size_t plain = BytesBefore(look);
      i += plain;
      at += plain;
    } else if (n >= 8) {
      // The last few bytes: the last eight of the text, shifted down past
      // those already written, and only the bytes left looked at.
      const std::size_t left = n - i, behind = 8 - left;
      const std::uint64_t word = Load8(p + n - 8) >> (8 * behind);
      std::memcpy(at, &word, 8);
      const std::uint64_t look = BytesToLookAt<from_cp936>(word) & (~std::uint64_t{0} >> (8 * behind));
      if (look == 0) {
        at += left;
        break;
      }
      const std::size_t plain = BytesBefore(look);
      i += plain;
      at += plain;
    }
    const auto c = static_cast<unsigned char>(p[i]);
    if (c < 0x80) {
      at = PutAscii(text, &i, at);
      continue;
    }
    if constexpr (!from_cp936) {
      *at++ = p[i++];
    } else {
      at = table.PutRun(p, n, &i, at);
      if (at == nullptr) return nullptr;
    }
  }
  return at;
}

bool IsUtf8Continuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// Where a line of `size` octets at `line` is cut when at most `limit` fit:
// never inside a UTF-8 character, unless the octets are not UTF-8 at all.
std::size_t CutAt(const char* line, std::size_t limit) {
  std::size_t cut = limit;
  while (cut > 0 && IsUtf8Continuation(line[cut])) --cut;
  return cut == 0 ? limit : cut;
}

}  // namespace

char* PutIcsTextFromCp936(std::string_view cp936, char* at, Cp936Characters& characters) {
  return PutText<true>(cp936, at, &characters);
}

char* PutIcsEscaped(std::string_view utf8, char* at) { return PutText<false>(utf8, at, nullptr); }

std::size_t IcsFoldCount(const char* line, std::size_t size) {
  std::size_t folds = 0, limit = kMaxLineOctets;
  while (size > limit) {
    std::size_t cut = CutAt(line, limit);
    line += cut;
    size -= cut;
    ++folds;
    limit = kMaxLineOctets - 1;  // the leading space counts
  }
  return folds;
}

char* FoldIcsLineInPlace(char* line, std::size_t size, std::size_t folds) {
  if (folds == 0) return line + size;
  constexpr std::size_t kMaxPieces = 32;
  if (folds < kMaxPieces) {
    // Where each piece starts, found from the front; then each piece moved
    // from the back, by three octets for each fold before it, so only the
    // octets after the first cut move, once.
    std::size_t starts[kMaxPieces];
    starts[0] = 0;
    for (std::size_t piece = 1; piece <= folds; ++piece) {
      starts[piece] = starts[piece - 1] +
                      CutAt(line + starts[piece - 1], piece == 1 ? kMaxLineOctets : kMaxLineOctets - 1);
    }
    std::size_t end = size;
    for (std::size_t piece = folds; piece > 0; --piece) {
      std::memmove(line + starts[piece] + 3 * piece, line + starts[piece], end - starts[piece]);
      std::memcpy(line + starts[piece] + 3 * (piece - 1), "\r\n ", 3);
      end = starts[piece];
    }
    return line + size + 3 * folds;
  }
  // Moved to the end of its room first, then copied forward piece by piece:
  // the copy gains three octets a fold and so never overtakes what it reads.
  const char* from = line + 3 * folds;
  std::memmove(line + 3 * folds, line, size);
  char* to = line;
  std::size_t limit = kMaxLineOctets;
  while (size > limit) {
    std::size_t cut = CutAt(from, limit);
    std::memmove(to, from, cut);
    to += cut;
    std::memcpy(to, "\r\n ", 3);
    to += 3;
    from += cut;
    size -= cut;
    limit = kMaxLineOctets - 1;
  }
  std::memmove(to, from, size);
  return to + size;
}
