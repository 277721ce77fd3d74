#pragma once
// The byte work under the iCalendar export, written straight into a buffer
// the caller has made room in: texts converted from code page 936 and
// escaped in one pass, and content lines folded in place.
#include <cstddef>
#include <string_view>

#include "base/cp936_characters.h"

// The most bytes an escaped text value of `cp936_size` bytes of code page
// 936 can take, with the room the writing needs beyond its end.
constexpr std::size_t IcsTextRoom(std::size_t cp936_size) { return cp936_size * 3 + 16; }

// Writes `cp936` at `at` as an escaped iCalendar TEXT value in UTF-8 (see
// AppendIcsText) and returns its end, or nullptr when the text holds bytes
// that are not ASCII or a double-byte character: such a text goes through
// cp936::AppendUtf8 and PutIcsEscaped, which handle them as they always have.
// REQUIRES: room for IcsTextRoom(cp936.size()) bytes at `at`.
char* PutIcsTextFromCp936(std::string_view cp936, char* at, Cp936Characters& characters);

// Writes `utf8` at `at` escaped (see AppendIcsText) and returns its end.
// REQUIRES: room for utf8.size() * 2 + 8 bytes at `at`.
char* PutIcsEscaped(std::string_view utf8, char* at);

// The number of continuation lines folding a content line of `size` octets
// at `line` gives (each adds three octets: CR LF and a space).
std::size_t IcsFoldCount(const char* line, std::size_t size);

// Folds the content line of `size` octets at `line` where it stands, into
// `folds` more lines (IcsFoldCount), and returns its end; no line end is added.
// REQUIRES: room for size + 3 * folds bytes at `line`.
char* FoldIcsLineInPlace(char* line, std::size_t size, std::size_t folds);
