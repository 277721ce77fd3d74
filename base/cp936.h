#pragma once
// Code page 936 text rules. Text inside Tallyo is std::string holding code page
// 936 bytes: a lead byte 0x81..0xFE starts a two-byte character, any other
// byte is a character of its own. Searches and splits go by characters, so a
// match or separator never starts on the trail byte of a double-byte character.
#include <cstddef>
#include <string>
#include <string_view>

namespace cp936 {

inline bool IsLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

// Length in bytes of the character starting at text[pos] (1 or 2; a lead byte
// at the very end of the text counts as one byte).
inline std::size_t CharLength(std::string_view text, std::size_t pos) {
  return (IsLeadByte(static_cast<unsigned char>(text[pos])) && pos + 1 < text.size()) ? 2 : 1;
}

// First occurrence of needle at or after the character boundary `from`,
// starting only at character boundaries; npos if none. An empty needle
// matches at `from` (when from <= size).
std::size_t Find(std::string_view text, std::string_view needle, std::size_t from = 0);

// First occurrence of the single-byte character c at or after `from`.
std::size_t FindChar(std::string_view text, char c, std::size_t from = 0);

inline bool Contains(std::string_view text, std::string_view needle) {
  return Find(text, needle) != std::string_view::npos;
}

// Lower-cases the ASCII letters A..Z only; double-byte characters are left as
// they are (their trail bytes may look like ASCII letters and must not change).
std::string AsciiLower(std::string_view text);

// Replaces every occurrence of `from` (non-empty) by `to`, left to right,
// non-overlapping, matching at character boundaries.
std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to);

}  // namespace cp936
