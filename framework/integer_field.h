#pragma once
// The rule by which a dialog's integer field accepts its text. Kept free of
// windows so the rule can be tested on its own.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace dialog_fields {

// Only this many bytes of a field are read; the rest is ignored.
inline constexpr std::size_t kIntegerFieldReadLimit = 31;

// The value of an integer field's text (code page 936), or nullopt when the
// text is not a whole number. Accepted: blanks or tabs, an optional sign,
// decimal digits, blanks or tabs. A zero value must start with the digit 0
// ("+0", "-0" and an empty field are refused); values beyond the signed
// 32-bit range become the nearest limit. Only the first
// kIntegerFieldReadLimit bytes are looked at.
std::optional<std::int32_t> ParseIntegerField(std::string_view text);

// The text an integer field shows for `value`.
std::string FormatIntegerField(std::int32_t value);

}  // namespace dialog_fields
