#pragma once
// Calendar text (UTF-8) in code page 936, never silently wrong: a character
// the code page cannot hold (an emoji, a rare character) becomes one visible
// marker, "〓", and is counted.
#include <string>
#include <string_view>

// "〓" (the geta mark, which stands for a character a font or code page lacks).
inline constexpr char kMissingCharacterMark[] = "\xa1\xfe";

// `utf8` in code page 936; each character it cannot hold, and each byte that
// is not UTF-8, becomes kMissingCharacterMark and adds one to *marked.
std::string Cp936Marked(std::string_view utf8, int* marked);
