#pragma once
// Conversions between code page 936 and Unicode. Natively through iconv,
// on Windows through the system's code page 936 tables; never through the
// system's ANSI code page.
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace cp936 {

// UTF-8 to code page 936; nullopt when the input is not valid UTF-8 or holds
// a character that code page 936 cannot represent.
std::optional<std::string> FromUtf8(std::string_view utf8);

// Code page 936 to UTF-8; a byte sequence that is not code page 936 becomes U+FFFD.
std::string ToUtf8(std::string_view text);

// UTF-16 to code page 936; characters code page 936 lacks become '?', as the
// system conversion does with its default character.
std::string FromUtf16(std::u16string_view wide);

// Code page 936 to UTF-16; invalid sequences become U+FFFD.
std::u16string ToUtf16(std::string_view text);

// ToUtf8 for many texts in a row (an export of every event): the conversion is
// set up once, and text without a byte above 0x7F is passed on as it is (code
// page 936 and UTF-8 share ASCII). Gives exactly what ToUtf8 gives. One thread at a time.
class Utf8Converter {
 public:
  Utf8Converter();
  ~Utf8Converter();
  Utf8Converter(const Utf8Converter&) = delete;
  Utf8Converter& operator=(const Utf8Converter&) = delete;

  // The UTF-8 of `text` (code page 936): `text` itself when it is ASCII, else
  // the converted text, kept by the converter until its next call.
  std::string_view Convert(std::string_view text);

 private:
  struct State;  // the platform's conversion set-up
  std::unique_ptr<State> state_;
  std::string converted_;
};

}  // namespace cp936
