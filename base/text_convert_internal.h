#pragma once
#include <string>
#include <string_view>

namespace cp936 {

// The double-byte character (lead, trail) in UTF-8, straight from the
// system's conversion; false when it does not take the two bytes as one
// character. Each platform's conversion file has it.
bool ConvertPair(unsigned char lead, unsigned char trail, std::string* utf8);

// Without an early exit, so the compiler can test many bytes at once.
inline bool IsAscii(std::string_view text) {
  unsigned char all = 0;
  for (char c : text) all |= static_cast<unsigned char>(c);
  return all < 0x80;
}

// Code page 936 holds no character beyond the basic plane: each surrogate
// pair becomes one '?', so both platforms give one '?' per lost character.
inline std::u16string FoldSurrogatePairs(std::u16string_view wide) {
  std::u16string units;
  units.reserve(wide.size());
  for (std::size_t i = 0; i < wide.size(); ++i) {
    bool pair = wide[i] >= 0xD800 && wide[i] < 0xDC00 && i + 1 < wide.size() && wide[i + 1] >= 0xDC00 &&
                wide[i + 1] < 0xE000;
    units.push_back(pair ? u'?' : wide[i]);
    if (pair) ++i;
  }
  return units;
}

}  // namespace cp936
