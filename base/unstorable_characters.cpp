// UnstorableCharacters: what code page 936 cannot hold, found by a round trip
// through the platform's own conversion.
#include "base/text_convert.h"

namespace cp936 {

std::u16string UnstorableCharacters(std::u16string_view wide) {
  std::u16string unstorable;
  // Almost every text round-trips whole: only then is it taken apart.
  if (ToUtf16(FromUtf16(wide)) == wide) return unstorable;
  for (std::size_t i = 0; i < wide.size();) {
    const bool pair = i + 1 < wide.size() && wide[i] >= 0xD800 && wide[i] <= 0xDBFF &&
                      wide[i + 1] >= 0xDC00 && wide[i + 1] <= 0xDFFF;
    const std::u16string_view character = wide.substr(i, pair ? 2 : 1);
    i += character.size();
    if (ToUtf16(FromUtf16(character)) == character) continue;
    if (unstorable.find(character) != std::u16string::npos) continue;
    unstorable += character;
  }
  return unstorable;
}

}  // namespace cp936
