#pragma once
// The byte work under the iCalendar export, written straight into a buffer
// the caller has made room in: texts converted from code page 936 and
// escaped in one pass, and content lines folded in place.
#include <cstddef>
#include <string_view>

#include "base/cp936_characters.h"

// How far past the end of their result the two writers below may write:
// they copy sixteen bytes (or eight) at a time and keep the plain ones.
inline constexpr std::size_t kIcsTextSpare = 16;

// The room the two writers below need for a text of `size` bytes: an
// escaped byte or line break takes two, a double-byte character three.
constexpr std::size_t IcsTextRoom(std::size_t size) { return size * 2 + kIcsTextSpare; }

// Writes `cp936` at `at` as an escaped iCalendar TEXT value in UTF-8 (see
// AppendIcsText) and returns its end, or nullptr when the text holds bytes
// that are not ASCII or a double-byte character: such a text goes through
// cp936::AppendUtf8 and PutIcsEscaped, which handle them as they always have.
// REQUIRES: room for IcsTextRoom(cp936.size()) bytes at `at`.
char* PutIcsTextFromCp936(std::string_view cp936, char* at, Cp936Characters& characters);

// Writes `utf8` at `at` escaped (see AppendIcsText) and returns its end.
// REQUIRES: room for IcsTextRoom(utf8.size()) bytes at `at`.
char* PutIcsEscaped(std::string_view utf8, char* at);

// The number of continuation lines folding a content line of `size` octets
// at `line` gives (each adds three octets: CR LF and a space).
std::size_t IcsFoldCount(const char* line, std::size_t size);

// Folds the content line of `size` octets at `line` where it stands, into
// `folds` more lines (IcsFoldCount), and returns its end; no line end is added.
// REQUIRES: room for size + 3 * folds bytes at `line`.
char* FoldIcsLineInPlace(char* line, std::size_t size, std::size_t folds);
