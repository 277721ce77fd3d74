#pragma once
#include <string_view>

// The C runtime's atoi on a text: leading blanks (space, tab, CR, LF, VT, FF)
// are skipped, then an optional sign and the digits up to the first
// non-digit; a text without digits gives 0. Where atoi is undefined (beyond
// the int range) the value clamps to INT_MAX or INT_MIN.
int AtoiClamped(std::string_view text);
