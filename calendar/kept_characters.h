#pragma once
// A server's text changed by an edit in Tallyo, which saw it in code page
// 936 with each character the code page cannot hold (an emoji) replaced by
// a marker: the parts the user did not touch keep their original
// characters, only the edited middle comes from Tallyo.
#include <string>
#include <string_view>

// How a text is shown in Tallyo: the title on one line (a line break is a
// space), the body with CR LF line breaks.
enum class ShownAs { kTitle, kBody };

// The UTF-8 value that Tallyo's `wanted` text stands for, given the
// server's `original` (UTF-8) that Tallyo showed as `shown`: what `wanted`
// shares with `shown` at its start and at its end is taken from
// `original`, the rest converted from code page 936 (line breaks "\n").
// When `shown` is not what `original` is shown as, all of `wanted` is
// converted.
std::string KeptCharacters(std::string_view original, std::string_view shown, std::string_view wanted,
                           ShownAs as);

// `original` as Tallyo shows it (each character code page 936 cannot hold,
// and each byte that is not UTF-8, as the marker, calendar/marked_text.h).
std::string ShownText(std::string_view original, ShownAs as);
