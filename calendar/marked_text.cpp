#include "calendar/marked_text.h"

#include <optional>

#include "base/text_convert.h"

namespace {

// The length of the UTF-8 character that starts with `lead`; 0 for a byte
// that starts none.
std::size_t Utf8Length(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

}  // namespace

std::string Cp936Marked(std::string_view utf8, int* marked) {
  // Almost every text converts whole: only then is it taken apart.
  if (std::optional<std::string> whole = cp936::FromUtf8(utf8)) return *whole;
  std::string out;
  out.reserve(utf8.size());
  std::size_t i = 0;
  while (i < utf8.size()) {
    // The longest run of ASCII goes as it is.
    std::size_t ascii = i;
    while (ascii < utf8.size() && static_cast<unsigned char>(utf8[ascii]) < 0x80) ++ascii;
    out.append(utf8.substr(i, ascii - i));
    i = ascii;
    if (i == utf8.size()) break;
    std::size_t length = Utf8Length(static_cast<unsigned char>(utf8[i]));
    if (i + length > utf8.size()) length = 0;
    for (std::size_t k = 1; k < length; ++k) {
      if ((static_cast<unsigned char>(utf8[i + k]) & 0xC0) != 0x80) length = 0;
    }
    std::optional<std::string> one;
    if (length != 0) one = cp936::FromUtf8(utf8.substr(i, length));
    if (one) {
      out += *one;
    } else {
      // A character the code page lacks, or a byte that starts none: one mark.
      out += kMissingCharacterMark;
      ++*marked;
    }
    i += length == 0 ? 1 : length;
  }
  return out;
}
