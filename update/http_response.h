#pragma once
// What the HTTP fetch looks at in a response: the first "<?xml" and the first
// "Content-Length:" header, nothing else (no status code, no content type).
// Kept apart from the socket code so that tests and the fuzz target reach it.
#include <cstddef>
#include <string_view>

struct HttpResponseCheck {
  static constexpr std::size_t kNone = std::string_view::npos;
  // Offset of the first "<?xml" anywhere in the response, or kNone.
  std::size_t xml_offset = kNone;
  // The declared body length: the number read in the manner of atoi starting
  // 16 characters after the start of "Content-Length:" (after the colon and
  // one more character, normally the blank); 0 when the header is missing,
  // lower case, or holds no number. Clamped to the int range.
  int declared_length = 0;
  // Bytes from "<?xml" to the end of the response (0 without "<?xml").
  std::size_t xml_bytes = 0;

  bool has_xml() const { return xml_offset != kNone; }
  // The body length agrees with the declared one within 3 bytes either way
  // (a byte-order mark or a stray line end before "<?xml" is tolerated).
  bool length_agrees() const;
};

// REQUIRES: `received` is the response as a text, that is, up to its first
// zero byte.
HttpResponseCheck CheckHttpResponse(std::string_view received);
