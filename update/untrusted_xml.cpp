#include "update/untrusted_xml.h"

#include <tinyxml.h>

#include <string>

namespace {
// More than the three bytes the parser may step past the end.
constexpr std::size_t kZeroGuardBytes = 8;
}  // namespace

bool ParseUntrustedXml(TiXmlDocument& document, std::string_view text) {
  text = text.substr(0, text.find('\0'));
  if (CountXmlElementStarts(text) > kMaxXmlElementStarts) return false;
  std::string guarded(text);
  guarded.append(kZeroGuardBytes, '\0');
  document.Parse(guarded.c_str(), nullptr, TIXML_DEFAULT_ENCODING);
  return true;
}

std::size_t CountXmlElementStarts(std::string_view text) {
  std::size_t count = 0;
  for (std::size_t pos = text.find('<'); pos != std::string_view::npos && pos + 1 < text.size();
       pos = text.find('<', pos + 1)) {
    unsigned char next = static_cast<unsigned char>(text[pos + 1]);
    bool letter = (next >= 'a' && next <= 'z') || (next >= 'A' && next <= 'Z');
    if (letter || next == '_' || next >= 127) ++count;
  }
  return count;
}
