#include "grid/wheel_scroll.h"

#include <charconv>
#include <cstdint>

namespace grid {

WheelScroll ComputeWheelScroll(int delta, unsigned lines_per_notch, int* carry) {
  WheelScroll result;
  if (delta == 0) return result;
  // A turn in the other direction starts afresh.
  if ((*carry > 0 && delta < 0) || (*carry < 0 && delta > 0)) *carry = 0;
  result.page = lines_per_notch == kWheelPageScroll;
  const std::int64_t factor = result.page ? 1 : lines_per_notch;
  const std::int64_t total = static_cast<std::int64_t>(*carry) + static_cast<std::int64_t>(delta) * factor;
  const std::int64_t requests = total / kWheelDelta;
  *carry = static_cast<int>(total % kWheelDelta);
  result.up = delta > 0;
  const std::int64_t magnitude = requests < 0 ? -requests : requests;
  // A hostile delta times a huge setting must not overflow an int.
  result.count = static_cast<int>(magnitude > 0x7FFFFFFF ? 0x7FFFFFFF : magnitude);
  return result;
}

unsigned ChooseWheelLines(std::optional<unsigned> system_setting,
                          std::optional<std::string_view> registry_text) {
  if (system_setting) return *system_setting;
  if (registry_text) {
    std::string_view s = *registry_text;
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    unsigned value = 0;
    auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (error == std::errc() && end != s.data()) return value;
  }
  return 3;
}

}  // namespace grid
