#include "framework/integer_field.h"

#include <algorithm>
#include <limits>

namespace dialog_fields {
namespace {

bool IsBlankOrTab(char c) { return c == ' ' || c == '\t'; }

// What the C library counts as white space in the "C" locale.
bool IsCSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

}  // namespace

std::optional<std::int32_t> ParseIntegerField(std::string_view text) {
  text = text.substr(0, kIntegerFieldReadLimit);
  std::size_t pos = 0;
  while (pos < text.size() && IsBlankOrTab(text[pos])) ++pos;
  const char first = pos < text.size() ? text[pos] : '\0';

  // Number conversion as strtol does it: white space, sign, digits,
  // saturating at the limits of a 32-bit long.
  std::size_t scan = pos;
  while (scan < text.size() && IsCSpace(text[scan])) ++scan;
  bool negative = false;
  if (scan < text.size() && (text[scan] == '+' || text[scan] == '-')) {
    negative = text[scan] == '-';
    ++scan;
  }
  std::int64_t magnitude = 0;
  const std::int64_t limit = negative ? -static_cast<std::int64_t>(std::numeric_limits<std::int32_t>::min())
                                      : std::numeric_limits<std::int32_t>::max();
  std::size_t digits_start = scan;
  while (scan < text.size() && text[scan] >= '0' && text[scan] <= '9') {
    if (magnitude < limit) magnitude = std::min(limit, magnitude * 10 + (text[scan] - '0'));
    ++scan;
  }
  if (scan == digits_start) return std::nullopt;  // nothing converted
  const std::int64_t value = negative ? -magnitude : magnitude;
  // A zero result that does not start with the digit 0 counts as "not converted".
  if (value == 0 && first != '0') return std::nullopt;

  while (scan < text.size() && IsBlankOrTab(text[scan])) ++scan;
  if (scan != text.size()) return std::nullopt;  // something follows the number
  return static_cast<std::int32_t>(value);
}

std::string FormatIntegerField(std::int32_t value) { return std::to_string(value); }

}  // namespace dialog_fields
