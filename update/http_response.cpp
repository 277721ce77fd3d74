#include "update/http_response.h"

#include <cstdint>

#include "base/atoi_clamped.h"

namespace {

constexpr std::string_view kXmlMark = "<?xml";
constexpr std::string_view kLengthHeader = "Content-Length:";
// The number is read from here on: past the colon and exactly one more character.
constexpr std::size_t kNumberOffset = 16;

}  // namespace

bool HttpResponseCheck::length_agrees() const {
  std::int64_t difference = static_cast<std::int64_t>(declared_length) - static_cast<std::int64_t>(xml_bytes);
  return difference >= -3 && difference <= 3;
}

HttpResponseCheck CheckHttpResponse(std::string_view received) {
  HttpResponseCheck check;
  check.xml_offset = received.find(kXmlMark);
  if (check.has_xml()) check.xml_bytes = received.size() - check.xml_offset;
  std::size_t header = received.find(kLengthHeader);
  // A header at the very end of the text has no number after it.
  if (header != std::string_view::npos && header + kNumberOffset <= received.size()) {
    check.declared_length = AtoiClamped(received.substr(header + kNumberOffset));
  }
  return check;
}
