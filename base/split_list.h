#pragma once
// The ";"-separated lists of the remote document (ticker lines, advertisements).
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// How many pieces of a list are kept; those beyond are dropped.
inline constexpr std::size_t kMaxListPieces = 100;

// Cuts `text` into the pieces that end in `separator` (by characters of code
// page 936): consecutive separators give empty pieces, text after the last
// separator gives none. At most kMaxListPieces pieces.
std::vector<std::string> SplitList(std::string_view text, char separator);
