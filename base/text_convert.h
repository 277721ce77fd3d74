#pragma once
// Conversions between code page 936 and Unicode. Natively through iconv,
// on Windows through the system's code page 936 tables; never through the
// system's ANSI code page.
#include <optional>
#include <string>
#include <string_view>

namespace cp936 {

// UTF-8 to code page 936; nullopt when the input is not valid UTF-8 or holds
// a character that code page 936 cannot represent.
std::optional<std::string> FromUtf8(std::string_view utf8);

// Code page 936 to UTF-8; a byte sequence that is not code page 936 becomes U+FFFD.
std::string ToUtf8(std::string_view text);
// The same, appended to *out (for output built up line by line).
void AppendUtf8(std::string_view text, std::string* out);

// UTF-16 to code page 936; characters code page 936 lacks become '?', as the
// system conversion does with its default character.
std::string FromUtf16(std::u16string_view wide);

// Code page 936 to UTF-16; invalid sequences become U+FFFD.
std::u16string ToUtf16(std::string_view text);

// The characters of `wide` that code page 936 cannot hold (they would be
// stored as "?" or as another character), each once, in the order they
// first appear; a character outside the basic plane is its two units.
// Empty when the whole text can be stored as it is.
std::u16string UnstorableCharacters(std::u16string_view wide);

}  // namespace cp936
